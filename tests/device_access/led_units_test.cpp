// LED units of every size and the LED power supply, byte for byte.
#include <gtest/gtest.h>

#include <numeric>

#include "scripted_transport.h"
#include "wrenlink.h"

namespace wrenlink::testing {
namespace {

Bytes Concat(Bytes head, const Bytes& tail) {
  head.insert(head.end(), tail.begin(), tail.end());
  return head;
}

Bytes Counting(int count, int first = 0) {
  Bytes bytes(static_cast<std::size_t>(count));
  std::iota(bytes.begin(), bytes.end(), static_cast<std::uint8_t>(first));
  return bytes;
}

TEST(ThreeBankLed, ReadsBanksDEFAndTotalsTheCounts) {
  ScriptedTransport bus;
  bus.DetectAs(0, 23);
  bus.Expect({0x44, 0x20}, Counting(32, 0));
  bus.Expect({0x45, 0x20}, Counting(32, 32));
  bus.Expect({0x46, 0x20}, Counting(32, 64));
  Bytes levels(100, 0xEE);
  EXPECT_EQ(GetDeviceLED(0, levels.data()), 96);
  EXPECT_EQ(Bytes(levels.begin(), levels.begin() + 96), Counting(96));
  EXPECT_EQ(levels[96], 0xEE);
  EXPECT_EQ(bus.readMaxima, (std::vector<int>{32, 32, 32}));
}

TEST(ThreeBankLed, ShortBanksAddUpAndLeaveTheRest) {
  ScriptedTransport bus;
  bus.DetectAs(0, 23);
  bus.Expect({0x44, 0x20}, Bytes(32, 1));
  bus.Expect({0x45, 0x20}, Bytes(10, 2));
  bus.Expect({0x46, 0x20}, std::nullopt);
  Bytes levels(96, 0xEE);
  EXPECT_EQ(GetDeviceLED(0, levels.data()), 42);
  EXPECT_EQ(levels[41], 2);
  EXPECT_EQ(levels[42], 0xEE);
  EXPECT_EQ(levels[64], 0xEE);
}

TEST(ThreeBankLed, WritesBanksdefAndTotalsTheAcknowledgements) {
  ScriptedTransport bus;
  bus.DetectAs(0, 23);
  const Bytes levels = Counting(96);
  bus.Expect(Concat({0x64, 0x20}, Counting(32, 0)), Bytes(2, 0));
  bus.Expect(Concat({0x65, 0x20}, Counting(32, 32)), Bytes(2, 0));
  bus.Expect(Concat({0x66, 0x20}, Counting(32, 64)), Bytes(1, 0));
  EXPECT_EQ(SetDeviceLED(0, levels.data()), 5);
  EXPECT_EQ(bus.readMaxima, (std::vector<int>{2, 2, 2}));
}

TEST(LedUnits, OneExchangeSizesByKind) {
  struct Case {
    int kind, levels, switches;
  };
  for (Case c : {Case{13, 16, 2}, Case{29, 16, 2}, Case{22, 32, 4}}) {
    ScriptedTransport bus;
    bus.DetectAs(0, c.kind);
    const auto n = static_cast<std::uint8_t>(c.levels);
    const auto m = static_cast<std::uint8_t>(c.switches);
    bus.Expect({0x44, n}, Counting(64));
    bus.Expect(Concat({0x64, n}, Counting(c.levels)), Bytes(4, 0));
    bus.Expect({0x53, m}, Counting(64));
    bus.Expect(Concat({0x73, m}, Counting(c.switches)), Bytes(2, 0));
    Bytes buffer(64, 0);
    EXPECT_EQ(GetDeviceLED(0, buffer.data()), c.levels) << c.kind;
    EXPECT_EQ(SetDeviceLED(0, Counting(64).data()), 2);
    EXPECT_EQ(GetDeviceLEDSW(0, buffer.data()), c.switches);
    EXPECT_EQ(SetDeviceLEDSW(0, Counting(64).data()), 2);
    EXPECT_EQ(bus.readMaxima, (std::vector<int>{c.levels, 2, c.switches, 2}));
  }
}

TEST(LedUnits, ThreeBankUnitHasTwelveSwitchBytes) {
  ScriptedTransport bus;
  bus.DetectAs(0, 23);
  bus.Expect({0x53, 0x0C}, Counting(12));
  bus.Expect(Concat({0x73, 0x0C}, Counting(12)), Bytes(2, 0));
  Bytes switches(12, 0);
  EXPECT_EQ(GetDeviceLEDSW(0, switches.data()), 12);
  EXPECT_EQ(SetDeviceLEDSW(0, switches.data()), 2);
}

TEST(LedUnits, VoltageAndCurrentOnTheThreeBankUnitOnly) {
  ScriptedTransport bus;
  bus.DetectAs(0, 23);
  bus.Expect({0x43, 0x04}, Bytes{0xE0, 0x2E, 0x34, 0x12});
  bus.Expect({0x43, 0x04}, Bytes{0x01});
  uint16_t volts = 1, amps = 1;
  EXPECT_EQ(GetDeviceLEDVC(0, &volts, &amps), 4);
  EXPECT_EQ(volts, 12000);
  EXPECT_EQ(amps, 0x1234);
  EXPECT_EQ(GetDeviceLEDVC(0, &volts, &amps), 1);
  EXPECT_EQ(volts, 1);
  EXPECT_EQ(amps, 0);
  CloseDevice(0);
  bus.DetectAs(0, 22);
  EXPECT_EQ(GetDeviceLEDVC(0, &volts, &amps), 0);
  EXPECT_TRUE(bus.requests.empty());
}

TEST(LedUnits, NameOnKind29Only) {
  ScriptedTransport bus;
  bus.DetectAs(0, 29);
  const Bytes name = Counting(48, 'A');
  bus.Expect({0x57, 0x30}, name);
  bus.Expect(Concat({0x77, 0x30}, name), Bytes(2, 0));
  Bytes buffer(48, 0);
  EXPECT_EQ(GetDeviceLEDName(0, buffer.data()), 48);
  EXPECT_EQ(buffer, name);
  EXPECT_EQ(SetDeviceLEDName(0, name.data()), 2);
  CloseDevice(0);
  bus.DetectAs(0, 13);
  EXPECT_EQ(GetDeviceLEDName(0, buffer.data()), 0);
  EXPECT_EQ(SetDeviceLEDName(0, name.data()), 0);
  EXPECT_TRUE(bus.requests.empty());
}

TEST(LedUnits, TemperatureKindsDifferFromGetDeviceTemp) {
  for (int kind : {28, 29, 30, 33}) {
    ScriptedTransport bus;
    bus.DetectAs(0, kind);
    bus.Expect({0x54, 0x02}, Bytes{0xCC, 0xFF});
    int16_t tenths = 0;
    EXPECT_EQ(GetDeviceLEDTemp(0, &tenths), 2) << kind;
    EXPECT_EQ(tenths, -52);
  }
  for (int kind : {13, 37, 38}) {
    ScriptedTransport bus;
    bus.DetectAs(0, kind);
    int16_t tenths = 7;
    EXPECT_EQ(GetDeviceLEDTemp(0, &tenths), 0) << kind;
    EXPECT_EQ(tenths, 7);
    EXPECT_TRUE(bus.requests.empty());
  }
}

TEST(LedPower, CurrentsAndOnOffWord) {
  ScriptedTransport bus;
  bus.DetectAs(0, 35);
  const Bytes currents = Counting(32, 100);
  bus.Expect(Concat({0x64, 0x20}, currents), Bytes(4, 0));
  bus.Expect({0x73, 0x04, 0x01, 0x00, 0x00, 0x00}, Bytes(4, 0));
  EXPECT_EQ(SetLEDPowerCurrent(0, currents.data()), 4);
  EXPECT_EQ(SetLEDPowerOnOff(0, 1), 4);
  EXPECT_EQ(bus.readMaxima, (std::vector<int>{4, 4}));
  CloseDevice(0);
  bus.DetectAs(0, 23);
  EXPECT_EQ(SetLEDPowerOnOff(0, 1), 0);
  EXPECT_EQ(SetLEDPowerCurrent(0, nullptr), 0);
  EXPECT_TRUE(bus.requests.empty());
}

}  // namespace
}  // namespace wrenlink::testing
