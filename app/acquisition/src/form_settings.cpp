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

// Reads and writes in the order of the store's table.
class Io {
 public:
  explicit Io(SettingsStore& store) : store_(store) {}
  void Read(const Key& key, int& value) { value = store_.ReadInt(key.section, key.entry, value); }
  void Read(const Key& key, bool& value) {
    value = store_.ReadInt(key.section, key.entry, value ? 1 : 0) != 0;
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

}  // namespace

FormSettings ReadFormSettings(SettingsStore& store) {
  FormSettings s;  // the defaults
  Io io(store);
  io.Read(kAverage, s.averageCount);
  io.Read(kRecordMode, s.recordMode);
  io.Read(kIntervalMode, s.intervalMode);
  io.Read(kIntervalMs, s.intervalMs);
  io.Read(kWaveComp, s.waveComp);
  io.Read(kPlayback, s.playbackOn);
  io.Read(kMaintenance, s.maintenanceMode);
  io.Read(kDisplayKind, s.displayKind);
  data::CsvSettings& csv = s.csv;
  io.Read(kCsvAuto, csv.csvAuto);
  io.Read(kCsvAutoMode, csv.csvAutoMode);
  io.Read(kCsvFixedName, csv.csvFixedName);
  io.Read(kCsvFolder, csv.csvFolder);
  io.Read(kCsvStart, csv.csvStartNm);
  io.Read(kCsvEnd, csv.csvEndNm);
  io.Read(kCsvStep, csv.csvStepNm);
  io.Read(kCsvTarget, csv.csvTarget);
  io.Read(kGraphMax, s.axisLimits.graphMax);
  io.Read(kRatioMax, s.axisLimits.ratioMax);
  io.Read(kGraphMin, s.axisLimits.graphMin);
  io.Read(kRatioMin, s.axisLimits.ratioMin);
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
