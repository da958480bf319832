// The window in its two languages: which one a run chooses, English captions that fit the fixed
// layout and hold no Japanese, a switch that retranslates the open window, and Qt's own texts in
// Japanese. Writes a picture of the form and of each dialog in both languages.
#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QToolBar>
#include <QtTest>
#include <map>

#include "about_dialog.h"
#include "application.h"
#include "chromiva/acquisition/calibration_io.h"
#include "chromiva/acquisition/control_ids.h"
#include "chromiva/acquisition/dialogs/edit_number.h"
#include "chromiva/acquisition/settings_store.h"
#include "dialogs/csv_dialog_widget.h"
#include "dialogs/edit_num_dlg.h"
#include "dialogs/history_dialog_widget.h"
#include "dialogs/maintenance_dialog_widget.h"
#include "dialogs/mirror_dialog_widget.h"
#include "form_view.h"
#include "language.h"
#include "main_frame.h"
#include "window_test_support.h"
#include "wrenlink.h"

using namespace chromiva;
using namespace chromiva::ui;
namespace dialogs = chromiva::acquisition::dialogs;
namespace control = acquisition::control;

namespace {

bool HoldsJapanese(const QString& text) {
  static const QRegularExpression japanese(
      QStringLiteral("[\\x{3000}-\\x{30ff}\\x{4e00}-\\x{9fff}\\x{ff00}-\\x{ffef}]"));
  return japanese.match(text).hasMatch();
}

int TextWidth(const QWidget& widget, QString text) {
  text.remove(QRegularExpression(QStringLiteral("&(?!&)")));
  int widest = 0;
  for (const QString& line : text.split(QLatin1Char('\n')))
    widest = std::max(widest, widget.fontMetrics().horizontalAdvance(line));
  return widest;
}

// A caption with what its control draws beside it: a button keeps 4 px either side, a check box
// or radio its indicator, a drop-down its arrow.
struct Caption {
  QString text;
  int needed = 0;
};

std::vector<Caption> Captions(const QWidget& widget) {
  if (qobject_cast<const QPushButton*>(&widget) != nullptr) {
    const QString text = static_cast<const QPushButton&>(widget).text();
    return {{text, TextWidth(widget, text) + 8}};
  }
  // A check box or radio wants its indicator, its spacing and its margins as well.
  if (const auto* box = qobject_cast<const QAbstractButton*>(&widget)) {
    return {{box->text(), box->sizeHint().width()}};
  }
  if (const auto* label = qobject_cast<const QLabel*>(&widget)) {
    if (label->text().isEmpty()) return {};
    return {{label->text(), TextWidth(widget, label->text())}};
  }
  if (const auto* combo = qobject_cast<const QComboBox*>(&widget)) {
    std::vector<Caption> items;
    for (int i = 0; i < combo->count(); ++i)
      items.push_back({combo->itemText(i), TextWidth(widget, combo->itemText(i)) + 20});
    return items;
  }
  return {};  // edit fields and lists show data
}

// Every control under `root` (its own window title too): no Japanese left, no caption wider than
// its control. All that is wrong is told at once.
void ExpectEnglishThatFits(const QWidget& root, const QString& where) {
  QStringList wrong;
  if (HoldsJapanese(root.windowTitle())) wrong << root.windowTitle();
  for (const QWidget* widget : root.findChildren<QWidget*>()) {
    for (const Caption& caption : Captions(*widget)) {
      const QString name = widget->objectName() + " \"" + caption.text + "\"";
      if (HoldsJapanese(caption.text)) wrong << name + " holds Japanese";
      if (caption.needed > widget->width())
        wrong << name + QStringLiteral(": %1 px in %2").arg(caption.needed).arg(widget->width());
    }
  }
  QVERIFY2(wrong.isEmpty(), qPrintable(where + ":\n  " + wrong.join(QStringLiteral("\n  "))));
}

QString Picture(const char* name) {
  return QStringLiteral(CHROMIVA_SCREENSHOT_DIR "/%1-%2.png")
      .arg(QString::fromLatin1(name), QString::fromLatin1(LanguageCode(CurrentLanguage())));
}

}  // namespace

class LanguageTest : public QObject {
  Q_OBJECT

 public:
  LanguageTest() : view_(document_, store_, false) {
    view_.SetDialogAnswers([](const std::string&) { return true; }, [](const std::string&) {});
  }

 private slots:
  void initTestCase() {
    qputenv("WRENLINK_SIMULATOR", "spectrometer");
    qputenv("WRENLINK_SIM_SPEED", "1000");
    qputenv("XDG_DATA_HOME", folder_.path().toUtf8());
    QCOMPARE(DetectDevice(0), 1);
    document_.sensorTable.sensorCount = 1;
    data::SensorEntry& sensor = document_.Sensor(0);
    sensor.serialNo = "AB123456";
    sensor.pixelCount = data::kMaxPixels;
    sensor.exposureUs = 20000;
    acquisition::ReadCalibrationTables(sensor, 0, {});
    document_.recordCount[0] = 5;
    view_.InitialUpdate();
    view_.resize(800, kDefaultClientHeight);
  }

  void cleanupTestCase() {
    UseLanguage(Language::kJapanese);
    CloseDevice(0);
  }

  void aRunChoosesItsLanguage_data() {
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("lcAll");
    QTest::addColumn<QString>("lang");
    QTest::addColumn<QString>("setting");
    QTest::addColumn<QString>("commandLine");
    QTest::addColumn<QString>("chosen");
    QTest::newRow("nothing set") << ""
                                 << ""
                                 << ""
                                 << ""
                                 << ""
                                 << "ja";
    QTest::newRow("C.UTF-8") << ""
                             << ""
                             << "C.UTF-8"
                             << ""
                             << ""
                             << "ja";
    QTest::newRow("POSIX") << ""
                           << "POSIX"
                           << "en_US.UTF-8"
                           << ""
                           << ""
                           << "ja";
    QTest::newRow("English LANG") << ""
                                  << ""
                                  << "en_US.UTF-8"
                                  << ""
                                  << ""
                                  << "en";
    QTest::newRow("German LANG") << ""
                                 << ""
                                 << "de_DE.UTF-8"
                                 << ""
                                 << ""
                                 << "en";
    QTest::newRow("Japanese LANG") << ""
                                   << ""
                                   << "ja_JP.UTF-8"
                                   << ""
                                   << ""
                                   << "ja";
    QTest::newRow("LANGUAGE's first wins") << "ja:en"
                                           << "en_GB.UTF-8"
                                           << ""
                                           << ""
                                           << ""
                                           << "ja";
    QTest::newRow("LC_ALL over LANG") << ""
                                      << "en_GB.UTF-8"
                                      << "ja_JP.UTF-8"
                                      << ""
                                      << ""
                                      << "en";
    QTest::newRow("setting over environment") << ""
                                              << ""
                                              << "ja_JP.UTF-8"
                                              << "en"
                                              << ""
                                              << "en";
    QTest::newRow("unknown setting") << ""
                                     << ""
                                     << "ja_JP.UTF-8"
                                     << "fr"
                                     << ""
                                     << "ja";
    QTest::newRow("command line over all") << "en"
                                           << ""
                                           << ""
                                           << "en"
                                           << "ja"
                                           << "ja";
  }

  void aRunChoosesItsLanguage() {
    QFETCH(QString, language);
    QFETCH(QString, lcAll);
    QFETCH(QString, lang);
    QFETCH(QString, setting);
    QFETCH(QString, commandLine);
    QFETCH(QString, chosen);
    const std::map<std::string, std::string> environment = {{"LANGUAGE", language.toStdString()},
                                                            {"LC_ALL", lcAll.toStdString()},
                                                            {"LANG", lang.toStdString()}};
    const Language fromEnvironment = LanguageFromEnvironment([&environment](const char* name) {
      auto found = environment.find(name);
      return found == environment.end() ? nullptr : found->second.c_str();
    });
    std::optional<Language> typed;
    if (!commandLine.isEmpty()) {
      QString error;
      const auto options = ParseStartOptions({QStringLiteral("--language"), commandLine}, error);
      QVERIFY(options && options->language);
      typed = options->language;
    }
    QCOMPARE(LanguageCode(ChooseLanguage(typed, setting.toStdString(), fromEnvironment)),
             chosen.toStdString());
  }

  void badLanguageArgumentsAreRefused() {
    for (const QStringList& arguments :
         {QStringList{"--language"}, QStringList{"--language", "de"}}) {
      QString error;
      QVERIFY(!ParseStartOptions(arguments, error));
      QVERIFY(error.contains(QStringLiteral("ja or en")));
    }
  }

  // Qt's standard buttons and choosers speak Japanese with the Japanese window.
  void qtsOwnTextsAreJapanese() {
    QVERIFY2(!QtCatalogueFile().empty(), "qtbase_ja.qm is not installed");
    QVERIFY(UseLanguage(Language::kJapanese));
    QVERIFY(HoldsJapanese(QCoreApplication::translate("QPlatformTheme", "Discard")));
    QVERIFY(HoldsJapanese(QCoreApplication::translate("QFileDialog", "Look in:")));
    QVERIFY(UseLanguage(Language::kEnglish));
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Discard"), QStringLiteral("Discard"));
  }

  void englishCaptionsFitTheForm() {
    for (Language language : {Language::kJapanese, Language::kEnglish}) {
      QVERIFY(UseLanguage(language));
      for (int height : {kDefaultClientHeight, view_.minimumHeight()}) {
        view_.resize(view_.width(), height);
        view_.Refresh();
        if (language == Language::kEnglish)
          ExpectEnglishThatFits(view_, QStringLiteral("form at %1").arg(height));
      }
      view_.resize(view_.minimumWidth(), kDefaultClientHeight);
      QVERIFY(view_.grab().save(Picture("form")));
    }
  }

  void englishCaptionsFitTheDialogs() {
    for (Language language : {Language::kJapanese, Language::kEnglish}) {
      QVERIFY(UseLanguage(language));
      const auto check = [language](QWidget& dialog, const char* name) {
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        if (language == Language::kEnglish)
          ExpectEnglishThatFits(dialog, QString::fromLatin1(name));
        QVERIFY(dialog.grab().save(Picture(name)));
      };
      dialogs::CsvDialog csv(document_, data::CsvSettings{}, view_);
      CsvDialogWidget csvWidget(nullptr, csv);
      check(csvWidget, "dialog-csv");
      dialogs::HistoryDialog history(document_, view_);
      HistoryDialogWidget historyWidget(nullptr, history);
      check(historyWidget, "dialog-history");
      dialogs::MirrorDialog mirror(0);
      MirrorDialogWidget mirrorWidget(nullptr, mirror);
      check(mirrorWidget, "dialog-mirror");
      CEditNumDlg number(&view_);
      number.number.label = acquisition::kMaximumLabel;
      QTimer::singleShot(0, &number, [&] {
        check(number, "dialog-number");
        number.reject();
      });
      number.exec();
      CAboutDlg about(nullptr);
      check(about, "dialog-about");
      QtDialogTimers timers;
      dialogs::MaintenanceDialog maintenance(
          dialogs::MaintenanceContext{document_, view_, timers, 0, {}, 8192});
      maintenance.Open();
      MaintenanceDialogWidget maintenanceWidget(nullptr, maintenance, timers);
      check(maintenanceWidget, "dialog-maintenance");
      maintenance.Close();
    }
  }

  // "表示" → "言語 / Language" retranslates the open window and keeps the choice.
  void switchingRetranslatesTheOpenWindow() {
    QVERIFY(UseLanguage(Language::kJapanese));
    data::Ctintrose_mfDoc document;
    acquisition::MemorySettingsStore store;
    CMainFrame frame(document, store, false);
    frame.view()->InitialUpdate();
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    QTRY_VERIFY(!frame.view()->Graph()->FirstGuidance().empty());
    const auto menuTitle = [&frame] { return frame.menuBar()->actions().front()->text(); };
    const auto start = [&frame] {
      return testing::Find<QAbstractButton>(*frame.view(), control::kStartStop)->text();
    };
    QCOMPARE(menuTitle(), QStringLiteral("ファイル(&F)"));
    QCOMPARE(frame.windowTitle(), QStringLiteral("chromiva - 無題"));

    frame.findChild<QAction*>(QStringLiteral("language_en"))->trigger();
    QTRY_COMPARE(menuTitle(), QStringLiteral("&File"));  // the change arrives as a posted event
    QCOMPARE(start(), QStringLiteral("Start"));
    QCOMPARE(frame.findChild<QToolBar*>()->toggleViewAction()->text(), QStringLiteral("&Toolbar"));
    QCOMPARE(frame.windowTitle(), QStringLiteral("chromiva - Untitled"));
    QCOMPARE(document.title, std::string(data::kUntitledTitle));
    QVERIFY(!HoldsJapanese(frame.view()->Graph()->View()->ShownGuidance()));
    QCOMPARE(store.ReadText("ui", "language", ""), std::string("en"));
    QVERIFY(testing::SaveScreenshot(frame, "window-en.png"));

    frame.findChild<QAction*>(QStringLiteral("language_ja"))->trigger();
    QTRY_COMPARE(menuTitle(), QStringLiteral("ファイル(&F)"));
    QCOMPARE(start(), QStringLiteral("開始"));
    QVERIFY(HoldsJapanese(frame.view()->Graph()->View()->ShownGuidance()));
    QCOMPARE(store.ReadText("ui", "language", ""), std::string("ja"));
  }

 private:
  QTemporaryDir folder_;
  acquisition::MemorySettingsStore store_;
  data::Ctintrose_mfDoc document_;
  Ctintrose_mfView view_;
};

QTEST_MAIN(LanguageTest)
#include "language_test.moc"
