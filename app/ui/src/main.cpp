// chromiva: the measurement program's window.
#include <QApplication>
#include <cstdio>

#include "application.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setOrganizationName(QStringLiteral("Chromiva"));
  QApplication::setApplicationName(QStringLiteral("chromiva"));
  QApplication::setDesktopFileName(QStringLiteral("chromiva"));
  QString error;
  const auto options = chromiva::ui::ParseStartOptions(app.arguments().mid(1), error);
  if (!options) {
    std::fprintf(stderr,
                 "chromiva: %s\nusage: chromiva [--maintenance] [--demo] "
                 "[--demo-screenshot FILE] [FILE]\n",
                 qPrintable(error));
    return 2;
  }
  return chromiva::ui::Ctintrose_mfApp::Run(app, *options);
}
