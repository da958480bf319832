// Every instrument family through the public interface and the simulator: what a setter
// changes, the matching getter reads back.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <numeric>
#include <string>
#include <vector>

#include "wrenlink.h"

namespace {

class SimulatedFamilies : public ::testing::Test {
 protected:
  void TearDown() override {
    CloseMotor(0);
    for (int index = 0; index < 10; ++index) CloseDevice(index);
    unsetenv("WRENLINK_SIMULATOR");
  }

  // Plugs in `list` and detects index 0 onwards; the kinds found, in index order.
  static std::vector<int> Plug(const char* list) {
    setenv("WRENLINK_SIMULATOR", list, 1);
    std::vector<int> kinds;
    for (int index = 0; index < 10 && DetectDevice(index) == 1; ++index) {
      kinds.push_back(GetDeviceKind(index));
    }
    return kinds;
  }

  static std::vector<unsigned char> Pattern(int count, int first) {
    std::vector<unsigned char> bytes(static_cast<std::size_t>(count));
    std::iota(bytes.begin(), bytes.end(), static_cast<unsigned char>(first));
    return bytes;
  }

  // Reads `count` bytes back through the raw channel after a 2-byte request.
  static std::vector<unsigned char> RawQuery(int index, unsigned char letter,
                                             unsigned char parameter, int count) {
    const unsigned char request[2] = {letter, parameter};
    EXPECT_EQ(WriteData(index, request, 2), 2);
    std::vector<unsigned char> reply(static_cast<std::size_t>(count), 0);
    EXPECT_EQ(ReadData(index, reply.data(), count), count);
    return reply;
  }
};

TEST_F(SimulatedFamilies, LedUnitsOfEverySizeKeepLevelsAndSwitches) {
  ASSERT_EQ(Plug("led16:serial=F1,led8:serial=F1,led22:serial=F1,led96:serial=F1"),
            (std::vector<int>{13, 29, 22, 23}));
  const int levelCounts[] = {16, 16, 32, 96};
  const int switchCounts[] = {2, 2, 4, 12};
  for (int index = 0; index < 4; ++index) {
    const auto levels = Pattern(levelCounts[index], 10 + index);
    const auto switches = Pattern(switchCounts[index], 1);
    std::vector<unsigned char> back(96, 0);
    EXPECT_GT(SetDeviceLED(index, levels.data()), 0);
    EXPECT_EQ(GetDeviceLED(index, back.data()), levelCounts[index]) << index;
    back.resize(levels.size());
    EXPECT_EQ(back, levels);
    EXPECT_EQ(SetDeviceLEDSW(index, switches.data()), 2);
    EXPECT_EQ(GetDeviceLEDSW(index, back.data()), switchCounts[index]);
    EXPECT_EQ(std::memcmp(back.data(), switches.data(), switches.size()), 0);
  }
  int io = 0;
  EXPECT_EQ(SetDeviceIO(2, 4, 0xA5), 4);
  EXPECT_EQ(GetDeviceIO(2, 4, &io), 4);
  EXPECT_EQ(io, 0xA5);
}

TEST_F(SimulatedFamilies, ThreeBankUnitDrawsCurrentForItsLitChannels) {
  ASSERT_EQ(Plug("led96:serial=F2"), (std::vector<int>{23}));
  std::vector<unsigned char> levels(96, 0), switches(12, 0);
  levels[0] = 100;
  levels[95] = 50;
  levels[40] = 200;  // not lit
  switches[0] = 0x01;
  switches[11] = 0x80;
  EXPECT_EQ(SetDeviceLED(0, levels.data()), 6);
  EXPECT_EQ(SetDeviceLEDSW(0, switches.data()), 2);
  uint16_t volts = 0, amps = 0;
  EXPECT_EQ(GetDeviceLEDVC(0, &volts, &amps), 4);
  EXPECT_EQ(amps, 150);
  EXPECT_EQ(volts, 12000 - 15);
}

TEST_F(SimulatedFamilies, EightChannelUnitKeepsItsNameAndReportsTemperature) {
  ASSERT_EQ(Plug("led8:serial=F3"), (std::vector<int>{29}));
  unsigned char name[48] = {};
  std::memcpy(name, "BENCH LAMP", 10);
  EXPECT_EQ(SetDeviceLEDName(0, name), 2);
  unsigned char back[48];
  EXPECT_EQ(GetDeviceLEDName(0, back), 48);
  EXPECT_EQ(std::memcmp(back, name, 48), 0);
  int16_t tenths = 0;
  EXPECT_EQ(GetDeviceLEDTemp(0, &tenths), 2);
  EXPECT_EQ(tenths, 260);
}

TEST_F(SimulatedFamilies, SensorBoardOffsetShiftsItsReadings) {
  ASSERT_EQ(Plug("ioboard:serial=F4"), (std::vector<int>{9}));
  EXPECT_EQ(SetDeviceOffset(0, -200), 4);
  int offset = 0;
  EXPECT_EQ(GetDeviceOffset(0, &offset), 4);
  EXPECT_EQ(offset, -200);
  int32_t readings[3] = {};
  EXPECT_EQ(GetDeviceData(0, readings), 12);
  EXPECT_EQ(readings[0], 1000);
  int pwm = 0;
  EXPECT_EQ(SetDevicePWM(0, 2, 128), 4);
  EXPECT_EQ(GetDevicePWM(0, 2, &pwm), 4);
  EXPECT_EQ(pwm, 128);
}

TEST_F(SimulatedFamilies, LoadCellCalibratesOnFixAndTares) {
  ASSERT_EQ(Plug("loadcell:raw=500:serial=F5,loadcell24:serial=F5"), (std::vector<int>{12, 24}));
  int32_t weight = 0;
  EXPECT_EQ(GetDeviceLoadData(0, reinterpret_cast<unsigned char*>(&weight)), 4);
  EXPECT_EQ(weight, 500);
  EXPECT_EQ(SetDeviceLoadCalib(0, 2000), 4);
  EXPECT_EQ(GetDeviceData(0, &weight), 4);
  EXPECT_EQ(weight, 500);  // not before fix
  EXPECT_EQ(SetDeviceLoadFix(0), 4);
  EXPECT_EQ(GetDeviceData(0, &weight), 4);
  EXPECT_EQ(weight, 1000);
  EXPECT_EQ(SetDeviceLoadTare(0), 4);
  EXPECT_EQ(GetDeviceLoadData(0, reinterpret_cast<unsigned char*>(&weight)), 4);
  EXPECT_EQ(weight, 0);
  EXPECT_EQ(SetDeviceLoad(0, 3, -2), 4);
  int32_t load = 0;
  EXPECT_EQ(GetDeviceLoad(0, 3, reinterpret_cast<unsigned char*>(&load)), 4);
  EXPECT_EQ(load, -2);
  unsigned char data64[64] = {};
  EXPECT_EQ(GetDeviceLoadData(1, data64), 64);
}

TEST_F(SimulatedFamilies, MotorControllerMovesAndReportsPositions) {
  setenv("WRENLINK_SIMULATOR", "motor:opswitch=2:serial=F6,led16", 1);
  EXPECT_EQ(GetMotor(1), 0);  // an LED unit
  EXPECT_EQ(DoMove(1, 0, 1, 1), 0);
  ASSERT_EQ(GetMotor(0), 1);
  EXPECT_EQ(GetSwitch(0, 1), 1);  // at the origin
  EXPECT_EQ(DoMove(0, 1, 250, 100), 1);
  EXPECT_EQ(DoMove(0, 1, -50, 100), 1);
  EXPECT_EQ(GetStatus(0, 1), 200);
  EXPECT_EQ(GetSwitch(0, 1), 0);
  EXPECT_EQ(DoOriginal(0, 1, 0, 0), 1);
  EXPECT_EQ(GetStatus(0, 1), 0);
  EXPECT_EQ(GetOpSwitch(0, 1), 1);
  EXPECT_EQ(GetOpSwitch(0, 0), 0);
  EXPECT_EQ(SetStartSpeed(0, 300), 1);
  EXPECT_EQ(SetExcitation(0, 1, 1), 1);
  EXPECT_EQ(SetBuzzer(0, 1), 1);
  EXPECT_EQ(StopSoft(0), 1);
  EXPECT_EQ(StopNow(0), 1);
  EXPECT_EQ(CloseMotor(0), 1);
  EXPECT_EQ(DoMove(0, 1, 1, 1), 0);
  EXPECT_EQ(GetSwitch(0, 1), 1);
}

TEST_F(SimulatedFamilies, LedPowerSupplyKeepsCurrentsAndSwitch) {
  ASSERT_EQ(Plug("ledpower:serial=F7"), (std::vector<int>{35}));
  const auto currents = Pattern(32, 40);
  EXPECT_EQ(SetLEDPowerCurrent(0, currents.data()), 4);
  EXPECT_EQ(SetLEDPowerOnOff(0, 1), 4);
  EXPECT_EQ(RawQuery(0, 'D', 0x20, 32), currents);
  EXPECT_EQ(RawQuery(0, 'S', 0x04, 4), (std::vector<unsigned char>{1, 0, 0, 0}));
}

TEST_F(SimulatedFamilies, BrushlessDriverTurnsWithItsPwm) {
  ASSERT_EQ(Plug("bldc:serial=F8"), (std::vector<int>{17}));
  EXPECT_EQ(SetBLDC_PWM(0, 500), 4);
  int pwm = 0, speed = 0;
  EXPECT_EQ(GetBLDC_PWM(0, &pwm), 4);
  EXPECT_EQ(pwm, 500);
  EXPECT_EQ(GetBLDC_RND(0, &speed), 4);
  EXPECT_EQ(speed, 1500);
}

TEST_F(SimulatedFamilies, TextRelayLoopsTheLineBack) {
  ASSERT_EQ(Plug("relay:serial=F9"), (std::vector<int>{18}));
  char line[65];
  EXPECT_EQ(SetRS(0, "MEAS?"), 4);
  EXPECT_EQ(GetRS(0, line), 5);
  EXPECT_STREQ(line, "MEAS?");
  EXPECT_EQ(SetRS(0, ""), 4);
  EXPECT_EQ(GetRS(0, line), 0);
  EXPECT_STREQ(line, "");
}

TEST_F(SimulatedFamilies, DataUnitsAnswerTheirRecords) {
  ASSERT_EQ(Plug("gsensor:serial=F10,sparam:serial=F10,drone:serial=F10"),
            (std::vector<int>{20, 25, 26}));
  float g[32] = {};
  EXPECT_EQ(GetGData(0, g), 64);
  EXPECT_EQ(g[2], 1.0f);
  EXPECT_EQ(g[3], 24.5f);
  EXPECT_NEAR(g[8], 3.3f, 0.001f);

  unsigned char block[40] = {0xD0, 0x07};  // first word 2000
  EXPECT_EQ(SetSParameter(1, block), 4);
  unsigned char back[40] = {};
  EXPECT_EQ(GetSParameter(1, back), 40);
  EXPECT_EQ(std::memcmp(back, block, 40), 0);
  float readings[3] = {};
  EXPECT_EQ(GetSData(1, readings), 6);
  EXPECT_EQ(readings[0], 2.0f);
  EXPECT_EQ(readings[1], -0.25f);

  std::vector<unsigned char> record(3024);
  EXPECT_EQ(GetDroneData(2, record.data()), 3024);
  int32_t first = 0, second = 0;
  std::memcpy(&first, record.data(), 4);
  EXPECT_EQ(GetDroneData(2, record.data()), 3024);
  std::memcpy(&second, record.data(), 4);
  EXPECT_EQ(second, first + 1);
}

}  // namespace
