// The measurement cycle: passes on simulated instruments, commits, one-shot, stop, the interval
// schedule and the elapsed-time lines on a hand-driven clock.
#include <cstring>
#include <fstream>
#include <sstream>

#include "chromiva/acquisition/document_session.h"
#include "chromiva/acquisition/exposure_limits.h"
#include "chromiva/acquisition/history.h"
#include "chromiva/data/text_codec.h"
#include "simulator_fixture.h"
#include "trace_reader.h"

namespace chromiva::acquisition::testing {
namespace {

using Measurement = SimulatorTest;

TEST_F(Measurement, AveragedRawValueIsTheSinglePrecisionMeanOfTheFrames) {
  std::string trace = ::testing::TempDir() + "chromiva_average_trace.txt";
  std::remove(trace.c_str());
  DetectWith("kind9,spectrometer:exposure=1000");
  setenv("WRENLINK_TRACE", trace.c_str(), 1);
  form->SetControlText(control::kAverage, "4");
  form->SetControlText(control::kExposure, "1");
  MeasurePasses(1);
  unsetenv("WRENLINK_TRACE");
  auto frames = TracedFrames(ReadTrace(trace), 1);
  ASSERT_EQ(frames.size(), 4u);
  const auto& raw = document.Record(0, 0).spectra->rawSpectrum;
  for (int p : {0, 100, 287}) {
    float sum = 0.0F;
    for (const auto& frame : frames) sum += frame[p];
    EXPECT_EQ(raw[p], sum / 4.0F) << "pixel " << p;
  }
  EXPECT_EQ(document.Record(0, 0).recordExposureUs, 1000);
  EXPECT_NEAR(document.Record(0, 0).recordTemperature, 25.0F, 1.0F);
}

TEST_F(Measurement, TwoSensorsAreReadOneAfterTheOther) {
  std::string trace = ::testing::TempDir() + "chromiva_order_trace.txt";
  std::remove(trace.c_str());
  DetectWith("spectrometer:exposure=1000,spectrometer:exposure=2000");
  setenv("WRENLINK_TRACE", trace.c_str(), 1);
  form->SetControlText(control::kAverage, "2");
  MeasurePasses(1);
  unsetenv("WRENLINK_TRACE");
  std::ifstream in(trace);
  std::string line, order;
  while (std::getline(in, line)) {
    if (line.rfind("IN ", 0) == 0 && line.find(" 576 ") != std::string::npos) order += line[3];
  }
  EXPECT_EQ(order, "0011");
  EXPECT_EQ(document.Record(0, 0).recordExposureUs, 1000);
  EXPECT_EQ(document.Record(1, 0).recordExposureUs, 2000);
  EXPECT_NE(document.Record(1, 0).recordTemperature, 0.0F);
}

TEST_F(Measurement, RecordingCommitsEveryPassAndStampsItsTime) {
  DetectWith("spectrometer:exposure=1000,spectrometer:exposure=1000");
  form->SetControlChecked(control::kRecordMode, true);
  form->OnControlClicked(control::kRecordMode);
  MeasurePasses(3);
  EXPECT_EQ(document.recordCount[0], 3);
  EXPECT_EQ(document.recordCount[1], 3);
  EXPECT_EQ(document.RecordTime(2), port.now);
  EXPECT_EQ(form->fields().displayIndex, 2);
  EXPECT_EQ(form->controls().Text(control::kRecordCount), "3");
  EXPECT_EQ(form->controls().Text(control::kPosition), "3 / 3");
  EXPECT_EQ(form->controls().Text(control::kStartStop), "開始");
  EXPECT_TRUE(form->controls().Enabled(control::kStartStop));
  EXPECT_TRUE(document.modified);
}

TEST_F(Measurement, APassThatLandsAfterTheStopShowsInThePosition) {
  DetectWith("spectrometer:exposure=1000");
  form->SetControlChecked(control::kRecordMode, true);
  form->OnControlClicked(control::kRecordMode);
  form->OnControlClicked(control::kStartStop);
  ASSERT_TRUE(port.FireNext(*form));            // the first pass runs
  form->OnControlClicked(control::kStartStop);  // stopped while it runs: it still lands
  port.RunTimers(*form);
  EXPECT_EQ(document.recordCount[0], 1);
  EXPECT_EQ(form->controls().Text(control::kPosition), "1 / 1");
}

TEST_F(Measurement, CommittedPassesGoToTheJournalAndADataClearEndsItAndTheFile) {
  const auto folder = std::filesystem::path(::testing::TempDir()) / "chromiva_journal_hook";
  std::filesystem::remove_all(folder);
  DocumentSession session(document, folder);
  form->SetSession(&session);
  DetectWith("spectrometer:exposure=1000,spectrometer:exposure=1000");
  form->SetControlChecked(control::kRecordMode, true);
  form->OnControlClicked(control::kRecordMode);
  MeasurePasses(3);
  const std::filesystem::path path = session.journal().path();
  ASSERT_FALSE(path.empty()) << session.journal().error();
  // The running journal is locked against readers: recover a copy.
  std::filesystem::copy_file(path, folder / "copy.cvjournal");
  data::Ctintrose_mfDoc recovered;
  ASSERT_TRUE(data::RecoverJournal(folder / "copy.cvjournal", recovered).result.ok());
  EXPECT_EQ(recovered.recordCount[1], 3);
  ASSERT_TRUE(session.SaveAs(folder / "run.cvdata").ok());
  EXPECT_FALSE(std::filesystem::exists(path));  // saved: the journal is done with
  MeasurePasses(1);
  const std::filesystem::path next = session.journal().path();
  port.answers = {true};
  form->OnControlClicked(control::kClear);
  EXPECT_FALSE(std::filesystem::exists(next));
  // Cleared, the document is untitled and has no file: a save cannot overwrite run.cvdata.
  EXPECT_EQ(document.title, data::kUntitledTitle);
  EXPECT_TRUE(session.path().empty());
  std::filesystem::remove_all(folder);
}

TEST_F(Measurement, WithoutRecordingPassesOverwriteTheWorkingSlot) {
  DetectWith("spectrometer:exposure=1000");
  MeasurePasses(2);
  EXPECT_EQ(document.recordCount[0], 0);
  EXPECT_NE(document.Record(0, 0).spectra, nullptr);
  // One-shot during a measurement commits exactly the next finished pass.
  const int drawsBefore = port.graphDraws;
  form->OnControlClicked(control::kStartStop);
  form->OnControlClicked(control::kOneShot);
  while (port.graphDraws - drawsBefore < 3) {
    ASSERT_TRUE(port.FireNext(*form));
    port.Settle(*form);
  }
  form->OnControlClicked(control::kStartStop);
  port.RunTimers(*form);
  EXPECT_EQ(document.recordCount[0], 1);
}

TEST_F(Measurement, OneShotWhileIdleRunsOnePassAndStops) {
  DetectWith("spectrometer:exposure=1000");
  form->OnControlClicked(control::kOneShot);
  EXPECT_FALSE(form->controls().Enabled(control::kStartStop));
  EXPECT_FALSE(form->controls().Enabled(control::kOneShot));
  port.RunTimers(*form);
  EXPECT_EQ(document.recordCount[0], 1);
  EXPECT_FALSE(form->fields().measuring);
  EXPECT_EQ(form->controls().Text(control::kStartStop), "開始");
  EXPECT_TRUE(form->controls().Enabled(control::kStartStop));
  EXPECT_TRUE(form->controls().Enabled(control::kOneShot));
  const std::string log = data::DisplayText(document.operationLog);
  EXPECT_EQ(log.find("計測開始"), log.rfind("計測開始"));
  EXPECT_NE(log.find("計測終了 DataNo=0\r\n"), std::string::npos);
}

TEST_F(Measurement, StopDuringAPassStillCommitsIt) {
  DetectWith("spectrometer:exposure=1000");
  form->SetControlChecked(control::kRecordMode, true);
  form->OnControlClicked(control::kRecordMode);
  form->OnControlClicked(control::kStartStop);
  ASSERT_TRUE(port.FireNext(*form));            // launches the pass
  form->OnControlClicked(control::kStartStop);  // stop while it runs
  EXPECT_FALSE(form->controls().Enabled(control::kStartStop));
  port.RunTimers(*form);
  EXPECT_EQ(document.recordCount[0], 1);
  EXPECT_TRUE(form->controls().Enabled(control::kStartStop));
}

TEST_F(Measurement, AveragingBelowOneIsRefusedBeforeAnythingStarts) {
  DetectWith("spectrometer");
  form->SetControlText(control::kAverage, "0");
  form->OnControlClicked(control::kStartStop);
  EXPECT_FALSE(form->fields().measuring);
  EXPECT_EQ(port.okMessages.back(), text::kAverageRefusal);
  EXPECT_TRUE(port.timers.empty());
  form->SetControlText(control::kAverage, "abc");
  form->OnControlClicked(control::kOneShot);
  EXPECT_FALSE(form->fields().oneShotPending);
  EXPECT_TRUE(port.timers.empty());
}

// An exposure the instruments cannot take is refused with the limits' message, nothing sent.
TEST_F(Measurement, ATypedExposureOutsideTheLimitsIsRefused) {
  DetectWith("spectrometer");
  const int32_t before = document.Sensor(0).exposureUs;
  for (const char* typed : {"abc", "100000", "", "-1", "9501"}) {
    form->SetControlText(control::kExposure, typed);
    form->OnControlClicked(control::kStartStop);
    EXPECT_FALSE(form->fields().measuring) << typed;
    EXPECT_EQ(port.okMessages.back(), text::kExposureRefusal) << typed;
    EXPECT_EQ(document.Sensor(0).exposureUs, before) << typed;
  }
  form->SetControlText(control::kExposure, " 9500 ");
  form->OnControlClicked(control::kStartStop);
  EXPECT_TRUE(form->fields().measuring);
  EXPECT_EQ(document.Sensor(0).exposureUs, 9500000);
}

TEST_F(Measurement, StartLogLineCarriesDataNumberAndSensors) {
  DetectWith("spectrometer:serial=AB123456:exposure=20000,spectrometer:serial=CD654321");
  EXPECT_NE(data::DisplayText(document.operationLog)
                .find("センサー検出 1:serial=AB123456 exp=20  2:serial=CD654321 exp=100  \r\n"),
            std::string::npos);
  for (int r = 0; r < 4; ++r) document.EnsureSpectra(0, r);
  document.recordCount[0] = 4;
  form->OnControlClicked(control::kWaveComp);
  form->SetControlText(control::kExposure, "35");
  form->OnControlClicked(control::kStartStop);
  EXPECT_NE(
      data::DisplayText(document.operationLog)
          .find("計測開始 DataNo=3 wave comp=1 1:serial=AB123456 exp=352:serial=CD654321 exp=100"
                "\r\n"),
      std::string::npos);
  form->OnControlClicked(control::kStartStop);
  port.RunTimers(*form);
}

TEST_F(Measurement, TheCommitLimitLeavesTheLastSlotAsWorkingSlot) {
  DetectWith("spectrometer:exposure=1000");
  document.recordCount[0] = data::kMaxCommittedRecords - 1;
  form->SetControlChecked(control::kRecordMode, true);
  form->OnControlClicked(control::kRecordMode);
  MeasurePasses(2);  // the second pass still measures into slot 86 399
  EXPECT_EQ(document.recordCount[0], 86399);
  EXPECT_NE(document.Record(0, 86399).spectra, nullptr);
}

// The schedule on a hand-driven clock, with passes that take as long as the test says.
class Schedule : public SimulatorTest {
 protected:
  void SetUp() override {
    SimulatorTest::SetUp();
    DetectWith("spectrometer");
    form->SetWorkerLauncher(std::make_unique<ScriptedLauncher>([this](std::function<void()> work) {
      launches.push_back(port.tick - startTick);
      pass = std::move(work);
    }));
  }

  // Runs until `count` passes have started and the last of them has been handled; every pass
  // lasts `passMs` on the hand-driven clock.
  void Run(int passMs, std::size_t count) {
    startTick = port.tick;
    form->OnControlClicked(control::kStartStop);
    std::uint32_t passEnd = 0;
    while (launches.size() < count || form->Status().acquisition != AcquisitionState::kIdle) {
      if (form->Status().acquisition == AcquisitionState::kRunning &&
          port.timers.count(timer::kMeasure) && port.timers.DueTick(timer::kMeasure) >= passEnd) {
        port.tick = std::max(port.tick, passEnd);
        pass();  // the pass itself, run when it is to end on the clock
      }
      std::size_t before = launches.size();
      ASSERT_TRUE(port.FireNext(*form));
      if (launches.size() > before) passEnd = port.tick + static_cast<std::uint32_t>(passMs);
    }
  }

  std::vector<std::uint32_t> launches;
  std::function<void()> pass;
  std::uint32_t startTick = 0;
};

// The worker wakes the window thread as its pass ends, and the next pass starts at once; the
// ten-millisecond cadence, kept as a baseline, looks every 10 ms and waits 10 ms between passes.
TEST_F(Schedule, WithoutIntervalEachPassFollowsThePreviousAtOnce) {
  Run(300, 3);
  EXPECT_EQ(launches, (std::vector<std::uint32_t>{10, 310, 610}));
}

TEST_F(Schedule, TenMsCadenceStartsEachPass10MsAfterThePrevious) {
  form->SetCadence(Cadence::kTenMsSteps);
  Run(300, 3);
  EXPECT_EQ(launches, (std::vector<std::uint32_t>{10, 320, 630}));
}

TEST_F(Schedule, IntervalPassesAreAnchoredAtTheStart) {
  form->OnControlClicked(control::kIntervalMode);
  form->SetControlText(control::kInterval, "1000");
  Run(300, 4);
  EXPECT_EQ(launches, (std::vector<std::uint32_t>{10, 1010, 2010, 3010}));
}

// A wake-up that comes after its pass was taken neither starts a pass nor moves the schedule.
TEST_F(Schedule, ALateWakeChangesNothing) {
  form->OnControlClicked(control::kIntervalMode);
  form->SetControlText(control::kInterval, "1000");
  Run(300, 2);
  form->OnWorkerWake(timer::kMeasure);
  EXPECT_EQ(launches.size(), 2u);
  EXPECT_EQ(port.timers.DueTick(timer::kMeasure), startTick + 2010);
}

TEST_F(Schedule, LongPassesRunBackToBackAndTheScheduleIsNeverReset) {
  form->OnControlClicked(control::kIntervalMode);
  form->SetControlText(control::kInterval, "1000");
  Run(1500, 4);
  EXPECT_EQ(launches, (std::vector<std::uint32_t>{10, 1520, 3030, 4540}));
}

TEST_F(Schedule, ElapsedSecondsAreShownOncePerWholeSecond) {
  Run(2500, 1);
  std::vector<std::string> lines;
  for (const auto& m : port.messages) {
    if (m.rfind("計測中", 0) == 0) lines.push_back(m);
  }
  EXPECT_EQ(lines,
            (std::vector<std::string>{"計測中　経過時間  1 sec", "計測中　経過時間  2 sec"}));
}

TEST_F(Schedule, AShortPassShowsNoElapsedLine) {
  Run(900, 2);
  for (const auto& m : port.messages) EXPECT_NE(m.rfind("計測中", 0), 0u) << m;
}

}  // namespace
}  // namespace chromiva::acquisition::testing
