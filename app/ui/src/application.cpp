#include "application.h"

#include <QTimer>
#include <cstdio>

#include "chromiva/data/document.h"
#include "demo_run.h"
#include "form_view.h"
#include "main_frame.h"
#include "program_icon.h"
#include "qt_settings_store.h"
#include "single_instance.h"

namespace chromiva::ui {

const std::vector<StartOptionHelp>& StartOptionTable() {
  static const std::vector<StartOptionHelp> table = {
      {"FILE", "open this data file (*.cvdata or *.trdata)"},
      {"--language ja|en",
       "the window's language for this run (default: [ui] language of the settings, else the "
       "environment's LANGUAGE, LC_ALL, LC_MESSAGES, LANG: ja* Japanese, C or none Japanese, "
       "any other English)"},
      {"--maintenance", "show the maintenance button for this run"},
      {"--demo", "detect the instruments and measure once after start"},
      {"--demo-screenshot FILE", "the same, then save a picture of the window to FILE and end"},
      {"--help", "print this help and end"},
      {"--version", "print the program's version and end"}};
  return table;
}

const std::vector<StartOptionHelp>& StartExitStatusTable() {
  static const std::vector<StartOptionHelp> table = {
      {"0", "the window was closed, or chromiva already runs for this user and display"},
      {"1", "FILE could not be opened, or a demo step or its picture failed"},
      {"2", "bad arguments"}};
  return table;
}

std::string StartHelpText() {
  const auto lines = [](const std::vector<StartOptionHelp>& table) {
    constexpr std::size_t kTextColumn = 26;
    std::string text;
    for (const StartOptionHelp& entry : table) {
      std::string line = "  " + std::string(entry.option);
      line.append(line.size() + 2 < kTextColumn ? kTextColumn - line.size() : 2, ' ');
      text += line + entry.text + "\n";
    }
    return text;
  };
  return std::string("usage: ") + kStartUsage + "\n\noptions:\n" + lines(StartOptionTable()) +
         "\nexit status:\n" + lines(StartExitStatusTable());
}

std::optional<StartOptions> ParseStartOptions(const QStringList& arguments, QString& error) {
  StartOptions options;
  for (qsizetype i = 0; i < arguments.size(); ++i) {
    const QString& argument = arguments[i];
    if (argument == QLatin1String("--maintenance")) {
      options.maintenance = true;
    } else if (argument == QLatin1String("--demo")) {
      options.demo = true;
    } else if (argument == QLatin1String("--language")) {
      options.language =
          i + 1 < arguments.size() ? ParseLanguage(arguments[i + 1].toStdString()) : std::nullopt;
      if (!options.language) {
        error = QStringLiteral("--language needs ja or en");
        return std::nullopt;
      }
      ++i;
    } else if (argument == QLatin1String("--demo-screenshot")) {
      if (i + 1 >= arguments.size()) {
        error = QStringLiteral("--demo-screenshot needs a file name");
        return std::nullopt;
      }
      options.demoScreenshot = arguments[++i];
    } else if (argument.startsWith(QLatin1Char('-'))) {
      error = QStringLiteral("unknown option ") + argument;
      return std::nullopt;
    } else if (options.file.isEmpty()) {
      options.file = argument;
    } else {
      error = QStringLiteral("only one file can be opened");
      return std::nullopt;
    }
  }
  return options;
}

int Ctintrose_mfApp::Run(QApplication& app, const StartOptions& options) {
  SingleInstance instance;
  if (!instance.Acquire()) return 0;
  app.setWindowIcon(ProgramIcon());

  QtSettingsStore store;
  const Language language = ChooseLanguage(options.language, store.ReadText("ui", "language", ""),
                                           LanguageFromEnvironment());
  if (!UseLanguage(language) && language == Language::kEnglish) {
    std::fprintf(stderr,
                 "chromiva: the English catalogue could not be loaded; the window stays "
                 "Japanese\n");
  }
  data::Ctintrose_mfDoc document;
  CMainFrame frame(document, store, options.maintenance);
  if (!options.file.isEmpty()) {
    if (!frame.OpenDocument(options.file)) return 1;
  } else {
    frame.view()->InitialUpdate();
  }
  frame.show();
  const bool demoRun = options.demo || !options.demoScreenshot.isEmpty();
  if (options.file.isEmpty() && !demoRun) {
    QTimer::singleShot(0, &frame, [&frame] { frame.OfferJournalRecovery(); });
  }
  std::unique_ptr<DemoRun> demo;
  if (demoRun) {
    demo = std::make_unique<DemoRun>(frame, options.demoScreenshot);
    demo->Start();
  }
  const int status = app.exec();
  frame.WriteSettingsAtExit();
  return demo ? std::max(status, demo->Status()) : status;
}

}  // namespace chromiva::ui
