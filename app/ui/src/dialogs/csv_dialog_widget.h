// The CSV export dialog (133, "CSVファイル保存") over its logic.
#pragma once

#include "chromiva/acquisition/dialogs/csv_dialog.h"
#include "dialogs/controls_dialog.h"

namespace chromiva::ui {

class CsvDialogWidget : public ControlsDialog {
  Q_OBJECT

 public:
  CsvDialogWidget(QWidget* parent, acquisition::dialogs::CsvDialog& dialog);

 protected:
  void OnClicked(int id) override;
  void OnSelected(int id, int index) override;
  void OnEdited(int id, std::string text) override;

 private:
  void BuildLayout();

  acquisition::dialogs::CsvDialog& dialog_;
};

// The form's `runModal` for the CSV dialog: OK closes only when the logic accepts it, Cancel,
// Esc and the close box close. Returns whether the dialog was accepted.
bool RunCsvDialog(QWidget* parent, acquisition::dialogs::CsvDialog& dialog);

}  // namespace chromiva::ui
