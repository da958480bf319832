#include "dialogs/controls_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>

#include "control_mirror.h"
#include "language.h"

namespace chromiva::ui {
namespace {

// Room on either side of a button's caption, which the style keeps narrow for CJK text.
constexpr int kButtonPadding = 12;

}  // namespace

QFont DialogFont() {
  QFont font(QStringLiteral("Noto Sans Mono CJK JP"), 10);
  font.setStyleHint(QFont::TypeWriter);
  return font;
}

ControlsDialog::ControlsDialog(QWidget* parent, acquisition::dialogs::DialogControls& controls,
                               int dialogId, const char* title)
    : QDialog(parent), controls_(controls), title_(title) {
  setObjectName(QStringLiteral("dialog%1").arg(dialogId));
  setWindowTitle(ShownText(title));
  setFont(DialogFont());
}

QWidget* ControlsDialog::Control(int id) const {
  auto found = widgets_.find(id);
  return found == widgets_.end() ? nullptr : found->second;
}

void ControlsDialog::Handle(const std::function<void()>& handler) {
  handler();
  Refresh();
}

QWidget* ControlsDialog::Register(int id, QWidget* widget) {
  widget->setObjectName(QStringLiteral("c%1").arg(id));
  widgets_[id] = widget;
  return widget;
}

QPushButton* ControlsDialog::AddButton(int id) {
  auto* button = new QPushButton(this);
  button->setAutoDefault(false);
  connect(button, &QPushButton::clicked, this,
          [this, id] { Handle([this, id] { OnClicked(id); }); });
  Register(id, button);
  return button;
}

QAbstractButton* ControlsDialog::WireBox(int id, QAbstractButton* box) {
  // The logic decides what is checked; the refresh after the click shows it.
  box->setAutoExclusive(false);
  connect(box, &QAbstractButton::clicked, this,
          [this, id] { Handle([this, id] { OnClicked(id); }); });
  Register(id, box);
  return box;
}

QAbstractButton* ControlsDialog::AddCheckBox(int id) {
  return WireBox(id, new QCheckBox(this));
}

QAbstractButton* ControlsDialog::AddRadio(int id) {
  return WireBox(id, new QRadioButton(this));
}

QLineEdit* ControlsDialog::AddEdit(int id) {
  auto* edit = new QLineEdit(this);
  connect(edit, &QLineEdit::textEdited, this, [this, id](const QString& text) {
    Handle([this, id, text] { OnEdited(id, text.toStdString()); });
  });
  Register(id, edit);
  return edit;
}

QPlainTextEdit* ControlsDialog::AddTextArea(int id) {
  auto* area = new QPlainTextEdit(this);
  connect(area, &QPlainTextEdit::textChanged, this, [this, id, area] {
    if (!refreshing_) Handle([this, id, area] { OnEdited(id, area->toPlainText().toStdString()); });
  });
  Register(id, area);
  return area;
}

QListWidget* ControlsDialog::AddList(int id) {
  auto* list = new QListWidget(this);
  connect(list, &QListWidget::currentRowChanged, this, [this, id](int row) {
    if (!refreshing_ && row >= 0) Handle([this, id, row] { OnSelected(id, row); });
  });
  Register(id, list);
  return list;
}

QComboBox* ControlsDialog::AddDropDown(int id) {
  auto* box = new QComboBox(this);
  connect(box, &QComboBox::activated, this,
          [this, id](int index) { Handle([this, id, index] { OnSelected(id, index); }); });
  Register(id, box);
  return box;
}

QLabel* ControlsDialog::AddStatic(int id) {
  auto* label = new QLabel(this);
  Register(id, label);
  return label;
}

QLabel* ControlsDialog::AddLabel(const char* text) {
  auto* label = new QLabel(ShownText(text), this);
  labels_.emplace_back(label, text);
  return label;
}

void ControlsDialog::changeEvent(QEvent* event) {
  if (event->type() == QEvent::LanguageChange) {
    setWindowTitle(ShownText(title_));
    for (const auto& [label, text] : labels_) label->setText(ShownText(text));
    Refresh();
  }
  QDialog::changeEvent(event);
}

void ControlsDialog::Refresh() {
  refreshing_ = true;
  for (const auto& [id, state] : controls_.All()) {
    if (QWidget* widget = Control(id)) RefreshControl(state, widget);
  }
  refreshing_ = false;
}

void ControlsDialog::RefreshControl(const acquisition::ControlState& state, QWidget* widget) {
  if (widget->isHidden() == state.visible) widget->setVisible(state.visible);
  if (widget->isEnabled() != state.enabled) widget->setEnabled(state.enabled);
  const QString text = ShownText(state.text);
  if (auto* button = qobject_cast<QPushButton*>(widget); button && button->text() != text) {
    button->setText(text);
    const int captionWidth = button->fontMetrics().horizontalAdvance(text);
    button->setMinimumWidth(std::max(button->minimumWidth(), captionWidth + 2 * kButtonPadding));
  }
  MirrorControl(state, widget);
}

}  // namespace chromiva::ui
