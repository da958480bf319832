// What the form draws in and beside the graph frame: the graph, the colour bar, the logo, the
// guidance lines and the status line. The form forwards the port's drawing calls here.
#pragma once

#include <QFrame>
#include <QLabel>
#include <string>

namespace chromiva::ui {

class GraphSurface {
 public:
  virtual ~GraphSurface() = default;
  virtual void DrawGraph() = 0;
  virtual void DrawColourBar() = 0;
  virtual void DrawLogo() = 0;
  // The guidance box under the graph: one line, or two (`second` may be empty).
  virtual void ShowMessage(const std::string& line) = 0;
  virtual void ShowMessageLines(const std::string& first, const std::string& second) = 0;
  // The status line above the plot.
  virtual void ShowStatusText(const std::string& text) = 0;
  // Statistics or colour of the sensor's displayed spectrum in the status line.
  virtual void ShowSensorSummary(int sensor) = 0;
};

// Stands in for the graph until the painter is connected: a framed area showing the status
// line at its top and the guidance lines at its bottom, and counting the redraws.
class PlaceholderGraph : public QFrame, public GraphSurface {
  Q_OBJECT

 public:
  explicit PlaceholderGraph(QWidget* parent);

  void DrawGraph() override { ++graphDraws_; }
  void DrawColourBar() override {}
  void DrawLogo() override {}
  void ShowMessage(const std::string& line) override { ShowMessageLines(line, ""); }
  void ShowMessageLines(const std::string& first, const std::string& second) override;
  void ShowStatusText(const std::string& text) override;
  void ShowSensorSummary(int sensor) override { lastSummarySensor_ = sensor; }

  const std::string& FirstGuidance() const { return guidance_[0]; }
  const std::string& SecondGuidance() const { return guidance_[1]; }
  const std::string& StatusText() const { return status_; }
  int GraphDraws() const { return graphDraws_; }
  int LastSummarySensor() const { return lastSummarySensor_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  std::string guidance_[2];
  std::string status_;
  int graphDraws_ = 0;
  int lastSummarySensor_ = -1;
  QLabel* statusLabel_;
  QLabel* guidanceLabel_;
};

}  // namespace chromiva::ui
