// The form's fields that are not saved with the data, grouped by the component that writes them.
// FormFields joins the groups into the one read-only view the window and the graph read
// (fields().displayIndex, fields().settings.measureMode, ...).
#pragma once

#include <array>
#include <cstdint>

#include "chromiva/acquisition/axis_limits.h"
#include "chromiva/data/csv.h"
#include "chromiva/data/document.h"
#include "chromiva/data/processing.h"

namespace chromiva::acquisition {

// Detection and sensor selection.
struct SensorFields {
  bool detected = false;
  int selectedSensor = -1;
  std::array<int, data::kMaxSensors> deviceIndex = NoDevices();
  int mirrorDeviceIndex = -1;

 private:
  static constexpr std::array<int, data::kMaxSensors> NoDevices() {
    std::array<int, data::kMaxSensors> indices{};
    indices.fill(-1);
    return indices;
  }
};

// Shared by the components: a measurement or the dark sequence runs, and the record on display.
struct SharedFields {
  bool measuring = false;
  int displayIndex = 0;
};

// How the measurement cycle waits for its passes. kInstrument: the worker wakes the window
// thread as its pass ends, and without an interval the next pass starts at once. kTenMsSteps:
// the window thread looks at the worker every 10 ms and starts the next pass 10 ms after the
// last one, as earlier versions did; kept only as the benchmarks' baseline.
enum class Cadence { kInstrument, kTenMsSteps };

// The measurement cycle: the values taken from the form at the start, the schedule, the
// one-shot flags and the last averaged frame of each sensor.
struct CycleFields {
  Cadence cadence = Cadence::kInstrument;
  int averageCount = 1;
  int intervalMs = 0;
  std::uint32_t nextDueTick = 0;
  bool keepNext = false;
  bool oneShotPending = false;
  std::array<data::PixelArray, data::kMaxSensors> accumulator{};
};

// Reference captures.
struct ReferenceFields {
  bool darkRunning = false;
};

// Record browsing and the comparison document: the direction of the last BACK (1) or NEXT (2)
// step, and the position and display-grid spectra of the comparison.
struct BrowsingFields {
  bool playbackOn = false;
  int playbackDirection = 0;
  bool selectedOnly = false;
  int displayKind = 0;
  int compareSensor = 0;
  int compareRecord = 0;
  std::array<data::GridArray, data::kMaxSensors> compareSpectrum{};
};

// The operator's settings. `settings` holds the processing choices as the operator made them;
// they reach the processing state only while no worker runs.
struct SettingFields {
  data::ProcessingSettings settings;
  bool recordMode = false;
  bool intervalMode = false;
  bool colourDisplay = false;
  data::CsvSettings csv;
  AxisLimits axisLimits;
  int maintenanceMode = 0;
};

struct FormFields : SensorFields,
                    SharedFields,
                    CycleFields,
                    ReferenceFields,
                    BrowsingFields,
                    SettingFields {};

}  // namespace chromiva::acquisition
