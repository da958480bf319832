#include "settings.h"

#include <algorithm>

#include "chromiva/data/csv.h"

namespace chromiva::ui {
namespace {

using acquisition::SettingsStore;

int ReadRanged(SettingsStore& store, const char* section, const char* entry, int fallback, int low,
               int high) {
  const int value = store.ReadInt(section, entry, fallback);
  return value >= low && value <= high ? value : fallback;
}

bool ReadSwitch(SettingsStore& store, const char* section, const char* entry) {
  return ReadRanged(store, section, entry, 0, 0, 1) == 1;
}

constexpr int kLargest = 0x7FFFFFFF;
constexpr int kLimitLow = -1000000000;
constexpr int kLimitHigh = 1000000000;

// Limits whose maximum is not above the minimum would divide by zero on drawing: both fall
// back to their defaults.
void ReadAxisPair(SettingsStore& store, const char* section, int& max, int& min) {
  const int defaultMax = max;
  const int defaultMin = min;
  max = ReadRanged(store, section, "max", defaultMax, kLimitLow, kLimitHigh);
  min = ReadRanged(store, section, "min", defaultMin, kLimitLow, kLimitHigh);
  if (max <= min) {
    max = defaultMax;
    min = defaultMin;
  }
}

}  // namespace

StoredSettings ReadStoredSettings(SettingsStore& store) {
  StoredSettings stored;
  acquisition::FormSettings& form = stored.form;
  form.averageCount = ReadRanged(store, "average", "number", 1, 1, kLargest);
  form.recordMode = ReadSwitch(store, "logging", "go");
  form.intervalMode = ReadSwitch(store, "interval", "go");
  form.intervalMs = ReadRanged(store, "interval", "time", 0, 0, kLargest);
  form.waveComp = ReadSwitch(store, "sensitivity", "go");
  form.playbackOn = ReadSwitch(store, "repeat", "go");
  stored.maintenanceMode = ReadSwitch(store, "hard", "adjust");
  form.displayKind = ReadRanged(store, "disp", "kind", 0, 0, 1);

  data::CsvSettings& csv = form.csv;
  csv.csvAddWave = csv.csvVertical = csv.csvAddTemp = csv.csvAddExp = true;
  csv.csvAuto = ReadSwitch(store, "save", "auto");
  csv.csvAutoMode =
      ReadRanged(store, "save", "automode", data::kCsvFixedName, 0, data::kCsvNumberName);
  csv.csvFixedName = store.ReadText("save", "fixfilename", "output");
  if (csv.csvFixedName.empty()) csv.csvFixedName = "output";
  csv.csvFolder = store.ReadText("save", "fixfilepath", "");
  csv.csvStartNm = ReadRanged(store, "save", "startwave", 340, 0, 100000);
  csv.csvEndNm = ReadRanged(store, "save", "endwave", 850, 0, 100000);
  csv.csvStepNm = ReadRanged(store, "save", "stepwave", 10, 1, 100000);
  csv.csvTarget = ReadRanged(store, "save", "target", 0, 0, 3);

  ReadAxisPair(store, "graph", stored.axis.graphMax, stored.axis.graphMin);
  ReadAxisPair(store, "ratio", stored.axis.ratioMax, stored.axis.ratioMin);
  return stored;
}

void WriteStoredSettings(SettingsStore& store, const StoredSettings& stored) {
  const acquisition::FormSettings& form = stored.form;
  const data::CsvSettings& csv = form.csv;
  store.WriteInt("average", "number", form.averageCount);
  store.WriteInt("logging", "go", form.recordMode ? 1 : 0);
  store.WriteInt("interval", "go", form.intervalMode ? 1 : 0);
  store.WriteInt("interval", "time", form.intervalMs);
  store.WriteInt("sensitivity", "go", form.waveComp ? 1 : 0);
  store.WriteInt("repeat", "go", form.playbackOn ? 1 : 0);
  store.WriteInt("hard", "adjust", stored.maintenanceMode ? 1 : 0);
  store.WriteInt("disp", "kind", form.displayKind);
  store.WriteInt("csv", "addwave", csv.csvAddWave ? 1 : 0);
  store.WriteInt("csv", "vertical", csv.csvVertical ? 1 : 0);
  store.WriteInt("save", "auto", csv.csvAuto ? 1 : 0);
  store.WriteInt("save", "automode", csv.csvAutoMode);
  store.WriteText("save", "fixfilename", csv.csvFixedName);
  store.WriteText("save", "fixfilepath", csv.csvFolder);
  store.WriteInt("save", "addtemp", csv.csvAddTemp ? 1 : 0);
  store.WriteInt("save", "addexp", csv.csvAddExp ? 1 : 0);
  store.WriteInt("save", "startwave", csv.csvStartNm);
  store.WriteInt("save", "endwave", csv.csvEndNm);
  store.WriteInt("save", "stepwave", csv.csvStepNm);
  store.WriteInt("save", "target", csv.csvTarget);
  store.WriteInt("graph", "max", stored.axis.graphMax);
  store.WriteInt("ratio", "max", stored.axis.ratioMax);
  store.WriteInt("graph", "min", stored.axis.graphMin);
  store.WriteInt("ratio", "min", stored.axis.ratioMin);
}

FramePlacement ReadFramePlacement(SettingsStore& store) {
  FramePlacement placement;
  placement.left = store.ReadInt("Settings", "left", 0);
  placement.top = store.ReadInt("Settings", "top", 0);
  placement.right = store.ReadInt("Settings", "right", 818);
  placement.bottom = store.ReadInt("Settings", "bottom", 672);
  // A rectangle that is empty or absurdly large cannot be shown: use the default one.
  constexpr int kMostPixels = 100000;
  const long long width = static_cast<long long>(placement.right) - placement.left;
  const long long height = static_cast<long long>(placement.bottom) - placement.top;
  if (width <= 0 || height <= 0 || width > kMostPixels || height > kMostPixels ||
      placement.left < -kMostPixels || placement.top < -kMostPixels ||
      placement.left > kMostPixels || placement.top > kMostPixels) {
    return FramePlacement{};
  }
  return placement;
}

void WriteFramePlacement(SettingsStore& store, const FramePlacement& placement) {
  store.WriteInt("Settings", "left", placement.left);
  store.WriteInt("Settings", "right", placement.right);
  store.WriteInt("Settings", "top", placement.top);
  store.WriteInt("Settings", "bottom", placement.bottom);
}

std::vector<std::string> ReadRecentFiles(SettingsStore& store) {
  std::vector<std::string> files;
  for (int n = 1; n <= kRecentFileCount; ++n) {
    std::string path = store.ReadText("Recent File List", "File" + std::to_string(n), "");
    if (!path.empty()) files.push_back(std::move(path));
  }
  return files;
}

void WriteRecentFiles(SettingsStore& store, const std::vector<std::string>& files) {
  for (int n = 1; n <= kRecentFileCount; ++n) {
    const auto index = static_cast<std::size_t>(n - 1);
    store.WriteText("Recent File List", "File" + std::to_string(n),
                    index < files.size() ? files[index] : "");
  }
}

std::vector<std::string> WithRecentFile(std::vector<std::string> files, const std::string& path) {
  files.erase(std::remove(files.begin(), files.end(), path), files.end());
  files.insert(files.begin(), path);
  if (files.size() > kRecentFileCount) files.resize(kRecentFileCount);
  return files;
}

}  // namespace chromiva::ui
