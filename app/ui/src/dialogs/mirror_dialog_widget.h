// The mirror control dialog (134, "ミラー制御") over its logic.
#pragma once

#include "chromiva/acquisition/dialogs/mirror_dialog.h"
#include "dialogs/controls_dialog.h"

namespace chromiva::ui {

class MirrorDialogWidget : public ControlsDialog {
  Q_OBJECT

 public:
  MirrorDialogWidget(QWidget* parent, acquisition::dialogs::MirrorDialog& dialog);

 protected:
  void OnClicked(int id) override;
  void OnEdited(int id, std::string text) override;

 private:
  acquisition::dialogs::MirrorDialog& dialog_;
};

// The form's `runModal` for the mirror dialog.
void RunMirrorDialog(QWidget* parent, acquisition::dialogs::MirrorDialog& dialog);

}  // namespace chromiva::ui
