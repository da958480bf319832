#include "program_icon.h"

#include <QString>

// The compiled-in resources of the static library, registered once.
static void RegisterChromivaResources() {
  static const bool registered = [] {
    Q_INIT_RESOURCE(chromiva);
    return true;
  }();
  (void)registered;
}

namespace chromiva::ui {

QIcon ProgramIcon() {
  RegisterChromivaResources();
  QIcon icon;
  for (int size : kProgramIconSizes) {
    icon.addFile(QStringLiteral(":/chromiva/chromiva-%1.png").arg(size), QSize(size, size));
  }
  return icon;
}

}  // namespace chromiva::ui
