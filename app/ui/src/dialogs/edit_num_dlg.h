// CEditNumDlg (dialog 135, "数値編集"): the modal number entry through which the axis limits
// change. Label static 1070, edit 1069, "OK" and "キャンセル".
#pragma once

#include <optional>
#include <string>

#include <QDialog>

#include "chromiva/acquisition/dialogs/edit_number.h"

class QLabel;
class QLineEdit;

namespace chromiva::ui {

class CEditNumDlg : public QDialog {
 public:
  explicit CEditNumDlg(QWidget* parent = nullptr);

  // The number and label it opens with; after OK, the number read from the edit.
  acquisition::EditNumber number;

  // Opens with the edit showing `shown` (not the number); used by the form's number entry.
  std::optional<std::string> AskText(const std::string& label, const std::string& shown);
  int exec() override;
  void accept() override;

  QLineEdit* Edit() const { return edit_; }
  QLabel* Label() const { return label_; }

 private:
  QLabel* label_;
  QLineEdit* edit_;
};

// FormPort::EnterNumber for the window: the edit text on OK, nothing on cancel.
std::optional<std::string> EnterNumberWithDialog(QWidget* parent, const std::string& label,
                                                 const std::string& shown);

}  // namespace chromiva::ui
