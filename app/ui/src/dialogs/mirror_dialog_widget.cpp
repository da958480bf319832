#include "dialogs/mirror_dialog_widget.h"

#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>

namespace chromiva::ui {
namespace {

namespace ids = acquisition::dialogs::mirror_ids;

}  // namespace

MirrorDialogWidget::MirrorDialogWidget(QWidget* parent, acquisition::dialogs::MirrorDialog& dialog)
    : ControlsDialog(parent, dialog.controls(), ids::kDialog, ids::kTitle), dialog_(dialog) {
  auto* layout = new QGridLayout(this);
  layout->addWidget(AddButton(ids::kPlus), 0, 0);
  layout->addWidget(AddEdit(ids::kPosition), 0, 1);
  layout->addWidget(AddButton(ids::kMinus), 0, 2);
  layout->addWidget(AddButton(ids::kSet), 0, 3);
  QPushButton* ok = AddButton(ids::kOk);
  ok->setDefault(true);
  layout->addWidget(ok, 1, 2);
  layout->addWidget(AddButton(ids::kCancel), 1, 3);
  layout->setRowMinimumHeight(1, 40);
  layout->setAlignment(ok, Qt::AlignBottom);
  layout->setAlignment(Control(ids::kCancel), Qt::AlignBottom);
  Control(ids::kPosition)->setFixedWidth(100);
  Refresh();
  setFixedSize(sizeHint());
}

void MirrorDialogWidget::OnClicked(int id) {
  dialog_.Clicked(id);
  if (id == ids::kOk) accept();
  if (id == ids::kCancel) reject();
}

void MirrorDialogWidget::OnEdited(int /*id*/, std::string text) {
  dialog_.EditChanged(std::move(text));
}

void RunMirrorDialog(QWidget* parent, acquisition::dialogs::MirrorDialog& dialog) {
  MirrorDialogWidget widget(parent, dialog);
  widget.exec();
}

}  // namespace chromiva::ui
