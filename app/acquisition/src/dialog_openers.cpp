// The router's dialog openers: each hands its dialog what it takes from the form and brings the
// dialog's outcome back into the form's state.
#include "chromiva/acquisition/dialogs/csv_dialog.h"
#include "chromiva/acquisition/dialogs/history_dialog.h"
#include "chromiva/acquisition/dialogs/maintenance_dialog.h"
#include "chromiva/acquisition/form_logic.h"
#include "form_context.h"
#include "setting_handlers.h"

namespace chromiva::acquisition {

void FormLogic::SetDialogRunners(DialogRunners runners) {
  dialogRunners_ = std::move(runners);
}

void FormLogic::OpenCsvDialog() {
  if (!dialogRunners_.csv) return;
  FormContext& c = *context_;
  data::CsvSettings csv = fields_.csv;
  const dialogs::CsvDialogContext dialogContext{
      c.document, c.processing, csv, fields_.selectedSensor, fields_.measuring, c.port};
  if (dialogs::OpenCsvDialog(dialogContext, dialogRunners_.csv)) settings_->SetCsvSettings(csv);
}

void FormLogic::OpenHistoryDialog() {
  if (!dialogRunners_.history) return;
  dialogs::OpenHistoryDialog(context_->document, context_->port, dialogRunners_.history);
}

void FormLogic::OpenMaintenanceDialog() {
  if (!dialogRunners_.maintenanceTimers || !dialogRunners_.maintenance) return;
  const std::unique_ptr<dialogs::DialogTimers> timers = dialogRunners_.maintenanceTimers();
  FormContext& c = *context_;
  const dialogs::MaintenanceContext dialogContext{c.document,
                                                  c.port,
                                                  *timers,
                                                  fields_.selectedSensor,
                                                  fields_.deviceIndex,
                                                  fields_.axisLimits.graphMax};
  const bool opened = dialogs::OpenMaintenanceDialog(
      dialogContext, fields_.measuring, [this, &timers](dialogs::MaintenanceDialog& dialog) {
        dialogRunners_.maintenance(dialog, *timers);
      });
  // The dialog may have changed the selected sensor's tables: show the record with them.
  if (opened && !fields_.measuring) c.RefreshDisplayedRecord();
}

}  // namespace chromiva::acquisition
