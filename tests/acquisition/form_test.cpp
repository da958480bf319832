// The router and the form's settings: clicks and list selections by control id, the start-up
// screen of timer 1, the first showing, the settings store's table, the silent automatic CSV
// save, the owner rule of the controls and the timer queue of the console and test ports.
#include <gtest/gtest.h>

#include "chromiva/acquisition/control_owners.h"
#include "chromiva/acquisition/form_settings.h"
#include "chromiva/data/text_codec.h"
#include "simulator_fixture.h"

namespace chromiva::acquisition::testing {
namespace {

// A store that lists the entries in the order they are read and written.
class RecordingStore : public MemorySettingsStore {
 public:
  int ReadInt(const std::string& section, const std::string& entry, int fallback) override {
    reads.push_back(section + "/" + entry);
    return MemorySettingsStore::ReadInt(section, entry, fallback);
  }
  std::string ReadText(const std::string& section, const std::string& entry,
                       const std::string& fallback) override {
    reads.push_back(section + "/" + entry);
    return MemorySettingsStore::ReadText(section, entry, fallback);
  }
  void WriteInt(const std::string& section, const std::string& entry, int value) override {
    writes.push_back(section + "/" + entry);
    MemorySettingsStore::WriteInt(section, entry, value);
  }
  void WriteText(const std::string& section, const std::string& entry,
                 const std::string& value) override {
    writes.push_back(section + "/" + entry);
    MemorySettingsStore::WriteText(section, entry, value);
  }
  std::vector<std::string> reads;
  std::vector<std::string> writes;
};

const std::vector<std::string> kWriteOrder = {
    "average/number", "logging/go",     "interval/go",      "interval/time",    "sensitivity/go",
    "repeat/go",      "hard/adjust",    "disp/kind",        "csv/addwave",      "csv/vertical",
    "save/auto",      "save/automode",  "save/fixfilename", "save/fixfilepath", "save/addtemp",
    "save/addexp",    "save/startwave", "save/endwave",     "save/stepwave",    "save/target",
    "graph/max",      "ratio/max",      "graph/min",        "ratio/min"};

TEST(FormSettings, FirstStartGivesTheDefaults) {
  RecordingStore store;
  const FormSettings s = ReadFormSettings(store);
  EXPECT_EQ(s.averageCount, 1);
  EXPECT_FALSE(s.recordMode || s.intervalMode || s.waveComp || s.playbackOn || s.csv.csvAuto);
  EXPECT_EQ(s.csv.csvFixedName, "output");
  EXPECT_EQ(s.csv.csvFolder, "");
  EXPECT_EQ(s.csv.csvStepNm, 10);
  EXPECT_EQ(s.axisLimits.graphMax, 8192);
  EXPECT_EQ(s.axisLimits.ratioMax, 160);
  EXPECT_EQ(s.maintenanceMode, 0);
  std::vector<std::string> expectedReads;
  for (const std::string& key : kWriteOrder) {
    if (key.rfind("csv/", 0) != 0 && key != "save/addtemp" && key != "save/addexp") {
      expectedReads.push_back(key);
    }
  }
  EXPECT_EQ(store.reads, expectedReads);
}

TEST(FormSettings, EverythingComesBackButTheFourCsvOptionsStartOn) {
  FormSettings s;
  s.averageCount = 7;
  s.intervalMode = true;
  s.intervalMs = 250;
  s.maintenanceMode = 1;
  s.displayKind = 1;
  s.csv.csvFixedName = "run";
  s.csv.csvFolder = "/data/csv";
  s.csv.csvAddWave = s.csv.csvVertical = s.csv.csvAddTemp = s.csv.csvAddExp = false;
  s.axisLimits = {4000, -100, 120, 10};
  RecordingStore store;
  WriteFormSettings(store, s);
  EXPECT_EQ(store.writes, kWriteOrder);
  EXPECT_EQ(store.Entries().at({"csv", "addwave"}), "0");
  const FormSettings back = ReadFormSettings(store);
  EXPECT_EQ(back.averageCount, 7);
  EXPECT_TRUE(back.intervalMode);
  EXPECT_EQ(back.intervalMs, 250);
  EXPECT_EQ(back.maintenanceMode, 1);
  EXPECT_EQ(back.displayKind, 1);
  EXPECT_EQ(back.csv.csvFixedName, "run");
  EXPECT_EQ(back.csv.csvFolder, "/data/csv");
  EXPECT_TRUE(back.csv.csvAddWave && back.csv.csvVertical && back.csv.csvAddTemp &&
              back.csv.csvAddExp);
  EXPECT_EQ(back.axisLimits.graphMin, -100);
  EXPECT_EQ(back.axisLimits.ratioMin, 10);
}

TEST(FormSettings, TheFormGivesBackWhatItWasStartedWithAndWhatChanged) {
  data::Ctintrose_mfDoc document;
  TestPort port;
  FormSettings s;
  s.maintenanceMode = 1;
  s.playbackOn = true;
  FormLogic form(document, port, s);
  EXPECT_TRUE(form.controls().Visible(control::kMaintenance));
  s.maintenanceMode = 0;
  s.axisLimits = {1000, 10, 100, 5};
  form.ApplySettings(s);
  EXPECT_FALSE(form.controls().Visible(control::kMaintenance));
  form.OnControlClicked(control::kWaveComp);
  const FormSettings now = form.CurrentSettings();
  EXPECT_EQ(now.maintenanceMode, 0);
  EXPECT_TRUE(now.playbackOn);
  EXPECT_TRUE(now.waveComp);
  EXPECT_EQ(now.axisLimits.graphMax, 1000);
  EXPECT_EQ(form.fields().axisLimits.ratioMin, 5);
}

class Router : public SimulatorTest {};

TEST_F(Router, ClicksReachTheirHandlersAndDisabledControlsDoNothing) {
  DetectWith("spectrometer");
  form->OnControlClicked(control::kTransmittance);
  EXPECT_EQ(form->fields().settings.measureMode, data::kTransmittance);
  EXPECT_TRUE(form->controls().Checked(control::kTransmittance));
  form->OnControlClicked(control::kWhite);  // enabled only in reflectance mode
  EXPECT_TRUE(port.okMessages.empty());
  form->SetControlChecked(control::kColourDisplay, true);
  const int draws = port.graphDraws;
  form->OnControlClicked(control::kColourDisplay);
  EXPECT_TRUE(form->fields().colourDisplay);
  EXPECT_EQ(port.graphDraws, draws + 1);
  form->OnControlClicked(control::kPlayback);
  EXPECT_TRUE(form->fields().playbackOn);
  form->OnControlClicked(control::kStartStop);
  EXPECT_TRUE(form->fields().measuring);
  form->OnControlClicked(control::kDetect);  // disabled while measuring
  EXPECT_TRUE(form->fields().detected);
  form->OnControlClicked(control::kStartStop);
  port.RunTimers(*form);
  form->SelectListItem(control::kDisplayKind, 1);
  EXPECT_EQ(form->fields().displayKind, 1);
}

TEST_F(Router, StartupScreenRedrawsAndGuides) {
  port.armings.clear();
  form->OnFormTimer(timer::kStartup);
  EXPECT_EQ(port.graphDraws, 1);
  EXPECT_EQ(port.colourBarDraws, 1);
  EXPECT_EQ(port.logoDraws, 1);
  EXPECT_EQ(port.statusTexts, std::vector<std::string>{""});
  EXPECT_EQ(port.messages.back(), "センサーを接続して、検出ボタンを押してください");
  DetectWith("spectrometer");
  port.messages.clear();
  form->OnFormTimer(timer::kStartup);
  EXPECT_TRUE(port.messages.empty());  // detected, no records: the guidance stays
  document.EnsureSpectra(0, 0);
  document.recordCount[0] = 1;
  form->OnFormTimer(timer::kStartup);
  EXPECT_EQ(port.messages.back(), "以前取得したデータを表示します | BACK/NEXTボタンで表示できます");
}

TEST_F(Router, FirstShowingListsTheSensorsOfTheDocument) {
  document.sensorTable.sensorCount = 2;
  document.Sensor(0).serialNo = "FILE0001";
  document.Sensor(0).exposureUs = 25500;
  document.Sensor(1).serialNo = "FILE\xB1\xB2";  // shown decoded
  FormSettings settings;
  settings.csv.csvAuto = true;
  form->ApplySettings(settings);
  form->InitialUpdate();
  EXPECT_EQ(form->controls().At(control::kSensorList).items,
            (std::vector<std::string>{"(FILE0001)", "(FILEｱｲ)"}));
  EXPECT_EQ(form->fields().selectedSensor, 0);
  EXPECT_EQ(form->controls().Text(control::kExposure), "25");
  EXPECT_EQ(form->controls().Text(control::kCsv), "CSV保存(AUTO)");
  EXPECT_EQ(form->controls().Text(control::kPosition), "1 / 0");
  EXPECT_EQ(port.armings.back(), std::make_pair(timer::kStartup, 100u));
}

TEST_F(Router, AFailedAutomaticCsvSaveIsKeptInTheHistoryOnceAndShownNowhere) {
  DetectWith("spectrometer");
  FormSettings settings;
  settings.csv.csvAuto = true;
  settings.csv.csvFolder = "/nonexistent-folder";
  form->ApplySettings(settings);
  port.messages.clear();
  MeasurePasses(2);
  EXPECT_EQ(form->Status().autoSaveFailures, 2);
  EXPECT_NE(form->Status().lastAutoSaveFailure.find("nonexistent-folder"), std::string::npos);
  const std::string log = data::DisplayText(document.operationLog);
  const auto first = log.find("CSV自動保存に失敗しました: ");
  ASSERT_NE(first, std::string::npos);
  EXPECT_EQ(first, log.rfind("CSV自動保存に失敗しました: "));
  EXPECT_TRUE(port.okMessages.empty());
  for (const auto& m : port.messages) EXPECT_EQ(m.find("CSV"), std::string::npos) << m;
}

// Every scenario test writes through the owners' writers and fails on a refused write
// (owner_guard.cpp); these cases pin the rule itself.
TEST(ControlOwners, AWriterWritesOnlyWhatItsOwnerMay) {
  struct Case {
    ControlOwner owner;
    int id;
    bool enabling;  // SetEnabled, else SetText
    bool allowed;
  };
  const Case cases[] = {
      {ControlOwner::kMeasurement, control::kStartStop, false, true},
      {ControlOwner::kDetection, control::kStartStop, false, false},
      {ControlOwner::kReferences, control::kStartStop, true, false},
      {ControlOwner::kEnableRules, control::kStartStop, true, true},
      {ControlOwner::kEnableRules, control::kStartStop, false, false},
      {ControlOwner::kEnableRules, control::kHistory, true, false},
      {ControlOwner::kOperator, control::kExposure, false, true},
      {ControlOwner::kOperator, control::kExposure, true, false},
      {ControlOwner::kSettings, control::kTitle, false, false},
  };
  for (const Case& c : cases) {
    ControlTable table;
    ControlWriter writer(table, c.owner);
    const bool enabled = table.Enabled(c.id);
    c.enabling ? writer.SetEnabled(c.id, !enabled) : writer.SetText(c.id, "x");
    EXPECT_EQ(TakeRefusedControlWrites(), c.allowed ? 0 : 1) << c.id;
    const bool changed = c.enabling ? table.Enabled(c.id) != enabled : table.Text(c.id) == "x";
    EXPECT_EQ(changed, c.allowed) << c.id;  // a refused write leaves no trace
  }
}

TEST(TimerQueue, TheEarliestTimerWinsAcrossTheClockWrap) {
  TimerQueue timers;
  EXPECT_FALSE(timers.Earliest());
  timers.Arm(2, 0xFFFFFFF0u);
  timers.Arm(3, 0x00000005u);  // after the wrap
  timers.Arm(1, 0xFFFFFFFAu);
  EXPECT_EQ(timers.Earliest()->timer, 2);
  timers.Arm(2, 0x00000010u);  // arming again replaces
  EXPECT_EQ(timers.Earliest()->timer, 1);
  timers.Kill(1);
  EXPECT_EQ(timers.Earliest()->timer, 3);
}

}  // namespace
}  // namespace chromiva::acquisition::testing
