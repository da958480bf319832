// The operation history dialog (130) over its logic: the editable history and
// "テキストファイル保存", without OK or Cancel.
#pragma once

#include "chromiva/acquisition/dialogs/history_dialog.h"
#include "dialogs/controls_dialog.h"

namespace chromiva::ui {

class HistoryDialogWidget : public ControlsDialog {
  Q_OBJECT

 public:
  HistoryDialogWidget(QWidget* parent, acquisition::dialogs::HistoryDialog& dialog);

  // Esc and the close box: the edited text is taken over.
  void reject() override;

 protected:
  void OnClicked(int id) override;
  void OnEdited(int id, std::string text) override;
  // Enter outside the text ends the dialog without taking over the edit; inside the text it
  // starts a new line.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  acquisition::dialogs::HistoryDialog& dialog_;
};

// The form's `runModal` for the history dialog.
void RunHistoryDialog(QWidget* parent, acquisition::dialogs::HistoryDialog& dialog);

}  // namespace chromiva::ui
