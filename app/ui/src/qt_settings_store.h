// The per-user settings store kept in QSettings: organisation "Chromiva", application "chromiva",
// an INI file under the user's configuration folder. Each section is an INI group.
#pragma once

#include <QSettings>
#include <QString>
#include <map>
#include <memory>

#include "chromiva/acquisition/settings_store.h"

namespace chromiva::ui {

class QtSettingsStore : public acquisition::SettingsStore {
 public:
  // The user's store. A settings file that is not a regular file (a FIFO, a device) is not
  // opened: the run keeps its settings in memory, starting from the defaults, and says so.
  QtSettingsStore();
  // A store in the given INI file (tests), with the same refusal.
  explicit QtSettingsStore(const QString& iniPath);

  int ReadInt(const std::string& section, const std::string& entry, int fallback) override;
  std::string ReadText(const std::string& section, const std::string& entry,
                       const std::string& fallback) override;
  void WriteInt(const std::string& section, const std::string& entry, int value) override;
  void WriteText(const std::string& section, const std::string& entry,
                 const std::string& value) override;

  // Writes pending changes to the file.
  void Sync();
  QString FileName() const;

 private:
  bool UseMemoryFor(const QString& path);
  QVariant Value(const QString& key) const;
  void SetValue(const QString& key, const QVariant& value);

  std::unique_ptr<QSettings> settings_;  // none when the settings live in memory only
  std::map<QString, QVariant> memory_;
  QString memoryPath_;
};

}  // namespace chromiva::ui
