#include "graph_view.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QThread>
#include <QToolTip>

#include "logo.h"

namespace chromiva::ui {

GraphView::GraphView(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("c1000"));
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  Relayout(kDefaultClientHeight);
}

void GraphView::Relayout(int clientHeight) {
  canvas_.Relayout(clientHeight);
  const Rect& frame = canvas_.Layout().frameOnForm;
  setGeometry(frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top);
  update();
}

void GraphView::DrawGraph(const GraphScene& scene) {
  canvas_.DrawGraph(scene);
  update();
}

void GraphView::DrawColourBar() {
  canvas_.DrawColourBar();
  update();
}

void GraphView::ShowMessage(const QString& line) {
  if (QThread::currentThread() != thread()) {
    QMetaObject::invokeMethod(
        this, [this, line] { ShowMessage(line); }, Qt::QueuedConnection);
    return;
  }
  canvas_.ShowMessage(line);
  update();
}

void GraphView::ShowMessageLines(const QString& first, const QString& second) {
  canvas_.ShowMessageLines(first, second);
  update();
}

void GraphView::ShowStatusText(const QString& text) {
  canvas_.ShowStatusText(text);
  update();
}

void GraphView::ShowSensorSummary(const GraphScene& scene, int sensor) {
  canvas_.ShowSensorSummary(scene, sensor);
  update();
}

QImage GraphView::Picture(GraphPicture kind) const {
  return kind == GraphPicture::kAsSeen ? canvas_.Image() : canvas_.GraphOnlyImage();
}

bool GraphView::SaveGraphPicture(const QString& path, GraphPicture kind) const {
  return Picture(kind).save(path, "PNG");
}

void GraphView::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  const QRect area = event->rect();
  painter.drawImage(area, canvas_.Image(), area);
}

void GraphView::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    const QPoint local = event->position().toPoint();
    emit leftClicked(local + QPoint(acquisition::kGraphFrameLeft, acquisition::kGraphFrameTop));
  }
  QWidget::mousePressEvent(event);
}

QString GraphView::CornerTip(acquisition::AxisCorner corner) {
  using acquisition::AxisCorner;
  switch (corner) {
    case AxisCorner::kGraphMax:
      return tr("クリックでカウント軸の最大値を変更");
    case AxisCorner::kGraphMin:
      return tr("クリックでカウント軸の最小値を変更");
    case AxisCorner::kRatioMax:
      return tr("クリックで比率軸 (%) の最大値を変更");
    case AxisCorner::kRatioMin:
      return tr("クリックで比率軸 (%) の最小値を変更");
    case AxisCorner::kNone:
      break;
  }
  return {};
}

acquisition::AxisCorner GraphView::CornerAt(QPoint local) const {
  return acquisition::AxisCornerAt(Layout().plotArea, local.x(), local.y());
}

void GraphView::mouseMoveEvent(QMouseEvent* event) {
  if (CornerAt(event->position().toPoint()) != acquisition::AxisCorner::kNone) {
    setCursor(Qt::PointingHandCursor);
  } else {
    unsetCursor();
  }
  QWidget::mouseMoveEvent(event);
}

bool GraphView::event(QEvent* event) {
  if (event->type() != QEvent::ToolTip) return QWidget::event(event);
  const auto* help = static_cast<QHelpEvent*>(event);
  const acquisition::AxisCorner corner = CornerAt(help->pos());
  if (corner == acquisition::AxisCorner::kNone) {
    QToolTip::hideText();
    event->ignore();
    return true;
  }
  const Rect zone = acquisition::AxisCornerZone(Layout().plotArea, corner);
  QToolTip::showText(help->globalPos(), CornerTip(corner), this,
                     QRect(QPoint(zone.left, zone.top), QPoint(zone.right, zone.bottom)));
  return true;
}

LogoView::LogoView(QWidget* parent)
    : QWidget(parent), image_(kLogoWidth, kLogoHeight, QImage::Format_ARGB32) {
  setObjectName(QStringLiteral("logo"));
  const Rect area = LayoutGraphFrame(kDefaultClientHeight).logoAreaOnForm;
  setGeometry(area.left, area.top, kLogoWidth, kLogoHeight);
  image_.fill(Qt::transparent);
}

void LogoView::DrawLogo() {
  image_ = LogoImage(LoadLogoBitmap());
  update();
}

void LogoView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawImage(0, 0, image_);
}

}  // namespace chromiva::ui
