#include "form_graph.h"

#include <QScreen>
#include <QWidget>
#include <cmath>

#include "form_binding.h"
#include "graph_geometry.h"
#include "graph_scene_form.h"
#include "language.h"

namespace chromiva::ui {
namespace {

constexpr double kFallbackRefreshHz = 60;

// Milliseconds of one refresh of the screen that shows `widget`.
int FrameMs(const QWidget& widget) {
  const QScreen* screen = widget.screen();
  const double hz =
      screen != nullptr && screen->refreshRate() > 1 ? screen->refreshRate() : kFallbackRefreshHz;
  return std::max(1, static_cast<int>(std::lround(1000.0 / hz)));
}

}  // namespace

FormGraph::FormGraph(QWidget* form, const FormBinding& binding)
    : QObject(form), binding_(binding), view_(new GraphView(form)), logo_(new LogoView(form)) {
  view_->setObjectName(QStringLiteral("c1000"));
  logo_->setObjectName(QStringLiteral("logo"));
  connect(view_, &GraphView::leftClicked, this, &FormGraph::leftClicked);
  frameTimer_.setSingleShot(true);
  frameTimer_.setTimerType(Qt::PreciseTimer);
  connect(&frameTimer_, &QTimer::timeout, this, &FormGraph::PaintPending);
}

void FormGraph::Relayout(int clientHeight) {
  view_->Relayout(clientHeight);
  const Rect logo = view_->Layout().logoAreaOnForm;
  logo_->setGeometry(logo.left, logo.top, kLogoWidth, kLogoHeight);
}

bool FormGraph::Paced() const {
  return binding_.fields().measuring;
}

void FormGraph::RequestFrame() {
  if (frameTimer_.isActive()) return;
  const int frameMs = FrameMs(*view_);
  const qint64 sinceMs = lastFrame_.isValid() ? lastFrame_.elapsed() : frameMs;
  if (sinceMs >= frameMs) {
    PaintPending();
  } else {
    frameTimer_.start(static_cast<int>(frameMs - sinceMs));
  }
}

void FormGraph::PaintPending() {
  frameTimer_.stop();
  if (!pendingScene_ && !pendingStatus_) return;
  if (pendingScene_) {
    ++graphPaints_;
    view_->DrawGraph(*pendingScene_);
    pendingScene_.reset();
  }
  if (pendingStatus_) {
    view_->ShowStatusText(*pendingStatus_);
    pendingStatus_.reset();
  }
  lastFrame_.start();
}

void FormGraph::DrawGraph() {
  ++graphDraws_;
  pendingScene_ = BuildGraphScene(binding_.logic());
  if (Paced()) {
    RequestFrame();
  } else {
    PaintPending();
  }
}

void FormGraph::ShowMessageLines(const std::string& first, const std::string& second) {
  guidance_[0] = first;
  guidance_[1] = second;
  view_->ShowMessageLines(ShownText(first), ShownText(second));
}

void FormGraph::ShowStatusText(const std::string& text) {
  status_ = text;
  ShowStatusLine(ShownText(text));
}

void FormGraph::Retranslate() {
  view_->ShowMessageLines(ShownText(guidance_[0]), ShownText(guidance_[1]));
}

void FormGraph::ShowSensorSummary(int sensor) {
  const GraphScene scene = BuildGraphScene(binding_.logic());
  ShowStatusLine(QString::fromStdString(SensorSummaryLine(scene, sensor, summaries_)));
}

void FormGraph::ShowStatusLine(const QString& line) {
  pendingStatus_ = line;
  if (Paced()) {
    RequestFrame();
  } else {
    PaintPending();
  }
}

}  // namespace chromiva::ui
