// The per-user settings store kept in QSettings: organisation "Chromiva", application "chromiva",
// an INI file under the user's configuration folder. Each section is an INI group.
#pragma once

#include <QSettings>
#include <QString>
#include <memory>

#include "chromiva/acquisition/settings_store.h"

namespace chromiva::ui {

class QtSettingsStore : public acquisition::SettingsStore {
 public:
  // The user's store.
  QtSettingsStore();
  // A store in the given INI file (tests).
  explicit QtSettingsStore(const QString& iniPath);

  int ReadInt(const std::string& section, const std::string& entry, int fallback) override;
  std::string ReadText(const std::string& section, const std::string& entry,
                       const std::string& fallback) override;
  void WriteInt(const std::string& section, const std::string& entry, int value) override;
  void WriteText(const std::string& section, const std::string& entry,
                 const std::string& value) override;

  // Writes pending changes to the file.
  void Sync() { settings_->sync(); }
  QString FileName() const { return settings_->fileName(); }

 private:
  std::unique_ptr<QSettings> settings_;
};

}  // namespace chromiva::ui
