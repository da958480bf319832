// The window when an instrument drops off the bus in the middle of a recorded run: the run
// stops as the stop button stops it, the passes committed before stay, and an OK message names
// the sensor, the record and the reason.
#include <QAbstractButton>
#include <QtTest>
#include <cstdlib>

#include "chromiva/acquisition/control_ids.h"
#include "form_view.h"
#include "main_frame.h"
#include "wrenlink.h"

using namespace chromiva;
using namespace chromiva::ui;
namespace control = acquisition::control;

class FaultWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void unpluggedSensorStopsTheRunAndIsTold() {
    // Detection takes about 320 requests; a recorded pass about ten more.
    setenv("WRENLINK_SIMULATOR", "spectrometer:disconnect=360", 1);
    setenv("WRENLINK_SIM_SPEED", "100", 1);
    acquisition::MemorySettingsStore store;
    data::Ctintrose_mfDoc document;
    CMainFrame frame(document, store, false);
    Ctintrose_mfView* view = frame.view();
    std::vector<std::string> messages;
    view->SetDialogAnswers([](const std::string&) { return true; },
                           [&messages](const std::string& text) { messages.push_back(text); });
    frame.SetSaveQuestion([](const QString&) { return CMainFrame::SaveAnswer::kDiscard; });
    frame.show();
    view->InitialUpdate();
    Click(*view, control::kDetect);
    QCOMPARE(document.sensorTable.sensorCount, 1);
    view->binding().SetControlChecked(control::kRecordMode, true);
    Click(*view, control::kRecordMode);
    Click(*view, control::kStartStop);
    QTRY_VERIFY_WITH_TIMEOUT(!view->binding().fields().measuring, 20000);
    QTRY_VERIFY(!view->binding().AcquisitionBusy());
    QVERIFY(document.recordCount[0] >= 1);
    QCOMPARE(messages.size(), std::size_t{1});
    const QString told = QString::fromStdString(messages.front());
    QVERIFY2(told.contains(QStringLiteral("センサー1 (SP000001)")), qPrintable(told));
    QVERIFY2(told.contains(QStringLiteral("の記録 %1 ").arg(document.recordCount[0] + 1)),
             qPrintable(told));
    QCOMPARE(qobject_cast<QAbstractButton*>(view->Control(control::kStartStop))->text(),
             QStringLiteral("開始"));
    QVERIFY(frame.close());
    CloseDevice(0);
  }

 private:
  static void Click(Ctintrose_mfView& view, int id) {
    auto* button = qobject_cast<QAbstractButton*>(view.Control(id));
    QVERIFY2(button && button->isEnabled(), qPrintable(QString::number(id)));
    button->click();
  }
};

QTEST_MAIN(FaultWindowTest)
#include "fault_window_test.moc"
