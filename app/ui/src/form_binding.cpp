#include "form_binding.h"

namespace chromiva::ui {

FormBinding::FormBinding(data::Ctintrose_mfDoc& document, acquisition::FormPort& port,
                         const acquisition::FormSettings& settings)
    : logic_(document, port, settings), storedMaintenanceMode_(settings.maintenanceMode) {
  logic_.SetJournal(&journal_);
}

std::string FormBinding::TakeJournalError() {
  if (journalErrorTold_ || journal_.error().empty()) return {};
  journalErrorTold_ = true;
  return journal_.error();
}

acquisition::FormSettings FormBinding::CurrentSettings() const {
  acquisition::FormSettings settings = logic_.CurrentSettings();
  settings.maintenanceMode = storedMaintenanceMode_;
  return settings;
}

}  // namespace chromiva::ui
