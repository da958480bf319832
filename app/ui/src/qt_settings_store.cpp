#include "qt_settings_store.h"

namespace chromiva::ui {
namespace {

QString Key(const std::string& section, const std::string& entry) {
  return QString::fromStdString(section) + QLatin1Char('/') + QString::fromStdString(entry);
}

}  // namespace

QtSettingsStore::QtSettingsStore()
    : settings_(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                            QStringLiteral("Chromiva"),
                                            QStringLiteral("chromiva"))) {}

QtSettingsStore::QtSettingsStore(const QString& iniPath)
    : settings_(std::make_unique<QSettings>(iniPath, QSettings::IniFormat)) {}

int QtSettingsStore::ReadInt(const std::string& section, const std::string& entry, int fallback) {
  const QVariant value = settings_->value(Key(section, entry));
  if (!value.isValid()) return fallback;
  bool ok = false;
  const int number = value.toString().trimmed().toInt(&ok);
  return ok ? number : fallback;
}

std::string QtSettingsStore::ReadText(const std::string& section, const std::string& entry,
                                      const std::string& fallback) {
  const QVariant value = settings_->value(Key(section, entry));
  if (!value.isValid()) return fallback;
  // An unquoted comma in a hand-edited file makes a list of the text's pieces.
  if (value.userType() == QMetaType::QStringList) {
    return value.toStringList().join(QStringLiteral(", ")).toStdString();
  }
  if (!value.canConvert<QString>()) return fallback;
  return value.toString().toStdString();
}

void QtSettingsStore::WriteInt(const std::string& section, const std::string& entry, int value) {
  settings_->setValue(Key(section, entry), value);
}

void QtSettingsStore::WriteText(const std::string& section, const std::string& entry,
                                const std::string& value) {
  settings_->setValue(Key(section, entry), QString::fromStdString(value));
}

}  // namespace chromiva::ui
