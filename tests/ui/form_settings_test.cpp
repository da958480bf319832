// The form's layout, the settings store and the frame's remembered placement.
#include <sys/stat.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QToolTip>
#include <QtTest>
#include <thread>

#include "about_dialog.h"
#include "application.h"
#include "chromiva/acquisition/control_ids.h"
#include "form_view.h"
#include "main_frame.h"
#include "qt_settings_store.h"
#include "settings.h"

using namespace chromiva;
using namespace chromiva::ui;

namespace {

struct Expected {
  int id;
  const char* caption;  // nullptr: not a caption to check
  QRect place;          // height 0: the client height less 35
};

// The visible controls with their captions and places.
const Expected kVisible[] = {
    {1000, nullptr, {5, 30, 600, 0}},
    {1071, nullptr, {617, 7, 160, 80}},
    {1002, "検出", {615, 92, 160, 28}},
    {1007, "計測モード", {615, 127, 75, 20}},
    {1053, "ダーク計測", {700, 124, 80, 20}},
    {1008, "光源", {625, 147, 60, 20}},
    {1025, "SkyBGD設定", {680, 147, 100, 20}},
    {1009, "反射", {625, 167, 60, 20}},
    {1020, "ホワイト設定", {680, 167, 100, 20}},
    {1010, "透過", {625, 187, 60, 20}},
    {1021, "100%透過設定", {680, 187, 100, 20}},
    {1001, "開始", {615, 212, 70, 28}},
    {1023, "ワンショット", {695, 212, 100, 28}},
    {1006, "露光時間(ms)", {615, 250, 90, 20}},
    {1005, nullptr, {730, 247, 60, 20}},
    {1011, "平均回数", {615, 275, 90, 20}},
    {1012, "1", {730, 272, 60, 20}},
    {1014, "記録保存", {615, 300, 90, 20}},
    {1015, "0", {730, 300, 60, 20}},
    {1016, "計測間隔(ms)", {615, 325, 110, 20}},
    {1017, "0", {730, 325, 60, 20}},
    {1018, "波長感度補正", {615, 347, 120, 20}},
    {1024, "カラー表示", {615, 372, 180, 20}},
    {1035, "BACK", {615, 397, 40, 20}},
    {1038, nullptr, {660, 397, 80, 20}},
    {1036, "NEXT", {745, 397, 40, 20}},
    {1037, "連続再生", {665, 417, 120, 20}},
    {1042, "データクリア", {615, 437, 160, 25}},
    {1052, "CSV保存", {615, 467, 160, 25}},
    {1039, "操作履歴表示", {615, 497, 160, 25}},
    {1072, "Chromiva", {24, 5, 173, 32}},
};

const int kHidden[] = {1013, 1003, 1004, 1040, 1019, 1043, 1022, 1044,
                       1046, 1045, 1049, 1051, 1050, 1048, 1047, 1041};

QString Text(QWidget* widget) {
  if (auto* button = qobject_cast<QAbstractButton*>(widget)) return button->text();
  if (auto* edit = qobject_cast<QLineEdit*>(widget)) return edit->text();
  if (auto* label = qobject_cast<QLabel*>(widget)) return label->text();
  return {};
}

}  // namespace

class FormSettingsTest : public QObject {
  Q_OBJECT

 private slots:
  void layoutAtClientHeight_data() {
    QTest::addColumn<int>("clientHeight");
    QTest::newRow("default frame") << 560;
    QTest::newRow("tall frame") << 800;
  }

  void layoutAtClientHeight() {
    QFETCH(int, clientHeight);
    acquisition::MemorySettingsStore store;
    data::Ctintrose_mfDoc document;
    Ctintrose_mfView view(document, store, false);
    view.resize(820, clientHeight);
    view.InitialUpdate();
    view.show();
    for (const Expected& expected : kVisible) {
      QWidget* widget = view.findChild<QWidget*>(QStringLiteral("c%1").arg(expected.id));
      QVERIFY2(widget, qPrintable(QString::number(expected.id)));
      QRect place = expected.place;
      if (place.height() == 0) place.setHeight(clientHeight - 35);
      QCOMPARE(widget->geometry(), place);
      QVERIFY2(widget->isVisible(), qPrintable(QString::number(expected.id)));
      if (expected.caption) QCOMPARE(Text(widget), QString::fromUtf8(expected.caption));
    }
    for (int id : kHidden) {
      QWidget* widget = view.findChild<QWidget*>(QStringLiteral("c%1").arg(id));
      QVERIFY2(widget && !widget->isVisible(), qPrintable(QString::number(id)));
    }
    auto* list = view.findChild<QComboBox*>(QStringLiteral("c1047"));
    QCOMPARE(list->count(), 2);
    QCOMPARE(list->itemText(0), QStringLiteral("最大/最小/温度"));
    QCOMPARE(list->itemText(1), QStringLiteral("ＣＩＥデータ"));
    QCOMPARE(Text(view.Control(1048)), QStringLiteral("表示データ"));
    QCOMPARE(QFontInfo(view.font()).family(), QStringLiteral("Noto Sans Mono CJK JP"));
    QCOMPARE(QFontInfo(view.font()).pointSize(), 10);
  }

  void maintenanceButtonFollowsSetting_data() {
    QTest::addColumn<int>("stored");
    QTest::addColumn<bool>("forThisRun");
    QTest::addColumn<bool>("shown");
    QTest::newRow("off") << 0 << false << false;
    QTest::newRow("on") << 1 << false << true;
    QTest::newRow("--maintenance") << 0 << true << true;
  }

  void maintenanceButtonFollowsSetting() {
    QFETCH(int, stored);
    QFETCH(bool, forThisRun);
    QFETCH(bool, shown);
    acquisition::MemorySettingsStore store;
    store.WriteInt("hard", "adjust", stored);
    data::Ctintrose_mfDoc document;
    Ctintrose_mfView view(document, store, forThisRun);
    view.resize(820, 560);
    view.InitialUpdate();
    view.show();
    QWidget* button = view.Control(acquisition::control::kMaintenance);
    QCOMPARE(button->isVisible(), shown);
    QCOMPARE(button->geometry(), QRect(615, 527, 160, 28));
    view.WriteSettings();
    QCOMPARE(store.ReadInt("hard", "adjust", -1), stored);
  }

  void firstStartWithEmptyStore() {
    acquisition::MemorySettingsStore store;
    const acquisition::FormSettings settings = acquisition::ReadFormSettings(store);
    const FramePlacement frame = ReadFramePlacement(store);
    QCOMPARE(QRect(frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top),
             QRect(0, 0, 818, 672));
    QCOMPARE(settings.averageCount, 1);
    QVERIFY(!settings.recordMode && !settings.intervalMode && !settings.waveComp &&
            !settings.playbackOn && !settings.maintenanceMode);
    QCOMPARE(settings.axisLimits.graphMax, 8192);
    QCOMPARE(settings.axisLimits.ratioMax, 160);
    QCOMPARE(settings.csv.csvFixedName, std::string("output"));
  }

  void csvOptionsComeBackOn() {
    acquisition::MemorySettingsStore store;
    acquisition::FormSettings settings = acquisition::ReadFormSettings(store);
    settings.csv.csvAddWave = false;
    settings.csv.csvAddExp = false;
    acquisition::WriteFormSettings(store, settings);
    QCOMPARE(store.ReadInt("csv", "addwave", -1), 0);
    const acquisition::FormSettings next = acquisition::ReadFormSettings(store);
    QVERIFY(next.csv.csvAddWave && next.csv.csvAddExp);
  }

  void settingsRoundTripThroughIniFile() {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("chromiva.ini"));
    acquisition::FormSettings settings;
    settings.averageCount = 7;
    settings.intervalMode = true;
    settings.intervalMs = 2500;
    settings.csv.csvFolder = "/tmp/データ";
    settings.axisLimits.ratioMin = -20;
    {
      QtSettingsStore store(path);
      acquisition::WriteFormSettings(store, settings);
    }
    QtSettingsStore store(path);
    const acquisition::FormSettings read = acquisition::ReadFormSettings(store);
    QCOMPARE(read.averageCount, 7);
    QVERIFY(read.intervalMode);
    QCOMPARE(read.intervalMs, 2500);
    QCOMPARE(read.csv.csvFolder, std::string("/tmp/データ"));
    QCOMPARE(read.axisLimits.ratioMin, -20);
  }

  void garbageValuesReadAsDefaults() {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("chromiva.ini"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(
        "[average]\nnumber=abc\n[logging]\ngo=7\n[interval]\ntime=-5\n"
        "[disp]\nkind=1e9\n[graph]\nmax=100\nmin=200\n[ratio]\nmax=99999999999\n"
        "[save]\nautomode=3\nstepwave=0\nfixfilename=a, b\n"
        "[Settings]\nleft=x\nright=-4\n\x01\x02garbage\n[broken\n");
    file.close();
    QtSettingsStore store(path);
    const acquisition::FormSettings settings = acquisition::ReadFormSettings(store);
    const acquisition::FormSettings defaults;
    QCOMPARE(settings.averageCount, defaults.averageCount);
    QCOMPARE(settings.recordMode, false);
    QCOMPARE(settings.intervalMs, 0);
    QCOMPARE(settings.displayKind, 0);
    QCOMPARE(settings.axisLimits.graphMax, 8192);
    QCOMPARE(settings.axisLimits.graphMin, 0);
    QCOMPARE(settings.axisLimits.ratioMax, 160);
    QCOMPARE(settings.csv.csvAutoMode, 0);
    QCOMPARE(settings.csv.csvStepNm, 10);
    QCOMPARE(settings.csv.csvFixedName, std::string("a, b"));
    const FramePlacement frame = ReadFramePlacement(store);
    QCOMPARE(frame.right - frame.left, 818);
    // A FIFO in place of the file is not opened (it would block): defaults, kept in memory.
    const QString fifo = folder.filePath(QStringLiteral("fifo.ini"));
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QtSettingsStore held(fifo);
    QCOMPARE(acquisition::ReadFormSettings(held).averageCount, defaults.averageCount);
    held.WriteInt("average", "number", 5);
    QCOMPARE(held.ReadInt("average", "number", 0), 5);
  }

  void maximisedFrameStoresRestoredRectangle() {
    acquisition::MemorySettingsStore store;
    store.WriteInt("Settings", "left", 0);
    store.WriteInt("Settings", "top", 30);
    store.WriteInt("Settings", "right", 800);  // fits the offscreen screen (800 x 600)
    store.WriteInt("Settings", "bottom", 530);
    data::Ctintrose_mfDoc document;
    CMainFrame frame(document, store, false);
    frame.view()->InitialUpdate();
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    QCOMPARE(frame.frameGeometry().topLeft(), QPoint(0, 30));
    frame.showMaximized();
    QTRY_VERIFY(frame.isMaximized());
    // The frame may have grown to its minimum size; the rectangle it is restored to is stored.
    const QRect restored = frame.normalGeometry();
    QVERIFY(frame.close());
    QCOMPARE(store.ReadInt("Settings", "left", -1), 0);
    QCOMPARE(store.ReadInt("Settings", "top", -1), 30);
    QCOMPARE(store.ReadInt("Settings", "right", -1), restored.width());
    QCOMPARE(store.ReadInt("Settings", "bottom", -1), 30 + restored.height());
    QCOMPARE(frame.windowTitle(), QStringLiteral("chromiva - 無題"));
  }

  void frameStoredOffEveryScreenComesBackOnScreen() {
    acquisition::MemorySettingsStore store;
    store.WriteInt("Settings", "left", 50000);
    store.WriteInt("Settings", "right", 50818);
    data::Ctintrose_mfDoc document;
    CMainFrame frame(document, store, false);
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QCOMPARE(frame.pos(), screen.topLeft());
    QCOMPARE(frame.size(), QSize(818, 672).boundedTo(screen.size()));  // no larger than it
    // A huge stored frame is clamped to the screen (Qt would otherwise ask for gigabytes).
    store.WriteInt("Settings", "left", -90000);
    store.WriteInt("Settings", "top", -90000);
    store.WriteInt("Settings", "right", 9000);
    store.WriteInt("Settings", "bottom", 9000);
    CMainFrame huge(document, store, false);
    QVERIFY(screen.contains(QRect(huge.pos(), huge.size())));
  }

  void commandLine_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("maintenance");
    QTest::newRow("nothing") << QStringList{} << true << QString() << false;
    QTest::newRow("a file") << QStringList{"run.cvdata"} << true << "run.cvdata" << false;
    QTest::newRow("maintenance and file")
        << QStringList{"--maintenance", "a.cvdata"} << true << "a.cvdata" << true;
    QTest::newRow("two files") << QStringList{"a", "b"} << false << QString() << false;
    QTest::newRow("unknown option") << QStringList{"--fast"} << false << QString() << false;
    QTest::newRow("screenshot without name")
        << QStringList{"--demo-screenshot"} << false << QString() << false;
  }

  void commandLine() {
    QFETCH(QStringList, arguments);
    QFETCH(bool, accepted);
    QFETCH(QString, file);
    QFETCH(bool, maintenance);
    QString error;
    const auto options = ParseStartOptions(arguments, error);
    QCOMPARE(options.has_value(), accepted);
    QCOMPARE(error.isEmpty(), accepted);
    if (!options) return;
    QCOMPARE(options->file, file);
    QCOMPARE(options->maintenance, maintenance);
  }

  void workerLinesArriveOnWindowThreadInOrder() {
    acquisition::MemorySettingsStore store;
    data::Ctintrose_mfDoc document;
    Ctintrose_mfView view(document, store, false);
    std::thread worker([&view] {
      for (const char* line : {"1", "2", "3"}) view.ForwardMessage(line);
    });
    worker.join();
    QCOMPARE(view.Graph()->FirstGuidance(), std::string());  // not before the event loop runs
    QTRY_COMPARE(view.Graph()->FirstGuidance(), std::string("3"));
  }

  void graphFrameFollowsTheHeight() {
    acquisition::MemorySettingsStore store;
    data::Ctintrose_mfDoc document;
    Ctintrose_mfView view(document, store, false);
    view.resize(820, 600);
    view.InitialUpdate();
    view.show();
    QCOMPARE(view.findChildren<QWidget*>(QStringLiteral("c1000")).size(), qsizetype{1});
    view.resize(820, 700);
    QCOMPARE(view.Control(1000)->geometry(), QRect(5, 30, 600, 665));
    QCOMPARE(view.Graph()->Logo()->geometry(), QRect(615, 5, 160, 86));
  }

  void aboutBoxNamesVersionBesideTheIcon() {
    CAboutDlg dialog(nullptr);
    QStringList texts;
    for (QLabel* label : dialog.findChildren<QLabel*>()) texts << label->text();
    QVERIFY(texts.contains(QStringLiteral("Chromiva  Version 1.0")));
    QVERIFY(!dialog.findChild<QLabel*>(QStringLiteral("icon"))->pixmap().isNull());
  }

  // The window made as small as it goes keeps every shown control on the form.
  void smallestFrameShowsEveryControl() {
    acquisition::MemorySettingsStore store;
    data::Ctintrose_mfDoc document;
    CMainFrame frame(document, store, true);
    frame.view()->InitialUpdate();
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    frame.resize(100, 100);
    QTRY_COMPARE(frame.view()->height(), frame.view()->minimumHeight());
    const QRect form = frame.view()->rect();
    for (const QWidget* control : frame.view()->findChildren<QWidget*>(
             QRegularExpression(QStringLiteral("^c\\d+$")), Qt::FindDirectChildrenOnly)) {
      if (control->isVisible())
        QVERIFY2(form.contains(control->geometry()), qPrintable(control->objectName()));
    }
    QVERIFY(frame.view()->Control(acquisition::control::kMaintenance)->isVisible());
  }

  // Over each corner zone of the plot area the pointer is a pointing hand and the tooltip names
  // the axis limit a click there edits; elsewhere neither.
  void axisCornersAreShown() {
    acquisition::MemorySettingsStore store;
    data::Ctintrose_mfDoc document;
    Ctintrose_mfView view(document, store, false);
    view.resize(820, 563);
    view.InitialUpdate();
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    GraphView* graph = view.Graph()->View();
    const Rect plot = graph->Layout().plotArea;
    struct Hover {
      QPoint at;
      const char* tip;
    };
    const Hover hovers[] = {
        {{plot.left + 10, plot.top + 10}, "クリックでカウント軸の最大値を変更"},
        {{plot.left + 10, plot.bottom - 10}, "クリックでカウント軸の最小値を変更"},
        {{plot.right - 10, plot.top + 10}, "クリックで比率軸 (%) の最大値を変更"},
        {{plot.right - 10, plot.bottom - 10}, "クリックで比率軸 (%) の最小値を変更"},
        {{(plot.left + plot.right) / 2, (plot.top + plot.bottom) / 2}, ""},
    };
    for (const Hover& hover : hovers) {
      QTest::mouseMove(graph, hover.at);
      const bool corner = *hover.tip != '\0';
      QCOMPARE(graph->cursor().shape(), corner ? Qt::PointingHandCursor : Qt::ArrowCursor);
      QHelpEvent help(QEvent::ToolTip, hover.at, graph->mapToGlobal(hover.at));
      QApplication::sendEvent(graph, &help);
      QTRY_COMPARE(QToolTip::isVisible() ? QToolTip::text() : QString(),
                   QString::fromUtf8(hover.tip));
    }
  }

  void numberedTimerFiresOnceAfterRearming() {
    acquisition::MemorySettingsStore store;
    data::Ctintrose_mfDoc document;
    Ctintrose_mfView view(document, store, false);
    view.ArmTimer(acquisition::timer::kStartup, 10);
    view.ArmTimer(acquisition::timer::kStartup, 30);
    QTest::qWait(150);
    QCOMPARE(view.Graph()->GraphDraws(), 1);
    QCOMPARE(view.Graph()->FirstGuidance(),
             std::string("センサーを接続して、検出ボタンを押してください"));
  }
};

QTEST_MAIN(FormSettingsTest)
#include "form_settings_test.moc"
