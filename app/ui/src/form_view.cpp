#include "form_view.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QResizeEvent>
#include <QTimerEvent>
#include <algorithm>
#include <chrono>

#include "chromiva/acquisition/dialogs/edit_number.h"
#include "chromiva/acquisition/dialogs/mirror_dialog.h"
#include "control_mirror.h"
#include "dialogs/controls_dialog.h"
#include "dialogs/csv_dialog_widget.h"
#include "dialogs/edit_num_dlg.h"
#include "dialogs/history_dialog_widget.h"
#include "dialogs/maintenance_dialog_widget.h"
#include "dialogs/mirror_dialog_widget.h"
#include "file_filter.h"
#include "language.h"

namespace chromiva::ui {
namespace {

namespace control = acquisition::control;

QString Q(const std::string& text) {
  return QString::fromStdString(text);
}

// Room right of and below the lowest and rightmost controls.
constexpr QSize kFormMargin{5, 5};

QFont FormFont() {
  QFont font(QStringLiteral("Noto Sans Mono CJK JP"), 10);
  font.setStyleHint(QFont::TypeWriter);
  return font;
}

// The title's font: 24 pixels high, normal weight, its characters 18 pixels wide on average.
QFont TitleFont(const QString& title) {
  constexpr int kHeight = 24;
  constexpr int kAverageWidth = 18;
  QFont font;
  font.setFamilies({QStringLiteral("Impact"), QStringLiteral("DejaVu Sans Condensed"),
                    QStringLiteral("Noto Sans CJK JP")});
  font.setPixelSize(kHeight);
  font.setWeight(QFont::Normal);
  // A stretch may select another face of the family: measured again until it fits.
  const int wanted = kAverageWidth * static_cast<int>(title.size());
  int stretch = 100;
  for (int round = 0; round < 3; ++round) {
    const int width = QFontMetrics(font).horizontalAdvance(title);
    if (width <= 0 || width == wanted) break;
    stretch = std::clamp(stretch * wanted / width, 1, 4000);
    font.setStretch(stretch);
  }
  return font;
}

}  // namespace

Ctintrose_mfView::Ctintrose_mfView(data::Ctintrose_mfDoc& document,
                                   acquisition::SettingsStore& store, bool maintenanceForThisRun,
                                   QWidget* parent)
    : QWidget(parent), document_(document), store_(store), timers_(new NumberedTimers(this)) {
  setObjectName(QStringLiteral("Ctintrose_mfView"));
  setFont(FormFont());
  binding_ = std::make_unique<FormBinding>(document_, *this, acquisition::ReadFormSettings(store_));
  timers_->SetTarget([this](int timer) { Handle([this, timer] { binding_->OnTimer(timer); }); });
  binding_->SetDialogRunners({[this](auto& dialog) { return RunCsvDialog(this, dialog); },
                              [this](auto& dialog) { RunHistoryDialog(this, dialog); },
                              [] { return std::make_unique<QtDialogTimers>(); },
                              [this](auto& dialog, auto& timers) {
                                RunMaintenanceDialog(this, dialog,
                                                     static_cast<QtDialogTimers&>(timers));
                              }});
  BuildControls();
  connect(graph_, &FormGraph::leftClicked, this,
          [this](QPoint point) { Handle([this, point] { EditAxisLimitAt(point); }); });
  if (maintenanceForThisRun) binding_->SetMaintenanceForThisRun();
}

Ctintrose_mfView::~Ctintrose_mfView() {
  timers_->SetTarget({});
  // The logic waits here for a worker that may still run.
  binding_.reset();
}

void Ctintrose_mfView::BuildControls() {
  for (const ControlSpec& spec : FormControls()) {
    QWidget* widget = MakeControl(spec.id, spec.kind);
    widget->setObjectName(QStringLiteral("c%1").arg(spec.id));
    widget->setGeometry(spec.place);
    controls_[spec.id] = widget;
  }
  // The title lies partly over the graph frame's top edge: the frame stays on top.
  controls_[control::kTitle]->lower();
}

QWidget* Ctintrose_mfView::MakeControl(int id, ControlKind kind) {
  switch (kind) {
    case ControlKind::kGraphFrame:
      graph_ = new FormGraph(this, *binding_);
      return graph_->View();
    case ControlKind::kOwnerDrawn:
      return new QWidget(this);
    case ControlKind::kTitle: {
      auto* label = new QLabel(this);
      label->setFont(TitleFont(Q(binding_->controls().All().at(id).text)));
      label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
      QPalette palette = label->palette();
      palette.setColor(QPalette::WindowText, QColor(0, 0, 102));
      label->setPalette(palette);
      return label;
    }
    case ControlKind::kStatic:
      return new QLabel(this);
    case ControlKind::kButton: {
      auto* button = new QPushButton(this);
      connect(button, &QPushButton::clicked, this,
              [this, id] { Handle([this, id] { Click(id); }); });
      return button;
    }
    case ControlKind::kRadio:
    case ControlKind::kCheckBox: {
      QAbstractButton* box = kind == ControlKind::kRadio
                                 ? static_cast<QAbstractButton*>(new QRadioButton(this))
                                 : static_cast<QAbstractButton*>(new QCheckBox(this));
      // The logic decides which radio button is checked.
      box->setAutoExclusive(false);
      connect(box, &QAbstractButton::clicked, this, [this, id](bool checked) {
        Handle([this, id, checked] {
          binding_->SetControlChecked(id, checked);
          binding_->OnControlClicked(id);
        });
      });
      return box;
    }
    case ControlKind::kEdit:
    case ControlKind::kReadOnlyEdit: {
      auto* edit = new QLineEdit(this);
      edit->setReadOnly(kind == ControlKind::kReadOnlyEdit);
      if (id == control::kPosition) edit->setAlignment(Qt::AlignCenter);
      // Dropped files go to the main frame, which opens them.
      edit->setAcceptDrops(false);
      connect(edit, &QLineEdit::textEdited, this, [this, id](const QString& text) {
        binding_->SetControlText(id, text.toStdString());
      });
      return edit;
    }
    case ControlKind::kListBox: {
      auto* list = new QListWidget(this);
      if (id == control::kDeviceList) {
        connect(list, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
          if (acquisition::dialogs::OpensMirrorDialog(item->text().toStdString())) {
            OpenMirrorDialog();
          }
        });
      }
      connect(list, &QListWidget::currentRowChanged, this, [this, id](int row) {
        if (!refreshing_ && row >= 0)
          Handle([this, id, row] { binding_->SelectListItem(id, row); });
      });
      return list;
    }
    case ControlKind::kDropDownList: {
      auto* box = new QComboBox(this);
      connect(box, &QComboBox::activated, this, [this, id](int index) {
        Handle([this, id, index] { binding_->SelectListItem(id, index); });
      });
      return box;
    }
  }
  return new QWidget(this);
}

QWidget* Ctintrose_mfView::Control(int id) const {
  auto found = controls_.find(id);
  return found == controls_.end() ? nullptr : found->second;
}

void Ctintrose_mfView::InitialUpdate() {
  initialised_ = true;
  LayoutForm(height());
  binding_->InitialUpdate();
  Refresh();
}

void Ctintrose_mfView::WriteSettings() {
  if (settingsWritten_) return;
  settingsWritten_ = true;
  acquisition::WriteFormSettings(store_, binding_->CurrentSettings());
}

void Ctintrose_mfView::LayoutForm(int clientHeight) {
  for (const ControlSpec& spec : FormControls()) {
    if (spec.id == control::kGraphFrame) continue;
    controls_[spec.id]->setGeometry(ControlPlace(spec.id, clientHeight));
  }
  graph_->Relayout(clientHeight);
}

void Ctintrose_mfView::EditAxisLimitAt(QPoint formPoint) {
  acquisition::AxisLimits limits = binding_->axisLimits();
  if (!acquisition::EditAxisLimit(*this, limits, graph_->View()->Layout().plotArea, formPoint.x(),
                                  formPoint.y())) {
    return;
  }
  binding_->SetAxisLimits(limits);
  graph_->DrawGraph();
}

void Ctintrose_mfView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (!initialised_) return;
  LayoutForm(event->size().height());
  ArmTimer(acquisition::timer::kStartup, 100);
}

void Ctintrose_mfView::changeEvent(QEvent* event) {
  if (event->type() == QEvent::LanguageChange) {
    graph_->Retranslate();
    Refresh();
  }
  QWidget::changeEvent(event);
}

void Ctintrose_mfView::Handle(const std::function<void()>& handler) {
  handler();
  // Graph and status line wait for the screen's next frame only while a measurement runs.
  if (!binding_->fields().measuring) graph_->PaintPending();
  Refresh();
  const std::string journalError = binding_->TakeJournalError();
  if (!journalError.empty()) {
    ShowOkMessage(tr("記録の控え (ジャーナル) に書き込めません。計測は続きますが、異常終了時には"
                     "復元できません。\n%1")
                      .arg(Q(journalError))
                      .toStdString());
  }
}

void Ctintrose_mfView::RunControlCommand(int id) {
  Handle([this, id] { Click(id); });
}

void Ctintrose_mfView::Click(int id) {
  binding_->OnControlClicked(id);
}

bool Ctintrose_mfView::OpenMirrorDialog() {
  const int device = binding_->Status().mirrorDeviceIndex;
  if (device < 0) return false;
  acquisition::dialogs::MirrorDialog dialog(device);
  RunMirrorDialog(this, dialog);
  return true;
}

void Ctintrose_mfView::Refresh() {
  refreshing_ = true;
  for (const auto& [id, widget] : controls_) RefreshControl(id, widget);
  refreshing_ = false;
  ReturnParkedFocus();
  KeepControlsOnForm();
  emit Refreshed();
}

// However small the window is made, every shown control stays on the form (the graph frame
// follows the height).
void Ctintrose_mfView::KeepControlsOnForm() {
  QSize least;
  for (const auto& [id, widget] : controls_) {
    if (id == control::kGraphFrame || widget->isHidden()) continue;
    const QRect place = widget->geometry();
    least = least.expandedTo(QSize(place.right() + 1, place.bottom() + 1) + kFormMargin);
  }
  if (minimumSize() != least) setMinimumSize(least);
}

// A control that is disabled while it has the focus (the button that started a one-shot or
// stopped a run) would pass the focus on to the next field, which selects its text for the
// next key to replace. The form holds the focus instead, until the control is enabled again.
void Ctintrose_mfView::ParkFocus(QWidget* widget) {
  if (window()->focusWidget() != widget) return;
  parkedFocus_ = widget;
  setFocus(Qt::OtherFocusReason);
}

void Ctintrose_mfView::ReturnParkedFocus() {
  if (parkedFocus_ == nullptr) return;
  if (window()->focusWidget() != this) {
    parkedFocus_ = nullptr;  // the user has put the focus elsewhere meanwhile
    return;
  }
  if (!parkedFocus_->isEnabled() || !parkedFocus_->isVisible()) return;
  parkedFocus_->setFocus(Qt::OtherFocusReason);
  parkedFocus_ = nullptr;
}

void Ctintrose_mfView::RefreshControl(int id, QWidget* widget) {
  const auto& all = binding_->controls().All();
  auto found = all.find(id);
  if (found == all.end()) return;
  const acquisition::ControlState& state = found->second;
  const bool visible = id == control::kMaintenance ? binding_->MaintenanceMode() : state.visible;
  if (widget->isHidden() == visible) widget->setVisible(visible);
  if (widget->isEnabled() != state.enabled) {
    if (!state.enabled) ParkFocus(widget);
    widget->setEnabled(state.enabled);
  }
  MirrorControl(state, widget);
}

void Ctintrose_mfView::SetDialogAnswers(std::function<bool(const std::string&)> ask,
                                        std::function<void(const std::string&)> tell) {
  ask_ = std::move(ask);
  tell_ = std::move(tell);
}

void Ctintrose_mfView::ShowMessage(const std::string& line) {
  graph_->ShowMessage(line);
}

void Ctintrose_mfView::ShowMessageLines(const std::string& first, const std::string& second) {
  graph_->ShowMessageLines(first, second);
}

void Ctintrose_mfView::ForwardMessage(const std::string& line) {
  // Queued events from one thread arrive in the order they were posted.
  QMetaObject::invokeMethod(
      this, [this, line] { graph_->ShowMessage(line); }, Qt::QueuedConnection);
}

void Ctintrose_mfView::WakeFromWorker(int timer) {
  // A queued event, behind the lines the worker forwarded before.
  QMetaObject::invokeMethod(
      this, [this, timer] { Handle([this, timer] { binding_->OnWorkerWake(timer); }); },
      Qt::QueuedConnection);
}

void Ctintrose_mfView::ShowStatusText(const std::string& text) {
  graph_->ShowStatusText(text);
}

void Ctintrose_mfView::DrawGraph() {
  graph_->DrawGraph();
}

void Ctintrose_mfView::DrawColourBar() {
  graph_->DrawColourBar();
}

void Ctintrose_mfView::DrawLogo() {
  graph_->DrawLogo();
}

void Ctintrose_mfView::ShowSensorSummary(int sensor) {
  graph_->ShowSensorSummary(sensor);
}

// A dialog of the form shows what its handler has done before a message box covers it (its own
// refresh comes only when the handler returns).
void Ctintrose_mfView::RefreshOpenDialog() {
  if (auto* dialog = qobject_cast<ControlsDialog*>(QApplication::activeModalWidget())) {
    dialog->Refresh();
  }
}

bool Ctintrose_mfView::AskOkCancel(const std::string& question) {
  RefreshOpenDialog();
  if (ask_) return ask_(ShownText(question).toStdString());
  return QMessageBox::question(this, QStringLiteral("chromiva"), ShownText(question),
                               QMessageBox::Ok | QMessageBox::Cancel,
                               QMessageBox::Ok) == QMessageBox::Ok;
}

void Ctintrose_mfView::ShowOkMessage(const std::string& message) {
  RefreshOpenDialog();
  if (tell_) {
    tell_(ShownText(message).toStdString());
    return;
  }
  QMessageBox::information(this, QStringLiteral("chromiva"), ShownText(message));
}

std::optional<std::string> Ctintrose_mfView::ChooseSaveFile(const acquisition::FileChoice& choice) {
  if (chooseFile_) return chooseFile_(choice.defaultExtension);
  QFileDialog dialog(this);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setNameFilters(QtNameFilters(ShownText(choice.filter).toStdString()));
  dialog.setDefaultSuffix(Q(choice.defaultExtension));
  dialog.selectFile(Q(choice.initialName));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().front().toStdString();
}

std::optional<std::string> Ctintrose_mfView::ChooseOpenFile(const acquisition::FileChoice& choice) {
  if (chooseFile_) return chooseFile_(choice.defaultExtension);
  QFileDialog dialog(this);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  QStringList filters = QtNameFilters(ShownText(choice.filter).toStdString());
  // A comparison file is a data file of either extension: the program's own is offered too.
  if (choice.defaultExtension == "trdata") filters << QStringLiteral("chromiva Files (*.cvdata)");
  dialog.setNameFilters(filters);
  dialog.setDefaultSuffix(Q(choice.defaultExtension));
  dialog.selectFile(Q(choice.initialName));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().front().toStdString();
}

std::optional<std::string> Ctintrose_mfView::ChooseFolder(const std::string& title,
                                                          const std::string& initialFolder) {
  if (chooseFile_) return chooseFile_({});
  const QString folder =
      QFileDialog::getExistingDirectory(this, ShownText(title), Q(initialFolder));
  if (folder.isEmpty()) return std::nullopt;
  return folder.toStdString();
}

std::optional<std::string> Ctintrose_mfView::EnterNumber(const std::string& label,
                                                         const std::string& shown) {
  if (enterNumber_) return enterNumber_(label, shown);
  return EnterNumberWithDialog(this, label, shown);
}

void Ctintrose_mfView::ArmTimer(int timer, int milliseconds) {
  timers_->Arm(timer, milliseconds);
}

void Ctintrose_mfView::KillTimer(int timer) {
  timers_->Kill(timer);
}

std::uint32_t Ctintrose_mfView::TickMs() {
  const auto elapsed = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<std::uint32_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}

std::time_t Ctintrose_mfView::Now() {
  return std::time(nullptr);
}

}  // namespace chromiva::ui
