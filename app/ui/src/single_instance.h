// One running program per user and display: a lock file in the user's runtime folder. The
// lock of a process that ended without releasing it (a crash) is taken over.
#pragma once

#include <QLockFile>
#include <QString>
#include <memory>

namespace chromiva::ui {

class SingleInstance {
 public:
  SingleInstance();
  // False only when another instance holds the lock. A lock that cannot be made at all (an
  // unwritable folder) does not keep the program from running: that is reported on stderr.
  bool Acquire();
  QString LockPath() const { return path_; }

  // The lock file's name for the current display (DISPLAY, WAYLAND_DISPLAY or the platform).
  static QString LockPathForDisplay();

 private:
  QString path_;
  std::unique_ptr<QLockFile> lock_;
};

}  // namespace chromiva::ui
