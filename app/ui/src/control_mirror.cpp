#include "control_mirror.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>

#include "language.h"

namespace chromiva::ui {
namespace {

QStringList Items(const acquisition::ControlState& state) {
  QStringList items;
  items.reserve(static_cast<qsizetype>(state.items.size()));
  for (const auto& item : state.items) items << ShownText(item);
  return items;
}

template <typename Widget>
void SetTextIfChanged(Widget* widget, const QString& text) {
  if (widget->text() != text) widget->setText(text);
}

void MirrorList(QListWidget* list, const acquisition::ControlState& state) {
  const QStringList items = Items(state);
  bool same = list->count() == items.size();
  for (int row = 0; same && row < list->count(); ++row)
    same = list->item(row)->text() == items[row];
  if (!same) {
    list->clear();
    list->addItems(items);
  }
  if (list->currentRow() != state.selection) list->setCurrentRow(state.selection);
}

void MirrorDropDown(QComboBox* box, const acquisition::ControlState& state) {
  const QStringList items = Items(state);
  bool same = box->count() == items.size();
  for (int row = 0; same && row < box->count(); ++row) same = box->itemText(row) == items[row];
  if (!same) {
    box->clear();
    box->addItems(items);
  }
  if (box->currentIndex() != state.selection) box->setCurrentIndex(state.selection);
}

}  // namespace

void MirrorControl(const acquisition::ControlState& state, QWidget* widget) {
  // Captions and list lines are the form's texts, in the window's language; what an edit field
  // holds is data and stays as it is.
  const QString text = QString::fromStdString(state.text);
  if (auto* box = qobject_cast<QAbstractButton*>(widget)) {
    SetTextIfChanged(box, ShownText(state.text));
    if (box->isCheckable() && box->isChecked() != state.checked) box->setChecked(state.checked);
  } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
    SetTextIfChanged(edit, text);
  } else if (auto* area = qobject_cast<QPlainTextEdit*>(widget)) {
    if (area->toPlainText() != text) area->setPlainText(text);
  } else if (auto* label = qobject_cast<QLabel*>(widget)) {
    SetTextIfChanged(label, ShownText(state.text));
  } else if (auto* list = qobject_cast<QListWidget*>(widget)) {
    MirrorList(list, state);
  } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
    MirrorDropDown(combo, state);
  }
}

}  // namespace chromiva::ui
