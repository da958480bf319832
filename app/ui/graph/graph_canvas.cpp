#include "graph_canvas.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

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

void PlotRuns(QImage& image, const std::vector<Run>& runs, Rgb colour) {
  // Curves are the bulk of the pixels: written straight into the image's rows, clipped to it.
  const QRgb pen = qRgb(colour.r, colour.g, colour.b);
  const int width = image.width();
  const int height = image.height();
  for (const Run& run : runs) {
    if (run.vertical) {
      if (run.x < 0 || run.x >= width) continue;
      const int first = std::max(run.y, 0);
      const int end = std::min(run.y + run.length, height);
      for (int y = first; y < end; ++y) reinterpret_cast<QRgb*>(image.scanLine(y))[run.x] = pen;
    } else {
      if (run.y < 0 || run.y >= height) continue;
      const int first = std::max(run.x, 0);
      const int end = std::min(run.x + run.length, width);
      QRgb* row = reinterpret_cast<QRgb*>(image.scanLine(run.y));
      std::fill(row + first, row + std::max(first, end), pen);
    }
  }
}

void PaintGraph(QImage& image, const GraphPlan& plan) {
  const AxisBox& box = plan.box;
  {
    QPainter painter(&image);
    painter.setFont(GraphFont());
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
  }
  std::vector<Run> runs;
  for (const ColumnSet& columns : plan.columns) {
    for (int i = 0; i < data::kGridSamples; ++i) {
      const int h = columns.heights[i];
      if (h <= 0) continue;
      runs.assign(1, Run{box.x0 + i, box.yb - h + 1, h, true});
      PlotRuns(image, runs, SampleColour(i));
    }
  }
  for (const Curve& curve : plan.curves) {
    runs.clear();
    AppendPolylineRuns(curve.points, runs);
    PlotRuns(image, runs, ShadeColour(curve.family, curve.shade));
  }
}

void PaintColourBar(QPainter& painter, const FrameLayout& layout) {
  PaintRectangle(painter, layout.colourBar);
  for (const Cell& cell : ColourBarCells(layout)) {
    painter.fillRect(ToQRect(cell.rect), ToQColor(cell.colour));
  }
}

QImage BlankFrameImage(const FrameLayout& layout) {
  QImage image(layout.width, layout.height, QImage::Format_RGB32);
  image.fill(kFormBackground);
  QPainter painter(&image);
  // The frame control's own black border.
  painter.setPen(Qt::black);
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(0, 0, layout.width - 1, layout.height - 1);
  return image;
}

GraphCanvas::GraphCanvas(int clientHeight)
    : layout_(LayoutGraphFrame(clientHeight)), image_(BlankFrameImage(layout_)) {}

void GraphCanvas::Relayout(int clientHeight) {
  // The old picture does not fit the new rectangles: the frame is erased, as a resized window
  // erases its background, and the start-up redraw that every resize arms fills it again.
  if (clientHeight == layout_.clientHeight) return;
  layout_ = LayoutGraphFrame(clientHeight);
  image_ = BlankFrameImage(layout_);
}

void GraphCanvas::DrawGraph(const GraphScene& scene) {
  PaintGraph(image_, PlanGraph(scene, layout_));
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
  shownGuidance_ = first + QLatin1Char('\n') + second;
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
