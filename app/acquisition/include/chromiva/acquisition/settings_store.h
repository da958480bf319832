// The per-user settings store: sections of named integer and text entries. The window keeps it
// in QSettings; tests and the command-line front end keep it in memory.
#pragma once

#include <map>
#include <string>
#include <utility>

namespace chromiva::acquisition {

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  // A missing entry, or one that does not hold a value of the asked type, reads as the default.
  virtual int ReadInt(const std::string& section, const std::string& entry, int fallback) = 0;
  virtual std::string ReadText(const std::string& section, const std::string& entry,
                               const std::string& fallback) = 0;
  virtual void WriteInt(const std::string& section, const std::string& entry, int value) = 0;
  virtual void WriteText(const std::string& section, const std::string& entry,
                         const std::string& value) = 0;
};

// A settings store held in memory; texts and integers share one map of entries.
class MemorySettingsStore : public SettingsStore {
 public:
  int ReadInt(const std::string& section, const std::string& entry, int fallback) override;
  std::string ReadText(const std::string& section, const std::string& entry,
                       const std::string& fallback) override;
  void WriteInt(const std::string& section, const std::string& entry, int value) override;
  void WriteText(const std::string& section, const std::string& entry,
                 const std::string& value) override;

  using Key = std::pair<std::string, std::string>;
  const std::map<Key, std::string>& Entries() const { return entries_; }

 private:
  std::map<Key, std::string> entries_;
};

}  // namespace chromiva::acquisition
