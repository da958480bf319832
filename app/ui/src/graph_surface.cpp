#include "graph_surface.h"

#include <QResizeEvent>

namespace chromiva::ui {

PlaceholderGraph::PlaceholderGraph(QWidget* parent)
    : QFrame(parent), statusLabel_(new QLabel(this)), guidanceLabel_(new QLabel(this)) {
  setFrameStyle(QFrame::Box | QFrame::Plain);
  setLineWidth(1);
  setPalette(QPalette(Qt::black, Qt::white));
  setAutoFillBackground(true);
  for (QLabel* label : {statusLabel_, guidanceLabel_}) {
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setStyleSheet(QStringLiteral("border: 1px solid black; padding: 2px 8px;"));
  }
}

void PlaceholderGraph::resizeEvent(QResizeEvent* event) {
  QFrame::resizeEvent(event);
  const int width = event->size().width() - 10;
  statusLabel_->setGeometry(5, 5, width, 24);
  guidanceLabel_->setGeometry(5, event->size().height() - 50, width, 45);
}

void PlaceholderGraph::ShowMessageLines(const std::string& first, const std::string& second) {
  guidance_[0] = first;
  guidance_[1] = second;
  QString text = QString::fromStdString(first);
  if (!second.empty()) text += QLatin1Char('\n') + QString::fromStdString(second);
  guidanceLabel_->setText(text);
}

void PlaceholderGraph::ShowStatusText(const std::string& text) {
  status_ = text;
  statusLabel_->setText(QString::fromStdString(text));
}

}  // namespace chromiva::ui
