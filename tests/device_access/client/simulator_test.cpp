// The simulator through the public interface, as a client program uses it.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <numeric>
#include <string>

#include "wrenlink.h"

namespace {

class Simulator : public ::testing::Test {
 protected:
  void TearDown() override {
    for (int index = 0; index < 10; ++index) CloseDevice(index);
    unsetenv("WRENLINK_SIMULATOR");
    unsetenv("WRENLINK_TIMEOUT_MS");
    unsetenv("WRENLINK_SIM_STATE");
    unsetenv("WRENLINK_SIM_SPEED");
  }

  static void Plug(const char* list) { setenv("WRENLINK_SIMULATOR", list, 1); }

  static std::vector<int> DetectKinds() {
    std::vector<int> kinds;
    for (int index = 0; index < 10; ++index) {
      if (DetectDevice(index) == 1) kinds.push_back(GetDeviceKind(index));
    }
    return kinds;
  }

  static void CloseAll() {
    for (int index = 0; index < 10; ++index) CloseDevice(index);
  }

  static double MeanCounts(int index, double exposureUs) {
    EXPECT_EQ(SetDeviceExposure(index, exposureUs), 4);
    int16_t samples[288] = {};
    EXPECT_EQ(GetDeviceData(index, samples), 576);
    return std::accumulate(std::begin(samples), std::end(samples), 0.0) / 288.0;
  }

  static std::string Serial(int index) {
    unsigned char serial[64] = {};
    EXPECT_EQ(GetDeviceSerialNo(index, serial, 64), 64);
    return std::string(reinterpret_cast<char*>(serial), 8);
  }
};

TEST_F(Simulator, FindsTheListedInstrumentsAndReadsRisingSpectra) {
  Plug("spectrometer,led16,mirror");
  EXPECT_EQ(DetectKinds(), (std::vector<int>{33, 13, 34}));
  double shortMean = MeanCounts(0, 5000);
  double longMean = MeanCounts(0, 40000);
  EXPECT_GT(longMean, shortMean * 2);
  int16_t tenths = 0;
  EXPECT_EQ(GetDeviceTemp(0, &tenths), 2);
  EXPECT_NEAR(tenths, 250, 10);
  EXPECT_EQ(SetMirror(2, 1000), 4);
}

TEST_F(Simulator, UnpluggingMovesTheRemainingInstrumentToIndexZero) {
  Plug("spectrometer:serial=AAAA0001,spectrometer:serial=BBBB0002");
  EXPECT_EQ(DetectKinds(), (std::vector<int>{33, 33}));
  EXPECT_EQ(Serial(1), "BBBB0002");
  CloseAll();
  Plug("spectrometer:serial=BBBB0002");
  EXPECT_EQ(DetectKinds(), (std::vector<int>{33}));
  EXPECT_EQ(Serial(0), "BBBB0002");
}

TEST_F(Simulator, ShadedInstrumentSeesOnlyItsDark) {
  Plug("spectrometer:light=off");
  ASSERT_EQ(DetectDevice(0), 1);
  double mean = MeanCounts(0, 50000);
  EXPECT_GT(mean, 500);
  EXPECT_LT(mean, 700);
}

TEST_F(Simulator, ExposureAndEepromRoundTrip) {
  Plug("spectrometer:exposure=265");
  ASSERT_EQ(DetectDevice(0), 1);
  double exposure = 0;
  EXPECT_EQ(GetDeviceExposure(0, &exposure), 4);
  EXPECT_EQ(exposure, 265.0);
  const unsigned char serial[8] = {'Z', 'Y', '9', '8', '7', '6', '5', '4'};
  EXPECT_EQ(SetDeviceSerialNo(0, serial, 8), 4);
  EXPECT_EQ(Serial(0), "ZY987654");
  unsigned char comp[48] = {};
  EXPECT_EQ(GetDeviceComp(0, comp), 48);
  double c0 = 0;
  std::memcpy(&c0, comp, 8);
  EXPECT_GT(c0, 300.0);
}

TEST_F(Simulator, SilentInstrumentReturnsZeroWithinTheTimeout) {
  Plug("spectrometer:noreply=1");  // answers the kind query at detection, then falls silent
  setenv("WRENLINK_TIMEOUT_MS", "100", 1);
  ASSERT_EQ(DetectDevice(0), 1);
  auto start = std::chrono::steady_clock::now();
  double exposure = 5;
  EXPECT_EQ(GetDeviceExposure(0, &exposure), 0);
  int16_t samples[288];
  EXPECT_EQ(GetDeviceData(0, samples), 0);
  auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_LT(elapsed, std::chrono::seconds(2));
}

TEST_F(Simulator, DisconnectedInstrumentFailsAtOnceAndVanishes) {
  Plug("spectrometer:disconnect=2,mirror");
  setenv("WRENLINK_TIMEOUT_MS", "5000", 1);
  ASSERT_EQ(DetectDevice(0), 1);  // one request: the kind query
  double exposure = 0;
  EXPECT_EQ(GetDeviceExposure(0, &exposure), 4);
  auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(GetDeviceExposure(0, &exposure), 0);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
  CloseAll();
  EXPECT_EQ(DetectKinds(), (std::vector<int>{34}));
}

TEST_F(Simulator, ShortRepliesAreCounted) {
  Plug("spectrometer:short=100");
  ASSERT_EQ(DetectDevice(0), 1);
  int16_t samples[288] = {};
  EXPECT_EQ(GetDeviceData(0, samples), 100);
}

TEST_F(Simulator, LongExposureWaitsForReadinessAtSimulatedSpeed) {
  Plug("spectrometer:serial=SPEED001");
  setenv("WRENLINK_SIM_SPEED", "100", 1);
  ASSERT_EQ(DetectDevice(0), 1);
  auto start = std::chrono::steady_clock::now();
  double mean = MeanCounts(0, 2000000);  // 2 s of exposure in about 20 ms
  auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_GT(elapsed, std::chrono::milliseconds(15));
  EXPECT_LT(elapsed, std::chrono::seconds(2));
  EXPECT_GT(mean, 20000);  // a long exposure of the lamp runs towards saturation
}

TEST_F(Simulator, StateFolderKeepsTablesAcrossInstrumentLives) {
  auto folder = std::filesystem::temp_directory_path() / "wrenlink_sim_state_test";
  std::filesystem::remove_all(folder);
  setenv("WRENLINK_SIM_STATE", folder.c_str(), 1);
  Plug("spectrometer:serial=KEEP0001");
  ASSERT_EQ(DetectDevice(0), 1);
  const unsigned char serial[8] = {'N', 'E', 'W', 'S', 'E', 'R', 'I', 'A'};
  EXPECT_EQ(SetDeviceSerialNo(0, serial, 8), 4);
  EXPECT_TRUE(std::filesystem::exists(folder / "spectrometer_KEEP0001.state"));
  std::filesystem::remove_all(folder);
}

}  // namespace
