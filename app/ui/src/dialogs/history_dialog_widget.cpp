#include "dialogs/history_dialog_widget.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace chromiva::ui {
namespace {

namespace ids = acquisition::dialogs::history_ids;

}  // namespace

HistoryDialogWidget::HistoryDialogWidget(QWidget* parent,
                                         acquisition::dialogs::HistoryDialog& dialog)
    : ControlsDialog(parent, dialog.controls(), ids::kDialog, ids::kTitle), dialog_(dialog) {
  QPlainTextEdit* text = AddTextArea(ids::kText);
  text->setLineWrapMode(QPlainTextEdit::NoWrap);
  // Enter in the text makes a new line; Tab leaves it for the button, where Enter is the
  // dialog's OK (Space presses the button).
  text->setTabChangesFocus(true);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(AddButton(ids::kSave));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(text);
  layout->addLayout(buttons);
  Refresh();
  setFixedSize(720, 420);
}

void HistoryDialogWidget::OnClicked(int id) {
  if (id == ids::kSave) dialog_.SaveClicked();
}

void HistoryDialogWidget::OnEdited(int /*id*/, std::string text) {
  dialog_.EditChanged(std::move(text));
}

void HistoryDialogWidget::keyPressEvent(QKeyEvent* event) {
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (enter) {
    dialog_.Enter();
    QDialog::accept();
    return;
  }
  ControlsDialog::keyPressEvent(event);
}

void HistoryDialogWidget::reject() {
  dialog_.Close();
  ControlsDialog::reject();
}

void RunHistoryDialog(QWidget* parent, acquisition::dialogs::HistoryDialog& dialog) {
  HistoryDialogWidget widget(parent, dialog);
  widget.exec();
}

}  // namespace chromiva::ui
