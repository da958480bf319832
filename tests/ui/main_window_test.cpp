// The real main window on simulated spectrometers: detection, one shot, a recorded run, the
// refused close during a pass, and saving and opening the data file.
#include <QAbstractButton>
#include <QLineEdit>
#include <QMimeData>
#include <QTemporaryDir>
#include <QtTest>
#include <cstdlib>

#include "chromiva/acquisition/control_ids.h"
#include "form_view.h"
#include "main_frame.h"
#include "wrenlink.h"

using namespace chromiva;
using namespace chromiva::ui;
namespace control = acquisition::control;

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    setenv("WRENLINK_SIMULATOR", "spectrometer,spectrometer", 1);
    setenv("WRENLINK_SIM_SPEED", "100", 1);
    frame_ = std::make_unique<CMainFrame>(document_, store_, false);
    view_ = frame_->view();
    view_->SetDialogAnswers([](const std::string&) { return true; },
                            [this](const std::string& message) { messages_.push_back(message); });
    frame_->SetSaveQuestion([](const QString&) { return CMainFrame::SaveAnswer::kDiscard; });
    view_->InitialUpdate();
    frame_->show();
    QVERIFY(QTest::qWaitForWindowExposed(frame_.get()));
    QTRY_COMPARE(view_->Graph()->FirstGuidance(),
                 std::string("センサーを接続して、検出ボタンを押してください"));
  }

  void cleanupTestCase() {
    frame_.reset();
    for (int index = 0; index < 10; ++index) CloseDevice(index);
  }

  void detectFindsBothSensors() {
    Click(control::kDetect);
    QVERIFY(view_->binding().fields().detected);
    QCOMPARE(document_.sensorTable.sensorCount, 2);
    QVERIFY(view_->Control(control::kStartStop)->isEnabled());
    QCOMPARE(Caption(control::kDetect), QStringLiteral("解除"));
    QVERIFY(!Edit(control::kExposure)->text().isEmpty());
    Screenshot("window-after-detection.png");
  }

  void oneShotCommitsOneRecord() {
    Click(control::kOneShot);
    QTRY_VERIFY_WITH_TIMEOUT(Idle() && document_.recordCount[0] == 1, 20000);
    QCOMPARE(Caption(control::kStartStop), QStringLiteral("開始"));
    QCOMPARE(Edit(control::kPosition)->text(), QStringLiteral("1 / 1"));
  }

  void recordedRunRefusesCloseDuringPass() {
    // Long passes: 2 s exposure (20 ms simulated) averaged 5 times per sensor.
    Type(control::kExposure, "2000");
    Type(control::kAverage, "5");
    Click(control::kRecordMode);
    QVERIFY(view_->binding().fields().recordMode);
    Click(control::kStartStop);
    QCOMPARE(Caption(control::kStartStop), QStringLiteral("停止"));
    QVERIFY(!view_->Control(control::kDetect)->isEnabled());
    QTRY_VERIFY_WITH_TIMEOUT(view_->binding().AcquisitionBusy(), 5000);
    QVERIFY(!frame_->close());
    QVERIFY(frame_->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(document_.recordCount[0] >= 3, 20000);
    Click(control::kStartStop);
    QTRY_VERIFY_WITH_TIMEOUT(Idle(), 20000);
    QCOMPARE(view_->Graph()->FirstGuidance(),
             std::string("露光時間、平均回数を設定して開始ボタンを押すことで計測を開始します"));
    QVERIFY(view_->Graph()->GraphDraws() > 3);
    Screenshot("window-after-measurement.png");
  }

  void saveAndOpenDataFile() {
    const int records = document_.recordCount[0];
    const QString path = folder_.filePath(QStringLiteral("run.cvdata"));
    QVERIFY(frame_->SaveDocumentAs(path));
    QCOMPARE(frame_->windowTitle(), QStringLiteral("chromiva - run.cvdata"));
    QVERIFY(frame_->NewDocument());
    QCOMPARE(document_.recordCount[0], 0);
    QCOMPARE(frame_->windowTitle(), QStringLiteral("chromiva - 無題"));
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(path)});
    // As the window system delivers a drop: enter, then drop, on the frame's window.
    QDragEnterEvent enter(QPoint(300, 300), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(frame_->windowHandle(), &enter);
    QDropEvent drop(QPointF(300, 300), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(frame_->windowHandle(), &drop);
    QCOMPARE(document_.recordCount[0], records);
    QCOMPARE(Edit(control::kRecordCount)->text(), QString::number(records));
    QCOMPARE(QString::fromStdString(frame_->RecentFiles().front()), path);
    QCOMPARE(store_.ReadText("Recent File List", "File1", ""), path.toStdString());
  }

  void refusedFileLeavesDocument() {
    const int records = document_.recordCount[0];
    const QString path = folder_.filePath(QStringLiteral("broken.cvdata"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("\x02\x00\x00\x00garbage", 11);
    file.close();
    messages_.clear();
    QVERIFY(!frame_->OpenDocument(path));
    QCOMPARE(messages_.size(), std::size_t{1});
    QVERIFY(QString::fromStdString(messages_[0])
                .startsWith(QStringLiteral("予期しないファイル形式です。\n")));
    QCOMPARE(document_.recordCount[0], records);
    QCOMPARE(frame_->windowTitle(), QStringLiteral("chromiva - run.cvdata"));
  }

 private:
  bool Idle() const {
    return !view_->binding().fields().measuring && !view_->binding().AcquisitionBusy();
  }
  void Click(int id) {
    auto* button = qobject_cast<QAbstractButton*>(view_->Control(id));
    QVERIFY(button && button->isEnabled());
    button->click();
  }
  QString Caption(int id) const {
    return qobject_cast<QAbstractButton*>(view_->Control(id))->text();
  }
  QLineEdit* Edit(int id) const { return qobject_cast<QLineEdit*>(view_->Control(id)); }
  void Type(int id, const char* text) {
    QLineEdit* edit = Edit(id);
    edit->selectAll();
    QTest::keyClicks(edit, QString::fromLatin1(text));
    QCOMPARE(edit->text(), QString::fromLatin1(text));
  }
  void Screenshot(const char* name) {
    QTest::qWait(250);  // the start-up drawing after a change
    QVERIFY(frame_->grab().save(QStringLiteral(CHROMIVA_SCREENSHOT_DIR "/") + name));
  }

  acquisition::MemorySettingsStore store_;
  data::Ctintrose_mfDoc document_;
  std::unique_ptr<CMainFrame> frame_;
  Ctintrose_mfView* view_ = nullptr;
  std::vector<std::string> messages_;
  QTemporaryDir folder_;
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
