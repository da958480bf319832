// The maintenance and mirror dialogs opened from the real window on a simulated spectrometer and
// mirror unit: the calibration list, "設定" read back from the instrument's EEPROM, "初期化",
// the 21-step dark sequence written to the instrument and read back by a fresh detection, the
// gain measurement, and the mirror positions as they go over the wire.
#include <QAction>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "chromiva/acquisition/control_ids.h"
#include "chromiva/acquisition/dialogs/maintenance_ids.h"
#include "form_view.h"
#include "main_frame.h"
#include "window_test_support.h"
#include "wrenlink.h"

using namespace chromiva;
using namespace chromiva::ui;
using namespace chromiva::ui::testing;
namespace control = acquisition::control;
namespace ids = acquisition::dialogs::maintenance_ids;

class MaintenanceWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QVERIFY(folder_.isValid());
    QVERIFY(QDir(folder_.path()).mkdir(QStringLiteral("state")));
    setenv("WRENLINK_SIMULATOR", "spectrometer,mirror", 1);
    setenv("WRENLINK_SIM_SPEED", "1000", 1);
    setenv("WRENLINK_SIM_STATE", qPrintable(folder_.filePath(QStringLiteral("state"))), 1);
    setenv("WRENLINK_TRACE", qPrintable(TracePath()), 1);
    frame_ = std::make_unique<CMainFrame>(document_, store_, true);
    view_ = frame_->view();
    view_->SetDialogAnswers([](const std::string&) { return true; },
                            [this](const std::string& message) {
                              messages_.push_back(message);
                              tableAtMessage_ = ShownTable();
                            });
    view_->SetFileAnswer([this](const std::string&) { return listPath_; });
    view_->InitialUpdate();
    frame_->show();
    QVERIFY(QTest::qWaitForWindowExposed(frame_.get()));
    QVERIFY(view_->Control(control::kMaintenance)->isVisible());
    QVERIFY(ClickIn(*view_, control::kDetect));
    QCOMPARE(document_.sensorTable.sensorCount, 1);
    device_ = view_->binding().fields().deviceIndex[0];
    QVERIFY(view_->binding().Status().mirrorDeviceIndex >= 0);
  }

  void cleanupTestCase() {
    frame_.reset();
    for (int index = 0; index < 10; ++index) CloseDevice(index);
    unsetenv("WRENLINK_TRACE");
  }

  void init() { messages_.clear(); }

  // A quoted serial is listed without its quotes; another kind's line is skipped.
  void calibrationListSetAndInitialise() {
    listPath_ = folder_.filePath(QStringLiteral("list.csv")).toStdString();
    QFile list(QString::fromStdString(*listPath_));
    QVERIFY(list.open(QIODevice::WriteOnly));
    list.write(
        "\"C12880MA\",\"WL123456\",300,0.5,0,0,0,0\n"
        "C10083MA,XX000001,1,1,1,1,1,1\n"
        "C12880MA,WL654321,310,1,0,0,0,0\n");
    list.close();
    RunMaintenance([this](QDialog& dialog) {
      QCOMPARE(dialog.windowTitle(), QStringLiteral("Setting"));
      QVERIFY(ClickIn(dialog, ids::kFile));
      auto* serials = Find<QListWidget>(dialog, ids::kSerialList);
      QCOMPARE(serials->count(), 2);
      QCOMPARE(serials->item(0)->text(), QStringLiteral("WL123456"));
      serials->setCurrentRow(0);
      QVERIFY(TableLine(dialog, 1).startsWith(QStringLiteral("  2: 301.0 ")));
      QVERIFY(ClickIn(dialog, ids::kSet));
      QCOMPARE(InstrumentSerial(), QStringLiteral("WL123456"));
      const auto comp = InstrumentComp();
      QCOMPARE(comp[0], 300.0);
      QCOMPARE(comp[1], 0.5);
      QVERIFY(ClickIn(dialog, ids::kInitialise));
      QVERIFY(TableLine(dialog, 0).startsWith(
          QStringLiteral("  1: 300.5   1.0 8192.0 8192.0    0.0 ")));
      QVERIFY(SaveScreenshot(dialog, "dialog-maintenance-window.png"));
      QVERIFY(dialog.width() <= dialog.screen()->availableGeometry().width());
    });
    QCOMPARE(store_.ReadText(ids::kListSection, ids::kListEntry, ""), *listPath_);
    QCOMPARE(messages_, std::vector<std::string>{});
  }

  // The tables written after the dark sequence come back from the instrument at the next detection.
  void darkSequenceWrittenAndReadBack() {
    RunMaintenance([this](QDialog& dialog) {
      QVERIFY(ClickIn(dialog, ids::kDark));
      QVERIFY(!Find(dialog, ids::kWrite)->isEnabled());
      QTRY_VERIFY_WITH_TIMEOUT(Find(dialog, ids::kWrite)->isEnabled(), 60000);
      QCOMPARE(messages_, std::vector<std::string>{ids::kDarkFinished});
      QVERIFY(ClickIn(dialog, ids::kWrite));
      QCOMPARE(messages_.back(), std::string(ids::kWriteCompleted));
    });
    const data::SensorEntry written = document_.Sensor(0);
    QVERIFY(written.darkTables[20][100] > written.darkTables[0][100]);
    QVERIFY(ClickIn(*view_, control::kDetect));  // release
    QVERIFY(ClickIn(*view_, control::kDetect));
    const data::SensorEntry& read = document_.Sensor(0);
    QCOMPARE(read.serialNo, std::string("WL123456"));
    for (int step : {0, 1, 19}) QCOMPARE(read.darkTables[step], written.darkTables[step]);
    QCOMPARE(read.wavelengthTable, written.wavelengthTable);
    QCOMPARE(read.whiteTable, written.whiteTable);
    QVERIFY(!QDir(folder_.filePath(QStringLiteral("state"))).isEmpty());
  }

  // The message comes over the table list that already shows the new gain.
  void gainMeasurement() {
    RunMaintenance([this](QDialog& dialog) {
      const QStringList before = ShownTable();
      QVERIFY(ClickIn(dialog, ids::kGain));
      QTRY_COMPARE_WITH_TIMEOUT(messages_, std::vector<std::string>{ids::kGainMeasured}, 20000);
      QVERIFY(tableAtMessage_ != before);
      QCOMPARE(tableAtMessage_, ShownTable());
      const data::SensorEntry& sensor = document_.Sensor(0);
      QCOMPARE(*std::min_element(sensor.sensitivityTable.begin(),
                                 sensor.sensitivityTable.begin() + sensor.pixelCount),
               1.0f);
      QVERIFY(TableLine(dialog, 288).contains(QString::number(sensor.exposureUs)));
    });
  }

  // From the 表示 menu: each opening starts at 0; the step buttons send the 16 bits unsigned.
  void mirrorPositionsOnTheWire() {
    QAction* open = nullptr;
    for (QAction* action : frame_->menuBar()->findChildren<QAction*>()) {
      if (action->text() == QStringLiteral("ミラー制御...")) open = action;
    }
    QVERIFY(open && open->isEnabled());
    const int mirror = view_->binding().Status().mirrorDeviceIndex;
    QFile::remove(TracePath());
    auto pending = WhenModal([](QDialog& dialog) {
      QVERIFY(ClickIn(dialog, 1061));
      QCOMPARE(Find<QLineEdit>(dialog, 1059)->text(), QStringLiteral("-1000"));
      QVERIFY(SaveScreenshot(dialog, "dialog-mirror-window.png"));
      QVERIFY(ClickIn(dialog, 2));
    });
    open->trigger();
    pending = WhenModal([](QDialog& dialog) {
      for (int press = 0; press < 33; ++press) QVERIFY(ClickIn(dialog, 1060));
      auto* position = Find<QLineEdit>(dialog, 1059);
      QCOMPARE(position->text(), QStringLiteral("-32536"));
      position->selectAll();
      QTest::keyClicks(position, QStringLiteral("70000"));
      QVERIFY(ClickIn(dialog, 1058));
      QVERIFY(ClickIn(dialog, 1));
    });
    open->trigger();
    QStringList sent;
    QFile trace(TracePath());
    QVERIFY(trace.open(QIODevice::ReadOnly));
    const QString prefix = QStringLiteral("OUT %1 7300").arg(mirror);
    for (const QByteArray& line : trace.readAll().split('\n')) {
      if (line.startsWith(prefix.toLatin1())) sent << QString::fromLatin1(line.mid(prefix.size()));
    }
    QCOMPARE(sent.size(), 35);
    QCOMPARE(sent[0], QStringLiteral("18fc"));   // 64536
    QCOMPARE(sent[33], QStringLiteral("e880"));  // 33000
    QCOMPARE(sent[34], QStringLiteral("7011"));  // 4464
  }

 private:
  void RunMaintenance(std::function<void(QDialog&)> act) {
    const auto pending = WhenModal(std::move(act));
    QVERIFY(ClickIn(*view_, control::kMaintenance));
  }
  // The lines of the open maintenance dialog's table list.
  static QStringList ShownTable() {
    QStringList lines;
    QWidget* dialog = QApplication::activeModalWidget();
    auto* list = dialog ? Find<QListWidget>(*dialog, ids::kTableList) : nullptr;
    for (int row = 0; list != nullptr && row < list->count(); ++row)
      lines << list->item(row)->text();
    return lines;
  }
  static QString TableLine(const QDialog& dialog, int row) {
    return Find<QListWidget>(dialog, ids::kTableList)->item(row)->text();
  }
  QString InstrumentSerial() const {
    unsigned char serial[8] = {};
    GetDeviceSerialNo(device_, serial, sizeof serial);
    return QString::fromLatin1(reinterpret_cast<const char*>(serial), sizeof serial);
  }
  std::array<double, 6> InstrumentComp() const {
    unsigned char block[48] = {};
    GetDeviceComp(device_, block);
    std::array<double, 6> coefficients{};
    std::memcpy(coefficients.data(), block, sizeof block);
    return coefficients;
  }
  QString TracePath() const { return folder_.filePath(QStringLiteral("trace.txt")); }

  QTemporaryDir folder_;
  acquisition::MemorySettingsStore store_;
  data::Ctintrose_mfDoc document_;
  std::unique_ptr<CMainFrame> frame_;
  Ctintrose_mfView* view_ = nullptr;
  int device_ = -1;
  std::vector<std::string> messages_;
  QStringList tableAtMessage_;  // as shown when the last message came
  std::optional<std::string> listPath_;
};

QTEST_MAIN(MaintenanceWindowTest)
#include "maintenance_window_test.moc"
