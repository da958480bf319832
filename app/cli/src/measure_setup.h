// The measurement options of chromiva-cli and how they set the form's fields.
#pragma once

#include <optional>
#include <string>

#include "arguments.h"
#include "chromiva/acquisition/form_logic.h"

namespace chromiva::cli {

struct MeasureSetup {
  acquisition::FormSettings settings;
  std::optional<int> exposureMs;
  std::optional<int> averageCount;
  std::optional<int> intervalMs;
  int mode = 0;
  bool waveComp = false;
  int count = 0;
  std::string output;
};

// Reads --exposure, --average, --interval, --mode, --wave-comp, --count, -o and the CSV
// options; sets `error` and returns nothing for a bad value.
std::optional<MeasureSetup> ReadMeasureSetup(const Arguments& arguments, std::string& error);

// Types the values into the form's fields and clicks its boxes as an operator would.
void ApplyMeasureSetup(acquisition::FormLogic& form, const MeasureSetup& setup);

// After detection: kExitFault with a message when an instrument was left out because its
// identity or tables did not arrive whole (the reports name each one), else kExitOk. The
// detected spectrometers are closed when it refuses.
int RefuseFaultyInstruments(const acquisition::FormLogic& form);

}  // namespace chromiva::cli
