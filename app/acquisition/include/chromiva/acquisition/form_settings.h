// The form's settings kept between runs in the settings store: read once when the form is built,
// written once when it goes.
#pragma once

#include "chromiva/acquisition/axis_limits.h"
#include "chromiva/acquisition/settings_store.h"
#include "chromiva/data/csv.h"

namespace chromiva::acquisition {

struct FormSettings {
  int averageCount = 1;
  bool recordMode = false;
  bool intervalMode = false;
  int intervalMs = 0;
  bool waveComp = false;
  bool playbackOn = false;
  int maintenanceMode = 0;
  int displayKind = 0;
  data::CsvSettings csv;
  AxisLimits axisLimits;
};

// Reads every stored entry (a missing one gives its default). The four CSV options "add
// wavelengths", "vertical", "add temperature" and "add exposure" are never read: they start on.
FormSettings ReadFormSettings(SettingsStore& store);
// Writes every entry, the four CSV options included.
void WriteFormSettings(SettingsStore& store, const FormSettings& settings);

}  // namespace chromiva::acquisition
