// The application: command line, single instance, settings store, document and main frame.
#pragma once

#include <QApplication>
#include <QString>
#include <QStringList>
#include <optional>
#include <string>
#include <vector>

#include "language.h"

namespace chromiva::ui {

struct StartOptions {
  QString file;                      // a data file to open
  bool maintenance = false;          // --maintenance: the maintenance button for this run
  bool demo = false;                 // --demo: detect and measure once on start
  QString demoScreenshot;            // --demo-screenshot FILE: the same, save the window and end
  std::optional<Language> language;  // --language ja|en: the window's language for this run
};

inline constexpr const char* kStartUsage =
    "chromiva [--language ja|en] [--maintenance] [--demo] [--demo-screenshot FILE] [FILE]";

// One line of the window's command-line help: the option as typed and what it does. The
// table serves `chromiva --help` and the manual page alike.
struct StartOptionHelp {
  const char* option;
  const char* text;
};
const std::vector<StartOptionHelp>& StartOptionTable();
// The exit statuses, as number and meaning.
const std::vector<StartOptionHelp>& StartExitStatusTable();

// What `chromiva --help` prints: the usage line, the options and the exit statuses.
std::string StartHelpText();

// The arguments after the program's name; nothing and `error` set for a bad one.
std::optional<StartOptions> ParseStartOptions(const QStringList& arguments, QString& error);

class Ctintrose_mfApp {
 public:
  // Runs the program and returns its exit status. A second instance for the same user and
  // display ends at once with 0, before any window exists.
  static int Run(QApplication& app, const StartOptions& options);
};

}  // namespace chromiva::ui
