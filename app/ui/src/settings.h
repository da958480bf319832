// What the program keeps between runs, read and written in one place: the form's settings,
// the maintenance switch, the axis limits, the main frame's placement and the recent files.
#pragma once

#include <string>
#include <vector>

#include "chromiva/acquisition/axis_limits.h"
#include "chromiva/acquisition/form_logic.h"
#include "chromiva/acquisition/settings_store.h"

namespace chromiva::ui {

struct StoredSettings {
  acquisition::FormSettings form;
  bool maintenanceMode = false;
  acquisition::AxisLimits axis;
};

// The frame's restored rectangle as left, top, right, bottom.
struct FramePlacement {
  int left = 0;
  int top = 0;
  int right = 818;
  int bottom = 672;
};

inline constexpr int kRecentFileCount = 4;

// Read when the form is made. Missing values and values that are not numbers, or are out of
// their range, read as defaults. The four CSV options are on at every start.
StoredSettings ReadStoredSettings(acquisition::SettingsStore& store);
// Written when the form goes away, in the same order as they are read.
void WriteStoredSettings(acquisition::SettingsStore& store, const StoredSettings& settings);

FramePlacement ReadFramePlacement(acquisition::SettingsStore& store);
void WriteFramePlacement(acquisition::SettingsStore& store, const FramePlacement& placement);

// "Recent File List" "File1" .. "File4", most recent first; empty entries are left out.
std::vector<std::string> ReadRecentFiles(acquisition::SettingsStore& store);
void WriteRecentFiles(acquisition::SettingsStore& store, const std::vector<std::string>& files);
// `files` with `path` moved to the front, at most kRecentFileCount long.
std::vector<std::string> WithRecentFile(std::vector<std::string> files, const std::string& path);

}  // namespace chromiva::ui
