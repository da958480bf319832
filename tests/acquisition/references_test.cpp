// Reference captures: the dark sequence on a hand-driven clock and on sped-up instruments, the
// white and 100 % transmission registrations and the sky background.
#include <cmath>
#include <cstring>
#include <fstream>
#include <sstream>

#include "chromiva/data/text_codec.h"
#include "simulator_fixture.h"
#include "trace_reader.h"

namespace chromiva::acquisition::testing {
namespace {

constexpr const char* kShadeQuestion =
    "ティントローズを遮光してください。ダーク計測には３０秒かかります。よろしいですか?";
constexpr const char* kRegisterQuestion = "ダーク計測を終了しました。装置へ登録しますか?";
constexpr const char* kDone = "装置への登録を終了しました。計測が可能です";

double DeviceExposure(int index) {
  double exposure = -1.0;
  GetDeviceExposure(index, &exposure);
  return exposure;
}

// Table writes (64-byte requests with the command letter) a device received: element, value.
std::vector<std::pair<int, float>> TracedTableWrites(const std::vector<TraceLine>& trace,
                                                     int device, unsigned char letter) {
  std::vector<std::pair<int, float>> writes;
  for (const TraceLine& line : trace) {
    if (line.direction != "OUT" || line.device != device || line.bytes.size() != 64) continue;
    if (line.bytes[0] != letter) continue;
    float value = 0.0F;
    std::memcpy(&value, &line.bytes[4], 4);
    writes.emplace_back(line.bytes[2] | (line.bytes[3] << 8), value);
  }
  return writes;
}

bool Contains(const std::vector<std::string>& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// The dark sequence with its workers run by hand on the test thread, on a hand-driven clock.
class DarkSequence : public SimulatorTest {
 protected:
  void SetUp() override {
    SimulatorTest::SetUp();
    form->SetWorkerLauncher(std::make_unique<ScriptedLauncher>([this](std::function<void()> work) {
      launches.emplace_back(form->Status().darkStep == DarkStep::kBlankFrame ? kBlank : kDark,
                            port.tick);
      worker = std::move(work);
    }));
  }

  // Fires dark-timer events until `ms` have passed on the clock since the last worker start.
  void WaitOnClock(std::uint32_t ms) {
    while (port.tick - launches.back().second < ms) ASSERT_TRUE(port.FireNext(*form));
  }

  // Runs the sequence up to the finish event, with steps 0 and 19 of every pixel of sensor 0
  // replaced by the given values once they have been measured.
  void RunToFinish(float step0, float step19) {
    port.answers.push_back(true);
    form->OnControlClicked(control::kDark);
    ASSERT_TRUE(port.FireNext(*form));  // step 0
    ASSERT_TRUE(port.FireNext(*form));  // step 1: short frames, blank worker starts
    document.Sensor(0).darkTables[0].fill(step0);
    worker();
    ASSERT_TRUE(port.FireNext(*form));  // step 3: dark worker starts
    worker();
    Writable(*form).accumulator[0].fill(step19);
    ASSERT_TRUE(port.FireNext(*form));  // step 5: the finish timer is armed
    ASSERT_EQ(port.timers.count(timer::kDarkFinish), 1u);
  }

  enum LongFrame { kBlank, kDark };
  std::vector<std::pair<LongFrame, std::uint32_t>> launches;
  std::function<void()> worker;  // the long frame launched last
};

TEST_F(DarkSequence, StepsLieOnTheLineAndGiveTheDarkOfAnyExposure) {
  DetectWith("spectrometer:serial=DARKLINE:light=off");
  RunToFinish(100.0F, 290.0F);
  Writable(*form).accumulator[0][7] = 50.0F;  // step 19 below step 0 at one pixel
  port.answers.push_back(false);
  ASSERT_TRUE(port.FireNext(*form));
  const auto& dark = document.Sensor(0).darkTables;
  EXPECT_FLOAT_EQ(dark[1][5], 110.0F);
  EXPECT_FLOAT_EQ(dark[10][5], 200.0F);
  EXPECT_FLOAT_EQ(dark[19][5], 290.0F);
  EXPECT_FLOAT_EQ(dark[20][5], 300.0F);
  EXPECT_FLOAT_EQ(form->processing().dark[0].darkSlope[5], 190.0F);
  EXPECT_FLOAT_EQ(form->processing().dark[0].darkSlope[7], 0.0F);

  auto& spectra = document.EnsureSpectra(0, 0);
  spectra.rawSpectrum.fill(150.0F);
  document.Record(0, 0).recordExposureUs = 100000;
  data::ProcessingState state = form->processing();  // the form's dark model
  ASSERT_TRUE(data::CorrectRecord(document, state, 0, 0));
  EXPECT_FLOAT_EQ(document.Sensor(0).darkTables[20][5], 102.0F);
  EXPECT_FLOAT_EQ(spectra.processedSpectrum[5], 48.0F);
  EXPECT_FLOAT_EQ(spectra.processedSpectrum[7], 50.0F);  // only the step-0 dark
}

TEST_F(DarkSequence, TimerStepsMessagesAndControlStates) {
  DetectWith("spectrometer:serial=DARKSTEP:light=off");
  port.messages.clear();
  port.answers.push_back(true);
  form->OnControlClicked(control::kDark);
  EXPECT_EQ(port.questions, std::vector<std::string>{kShadeQuestion});
  EXPECT_EQ(DeviceExposure(0), 265.0);
  EXPECT_TRUE(form->fields().measuring);
  EXPECT_TRUE(form->fields().darkRunning);
  const ControlTable& controls = form->controls();
  for (int id :
       {control::kStartStop, control::kDetect, control::kDark, control::kOneShot, control::kClear,
        control::kBack, control::kNext, control::kSkyBgd, control::kCsv}) {
    EXPECT_FALSE(controls.Enabled(id)) << id;
  }
  EXPECT_EQ(controls.Text(control::kStartStop), "開始");
  EXPECT_EQ(port.armings.back(), std::make_pair(timer::kDark, 10u));

  ASSERT_TRUE(port.FireNext(*form));
  EXPECT_EQ(form->Status().darkStep, DarkStep::kShortFrames);
  EXPECT_TRUE(launches.empty());
  ASSERT_TRUE(port.FireNext(*form));
  EXPECT_EQ(form->Status().darkStep, DarkStep::kBlankFrame);
  ASSERT_EQ(launches.size(), 1u);
  EXPECT_EQ(launches[0].first, kBlank);
  EXPECT_EQ(DeviceExposure(0), 9500000.0);
  WaitOnClock(2500);
  worker();
  port.DeliverForwarded();
  ASSERT_TRUE(port.FireNext(*form));  // step 3
  ASSERT_EQ(launches.size(), 2u);
  EXPECT_EQ(launches[1].first, kDark);
  EXPECT_EQ(form->Status().darkStep, DarkStep::kDarkFrame);
  WaitOnClock(1500);
  worker();
  port.DeliverForwarded();
  EXPECT_FALSE(form->Status().busy);
  ASSERT_TRUE(port.FireNext(*form));  // step 5
  EXPECT_EQ(port.armings.back(), std::make_pair(timer::kDarkFinish, 1000u));
  EXPECT_TRUE(form->fields().measuring);
  port.answers.push_back(true);
  ASSERT_TRUE(port.FireNext(*form));
  EXPECT_FALSE(port.FireNext(*form));  // nothing left armed

  EXPECT_EQ(port.messages, (std::vector<std::string>{
                               "空計測中　経過時間  1 sec",
                               "空計測中　経過時間  2 sec",
                               "空の１０秒計測を実施します",
                               "空の１０秒計測を実施しました",
                               "ダーク計測中　経過時間  1 sec",
                               "ダークの１０秒計測を実施します",
                               "ダークの１０秒計測を終了しました",
                               "ダーク登録中",
                               kDone,
                           }));
  EXPECT_EQ(port.questions.back(), kRegisterQuestion);
  EXPECT_FALSE(form->fields().measuring);
  EXPECT_FALSE(form->fields().darkRunning);
  for (int id : {control::kStartStop, control::kDetect, control::kDark, control::kOneShot,
                 control::kClear, control::kSkyBgd}) {
    EXPECT_TRUE(controls.Enabled(id)) << id;
  }
  EXPECT_EQ(document.recordCount[0], 0);  // no record is committed
  EXPECT_TRUE(port.okMessages.empty());
}

TEST_F(DarkSequence, RecordsPresentRefuseBeforeAsking) {
  DetectWith("spectrometer:serial=DARKREFU");
  document.EnsureSpectra(0, 0);
  document.recordCount[0] = 1;
  const double exposure = DeviceExposure(0);
  form->OnControlClicked(control::kDark);
  EXPECT_EQ(port.okMessages,
            std::vector<std::string>{
                "ダーク計測をすると以前のデータが変わってしまいます。先にデータを保存し、"
                "データクリアをしてください"});
  EXPECT_TRUE(port.questions.empty());
  EXPECT_FALSE(form->fields().measuring);
  EXPECT_TRUE(port.timers.empty());
  EXPECT_EQ(DeviceExposure(0), exposure);
}

TEST_F(DarkSequence, CancelAtTheShadingQuestionChangesNothing) {
  DetectWith("spectrometer:serial=DARKCAN1");
  const double exposure = DeviceExposure(0);
  form->OnControlClicked(control::kDark);
  EXPECT_EQ(port.questions, std::vector<std::string>{kShadeQuestion});
  EXPECT_FALSE(form->fields().measuring);
  EXPECT_FALSE(form->fields().darkRunning);
  EXPECT_TRUE(port.timers.empty());
  EXPECT_EQ(DeviceExposure(0), exposure);
  EXPECT_TRUE(form->controls().Enabled(control::kStartStop));
}

TEST_F(DarkSequence, CancelAtRegistrationKeepsTheStepsInTheProgramOnly) {
  DetectWith("spectrometer:serial=DARKCAN2:light=off");
  const data::PixelArray factoryStep0 = document.Sensor(0).darkTables[0];
  RunToFinish(111.0F, 999.0F);
  port.answers.push_back(false);
  ASSERT_TRUE(port.FireNext(*form));
  EXPECT_EQ(port.messages.back(), kDone);
  EXPECT_FALSE(Contains(port.messages, "ダーク登録中"));
  EXPECT_FLOAT_EQ(document.Sensor(0).darkTables[0][0], 111.0F);
  EXPECT_FLOAT_EQ(form->processing().dark[0].darkOffset[0], 111.0F);
  form->OnControlClicked(control::kDetect);  // release
  form->OnControlClicked(control::kDetect);  // the instrument still holds its own tables
  EXPECT_EQ(document.Sensor(0).darkTables[0], factoryStep0);
}

TEST_F(DarkSequence, RegistrationWritesEveryStepToTheInstrument) {
  DetectWith("spectrometer:serial=DARKOK01:light=off");
  RunToFinish(111.0F, 999.0F);
  port.answers.push_back(true);
  ASSERT_TRUE(port.FireNext(*form));
  const auto measured = document.Sensor(0).darkTables;
  form->OnControlClicked(control::kDetect);
  form->OnControlClicked(control::kDetect);
  EXPECT_EQ(document.Sensor(0).darkTables, measured);
  EXPECT_FLOAT_EQ(document.Sensor(0).darkTables[12][3], 111.0F + 888.0F * 12.0F / 19.0F);
}

// The whole sequence on two shaded, sped-up instruments with its workers on their threads.
TEST_F(DarkSequence, TwoSensorsEachGetTheirOwnStepsFromRealWorkers) {
  const std::string trace = ::testing::TempDir() + "chromiva_dark_trace.txt";
  std::remove(trace.c_str());
  DetectWith("spectrometer:serial=DARKTWO1:light=off,spectrometer:serial=DARKTWO2:light=off");
  form->SetWorkerLauncher(nullptr);
  setenv("WRENLINK_TRACE", trace.c_str(), 1);
  port.answers = {true, false};
  form->OnControlClicked(control::kDark);
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (form->fields().darkRunning && std::chrono::steady_clock::now() < deadline) {
    ASSERT_TRUE(port.FireNext(*form));
    port.DeliverForwarded();
    if (form->Status().darkStep == DarkStep::kBlankFrame ||
        form->Status().darkStep == DarkStep::kDarkFrame) {
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
  }
  unsetenv("WRENLINK_TRACE");
  ASSERT_FALSE(form->fields().darkRunning);
  const auto lines = ReadTrace(trace);
  for (int k = 0; k < 2; ++k) {
    const auto frames = TracedFrames(lines, k);
    ASSERT_EQ(frames.size(), 5u) << "sensor " << k;  // 1 unused, 2 short, blank, dark
    const auto& dark = document.Sensor(k).darkTables;
    for (int p : {0, 143, 287}) {
      EXPECT_EQ(dark[0][p], (frames[1][p] + frames[2][p]) / 2.0F) << k << " pixel " << p;
      EXPECT_EQ(dark[19][p], frames[4][p]) << k << " pixel " << p;
    }
    EXPECT_GT(dark[19][100] - dark[0][100], 150.0F);  // the dark rises at 9.5 s
  }
  EXPECT_NE(document.Sensor(0).darkTables[0], document.Sensor(1).darkTables[0]);
  const std::vector<std::string> workerLines = {
      "空の１０秒計測を実施します", "空の１０秒計測を実施しました",
      "ダークの１０秒計測を実施します", "ダークの１０秒計測を終了しました"};
  std::vector<std::string> seen;
  for (const auto& m : port.messages) {
    if (Contains(workerLines, m)) seen.push_back(m);
  }
  EXPECT_EQ(seen, workerLines);
  EXPECT_EQ(port.messages.back(), kDone);
}

TEST_F(DarkSequence, DarkResetAsksAndChangesNothing) {
  DetectWith("spectrometer:serial=DARKRSET");
  const auto tables = document.Sensor(0).darkTables;
  port.answers.push_back(true);
  form->OnControlClicked(control::kDarkReset);
  EXPECT_EQ(port.messages.back(),
            "光のないときのデータ（ダーク）を登録します。 | "
            "選択したセンサー、現在表示データを登録します。");
  EXPECT_EQ(port.questions, std::vector<std::string>{"光のない測定値（ダーク）を登録しますか"});
  EXPECT_EQ(document.Sensor(0).darkTables, tables);
  EXPECT_TRUE(port.timers.empty());
}

class References : public SimulatorTest {
 protected:
  // Four recorded passes at 50 ms, so that record 3 exists.
  void MeasureFourRecords(const char* list) {
    DetectWith(list);
    form->SetControlText(control::kExposure, "50");
    form->SetControlChecked(control::kRecordMode, true);
    form->OnControlClicked(control::kRecordMode);
    MeasurePasses(4);
    ASSERT_EQ(document.recordCount[0], 4);
  }
};

TEST_F(References, WhiteTakesTheDisplayedRecordAndItsExposure) {
  MeasureFourRecords("spectrometer:serial=WHITE001");
  const std::string trace = ::testing::TempDir() + "chromiva_white_trace.txt";
  std::remove(trace.c_str());
  form->OnControlClicked(control::kReflectance);
  Writable(*form).displayIndex = 3;
  const data::PixelArray record3 = document.Record(0, 3).spectra->processedSpectrum;
  port.answers.push_back(true);
  setenv("WRENLINK_TRACE", trace.c_str(), 1);
  form->OnControlClicked(control::kWhite);
  unsetenv("WRENLINK_TRACE");
  EXPECT_EQ(port.messages.back(),
            "反射率測定のための白色板での測定値を登録します。 | "
            "選択したセンサー、現在表示データを登録します。");
  EXPECT_EQ(port.questions.back(), "白色板での測定値を登録しますか");
  const auto& white = document.Sensor(0).whiteTable;
  EXPECT_TRUE(std::equal(record3.begin(), record3.end(), white.begin()));
  EXPECT_EQ(white[288], 50000.0F);
  const auto writes = TracedTableWrites(ReadTrace(trace), 0, 'w');
  ASSERT_EQ(writes.size(), 290u);
  EXPECT_EQ(writes[100], std::make_pair(100, record3[100]));
  EXPECT_EQ(writes[288], std::make_pair(288, 50000.0F));
  EXPECT_EQ(writes[289], std::make_pair(289, 0.0F));
  EXPECT_TRUE(port.okMessages.empty());
}

TEST_F(References, TransmissionGoesToItsOwnTable) {
  MeasureFourRecords("spectrometer:serial=TRANS001");
  const auto white = document.Sensor(0).whiteTable;
  form->OnControlClicked(control::kTransmittance);
  Writable(*form).displayIndex = 1;
  port.answers.push_back(true);
  form->OnControlClicked(control::kTransmission);
  EXPECT_EQ(port.questions.back(), "透過１００％での測定値を登録しますか");
  EXPECT_EQ(document.Sensor(0).transmissionTable[10],
            document.Record(0, 1).spectra->processedSpectrum[10]);
  EXPECT_EQ(document.Sensor(0).whiteTable, white);
  const auto written = document.Sensor(0).transmissionTable;
  form->OnControlClicked(
      control::kDetect);  // release; the records are cleared by the next detection
  port.answers.push_back(true);
  form->OnControlClicked(control::kDetect);
  EXPECT_EQ(document.Sensor(0).transmissionTable, written);
}

TEST_F(References, RegistrationWithoutASpectrumOrAfterCancelLeavesTheTable) {
  DetectWith("spectrometer:serial=WHITE002");
  const auto white = document.Sensor(0).whiteTable;
  form->OnControlClicked(control::kReflectance);
  form->OnControlClicked(control::kWhite);  // no pass since detection: nothing to copy
  EXPECT_EQ(port.okMessages, std::vector<std::string>{text::kNothingToRegister});
  EXPECT_TRUE(port.questions.empty());
  MeasurePasses(1);  // fills the working slot that is on display
  form->OnControlClicked(control::kWhite);
  EXPECT_EQ(port.questions.size(), 1u);  // answered Cancel
  EXPECT_EQ(document.Sensor(0).whiteTable, white);
}

TEST_F(References, SkyBackgroundIsRemovedFromTheDisplayOnly) {
  DetectWith("spectrometer:serial=SKYBGD01,spectrometer:serial=SKYBGD02");
  form->SetControlChecked(control::kRecordMode, true);
  form->OnControlClicked(control::kRecordMode);
  MeasurePasses(5);
  EXPECT_EQ(form->controls().Text(control::kPosition), "5 / 5");
  form->OnControlClicked(control::kSkyBgd);
  EXPECT_EQ(form->controls().Text(control::kSkyBgd), "SkyBGD解除");
  EXPECT_TRUE(form->fields().settings.skyBgdOn);
  EXPECT_NE(data::DisplayText(document.operationLog).find("5 データをSkyBGDに登録しました \r\n"),
            std::string::npos);
  for (int k = 0; k < 2; ++k) {
    EXPECT_EQ(document.skyBgdTable[k], document.Record(k, 4).spectra->processedSpectrum) << k;
  }

  Refresh(*form);
  const auto& out = form->processing().outputs[1];
  EXPECT_FLOAT_EQ(out.displaySpectrum[200], 0.0F);
  EXPECT_GT(document.Record(1, 4).spectra->processedSpectrum[150], 100.0F);
  Writable(*form).displayIndex = 3;
  Refresh(*form);
  EXPECT_LT(std::abs(out.displaySpectrum[200]), 500.0F);  // noise of another record

  const auto table = document.skyBgdTable[0];
  form->OnControlClicked(control::kSkyBgd);
  EXPECT_EQ(form->controls().Text(control::kSkyBgd), "SkyBGD設定");
  EXPECT_FALSE(form->fields().settings.skyBgdOn);
  EXPECT_NE(data::DisplayText(document.operationLog).find("SkyBGDを解除しました \r\n"),
            std::string::npos);
  EXPECT_EQ(document.skyBgdTable[0], table);
  Refresh(*form);
  EXPECT_GT(out.displaySpectrum[200], 100.0F);
}

}  // namespace
}  // namespace chromiva::acquisition::testing
