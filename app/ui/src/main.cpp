// chromiva: the measurement program's window.
#include <QApplication>
#include <cstdio>
#include <cstring>

#include "application.h"

namespace {

// --help and --version answer before Qt starts, so they work without a display.
bool AnswersAtOnce(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      std::fputs(chromiva::ui::StartHelpText().c_str(), stdout);
      return true;
    }
    if (std::strcmp(argv[i], "--version") == 0) {
      std::printf("chromiva %s\n", CHROMIVA_VERSION);
      return true;
    }
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (AnswersAtOnce(argc, argv)) return 0;
  QApplication app(argc, argv);
  QApplication::setOrganizationName(QStringLiteral("Chromiva"));
  QApplication::setApplicationName(QStringLiteral("chromiva"));
  QApplication::setDesktopFileName(QStringLiteral("chromiva"));
  QString error;
  const auto options = chromiva::ui::ParseStartOptions(app.arguments().mid(1), error);
  if (!options) {
    std::fprintf(stderr, "chromiva: %s\nusage: %s\n", qPrintable(error), chromiva::ui::kStartUsage);
    return 2;
  }
  return chromiva::ui::Ctintrose_mfApp::Run(app, *options);
}
