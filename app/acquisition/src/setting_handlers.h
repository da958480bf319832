// The operator's settings: the measurement mode, recording, interval, sensitivity correction and
// colour display boxes, the sky-background flag, the CSV options, the graph's axis limits and
// the maintenance mode.
#pragma once

#include "chromiva/acquisition/form_settings.h"
#include "form_context.h"

namespace chromiva::acquisition {

class SettingHandlers {
 public:
  SettingHandlers(FormContext& context, SettingFields& fields)
      : c_(context), controls_(context.Writer(ControlOwner::kSettings)), f_(fields) {}

  // Takes the stored settings that belong here and shows them in the controls.
  void Load(const FormSettings& settings);
  // Shows this component's fields in its controls.
  void ShowFields();

  void SetMeasureMode(int mode);  // radio buttons 1008, 1009, 1010
  void RecordModeClicked();       // box 1014: reads its check state
  void IntervalModeClicked();     // box 1016: toggles
  void WaveCompClicked();         // box 1018: toggles
  void ColourDisplayClicked();    // box 1024: reads its check state

  void SetSkyBgdOn(bool on) { f_.settings.skyBgdOn = on; }
  // The CSV dialog's choices; the CSV button's caption follows the automatic save.
  void SetCsvSettings(const data::CsvSettings& csv);
  void SetAxisLimits(const AxisLimits& limits) { f_.axisLimits = limits; }
  // The maintenance button is shown only in maintenance mode 1.
  void SetMaintenanceMode(int mode);

 private:
  void RefreshAfterProcessingChange();

  FormContext& c_;
  ControlWriter controls_;
  SettingFields& f_;
};

}  // namespace chromiva::acquisition
