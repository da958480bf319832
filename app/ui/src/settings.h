// What the window keeps between runs besides the form's settings (FormSettings, read and written
// by ReadFormSettings/WriteFormSettings): the main frame's placement and the recent files.
#pragma once

#include <string>
#include <vector>

#include "chromiva/acquisition/settings_store.h"

namespace chromiva::ui {

// The frame's restored rectangle as left, top, right, bottom.
struct FramePlacement {
  int left = 0;
  int top = 0;
  int right = 818;
  int bottom = 672;
};

inline constexpr int kRecentFileCount = 4;

FramePlacement ReadFramePlacement(acquisition::SettingsStore& store);
void WriteFramePlacement(acquisition::SettingsStore& store, const FramePlacement& placement);

// "Recent File List" "File1" .. "File4", most recent first; empty entries are left out.
std::vector<std::string> ReadRecentFiles(acquisition::SettingsStore& store);
void WriteRecentFiles(acquisition::SettingsStore& store, const std::vector<std::string>& files);
// `files` with `path` moved to the front, at most kRecentFileCount long.
std::vector<std::string> WithRecentFile(std::vector<std::string> files, const std::string& path);

}  // namespace chromiva::ui
