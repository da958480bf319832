// What the form draws in and beside the graph frame: the graph, the colour bar, the logo, the
// guidance lines and the status line. The form forwards the port's drawing calls here.
#pragma once

#include <QObject>
#include <QPoint>
#include <string>

#include "graph_view.h"

namespace chromiva::ui {

class FormBinding;

// The graph frame (control 1000) and the logo area of the form, painted from the form's state.
// It keeps the last guidance and status texts, so that tests and the picture export can read
// what a person sees.
class FormGraph : public QObject {
  Q_OBJECT

 public:
  // Creates the frame and the logo area as children of `form`.
  FormGraph(QWidget* form, const FormBinding& binding);

  // LayoutForm's part: the frame at (5, 30), 600 x (Hc - 35), the logo at (615, 5).
  void Relayout(int clientHeight);

  void DrawGraph();
  void DrawColourBar() { view_->DrawColourBar(); }
  void DrawLogo() { logo_->DrawLogo(); }
  void ShowMessage(const std::string& line) { ShowMessageLines(line, ""); }
  void ShowMessageLines(const std::string& first, const std::string& second);
  void ShowStatusText(const std::string& text);
  void ShowSensorSummary(int sensor);

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
  const FormBinding& binding_;
  GraphView* view_;
  LogoView* logo_;
  std::string guidance_[2];
  std::string status_;
  int graphDraws_ = 0;
};

}  // namespace chromiva::ui
