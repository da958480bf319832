#include "chromiva/acquisition/settings_store.h"

#include <charconv>

namespace chromiva::acquisition {

int MemorySettingsStore::ReadInt(const std::string& section, const std::string& entry,
                                 int fallback) {
  auto it = entries_.find({section, entry});
  if (it == entries_.end()) return fallback;
  const std::string& text = it->second;
  int value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return fallback;
  return value;
}

std::string MemorySettingsStore::ReadText(const std::string& section, const std::string& entry,
                                          const std::string& fallback) {
  auto it = entries_.find({section, entry});
  return it == entries_.end() ? fallback : it->second;
}

void MemorySettingsStore::WriteInt(const std::string& section, const std::string& entry,
                                   int value) {
  entries_[{section, entry}] = std::to_string(value);
}

void MemorySettingsStore::WriteText(const std::string& section, const std::string& entry,
                                    const std::string& value) {
  entries_[{section, entry}] = value;
}

}  // namespace chromiva::acquisition
