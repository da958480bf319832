#include "qt_settings_store.h"

#include <sys/stat.h>

#include <QFile>
#include <QStandardPaths>
#include <cstdio>

namespace chromiva::ui {
namespace {

QString Key(const std::string& section, const std::string& entry) {
  return QString::fromStdString(section) + QLatin1Char('/') + QString::fromStdString(entry);
}

// A settings file that exists but is no regular file (a FIFO, a device, a folder): reading it
// would block or never end.
bool UnreadableSettings(const QString& path) {
  struct stat info {};
  const QByteArray name = QFile::encodeName(path);
  return ::stat(name.constData(), &info) == 0 && !S_ISREG(info.st_mode);
}

QString UserSettingsPath() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
         QStringLiteral("/Chromiva/chromiva.ini");
}

}  // namespace

QtSettingsStore::QtSettingsStore() {
  if (UseMemoryFor(UserSettingsPath())) return;
  settings_ = std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                          QStringLiteral("Chromiva"), QStringLiteral("chromiva"));
}

QtSettingsStore::QtSettingsStore(const QString& iniPath) {
  if (UseMemoryFor(iniPath)) return;
  settings_ = std::make_unique<QSettings>(iniPath, QSettings::IniFormat);
}

bool QtSettingsStore::UseMemoryFor(const QString& path) {
  if (!UnreadableSettings(path)) return false;
  memoryPath_ = path;
  std::fprintf(stderr,
               "chromiva: the settings file %s is not a regular file; this run starts with the "
               "default settings and does not save them\n",
               QFile::encodeName(path).constData());
  return true;
}

QVariant QtSettingsStore::Value(const QString& key) const {
  if (settings_) return settings_->value(key);
  const auto found = memory_.find(key);
  return found == memory_.end() ? QVariant() : found->second;
}

void QtSettingsStore::SetValue(const QString& key, const QVariant& value) {
  if (settings_) {
    settings_->setValue(key, value);
  } else {
    memory_[key] = value;
  }
}

void QtSettingsStore::Sync() {
  if (settings_) settings_->sync();
}

QString QtSettingsStore::FileName() const {
  return settings_ ? settings_->fileName() : memoryPath_;
}

int QtSettingsStore::ReadInt(const std::string& section, const std::string& entry, int fallback) {
  const QVariant value = Value(Key(section, entry));
  if (!value.isValid()) return fallback;
  bool ok = false;
  const int number = value.toString().trimmed().toInt(&ok);
  return ok ? number : fallback;
}

std::string QtSettingsStore::ReadText(const std::string& section, const std::string& entry,
                                      const std::string& fallback) {
  const QVariant value = Value(Key(section, entry));
  if (!value.isValid()) return fallback;
  // An unquoted comma in a hand-edited file makes a list of the text's pieces.
  if (value.userType() == QMetaType::QStringList) {
    return value.toStringList().join(QStringLiteral(", ")).toStdString();
  }
  if (!value.canConvert<QString>()) return fallback;
  return value.toString().toStdString();
}

void QtSettingsStore::WriteInt(const std::string& section, const std::string& entry, int value) {
  SetValue(Key(section, entry), value);
}

void QtSettingsStore::WriteText(const std::string& section, const std::string& entry,
                                const std::string& value) {
  SetValue(Key(section, entry), QString::fromStdString(value));
}

}  // namespace chromiva::ui
