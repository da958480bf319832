// The maintenance dialog (131, "Setting") over its logic, and the Qt timers its dark sequence and
// frame reads run on.
#pragma once

#include <functional>

#include "chromiva/acquisition/dialogs/maintenance_dialog.h"
#include "dialogs/controls_dialog.h"
#include "numbered_timers.h"

class QListWidget;

namespace chromiva::ui {

// The dialog's numbered one-shot timers. The form creates them before the dialog's logic, so the
// events go to a target set later (by the dialog widget); without a target they are dropped.
class QtDialogTimers : public NumberedTimers, public acquisition::dialogs::DialogTimers {
 public:
  void Arm(int timer, int milliseconds) override { NumberedTimers::Arm(timer, milliseconds); }
  void Kill(int timer) override { NumberedTimers::Kill(timer); }
};

class MaintenanceDialogWidget : public ControlsDialog {
  Q_OBJECT

 public:
  // Takes the events of `timers` until it is destroyed.
  MaintenanceDialogWidget(QWidget* parent, acquisition::dialogs::MaintenanceDialog& dialog,
                          QtDialogTimers& timers);
  ~MaintenanceDialogWidget() override;

 protected:
  void OnClicked(int id) override;
  void OnSelected(int id, int index) override;

 private:
  QWidget* BuildTableList();
  void FitScreen(const QWidget* parent);

  acquisition::dialogs::MaintenanceDialog& dialog_;
  QListWidget* tableList_ = nullptr;
  QWidget* buttonColumn_ = nullptr;
  QtDialogTimers& timers_;
};

// The form's `runModal` for the maintenance dialog, shown until its close box; `timers` are the
// ones the dialog's logic was created with.
void RunMaintenanceDialog(QWidget* parent, acquisition::dialogs::MaintenanceDialog& dialog,
                          QtDialogTimers& timers);

}  // namespace chromiva::ui
