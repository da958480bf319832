// The real main window on simulated spectrometers: detection, one shot, a recorded run, the
// refused close during a pass, the focus after them, fast passes painted once per screen
// refresh, browsing, the history and CSV dialogs, saving, New and opening the data file, the
// three measuring modes with their references, data clear, the dark sequence and the
// recording's journal at close.
#include <QAbstractButton>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QtTest>
#include <cstdlib>

#include "chromiva/acquisition/control_ids.h"
#include "chromiva/acquisition/exposure_limits.h"
#include "chromiva/data/journal.h"
#include "form_view.h"
#include "graph_canvas.h"
#include "graph_scene_form.h"
#include "main_frame.h"
#include "window_test_support.h"
#include "wrenlink.h"

using namespace chromiva;
using namespace chromiva::ui;
using namespace chromiva::ui::testing;
namespace control = acquisition::control;

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    setenv("WRENLINK_SIMULATOR", "spectrometer,spectrometer", 1);
    setenv("WRENLINK_SIM_SPEED", "100", 1);
    setenv("XDG_DATA_HOME", qPrintable(folder_.path()), 1);  // the journals go there
    frame_ = std::make_unique<CMainFrame>(document_, store_, false);
    view_ = frame_->view();
    view_->SetDialogAnswers(
        [this](const std::string& question) {
          questions_.push_back(question);
          return answer_;
        },
        [this](const std::string& message) { messages_.push_back(message); });
    view_->SetFileAnswer([this](const std::string&) { return chosenFile_; });
    frame_->SetSaveQuestion([this](const QString&) { return saveAnswer_; });
    view_->InitialUpdate();
    frame_->show();
    QVERIFY(QTest::qWaitForWindowExposed(frame_.get()));
    frame_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(frame_.get()));
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

  // A typed exposure the instrument cannot take is refused with the message, nothing started.
  void typedExposureOutsideTheLimitsIsRefused() {
    const QString shown = Edit(control::kExposure)->text();
    for (const char* typed : {"abc", "100000"}) {
      Type(control::kExposure, typed);
      messages_.clear();
      Click(control::kStartStop);
      QCOMPARE(messages_, std::vector<std::string>{acquisition::text::kExposureRefusal});
      QVERIFY(!view_->binding().fields().measuring);
    }
    Type(control::kExposure, qPrintable(shown));
  }

  // The focus stays on the button the user pressed; it is not handed to the exposure field.
  void oneShotCommitsOneRecord() {
    view_->Control(control::kOneShot)->setFocus(Qt::MouseFocusReason);
    Click(control::kOneShot);
    QTRY_VERIFY_WITH_TIMEOUT(Idle() && document_.recordCount[0] == 1, 20000);
    QCOMPARE(Caption(control::kStartStop), QStringLiteral("開始"));
    QCOMPARE(Edit(control::kPosition)->text(), QStringLiteral("1 / 1"));
    QTRY_VERIFY(view_->Control(control::kOneShot)->isEnabled());
    QCOMPARE(QApplication::focusWidget(), view_->Control(control::kOneShot));
    QVERIFY(!Edit(control::kExposure)->hasSelectedText());
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
    QVERIFY(
        frame_->statusBar()->currentMessage().startsWith(QStringLiteral("計測中は終了できません")));
    QTRY_VERIFY_WITH_TIMEOUT(document_.recordCount[0] >= 3, 20000);
    view_->Control(control::kStartStop)->setFocus(Qt::MouseFocusReason);
    Click(control::kStartStop);
    QTRY_VERIFY_WITH_TIMEOUT(Idle(), 20000);
    QTRY_VERIFY(view_->Control(control::kStartStop)->isEnabled());
    QCOMPARE(QApplication::focusWidget(), view_->Control(control::kStartStop));
    QCOMPARE(view_->Graph()->FirstGuidance(),
             std::string("露光時間、平均回数を設定して開始ボタンを押すことで計測を開始します"));
    QVERIFY(view_->Graph()->GraphDraws() > 3);
    Screenshot("window-after-measurement.png");
  }

  // Passes far faster than the screen refreshes: every pass is committed and the graph is
  // painted at most once per refresh. A pass that ends right after such a run, while its
  // painting waits for the next refresh, is on the screen once the measurement has stopped.
  void fastPassesArePaintedOncePerRefreshAndTheLastWins() {
    Type(control::kExposure, "1");
    Type(control::kAverage, "1");
    FormGraph& graph = *view_->Graph();
    const int draws = graph.GraphDraws();
    const int paints = graph.GraphPaints();
    const int records = document_.recordCount[0];
    QElapsedTimer clock;
    clock.start();
    Click(control::kStartStop);
    QTRY_VERIFY_WITH_TIMEOUT(document_.recordCount[0] >= records + 200, 20000);
    Click(control::kStartStop);
    QTRY_VERIFY_WITH_TIMEOUT(HandedBack(), 20000);
    const qint64 elapsedMs = clock.elapsed();
    QVERIFY(graph.GraphDraws() - draws >= document_.recordCount[0] - records);
    const double frameMs = 1000.0 / view_->screen()->refreshRate();
    QVERIFY2(
        graph.GraphPaints() - paints <= elapsedMs / frameMs + 2,
        qPrintable(
            QStringLiteral("%1 paints in %2 ms").arg(graph.GraphPaints() - paints).arg(elapsedMs)));

    const int recorded = document_.recordCount[0];
    Click(control::kRecordMode);  // off: one-shot is for the single-record mode
    Click(control::kOneShot);
    QTRY_VERIFY_WITH_TIMEOUT(HandedBack() && document_.recordCount[0] == recorded + 1, 20000);
    Click(control::kRecordMode);
    GraphCanvas fresh(graph.View()->Layout().clientHeight);
    fresh.DrawGraph(BuildGraphScene(view_->binding().logic()));
    const Rect plot = graph.View()->Layout().plotArea;
    const QRect area(plot.left, plot.top, plot.right - plot.left, plot.bottom - plot.top);
    QCOMPARE(graph.View()->FrameImage().copy(area), fresh.Image().copy(area));
    // As the tests below expect: the last record shown, the slower passes.
    Click(control::kNext);
    Type(control::kExposure, "2000");
    Type(control::kAverage, "5");
  }

  void backAndNextStopAtTheEnds() {
    const int records = document_.recordCount[0];
    QCOMPARE(view_->binding().fields().displayIndex, records - 1);
    const auto shows = [this, records](int shown) {
      return Edit(control::kPosition)->text() == QStringLiteral("%1 / %2").arg(shown).arg(records);
    };
    Click(control::kBack);
    Click(control::kBack);
    QVERIFY(shows(records - 2));
    Click(control::kNext);
    Click(control::kNext);
    QVERIFY(shows(records));
    Click(control::kNext);
    QVERIFY(shows(records));
    QCOMPARE(view_->binding().fields().displayIndex, records - 1);
  }

  void historyDialogShowsTheLog() {
    QString shown;
    QString title;
    const auto pending = WhenModal([&](QDialog& dialog) {
      title = dialog.windowTitle();
      shown = Find<QPlainTextEdit>(dialog, 1057)->toPlainText();
    });
    Click(control::kHistory);
    QCOMPARE(title, QStringLiteral("作業履歴（検出～計測、任意文字挿入可能）"));
    QVERIFY(shown.contains(QStringLiteral(",センサー検出 1:serial=")));
    QVERIFY(shown.contains(QStringLiteral(",計測開始 DataNo=")));
    QCOMPARE(view_->Graph()->FirstGuidance(), std::string("計測の履歴を表示します"));
  }

  void csvDialogOkWritesTheFile() {
    const QString path = folder_.filePath(QStringLiteral("records.csv"));
    chosenFile_ = path.toStdString();
    bool accepted = false;
    const auto pending = WhenModal([&](QDialog& dialog) {
      QCOMPARE(dialog.windowTitle(), QStringLiteral("CSVファイル保存"));
      QVERIFY(SaveScreenshot(*frame_, "window-with-csv-dialog.png", &dialog));
      QVERIFY(ClickIn(dialog, 1));
      accepted = !dialog.isVisible();
    });
    Click(control::kCsv);
    chosenFile_.reset();
    QVERIFY(accepted);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    // A line per wavelength (340 .. 850 nm in 10-nm steps) after the heading lines.
    QVERIFY2(lines.size() > 52, qPrintable(QString::number(lines.size())));
  }

  // New names the document "無題" and keeps what is shown: the detected sensors with the
  // form's detection state, and the records.
  void saveNewAndOpenDataFile() {
    const int records = document_.recordCount[0];
    const QString path = folder_.filePath(QStringLiteral("run.cvdata"));
    QVERIFY(frame_->SaveDocumentAs(path));
    QCOMPARE(frame_->windowTitle(), QStringLiteral("chromiva - run.cvdata"));
    QVERIFY(frame_->NewDocument());
    QCOMPARE(frame_->windowTitle(), QStringLiteral("chromiva - 無題"));
    QVERIFY(!document_.modified);
    QCOMPARE(document_.recordCount[0], records);
    QCOMPARE(document_.sensorTable.sensorCount, 2);
    QCOMPARE(Caption(control::kDetect), QStringLiteral("解除"));
    QCOMPARE(qobject_cast<QListWidget*>(view_->Control(control::kSensorList))->count(), 2);
    QVERIFY(view_->Control(control::kStartStop)->isEnabled());
    QCOMPARE(Edit(control::kPosition)->text(), QStringLiteral("%1 / %1").arg(records));
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

  // A one-shot in each mode, reflectance and transmittance after registering each sensor's
  // reference from the record on display: their ratio curves lie in the graph.
  void eachModeMeasuresAfterItsReference() {
    Type(control::kAverage, "1");
    Click(control::kRecordMode);  // one-shot is for the single-record mode
    // Short exposures keep the spectra inside the default graph limits.
    for (int sensor = 0; sensor < 2; ++sensor) {
      SelectSensor(sensor);
      Type(control::kExposure, "20");
    }
    struct Mode {
      int radio;
      int reference;
      const char* question;
      const char* screenshot;
    };
    const Mode modes[] = {
        {control::kLightSource, 0, nullptr, "window-light-source.png"},
        {control::kReflectance, control::kWhite, "白色板での測定値を登録しますか",
         "window-reflectance.png"},
        {control::kTransmittance, control::kTransmission, "透過１００％での測定値を登録しますか",
         "window-transmittance.png"},
    };
    for (const Mode& mode : modes) {
      Click(mode.radio);
      QTest::qWait(200);      // the redraw the mode change arms, before the measurement
      Click(control::kNext);  // the record the last one-shot committed
      for (int sensor = 0; mode.reference != 0 && sensor < 2; ++sensor) {
        SelectSensor(sensor);
        questions_.clear();
        Click(mode.reference);
        QCOMPARE(questions_, std::vector<std::string>{mode.question});
      }
      const int records = document_.recordCount[0];
      Click(control::kOneShot);
      QTRY_VERIFY_WITH_TIMEOUT(Idle() && document_.recordCount[0] == records + 1, 20000);
      Screenshot(mode.screenshot);
      const QImage graph = view_->Graph()->View()->FrameImage();
      // Measured curves are green, ratio curves blue, in one shade per sensor.
      QVERIFY(CountPixels(graph, [](QColor c) {
                return c.red() == 0 && c.blue() == 0 && c.green() > 150;
              }) > 300);
      QCOMPARE(CountPixels(graph,
                           [](QColor c) {
                             return c.red() == 60 && c.green() == 60 && c.blue() > 150;
                           }) > 300,
               mode.reference != 0);
    }
  }

  // Cancel keeps the records; OK clears them and names the document "無題".
  void dataClearAsksFirst() {
    const int records = document_.recordCount[0];
    QVERIFY(records > 0);
    for (bool answer : {false, true}) {
      answer_ = answer;
      questions_.clear();
      Click(control::kClear);
      QCOMPARE(questions_, std::vector<std::string>{"データを削除していいですか？"});
      QCOMPARE(document_.recordCount[0], answer ? 0 : records);
    }
    answer_ = true;
    QCOMPARE(Edit(control::kPosition)->text(), QStringLiteral("1 / 0"));
    QCOMPARE(Edit(control::kRecordCount)->text(), QStringLiteral("0"));
    QCOMPARE(frame_->windowTitle(), QStringLiteral("chromiva - 無題"));
    QVERIFY(frame_->DocumentPath().isEmpty());  // a save asks for a name: run.cvdata stays
    messages_.clear();
    Click(control::kClear);
    QCOMPARE(messages_, std::vector<std::string>{"削除するデータはありません"});
  }

  void darkSequenceAsksAndRegisters() {
    questions_.clear();
    Click(control::kDark);
    QVERIFY(view_->binding().fields().darkRunning);
    QVERIFY(!view_->Control(control::kStartStop)->isEnabled());
    QVERIFY(!view_->Control(control::kDetect)->isEnabled());
    QTRY_VERIFY_WITH_TIMEOUT(!view_->binding().fields().darkRunning, 30000);
    QCOMPARE(
        questions_,
        (std::vector<std::string>{
            "ティントローズを遮光してください。ダーク計測には３０秒かかります。よろしいですか?",
            "ダーク計測を終了しました。装置へ登録しますか?"}));
    QCOMPARE(view_->Graph()->FirstGuidance(),
             std::string("装置への登録を終了しました。計測が可能です"));
    QVERIFY(view_->Control(control::kStartStop)->isEnabled());
    QVERIFY(view_->Control(control::kDetect)->isEnabled());
    const data::SensorEntry& sensor = document_.Sensor(0);
    QVERIFY(sensor.darkTables[19][100] > sensor.darkTables[0][100]);
  }

  // A recording's journal ends with a save or a discard at close; a close whose save failed
  // puts the records into a recovery file, which ends the journal, and the window stays.
  void closeEndsTheJournalOnlyWhenTheRecordsAreKept() {
    const QString files = folder_.filePath(QStringLiteral("files"));
    QVERIFY(QDir().mkpath(files));
    QVERIFY(frame_->SaveDocumentAs(files + QStringLiteral("/last.cvdata")));
    const int records = document_.recordCount[0];
    Click(control::kOneShot);
    QTRY_VERIFY_WITH_TIMEOUT(Idle() && document_.recordCount[0] == records + 1, 20000);
    const std::filesystem::path journals = data::DefaultJournalFolder();
    QCOMPARE(data::ListJournals(journals).size(), std::size_t{1});
    QVERIFY(QDir(files).removeRecursively());  // the save at close fails
    saveAnswer_ = CMainFrame::SaveAnswer::kSave;
    messages_.clear();
    QVERIFY(!frame_->close());
    QVERIFY(frame_->isVisible());
    QCOMPARE(messages_.size(), std::size_t{1});
    const std::string told = "記録は次のファイルに保存しました: ";
    const std::size_t at = messages_[0].find(told);
    QVERIFY2(at != std::string::npos, messages_[0].c_str());
    const std::string recovery = messages_[0].substr(at + told.size());
    QVERIFY(std::filesystem::remove(recovery));
    QVERIFY(data::ListJournals(journals).empty());
    saveAnswer_ = CMainFrame::SaveAnswer::kDiscard;
    Click(control::kOneShot);
    QTRY_VERIFY_WITH_TIMEOUT(Idle() && document_.recordCount[0] == records + 2, 20000);
    QCOMPARE(data::ListJournals(journals).size(), std::size_t{1});
    QVERIFY(frame_->close());
    QVERIFY(data::ListJournals(journals).empty());
  }

 private:
  bool Idle() const {
    return !view_->binding().fields().measuring && !view_->binding().AcquisitionBusy();
  }
  // Idle, and the last pass has been handed back to the window, not only measured.
  bool HandedBack() const {
    return Idle() && view_->binding().Status().acquisition == acquisition::AcquisitionState::kIdle;
  }
  void Click(int id) {
    auto* button = qobject_cast<QAbstractButton*>(view_->Control(id));
    QVERIFY2(button && button->isEnabled(), qPrintable(QString::number(id)));
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
    QVERIFY(SaveScreenshot(*frame_, name));
  }
  void SelectSensor(int row) {
    qobject_cast<QListWidget*>(view_->Control(control::kSensorList))->setCurrentRow(row);
    QCOMPARE(view_->binding().fields().selectedSensor, row);
  }
  static int CountPixels(const QImage& image, bool (*matches)(QColor)) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) count += matches(image.pixelColor(x, y)) ? 1 : 0;
    }
    return count;
  }

  acquisition::MemorySettingsStore store_;
  data::Ctintrose_mfDoc document_;
  std::unique_ptr<CMainFrame> frame_;
  Ctintrose_mfView* view_ = nullptr;
  std::vector<std::string> messages_;
  std::vector<std::string> questions_;
  bool answer_ = true;
  CMainFrame::SaveAnswer saveAnswer_ = CMainFrame::SaveAnswer::kDiscard;
  std::optional<std::string> chosenFile_;
  QTemporaryDir folder_;
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
