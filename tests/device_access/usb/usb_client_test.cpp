// Wrenlink through its libusb transport, as a program sees it through the C interface,
// against virtual spectrometers on an emulated USB bus. wrenlink_usb_device creates the bus
// and runs this program; each test group expects one arrangement of instruments (see
// CMakeLists.txt) and is skipped outside the emulation.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "wrenlink.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kPixels = 288;

bool OnEmulatedBus() {
  const char* preload = std::getenv("LD_PRELOAD");
  return preload != nullptr && std::strstr(preload, "libumockdev-preload") != nullptr;
}

std::string PathOf(int index) {
  char path[260] = {};
  int length = GetName(index, path, sizeof path - 1);
  EXPECT_EQ(length, static_cast<int>(std::strlen(path)));
  return path;
}

std::string SerialOf(int index) {
  unsigned char serial[8] = {};
  EXPECT_EQ(GetDeviceSerialNo(index, serial, sizeof serial), 8);
  return std::string(reinterpret_cast<char*>(serial), sizeof serial);
}

double MeanCounts(int index, double exposureUs) {
  EXPECT_EQ(SetDeviceExposure(index, exposureUs), 4);
  std::uint16_t samples[kPixels] = {};
  EXPECT_EQ(GetDeviceData(index, samples), 576);
  double sum = 0;
  for (std::uint16_t sample : samples) sum += sample;
  return sum / kPixels;
}

float FloatAt(const unsigned char* bytes) {
  float value;
  std::memcpy(&value, bytes, sizeof value);
  return value;
}

class EmulatedBus : public testing::Test {
 protected:
  void SetUp() override {
    if (!OnEmulatedBus()) GTEST_SKIP() << "runs only on the bus of wrenlink_usb_device";
  }
  void TearDown() override {
    for (int index = 0; index < 10; ++index) CloseDevice(index);
  }
};

// One spectrometer at port 1 with serial number USB00001.
using OneSpectrometer = EmulatedBus;

TEST_F(OneSpectrometer, DetectsOnlyIndexZeroAndNamesItsUsbPath) {
  EXPECT_EQ(DetectDevice(0), 1);
  EXPECT_EQ(DetectDevice(1), 0);
  EXPECT_EQ(PathOf(0), "usb:1-1:0 1209:7721");
  char version[64] = {};
  EXPECT_EQ(GetVersionStr(0, version, sizeof version - 1), 19);
  EXPECT_STREQ(version, "usb:1-1:0 1209:7721");
}

TEST_F(OneSpectrometer, AnswersIdentityQueries) {
  ASSERT_EQ(DetectDevice(0), 1);
  EXPECT_EQ(GetDeviceKind(0), 33);
  unsigned char name[34] = {}, version[34] = {};
  EXPECT_EQ(GetDeviceName(0, name, 33), 8);
  EXPECT_STREQ(reinterpret_cast<char*>(name), "C12880MA");
  EXPECT_EQ(GetDeviceVersion(0, version, 33), 4);
  EXPECT_STREQ(reinterpret_cast<char*>(version), "1.20");
}

TEST_F(OneSpectrometer, KeepsTheExposureItIsGiven) {
  ASSERT_EQ(DetectDevice(0), 1);
  for (double exposure : {20000.0, 1234567.0}) {
    EXPECT_EQ(SetDeviceExposure(0, exposure), 4);
    double read = 0;
    EXPECT_EQ(GetDeviceExposure(0, &read), 4);
    EXPECT_EQ(read, exposure);
  }
}

TEST_F(OneSpectrometer, ReadsSpectraWhoseCountsRiseWithExposure) {
  ASSERT_EQ(DetectDevice(0), 1);
  double shortMean = MeanCounts(0, 10000);
  double longMean = MeanCounts(0, 100000);
  EXPECT_GT(shortMean, 100.0);
  EXPECT_GT(longMean, 2.0 * shortMean);
  EXPECT_LT(longMean, 65535.0);
}

TEST_F(OneSpectrometer, ReadsItsSerialNumberAndTemperature) {
  ASSERT_EQ(DetectDevice(0), 1);
  EXPECT_EQ(SerialOf(0), "USB00001");
  int16_t tenths = 0;
  EXPECT_EQ(GetDeviceTemp(0, &tenths), 2);
  EXPECT_GE(tenths, 200);
  EXPECT_LE(tenths, 300);
}

TEST_F(OneSpectrometer, MovesACalibrationTableThroughRawTransfers) {
  // The white reference: 289 values and its exposure, 1156 bytes in 19 packets.
  ASSERT_EQ(DetectDevice(0), 1);
  unsigned char request[64] = {'W', 0x02};
  EXPECT_EQ(WriteData(0, request, sizeof request), 64);
  unsigned char table[2048] = {};
  ASSERT_EQ(ReadData(0, table, sizeof table), 1156);
  for (int pixel = 0; pixel < kPixels; ++pixel) {
    ASSERT_GT(FloatAt(table + 4 * pixel), 0.0F) << "pixel " << pixel;
  }
  EXPECT_EQ(FloatAt(table + 4 * kPixels), 50000.0F);
  // The next exchange is not disturbed by the long one.
  EXPECT_EQ(GetDeviceKind(0), 33);
}

TEST_F(OneSpectrometer, StopsAnsweringWhenClosedAndOpensAgain) {
  ASSERT_EQ(DetectDevice(0), 1);
  // Detecting an open index again gives up its claim before claiming anew.
  ASSERT_EQ(DetectDevice(0), 1);
  EXPECT_EQ(GetDeviceKind(0), 33);
  EXPECT_EQ(CloseDevice(0), 1);
  double exposure = 0;
  EXPECT_EQ(GetDeviceExposure(0, &exposure), 0);
  unsigned char name[34] = {};
  EXPECT_EQ(GetDeviceName(0, name, 33), 0);
  EXPECT_EQ(CloseDevice(0), 1);
  ASSERT_EQ(DetectDevice(0), 1);
  EXPECT_EQ(GetDeviceExposure(0, &exposure), 4);
}

// Spectrometers USB00001 at port 1 and USB00002 at port 2.
using TwoSpectrometers = EmulatedBus;

TEST_F(TwoSpectrometers, DetectInPortOrder) {
  EXPECT_EQ(DetectDevice(0), 1);
  EXPECT_EQ(DetectDevice(1), 1);
  EXPECT_EQ(DetectDevice(2), 0);
  EXPECT_EQ(PathOf(0), "usb:1-1:0 1209:7721");
  EXPECT_EQ(PathOf(1), "usb:1-2:0 1209:7721");
  EXPECT_EQ(SerialOf(0), "USB00001");
  EXPECT_EQ(SerialOf(1), "USB00002");
}

TEST_F(TwoSpectrometers, KeepTheirOwnState) {
  ASSERT_EQ(DetectDevice(0), 1);
  ASSERT_EQ(DetectDevice(1), 1);
  EXPECT_EQ(SetDeviceExposure(0, 30000), 4);
  EXPECT_EQ(SetDeviceExposure(1, 70000), 4);
  double first = 0, second = 0;
  EXPECT_EQ(GetDeviceExposure(0, &first), 4);
  EXPECT_EQ(GetDeviceExposure(1, &second), 4);
  EXPECT_EQ(first, 30000);
  EXPECT_EQ(second, 70000);
  // Closing one leaves the other working.
  EXPECT_EQ(CloseDevice(0), 1);
  EXPECT_EQ(GetDeviceExposure(1, &second), 4);
}

// A spectrometer that answers three requests and then falls silent, with
// WRENLINK_TIMEOUT_MS=300.
using SilentSpectrometer = EmulatedBus;

TEST_F(SilentSpectrometer, CommandsTimeOutInsteadOfHanging) {
  ASSERT_EQ(DetectDevice(0), 1);  // the kind query is the first answer
  EXPECT_EQ(GetDeviceKind(0), 33);
  double exposure = 0;
  EXPECT_EQ(GetDeviceExposure(0, &exposure), 4);

  auto start = Clock::now();
  int16_t tenths = 0;
  EXPECT_EQ(GetDeviceTemp(0, &tenths), 0);
  auto waited = Clock::now() - start;
  EXPECT_GE(waited, std::chrono::milliseconds(250));  // it did wait for an answer
  EXPECT_LT(waited, std::chrono::seconds(3));

  // A spectrum is several exchanges, each given up after the timeout.
  start = Clock::now();
  std::uint16_t samples[kPixels] = {};
  EXPECT_EQ(GetDeviceData(0, samples), 0);
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(6));

  EXPECT_EQ(CloseDevice(0), 1);
}

// A spectrometer that drops off the bus after two requests; the default timeout applies.
using VanishingSpectrometer = EmulatedBus;

TEST_F(VanishingSpectrometer, CommandsFailAtOnceOnceItIsGone) {
  ASSERT_EQ(DetectDevice(0), 1);
  EXPECT_EQ(GetDeviceKind(0), 33);
  auto start = Clock::now();
  double exposure = 0;
  EXPECT_EQ(GetDeviceExposure(0, &exposure), 0);
  std::uint16_t samples[kPixels] = {};
  EXPECT_EQ(GetDeviceData(0, samples), 0);
  // Far below one transfer timeout: nothing waits for a device that is not there.
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(2));
  EXPECT_EQ(CloseDevice(0), 1);
}

}  // namespace

int main(int argc, char** argv) {
  // Only the libusb transport is under test here.
  unsetenv("WRENLINK_SIMULATOR");
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
