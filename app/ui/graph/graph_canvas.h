// The graph frame as a retained image: every display operation paints into it with QPainter,
// and a widget (GraphView) or a file (chromiva-cli plot, "save graph") shows it as it stands.
// Works without a display; text needs a QGuiApplication.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QString>

#include "graph_geometry.h"
#include "graph_scene.h"

class QPainter;

namespace chromiva::ui {

// The form's background around the boxes inside the frame.
inline const QColor kFormBackground(240, 240, 240);

// The font of every text in the frame and the logo area.
QFont GraphFont();

// Painting primitives with the frame's pixel rules. The frame image is Format_RGB32.
void PaintRectangle(QPainter& painter, const Rect& rect);          // black outline, white inside
void PaintText(QPainter& painter, Point at, const QString& text);  // top-left, white behind
// The pixels of runs in one colour, written into the image (RGB32) and clipped to it.
void PlotRuns(QImage& image, const std::vector<Run>& runs, Rgb colour);

// Full redraws of one part, as DrawGraph and DrawColourBar do.
void PaintGraph(QImage& image, const GraphPlan& plan);
void PaintColourBar(QPainter& painter, const FrameLayout& layout);

class GraphCanvas {
 public:
  explicit GraphCanvas(int clientHeight = kDefaultClientHeight);

  // LayoutForm: the frame for a new client height, erased until the next redraw (nothing
  // changes when the height stays).
  void Relayout(int clientHeight);
  const FrameLayout& Layout() const { return layout_; }

  void DrawGraph(const GraphScene& scene);
  void DrawColourBar();
  void ShowMessage(const QString& line);
  void ShowMessageLines(const QString& first, const QString& second);
  void ShowStatusText(const QString& text);
  // Statistics or colour values of the sensor's displayed spectrum in the status line.
  void ShowSensorSummary(const GraphScene& scene, int sensor);

  // The frame as a person sees it (status and guidance lines included).
  const QImage& Image() const { return image_; }
  // The frame with empty status and message boxes: the graph and its colour bar only.
  QImage GraphOnlyImage() const;
  // The guidance lines last shown, joined by a line break.
  const QString& ShownGuidance() const { return shownGuidance_; }

 private:
  FrameLayout layout_;
  QImage image_;
  SummaryMemory summaries_{};
  QString shownGuidance_;
};

// An erased frame image of the layout: the form background inside the frame's border.
QImage BlankFrameImage(const FrameLayout& layout);

}  // namespace chromiva::ui
