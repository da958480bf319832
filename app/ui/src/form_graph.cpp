#include "form_graph.h"
#include "form_binding.h"
#include "graph_geometry.h"
#include "graph_scene_form.h"

namespace chromiva::ui {

FormGraph::FormGraph(QWidget* form, const FormBinding& binding)
    : QObject(form), binding_(binding), view_(new GraphView(form)), logo_(new LogoView(form)) {
  view_->setObjectName(QStringLiteral("c1000"));
  logo_->setObjectName(QStringLiteral("logo"));
  connect(view_, &GraphView::leftClicked, this, &FormGraph::leftClicked);
}

void FormGraph::Relayout(int clientHeight) {
  view_->Relayout(clientHeight);
  const Rect logo = view_->Layout().logoAreaOnForm;
  logo_->setGeometry(logo.left, logo.top, kLogoWidth, kLogoHeight);
}

void FormGraph::DrawGraph() {
  ++graphDraws_;
  view_->DrawGraph(BuildGraphScene(binding_.logic()));
}

void FormGraph::ShowMessageLines(const std::string& first, const std::string& second) {
  guidance_[0] = first;
  guidance_[1] = second;
  view_->ShowMessageLines(QString::fromStdString(first), QString::fromStdString(second));
}

void FormGraph::ShowStatusText(const std::string& text) {
  status_ = text;
  view_->ShowStatusText(QString::fromStdString(text));
}

void FormGraph::ShowSensorSummary(int sensor) {
  view_->ShowSensorSummary(BuildGraphScene(binding_.logic()), sensor);
}

}  // namespace chromiva::ui
