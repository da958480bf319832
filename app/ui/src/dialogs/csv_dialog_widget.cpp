#include "dialogs/csv_dialog_widget.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace chromiva::ui {
namespace {

namespace ids = acquisition::dialogs::csv_ids;

constexpr int kNumberEditWidth = 80;

}  // namespace

CsvDialogWidget::CsvDialogWidget(QWidget* parent, acquisition::dialogs::CsvDialog& dialog)
    : ControlsDialog(parent, dialog.controls(), ids::kDialog, ids::kTitle), dialog_(dialog) {
  BuildLayout();
  Refresh();
  setFixedSize(sizeHint());
}

void CsvDialogWidget::BuildLayout() {
  // The four boxes that travel through the dialog without being shown.
  for (int id : {ids::kAddTemp, ids::kAddExp, ids::kAddWave, ids::kVertical}) AddCheckBox(id);

  auto* ranges = new QGridLayout;
  auto addRow = [&](int row, int column, const char* label, QWidget* field) {
    ranges->addWidget(AddLabel(label), row, column);
    ranges->addWidget(field, row, column + 1);
  };
  addRow(0, 0, ids::kTargetLabel, AddDropDown(ids::kTarget));
  addRow(1, 0, ids::kStartLabel, AddEdit(ids::kStartNm));
  addRow(1, 2, ids::kEndLabel, AddEdit(ids::kEndNm));
  addRow(2, 0, ids::kStepLabel, AddEdit(ids::kStepNm));
  addRow(3, 0, ids::kFirstLabel, AddEdit(ids::kFirstNumber));
  addRow(3, 2, ids::kLastLabel, AddEdit(ids::kLastNumber));
  addRow(4, 0, ids::kSensorLabel, AddDropDown(ids::kSensor));
  for (int id : {ids::kStartNm, ids::kEndNm, ids::kStepNm, ids::kFirstNumber, ids::kLastNumber}) {
    Control(id)->setFixedWidth(kNumberEditWidth);
  }
  ranges->setColumnMinimumWidth(2, 0);
  ranges->setHorizontalSpacing(12);

  auto* automatic = new QGroupBox(this);
  auto* autoLayout = new QGridLayout(automatic);
  autoLayout->addWidget(AddCheckBox(ids::kAuto), 0, 0, 1, 3);
  autoLayout->addWidget(AddRadio(ids::kFixedNameMode), 1, 0);
  autoLayout->addWidget(AddEdit(ids::kFixedName), 1, 1, 1, 2);
  autoLayout->addWidget(AddRadio(ids::kTimeNameMode), 2, 0);
  autoLayout->addWidget(AddRadio(ids::kNumberNameMode), 3, 0);
  autoLayout->addWidget(AddStatic(ids::kFolderLabel), 4, 0, 1, 3);
  autoLayout->addWidget(AddEdit(ids::kFolder), 5, 0, 1, 2);
  autoLayout->addWidget(AddButton(ids::kBrowse), 5, 2);
  autoLayout->setColumnStretch(1, 1);
  Control(ids::kFolder)->setMinimumWidth(360);

  QPushButton* ok = AddButton(ids::kOk);
  ok->setDefault(true);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(AddButton(ids::kCancel));

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(ranges);
  layout->addWidget(automatic);
  layout->addLayout(buttons);
}

void CsvDialogWidget::OnClicked(int id) {
  switch (id) {
    case ids::kOk:
      if (dialog_.Ok()) accept();
      break;
    case ids::kCancel:
      reject();
      break;
    default:
      dialog_.Clicked(id);
      break;
  }
}

void CsvDialogWidget::OnSelected(int id, int index) {
  dialog_.Selected(id, index);
}

void CsvDialogWidget::OnEdited(int id, std::string text) {
  dialog_.EditChanged(id, std::move(text));
}

bool RunCsvDialog(QWidget* parent, acquisition::dialogs::CsvDialog& dialog) {
  CsvDialogWidget widget(parent, dialog);
  widget.exec();
  return dialog.Accepted();
}

}  // namespace chromiva::ui
