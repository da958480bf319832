#include "form_binding.h"

namespace chromiva::ui {

FormBinding::FormBinding(data::Ctintrose_mfDoc& document, acquisition::FormPort& port,
                         const acquisition::FormSettings& settings)
    : session_(document),
      logic_(document, port, settings),
      storedMaintenanceMode_(settings.maintenanceMode) {
  logic_.SetSession(&session_);
}

std::string FormBinding::TakeJournalError() {
  const std::string& error = session_.journal().error();
  if (journalErrorTold_ || error.empty()) return {};
  journalErrorTold_ = true;
  return error;
}

void FormBinding::SetMaintenanceForThisRun() {
  acquisition::FormSettings settings = logic_.CurrentSettings();
  settings.maintenanceMode = 1;
  logic_.ApplySettings(settings);
}

void FormBinding::SetAxisLimits(const acquisition::AxisLimits& limits) {
  acquisition::FormSettings settings = logic_.CurrentSettings();
  settings.axisLimits = limits;
  logic_.ApplySettings(settings);
}

acquisition::FormSettings FormBinding::CurrentSettings() const {
  acquisition::FormSettings settings = logic_.CurrentSettings();
  settings.maintenanceMode = storedMaintenanceMode_;
  return settings;
}

}  // namespace chromiva::ui
