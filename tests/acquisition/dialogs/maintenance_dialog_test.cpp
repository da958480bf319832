// The maintenance dialog over a document and, for the measurements and writes, a simulated
// spectrometer.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "../scoped_env.h"
#include "chromiva/acquisition/calibration_io.h"
#include "chromiva/acquisition/dialogs/maintenance_dialog.h"
#include "test_port.h"
#include "trace_reader.h"
#include "wrenlink.h"

namespace chromiva::acquisition::dialogs {
namespace {

using namespace maintenance_ids;
using acquisition::testing::ReadTrace;
using acquisition::testing::TracedFrames;
using acquisition::testing::TraceLine;

class ManualTimers : public DialogTimers {
 public:
  void Arm(int timer, int milliseconds) override { armed[timer] = milliseconds; }
  void Kill(int timer) override { armed.erase(timer); }
  // Fires the dialog's timer when armed; false when it is not.
  bool Fire(MaintenanceDialog& dialog) {
    if (armed.count(kTimer) == 0) return false;
    dialog.OnTimer(kTimer);
    return true;
  }
  std::map<int, int> armed;
};

std::filesystem::path WriteFile(const std::string& name, const std::string& text) {
  const auto path = std::filesystem::temp_directory_path() / name;
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

class MaintenanceDialogTest : public ::testing::Test {
 protected:
  // Put back after every test, however it ended; tests set the simulator list and the trace.
  chromiva::test::ScopedEnv speed_{"WRENLINK_SIM_SPEED", "1000"};
  chromiva::test::ScopedEnv simulator_{"WRENLINK_SIMULATOR", nullptr};
  chromiva::test::ScopedEnv trace_{"WRENLINK_TRACE", nullptr};

  void SetUp() override {
    document.sensorTable.sensorCount = 1;
    document.Sensor(0).pixelCount = data::kMaxPixels;
    document.Sensor(0).exposureUs = 20000;
  }
  void TearDown() override {
    dialog.reset();
    for (int index = 0; index < 10; ++index) CloseDevice(index);
  }

  // The first spectrometer of the simulated list at device index 0, its tables read.
  void Detect(const char* list) {
    setenv("WRENLINK_SIMULATOR", list, 1);
    ASSERT_EQ(DetectDevice(0), 1);
    ASSERT_EQ(GetDeviceKind(0), 33);
    ReadCalibrationTables(document.Sensor(0), 0, {});
  }

  MaintenanceDialog& OpenDialog(int selected = 0, bool inlineReads = true) {
    dialog = std::make_unique<MaintenanceDialog>(
        MaintenanceContext{document, port, timers, selected, {}, 8192});
    if (inlineReads) dialog->SetWorkerLauncher([](std::function<void()> work) { work(); });
    dialog->Open();
    return *dialog;
  }

  data::Ctintrose_mfDoc document;
  testing::TestPort port;
  ManualTimers timers;
  std::unique_ptr<MaintenanceDialog> dialog;
};

TEST_F(MaintenanceDialogTest, WithoutASelectedSensorTheTablesCannotChange) {
  port.settings.WriteText(kListSection, kListEntry,
                          WriteFile("chromiva_list1.csv", "C12880MA,AB12345,300,2\n").string());
  MaintenanceDialog& d = OpenDialog(-1);
  for (int id : {kInitialise, kSet, kDark, kGain}) EXPECT_FALSE(d.controls().Enabled(id)) << id;
  EXPECT_TRUE(d.controls().At(kTableList).items.empty());
  EXPECT_EQ(d.controls().At(kSerialList).items, std::vector<std::string>{"AB12345"});
  d.Selected(kSerialList, 0);
  d.Clicked(kWrite);
  EXPECT_EQ(port.okMessages, (std::vector<std::string>{kNoSensor, kNoSensor}));
  EXPECT_EQ(document.Sensor(0).wavelengthTable[0], 0.0F);
}

TEST_F(MaintenanceDialogTest, TheListPathTravelsThroughTheSettings) {
  const auto chosen = WriteFile("chromiva_list2.csv",
                                "\"C12880MA\",\"CD\xB1\xB2\",300,2,0,0,0,0\n"
                                "OTHER,XX,1,1,1,1,1,1\n");
  port.openFile = chosen.string();
  ASSERT_TRUE(OpenMaintenanceDialog(
      MaintenanceContext{document, port, timers, 0, {}, 8192}, false, [](MaintenanceDialog& d) {
        d.Clicked(kFile);
        EXPECT_EQ(d.controls().At(kSerialList).items, std::vector<std::string>{"CDｱｲ"});
        d.Selected(kSerialList, 0);
      }));
  EXPECT_EQ(port.choices[0].filter, kListFilter);
  EXPECT_EQ(port.choices[0].defaultExtension, kListExtension);
  EXPECT_EQ(port.choices[0].initialName, kListInitialName);
  EXPECT_EQ(port.settings.ReadText(kListSection, kListEntry, ""), chosen.string());
  const data::SensorEntry& sensor = document.Sensor(0);
  EXPECT_EQ(sensor.serialNo, "CD\xB1\xB2");  // the list's bytes
  EXPECT_EQ(sensor.compBlock[0], 300.0);
  for (int p = 0; p < data::kMaxPixels; ++p) ASSERT_EQ(sensor.wavelengthTable[p], 302.0F + 2 * p);
  EXPECT_FALSE(OpenMaintenanceDialog(MaintenanceContext{document, port, timers, 0, {}, 8192}, true,
                                     [](MaintenanceDialog&) { FAIL(); }));
  EXPECT_EQ(port.okMessages.back(), kMeasuring);
}

TEST_F(MaintenanceDialogTest, ALongCalibrationListIsCutWithAMessage) {
  // A line is read up to its 255th character: the 7 beyond would make a wavelength table that
  // no sensor has, so the row is only taken because the line was cut before it.
  std::string text = "C12880MA,LONG,300,2,0,0,0," + std::string(300, ' ') + "7\n";
  for (int row = 0; row < 1001; ++row) text += "C12880MA,S" + std::to_string(row) + ",300,2\n";
  port.settings.WriteText(kListSection, kListEntry, WriteFile("chromiva_list3.csv", text).string());
  MaintenanceDialog& d = OpenDialog();
  EXPECT_EQ(d.controls().At(kSerialList).items.size(), 1000u);
  EXPECT_EQ(port.okMessages, std::vector<std::string>{kListTooLong});
  d.Selected(kSerialList, 0);
  EXPECT_EQ(document.Sensor(0).serialNo, "LONG");
  EXPECT_EQ(document.Sensor(0).compBlock[5], 0.0);
}

// Nothing that is not finite, or that no sensor's wavelengths could be, is taken from the list
// or written into the instrument; a list path that names no regular file is refused at once.
TEST_F(MaintenanceDialogTest, ValuesNoInstrumentCouldHoldAreRefused) {
  const std::string fifo = (std::filesystem::temp_directory_path() / "chromiva_list.fifo").string();
  std::filesystem::remove(fifo);
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  for (const std::string& path : {fifo, std::string("/dev/zero"), std::string("/tmp")}) {
    port.settings.WriteText(kListSection, kListEntry, path);
    OpenDialog();  // returns: neither blocks on the FIFO nor reads /dev/zero without end
    EXPECT_EQ(port.okMessages.back(), std::string(kListUnreadable) + path + ": not a regular file");
  }
  std::filesystem::remove(fifo);
  port.okMessages.clear();
  port.settings.WriteText(kListSection, kListEntry,
                          WriteFile("chromiva_list4.csv",
                                    "C12880MA,NAN,nan,inf,-inf,1e308,0,0\n"
                                    "C12880MA,HUGE,1e308\nC12880MA,FLAT,300\n"
                                    "C12880MA,FALLING,900,-2\nC12880MA,BELOW,10,0.1\n"
                                    "C12880MA,GOOD,300,2\n")
                              .string());
  MaintenanceDialog& d = OpenDialog();
  EXPECT_EQ(d.controls().At(kSerialList).items, std::vector<std::string>{"GOOD"});
  ASSERT_EQ(port.okMessages.size(), 1u);
  for (const char* serial : {"NAN:", "HUGE:", "FLAT:", "FALLING:", "BELOW:"}) {
    EXPECT_NE(port.okMessages[0].find(serial), std::string::npos) << serial;
  }

  Detect("spectrometer:serial=DLGGUARD");
  const data::SensorEntry good = document.Sensor(0);
  const std::function<void(data::SensorEntry&)> damages[] = {
      [](data::SensorEntry& s) { s.wavelengthTable[5] = std::nanf(""); },
      [](data::SensorEntry& s) { s.wavelengthTable[5] = s.wavelengthTable[4]; },
      [](data::SensorEntry& s) { s.whiteTable[0] = INFINITY; },
      [](data::SensorEntry& s) { s.darkTables[20][7] = -INFINITY; },
      [](data::SensorEntry& s) { s.compBlock[2] = NAN; },
  };
  const std::string trace =
      (std::filesystem::temp_directory_path() / "chromiva_dialog_guard.trace").string();
  for (const auto& damage : damages) {
    document.Sensor(0) = good;
    damage(document.Sensor(0));
    std::filesystem::remove(trace);
    MaintenanceDialog& guarded = OpenDialog();
    port.okMessages.clear();
    setenv("WRENLINK_TRACE", trace.c_str(), 1);
    guarded.Clicked(kWrite);
    unsetenv("WRENLINK_TRACE");
    ASSERT_EQ(port.okMessages.size(), 1u);
    EXPECT_EQ(port.okMessages[0].rfind(kTablesRefused, 0), 0u) << port.okMessages[0];
    EXPECT_FALSE(std::filesystem::exists(trace));  // nothing was sent
  }
}

TEST_F(MaintenanceDialogTest, InitialiseResetsTheTablesAndRefillsTheList) {
  data::SensorEntry& sensor = document.Sensor(0);
  sensor.darkTables[3][10] = 55.0F;
  sensor.whiteTable[288] = 123.0F;
  MaintenanceDialog& d = OpenDialog();
  d.Clicked(kInitialise);
  EXPECT_EQ(sensor.darkTables[3][10], 0.0F);
  EXPECT_EQ(sensor.whiteTable[287], 8192.0F);
  EXPECT_EQ(sensor.transmissionTable[0], 8192.0F);
  EXPECT_EQ(sensor.sensitivityTable[5], 1.0F);
  EXPECT_EQ(sensor.whiteTable[288], 123.0F);
  EXPECT_EQ(d.controls().At(kTableList).items[288], "289:   0.0   0.0 123.0    0.0 ");
}

TEST_F(MaintenanceDialogTest, TheDarkSequenceKeepsTheMinimumOfThreeFramesPerStep) {
  Detect("spectrometer:serial=DLGDARK1:light=off");
  const std::string trace =
      (std::filesystem::temp_directory_path() / "chromiva_dialog_dark.trace").string();
  std::filesystem::remove(trace);
  MaintenanceDialog& d = OpenDialog();
  setenv("WRENLINK_TRACE", trace.c_str(), 1);
  d.Clicked(kDark);
  int ticks = 0;
  while (timers.Fire(d)) ++ticks;
  unsetenv("WRENLINK_TRACE");
  EXPECT_EQ(ticks, 21 * 4);
  EXPECT_EQ(port.okMessages, std::vector<std::string>{kDarkFinished});
  double exposure = 0.0;
  GetDeviceExposure(0, &exposure);
  EXPECT_EQ(exposure, 1000000.0);

  const std::vector<std::vector<float>> frames = TracedFrames(ReadTrace(trace), 0);
  ASSERT_EQ(frames.size(), 63u);
  for (int step = 0; step < 21; ++step) {
    for (int p = 0; p < 288; ++p) {
      float expected = 8192.0F;
      for (int f = 0; f < 3; ++f) expected = std::min(expected, frames[step * 3 + f][p]);
      ASSERT_EQ(document.Sensor(0).darkTables[step][p], expected) << step << " " << p;
    }
  }
  std::filesystem::remove(trace);
}

TEST_F(MaintenanceDialogTest, ClosingDuringTheDarkSequenceStopsItAndKeepsTheMeasuredSteps) {
  Detect("spectrometer:serial=DLGDARK2:light=off");
  MaintenanceDialog& d = OpenDialog(0, false);
  d.Clicked(kDark);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (d.DarkStep() < 2 && std::chrono::steady_clock::now() < deadline) {
    ASSERT_TRUE(timers.Fire(d));
    if (d.Reading()) {
      EXPECT_FALSE(d.controls().Enabled(kWrite));
    }
  }
  d.Close();
  EXPECT_FALSE(d.DarkRunning());
  EXPECT_TRUE(timers.armed.empty());
  const data::SensorEntry& sensor = document.Sensor(0);
  EXPECT_LT(sensor.darkTables[0][100], 8192.0F);
  EXPECT_LT(sensor.darkTables[1][100], 8192.0F);
  EXPECT_EQ(sensor.darkTables[5][100], 8192.0F);
  EXPECT_FALSE(timers.Fire(d));
}

TEST_F(MaintenanceDialogTest, TheGainMeasurementFillsTheSensitivityTable) {
  Detect("spectrometer:serial=DLGGAIN1");
  data::SensorEntry& sensor = document.Sensor(0);
  MaintenanceDialog& d = OpenDialog();
  d.Clicked(kGain);
  EXPECT_EQ(port.okMessages, std::vector<std::string>{kGainMeasured});
  EXPECT_EQ(sensor.sensitivityTable[288], 20000.0F);
  const float smallest =
      *std::min_element(sensor.sensitivityTable.begin(), sensor.sensitivityTable.begin() + 288);
  EXPECT_EQ(std::abs(smallest), 1.0F);
}

TEST_F(MaintenanceDialogTest, WritingSendsTheTablesInOrderAndReportsSilence) {
  Detect("spectrometer:serial=DLGWRITE");
  const std::string trace =
      (std::filesystem::temp_directory_path() / "chromiva_dialog_write.trace").string();
  std::filesystem::remove(trace);
  MaintenanceDialog& d = OpenDialog();
  setenv("WRENLINK_TRACE", trace.c_str(), 1);
  d.Clicked(kWrite);
  unsetenv("WRENLINK_TRACE");
  EXPECT_EQ(port.okMessages, std::vector<std::string>{kWriteCompleted});
  std::vector<std::pair<unsigned char, int>> runs;  // command letter, requests in a row
  for (const TraceLine& line : ReadTrace(trace)) {
    if (line.direction != "OUT") continue;
    if (runs.empty() || runs.back().first != line.bytes[0]) runs.emplace_back(line.bytes[0], 0);
    ++runs.back().second;
  }
  const std::vector<std::pair<unsigned char, int>> expected = {
      {0x7A, 21 * 289}, {0x78, 289}, {0x77, 290}, {0x75, 290}, {0x79, 290}, {0x70, 1}};
  EXPECT_EQ(runs, expected);
  std::filesystem::remove(trace);

  dialog.reset();
  CloseDevice(0);
  setenv("WRENLINK_SIMULATOR", "spectrometer:serial=DLGWRIT2:disconnect=3", 1);
  ASSERT_EQ(DetectDevice(0), 1);
  OpenDialog().Clicked(kWrite);
  ASSERT_EQ(port.okMessages.size(), 2u);
  // The report carries the acknowledgements that arrived; the write ends at the silent table.
  EXPECT_EQ(port.okMessages[1],
            std::string(kWriteIncomplete) + "\nセンサー1 () ダークテーブル: 応答 2 / 6069 バイト");
}

}  // namespace
}  // namespace chromiva::acquisition::dialogs
