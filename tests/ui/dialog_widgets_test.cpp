// The four modal dialogs as widgets over their logic: controls by id with their captions, clicks
// and typed text reaching the logic, and the maintenance dialog's timers on the event loop.
#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QtTest>
#include <vector>

#include "chromiva/acquisition/calibration_io.h"
#include "chromiva/acquisition/settings_store.h"
#include "chromiva/data/text_codec.h"
#include "dialogs/csv_dialog_widget.h"
#include "dialogs/history_dialog_widget.h"
#include "dialogs/maintenance_dialog_widget.h"
#include "dialogs/mirror_dialog_widget.h"
#include "form_view.h"
#include "wrenlink.h"

using namespace chromiva;
using namespace chromiva::ui;
namespace dialogs = chromiva::acquisition::dialogs;

namespace {

struct Caption {
  int id;
  const char* text;
};

QString Text(QWidget* widget) {
  if (auto* button = qobject_cast<QAbstractButton*>(widget)) return button->text();
  if (auto* edit = qobject_cast<QLineEdit*>(widget)) return edit->text();
  if (auto* label = qobject_cast<QLabel*>(widget)) return label->text();
  return {};
}

template <typename Widget = QWidget>
Widget* Find(QWidget& dialog, int id) {
  return dialog.findChild<Widget*>(QStringLiteral("c%1").arg(id));
}

void ExpectCaptions(QWidget& dialog, std::initializer_list<Caption> captions) {
  for (const Caption& caption : captions) {
    QWidget* widget = Find(dialog, caption.id);
    QVERIFY2(widget && widget->isVisible(), qPrintable(QString::number(caption.id)));
    QCOMPARE(Text(widget), QString::fromUtf8(caption.text));
  }
}

void Screenshot(QWidget& dialog, const char* name) {
  const QString path = QStringLiteral(CHROMIVA_SCREENSHOT_DIR "/dialog-%1.png").arg(name);
  QVERIFY(dialog.grab().save(path));
}

}  // namespace

class DialogWidgetsTest : public QObject {
  Q_OBJECT

 public:
  DialogWidgetsTest() : view_(document_, store_, false) {
    view_.SetDialogAnswers([](const std::string&) { return true; },
                           [this](const std::string& message) { told_.push_back(message); });
  }

 private slots:
  void init() { told_.clear(); }

  void csvDialogForwardsClicksAndOk() {
    document_.sensorTable.sensorCount = 1;
    document_.Sensor(0).serialNo = "AB123456";
    document_.recordCount[0] = 5;
    dialogs::CsvDialog dialog(document_, data::CsvSettings{}, view_);
    CsvDialogWidget widget(nullptr, dialog);
    widget.show();
    QCOMPARE(widget.windowTitle(), QStringLiteral("CSVファイル保存"));
    ExpectCaptions(widget, {{1, "OK"},
                            {2, "キャンセル"},
                            {1059, "データ取得時にファイルに保存する"},
                            {1061, "固定ファイル名"},
                            {1062, "時刻ファイル名"},
                            {1064, "データ番号ファイル名"},
                            {1067, "CSVファイル保存フォルダ"},
                            {1066, "参照"},
                            {1055, "5"}});
    for (int hidden : {1049, 1050, 1057, 1058}) QVERIFY(!Find(widget, hidden)->isVisible());
    QVERIFY(!Find(widget, 1063)->isEnabled());
    QTest::mouseClick(Find(widget, 1059), Qt::LeftButton);
    QVERIFY(Find(widget, 1063)->isEnabled());
    QVERIFY(!Find(widget, 1054)->isEnabled());
    Screenshot(widget, "csv");

    auto* step = Find<QLineEdit>(widget, 1053);
    step->selectAll();
    QTest::keyClicks(step, "0");
    QTest::mouseClick(Find(widget, 1), Qt::LeftButton);
    QCOMPARE(told_.size(), std::size_t{1});
    QVERIFY(widget.isVisible());
    QTest::keyClicks(step, "5");
    QTest::mouseClick(Find(widget, 1), Qt::LeftButton);
    QVERIFY(!widget.isVisible());
    QVERIFY(dialog.Accepted());
    QCOMPARE(dialog.settings().csvStepNm, 5);
    QVERIFY(dialog.settings().csvAuto);
  }

  // Esc takes the edited history over; Tab leaves the text and Enter there ends without it.
  void historyDialogTakesOverTheEditOnlyOnEsc() {
    for (bool esc : {true, false}) {
      // The log holds its text in code page 932, as the data file does.
      document_.operationLog = *data::Utf8ToCp932("2019/05/10 14:03:22,センサー解除 \r\n");
      dialogs::HistoryDialog dialog(document_, view_);
      HistoryDialogWidget widget(nullptr, dialog);
      widget.show();
      QCOMPARE(widget.windowTitle(), QStringLiteral("作業履歴（検出～計測、任意文字挿入可能）"));
      ExpectCaptions(widget, {{1073, "テキストファイル保存"}});
      auto* text = Find<QPlainTextEdit>(widget, 1057);
      QCOMPARE(text->toPlainText(), QStringLiteral("2019/05/10 14:03:22,センサー解除 \n"));
      text->moveCursor(QTextCursor::End);
      QTest::keyClicks(text, "memo");
      QTest::keyClick(text, Qt::Key_Return);  // a new line, the dialog stays
      QVERIFY(widget.isVisible());
      if (esc) {
        Screenshot(widget, "history");
        QTest::keyClick(&widget, Qt::Key_Escape);
      } else {
        widget.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&widget));
        QTest::keyClick(text, Qt::Key_Tab);
        QCOMPARE(widget.focusWidget(), Find(widget, 1073));
        QTest::keyClick(widget.focusWidget(), Qt::Key_Return);
      }
      QVERIFY(!widget.isVisible());
      QCOMPARE(document_.operationLog.find("memo") != std::string::npos, esc);
    }
  }

  void mirrorDialogStepsFromItsPosition() {
    std::vector<int> sent;
    dialogs::MirrorDialog dialog(3, [&sent](int, int position) { sent.push_back(position); });
    MirrorDialogWidget widget(nullptr, dialog);
    widget.show();
    QCOMPARE(widget.windowTitle(), QStringLiteral("ミラー制御"));
    ExpectCaptions(widget, {{1060, "+1000"},
                            {1059, "0"},
                            {1061, "-1000"},
                            {1058, "set"},
                            {1, "OK"},
                            {2, "キャンセル"}});
    QTest::mouseClick(Find(widget, 1061), Qt::LeftButton);
    QCOMPARE(Text(Find(widget, 1059)), QStringLiteral("-1000"));
    QCOMPARE(sent, std::vector<int>{64536});
    Screenshot(widget, "mirror");
    QTest::mouseClick(Find(widget, 2), Qt::LeftButton);
    QVERIFY(!widget.isVisible());
  }

  void maintenanceDialogRunsTheDarkSequenceOnItsTimers() {
    qputenv("WRENLINK_SIMULATOR", "spectrometer");
    qputenv("WRENLINK_SIM_SPEED", "1000");
    QCOMPARE(DetectDevice(0), 1);
    document_.sensorTable.sensorCount = 1;
    data::SensorEntry& sensor = document_.Sensor(0);
    sensor.pixelCount = data::kMaxPixels;
    sensor.exposureUs = 20000;
    acquisition::ReadCalibrationTables(sensor, 0, {});

    QtDialogTimers timers;  // made before the logic, as the form does
    {
      dialogs::MaintenanceDialog dialog(
          dialogs::MaintenanceContext{document_, view_, timers, 0, {}, 8192});
      dialog.Open();
      MaintenanceDialogWidget widget(nullptr, dialog, timers);
      widget.show();
      QCOMPARE(widget.windowTitle(), QStringLiteral("Setting"));
      ExpectCaptions(widget, {{1043, "ファイル"},
                              {1044, "設定"},
                              {1045, "初期化"},
                              {1046, "ダーク計測"},
                              {1047, "ゲイン設定"},
                              {1050, "装置へ書き込む"}});
      QVERIFY(
          widget.findChild<QLabel*>()->text().contains(QStringLiteral("ダーク（２１ステップ）")));
      auto* table = Find<QListWidget>(widget, 1041);
      QTest::mouseClick(Find(widget, 1045), Qt::LeftButton);
      QCOMPARE(table->count(), 289);
      QVERIFY(table->item(0)->text().startsWith(QStringLiteral("  1:")));
      Screenshot(widget, "maintenance");

      QTest::mouseClick(Find(widget, 1046), Qt::LeftButton);
      QVERIFY(dialog.DarkRunning());
      QVERIFY(!Find(widget, 1047)->isEnabled());
      QTRY_VERIFY_WITH_TIMEOUT(!dialog.DarkRunning(), 60000);
      QCOMPARE(dialog.DarkStep(), 21);
      QCOMPARE(told_, std::vector<std::string>{dialogs::maintenance_ids::kDarkFinished});
      QVERIFY(Find(widget, 1047)->isEnabled());
      dialog.Close();
    }
    CloseDevice(0);
    qunsetenv("WRENLINK_SIMULATOR");
  }

 private:
  acquisition::MemorySettingsStore store_;
  data::Ctintrose_mfDoc document_;
  Ctintrose_mfView view_;
  std::vector<std::string> told_;
};

QTEST_MAIN(DialogWidgetsTest)
#include "dialog_widgets_test.moc"
