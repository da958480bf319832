#include "chromiva/acquisition/form_settings.h"

namespace chromiva::acquisition {
namespace {

// Sections and entries of the store.
struct Key {
  const char* section;
  const char* entry;
};

constexpr Key kAverage{"average", "number"};
constexpr Key kRecordMode{"logging", "go"};
constexpr Key kIntervalMode{"interval", "go"};
constexpr Key kIntervalMs{"interval", "time"};
constexpr Key kWaveComp{"sensitivity", "go"};
constexpr Key kPlayback{"repeat", "go"};
constexpr Key kMaintenance{"hard", "adjust"};
constexpr Key kDisplayKind{"disp", "kind"};
constexpr Key kCsvAddWave{"csv", "addwave"};
constexpr Key kCsvVertical{"csv", "vertical"};
constexpr Key kCsvAuto{"save", "auto"};
constexpr Key kCsvAutoMode{"save", "automode"};
constexpr Key kCsvFixedName{"save", "fixfilename"};
constexpr Key kCsvFolder{"save", "fixfilepath"};
constexpr Key kCsvAddTemp{"save", "addtemp"};
constexpr Key kCsvAddExp{"save", "addexp"};
constexpr Key kCsvStart{"save", "startwave"};
constexpr Key kCsvEnd{"save", "endwave"};
constexpr Key kCsvStep{"save", "stepwave"};
constexpr Key kCsvTarget{"save", "target"};
constexpr Key kGraphMax{"graph", "max"};
constexpr Key kRatioMax{"ratio", "max"};
constexpr Key kGraphMin{"graph", "min"};
constexpr Key kRatioMin{"ratio", "min"};

constexpr int kLargest = 0x7FFFFFFF;
constexpr int kLimitLow = -1000000000;
constexpr int kLimitHigh = 1000000000;

// Reads and writes in the order of the store's table. A stored value outside its range (a
// hand-edited or damaged store) reads as the default.
class Io {
 public:
  explicit Io(SettingsStore& store) : store_(store) {}
  void Read(const Key& key, int& value, int low, int high) {
    const int stored = store_.ReadInt(key.section, key.entry, value);
    if (stored >= low && stored <= high) value = stored;
  }
  void Read(const Key& key, bool& value) {
    int number = value ? 1 : 0;
    Read(key, number, 0, 1);
    value = number != 0;
  }
  void Read(const Key& key, std::string& value) {
    value = store_.ReadText(key.section, key.entry, value);
  }
  void Write(const Key& key, int value) { store_.WriteInt(key.section, key.entry, value); }
  void Write(const Key& key, bool value) { Write(key, value ? 1 : 0); }
  void Write(const Key& key, const std::string& value) {
    store_.WriteText(key.section, key.entry, value);
  }

 private:
  SettingsStore& store_;
};

// Limits whose maximum is not above the minimum would divide by zero on drawing: both fall back
// to their defaults.
void KeepAxisPairOrdered(int& max, int& min, int defaultMax, int defaultMin) {
  if (max <= min) {
    max = defaultMax;
    min = defaultMin;
  }
}

}  // namespace

FormSettings ReadFormSettings(SettingsStore& store) {
  FormSettings s;  // the defaults
  Io io(store);
  io.Read(kAverage, s.averageCount, 1, kLargest);
  io.Read(kRecordMode, s.recordMode);
  io.Read(kIntervalMode, s.intervalMode);
  io.Read(kIntervalMs, s.intervalMs, 0, kLargest);
  io.Read(kWaveComp, s.waveComp);
  io.Read(kPlayback, s.playbackOn);
  io.Read(kMaintenance, s.maintenanceMode, 0, 1);
  io.Read(kDisplayKind, s.displayKind, 0, 1);
  data::CsvSettings& csv = s.csv;
  io.Read(kCsvAuto, csv.csvAuto);
  io.Read(kCsvAutoMode, csv.csvAutoMode, data::kCsvFixedName, data::kCsvNumberName);
  io.Read(kCsvFixedName, csv.csvFixedName);
  if (csv.csvFixedName.empty()) csv.csvFixedName = "output";
  io.Read(kCsvFolder, csv.csvFolder);
  io.Read(kCsvStart, csv.csvStartNm, 0, 100000);
  io.Read(kCsvEnd, csv.csvEndNm, 0, 100000);
  io.Read(kCsvStep, csv.csvStepNm, 1, 100000);
  io.Read(kCsvTarget, csv.csvTarget, 0, 3);
  AxisLimits& axis = s.axisLimits;
  io.Read(kGraphMax, axis.graphMax, kLimitLow, kLimitHigh);
  io.Read(kRatioMax, axis.ratioMax, kLimitLow, kLimitHigh);
  io.Read(kGraphMin, axis.graphMin, kLimitLow, kLimitHigh);
  io.Read(kRatioMin, axis.ratioMin, kLimitLow, kLimitHigh);
  const AxisLimits defaults;
  KeepAxisPairOrdered(axis.graphMax, axis.graphMin, defaults.graphMax, defaults.graphMin);
  KeepAxisPairOrdered(axis.ratioMax, axis.ratioMin, defaults.ratioMax, defaults.ratioMin);
  csv.csvAddWave = csv.csvVertical = csv.csvAddTemp = csv.csvAddExp = true;
  return s;
}

void WriteFormSettings(SettingsStore& store, const FormSettings& s) {
  Io io(store);
  const data::CsvSettings& csv = s.csv;
  io.Write(kAverage, s.averageCount);
  io.Write(kRecordMode, s.recordMode);
  io.Write(kIntervalMode, s.intervalMode);
  io.Write(kIntervalMs, s.intervalMs);
  io.Write(kWaveComp, s.waveComp);
  io.Write(kPlayback, s.playbackOn);
  io.Write(kMaintenance, s.maintenanceMode);
  io.Write(kDisplayKind, s.displayKind);
  io.Write(kCsvAddWave, csv.csvAddWave);
  io.Write(kCsvVertical, csv.csvVertical);
  io.Write(kCsvAuto, csv.csvAuto);
  io.Write(kCsvAutoMode, csv.csvAutoMode);
  io.Write(kCsvFixedName, csv.csvFixedName);
  io.Write(kCsvFolder, csv.csvFolder);
  io.Write(kCsvAddTemp, csv.csvAddTemp);
  io.Write(kCsvAddExp, csv.csvAddExp);
  io.Write(kCsvStart, csv.csvStartNm);
  io.Write(kCsvEnd, csv.csvEndNm);
  io.Write(kCsvStep, csv.csvStepNm);
  io.Write(kCsvTarget, csv.csvTarget);
  io.Write(kGraphMax, s.axisLimits.graphMax);
  io.Write(kRatioMax, s.axisLimits.ratioMax);
  io.Write(kGraphMin, s.axisLimits.graphMin);
  io.Write(kRatioMin, s.axisLimits.ratioMin);
}

}  // namespace chromiva::acquisition
