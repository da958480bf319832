#include "single_instance.h"

#include <QDir>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QStandardPaths>
#include <cstdio>

namespace chromiva::ui {

QString SingleInstance::LockPathForDisplay() {
  QString display = qEnvironmentVariable("WAYLAND_DISPLAY");
  if (display.isEmpty()) display = qEnvironmentVariable("DISPLAY");
  if (display.isEmpty()) display = QGuiApplication::platformName();
  display.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9_.-]")), QStringLiteral("_"));
  QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (folder.isEmpty()) folder = QDir::tempPath();
  return folder + QStringLiteral("/chromiva-") + display + QStringLiteral(".lock");
}

SingleInstance::SingleInstance() : path_(LockPathForDisplay()) {}

bool SingleInstance::Acquire() {
  lock_ = std::make_unique<QLockFile>(path_);
  // A running instance holds the lock however long it runs; a lock whose process no longer
  // runs is taken over (QLockFile checks the recorded process id).
  lock_->setStaleLockTime(0);
  if (lock_->tryLock(0)) return true;
  if (lock_->error() == QLockFile::LockFailedError) return false;
  std::fprintf(stderr, "chromiva: cannot create the instance lock %s; running without it\n",
               qPrintable(path_));
  return true;
}

}  // namespace chromiva::ui
