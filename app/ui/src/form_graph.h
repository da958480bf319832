// What the form draws in and beside the graph frame: the graph, the colour bar, the logo, the
// guidance lines and the status line. The form forwards the port's drawing calls here.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPoint>
#include <QTimer>
#include <optional>
#include <string>

#include "graph_view.h"

namespace chromiva::ui {

class FormBinding;

// The graph frame (control 1000) and the logo area of the form, painted from the form's state.
// It keeps the last guidance and status texts, so that tests and the picture export can read
// what a person sees. While a measurement runs, the graph and the status line are painted at
// most once per refresh of the screen: each call takes a copy of what it shows, and the newest
// copy is painted at the next frame. Everything else is painted at once.
class FormGraph : public QObject {
  Q_OBJECT

 public:
  // Creates the frame and the logo area as children of `form`.
  FormGraph(QWidget* form, const FormBinding& binding);

  // LayoutForm's part: the frame at (5, 30), 600 x (Hc - 35), the logo at (615, 5).
  void Relayout(int clientHeight);

  void DrawGraph();
  // Paints at once what waits for the next frame (when a measurement has stopped).
  void PaintPending();
  void DrawColourBar() { view_->DrawColourBar(); }
  void DrawLogo() { logo_->DrawLogo(); }
  void ShowMessage(const std::string& line) { ShowMessageLines(line, ""); }
  void ShowMessageLines(const std::string& first, const std::string& second);
  void ShowStatusText(const std::string& text);
  // The guidance lines again, in the window's new language.
  void Retranslate();
  void ShowSensorSummary(int sensor);

  // How often the graph was painted: fewer times than it was drawn while passes came faster
  // than the screen refreshes.
  int GraphPaints() const { return graphPaints_; }

  GraphView* View() const { return view_; }
  LogoView* Logo() const { return logo_; }
  const std::string& FirstGuidance() const { return guidance_[0]; }
  const std::string& SecondGuidance() const { return guidance_[1]; }
  const std::string& StatusText() const { return status_; }
  int GraphDraws() const { return graphDraws_; }

 signals:
  // A left-button press on the frame, in form coordinates (the axis-limit corners).
  void leftClicked(QPoint formPoint);

 private:
  // A measurement runs: graph and status line wait for the next frame.
  bool Paced() const;
  void ShowStatusLine(const QString& line);
  // Paints the waiting copies now when a frame has passed since the last painting, otherwise
  // when it has.
  void RequestFrame();

  const FormBinding& binding_;
  GraphView* view_;
  LogoView* logo_;
  std::string guidance_[2];
  std::string status_;
  int graphDraws_ = 0;
  int graphPaints_ = 0;
  std::optional<GraphScene> pendingScene_;
  std::optional<QString> pendingStatus_;  // a text or a sensor summary, as it was composed
  SummaryMemory summaries_{};
  QElapsedTimer lastFrame_;
  QTimer frameTimer_;
};

}  // namespace chromiva::ui
