#include "settings.h"

#include <algorithm>

namespace chromiva::ui {
using acquisition::SettingsStore;

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
