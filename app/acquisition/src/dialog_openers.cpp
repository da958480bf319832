// The router's dialog openers: each hands its dialog what it takes from the form and brings the
// dialog's outcome back into the form's state.
#include "chromiva/acquisition/dialogs/csv_dialog.h"
#include "chromiva/acquisition/dialogs/history_dialog.h"
#include "chromiva/acquisition/dialogs/maintenance_dialog.h"
#include "chromiva/acquisition/form_logic.h"
#include "form_context.h"
#include "setting_handlers.h"

namespace chromiva::acquisition {

bool FormLogic::OpenCsvDialog(const std::function<bool(dialogs::CsvDialog&)>& runModal) {
  FormContext& c = *context_;
  data::CsvSettings csv = fields_.csv;
  const dialogs::CsvDialogContext dialogContext{
      c.document, c.processing, csv, fields_.selectedSensor, fields_.measuring, c.port, c.controls};
  const bool confirmed = dialogs::OpenCsvDialog(dialogContext, runModal);
  if (confirmed) settings_->SetCsvSettings(csv);
  return confirmed;
}

bool FormLogic::OpenHistoryDialog(const std::function<void(dialogs::HistoryDialog&)>& runModal) {
  return dialogs::OpenHistoryDialog(context_->document, context_->port, runModal);
}

bool FormLogic::OpenMaintenanceDialog(
    dialogs::DialogTimers& timers,
    const std::function<void(dialogs::MaintenanceDialog&)>& runModal) {
  FormContext& c = *context_;
  const dialogs::MaintenanceContext dialogContext{c.document,
                                                  c.port,
                                                  timers,
                                                  fields_.selectedSensor,
                                                  fields_.deviceIndex,
                                                  fields_.axisLimits.graphMax};
  const bool opened = dialogs::OpenMaintenanceDialog(dialogContext, fields_.measuring, runModal);
  // The dialog may have changed the selected sensor's tables: show the record with them.
  if (opened && !fields_.measuring) c.RefreshDisplayedRecord();
  return opened;
}

}  // namespace chromiva::acquisition
