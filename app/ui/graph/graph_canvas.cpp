#include "graph_canvas.h"

#include <QFontMetrics>
#include <QPainter>

namespace chromiva::ui {
namespace {

QColor ToQColor(Rgb colour) {
  return QColor(colour.r, colour.g, colour.b);
}

QRect ToQRect(const Rect& rect) {  // right and bottom exclusive
  return QRect(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
}

void PaintPixelLine(QPainter& painter, int x, int y, int width, int height, const QColor& colour) {
  if (width > 0 && height > 0) painter.fillRect(QRect(x, y, width, height), colour);
}

}  // namespace

QFont GraphFont() {
  QFont font(QStringLiteral("Noto Sans Mono CJK JP"));
  font.setStyleHint(QFont::TypeWriter);
  font.setPixelSize(13);
  font.setStyleStrategy(QFont::NoAntialias);
  return font;
}

void PaintRectangle(QPainter& painter, const Rect& rect) {
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return;
  painter.fillRect(ToQRect(rect), Qt::white);
  const QColor black(Qt::black);
  PaintPixelLine(painter, rect.left, rect.top, width, 1, black);
  PaintPixelLine(painter, rect.left, rect.bottom - 1, width, 1, black);
  PaintPixelLine(painter, rect.left, rect.top, 1, height, black);
  PaintPixelLine(painter, rect.right - 1, rect.top, 1, height, black);
}

void PaintText(QPainter& painter, Point at, const QString& text) {
  if (text.isEmpty()) return;
  const QFontMetrics metrics(painter.font());
  painter.fillRect(QRect(at.x, at.y, metrics.horizontalAdvance(text), metrics.height()), Qt::white);
  painter.setPen(Qt::black);
  painter.drawText(at.x, at.y + metrics.ascent(), text);
}

void PaintRuns(QPainter& painter, const std::vector<Run>& runs, Rgb colour) {
  const QColor pen = ToQColor(colour);
  for (const Run& run : runs) {
    if (run.vertical) {
      PaintPixelLine(painter, run.x, run.y, 1, run.length, pen);
    } else {
      PaintPixelLine(painter, run.x, run.y, run.length, 1, pen);
    }
  }
}

void PaintGraph(QPainter& painter, const GraphPlan& plan) {
  const AxisBox& box = plan.box;
  PaintRectangle(painter, plan.plotArea);
  PaintRectangle(painter, {box.x0, box.y0, box.x1, box.yb});
  const QColor grid = ToQColor(kGridColour);
  for (const WavelengthLine& line : plan.grid) {
    PaintPixelLine(painter, line.x, box.y0, 1, box.yb - box.y0, grid);
    PaintText(painter, line.label.at, QString::fromStdString(line.label.text));
  }
  for (const CountTick& tick : plan.ticks.ticks) {
    if (tick.line) PaintPixelLine(painter, box.x0, tick.y, box.x1 - box.x0, 1, grid);
    PaintText(painter, tick.countLabel.at, QString::fromStdString(tick.countLabel.text));
    PaintText(painter, tick.ratioLabel.at, QString::fromStdString(tick.ratioLabel.text));
  }
  for (const ColumnSet& columns : plan.columns) {
    for (int i = 0; i < data::kGridSamples; ++i) {
      const int h = columns.heights[i];
      PaintPixelLine(painter, box.x0 + i, box.yb - h + 1, 1, h, ToQColor(SampleColour(i)));
    }
  }
  std::vector<Run> runs;
  for (const Curve& curve : plan.curves) {
    runs.clear();
    AppendPolylineRuns(curve.points, runs);
    PaintRuns(painter, runs, ShadeColour(curve.family, curve.shade));
  }
}

void PaintColourBar(QPainter& painter, const FrameLayout& layout) {
  PaintRectangle(painter, layout.colourBar);
  for (const Cell& cell : ColourBarCells(layout)) {
    painter.fillRect(ToQRect(cell.rect), ToQColor(cell.colour));
  }
}

QImage BlankFrameImage(const FrameLayout& layout, const QImage* previous) {
  QImage image(layout.width, layout.height, QImage::Format_RGB32);
  image.fill(kFormBackground);
  QPainter painter(&image);
  if (previous != nullptr && !previous->isNull()) painter.drawImage(0, 0, *previous);
  // The frame control's own black border.
  painter.setPen(Qt::black);
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(0, 0, layout.width - 1, layout.height - 1);
  return image;
}

GraphCanvas::GraphCanvas(int clientHeight)
    : layout_(LayoutGraphFrame(clientHeight)), image_(BlankFrameImage(layout_, nullptr)) {}

void GraphCanvas::Relayout(int clientHeight) {
  layout_ = LayoutGraphFrame(clientHeight);
  image_ = BlankFrameImage(layout_, &image_);
}

void GraphCanvas::DrawGraph(const GraphScene& scene) {
  const GraphPlan plan = PlanGraph(scene, layout_);
  QPainter painter(&image_);
  painter.setFont(GraphFont());
  PaintGraph(painter, plan);
}

void GraphCanvas::DrawColourBar() {
  QPainter painter(&image_);
  PaintColourBar(painter, layout_);
}

void GraphCanvas::ShowMessage(const QString& line) {
  QPainter painter(&image_);
  painter.setFont(GraphFont());
  PaintRectangle(painter, layout_.messageBox);
  PaintText(painter, FirstLineAt(layout_.messageBox), line);
}

void GraphCanvas::ShowMessageLines(const QString& first, const QString& second) {
  QPainter painter(&image_);
  painter.setFont(GraphFont());
  PaintRectangle(painter, layout_.messageBox);
  PaintText(painter, FirstLineAt(layout_.messageBox), first);
  PaintText(painter, SecondLineAt(layout_.messageBox), second);
}

void GraphCanvas::ShowStatusText(const QString& text) {
  QPainter painter(&image_);
  painter.setFont(GraphFont());
  PaintRectangle(painter, layout_.statusBox);
  PaintText(painter, FirstLineAt(layout_.statusBox), text);
}

void GraphCanvas::ShowSensorSummary(const GraphScene& scene, int sensor) {
  ShowStatusText(QString::fromStdString(SensorSummaryLine(scene, sensor, summaries_)));
}

QImage GraphCanvas::GraphOnlyImage() const {
  QImage image = image_.copy();
  QPainter painter(&image);
  PaintRectangle(painter, layout_.statusBox);
  PaintRectangle(painter, layout_.messageBox);
  return image;
}

}  // namespace chromiva::ui
