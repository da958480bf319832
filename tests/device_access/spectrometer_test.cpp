// Spectrometer commands: readouts, exposure, EEPROM, temperature, mirror and the
// calibration-table exchanges, byte for byte.
#include <gtest/gtest.h>

#include <cstring>

#include "../scoped_env.h"
#include "scripted_transport.h"
#include "wrenlink.h"

namespace wrenlink::testing {
namespace {

const Bytes kStart = {0x73, 0x00};
const Bytes kStatus = {0x53, 0x00};

Bytes Ready() {
  return Bytes(32, 0);
}
Bytes Busy() {
  Bytes reply(32, 0);
  reply[0] = 1;
  return reply;
}

TEST(PolledReadout, ReadyAtOnceTakesThreeExchangesAndNoWait) {
  ScriptedTransport bus;
  bus.DetectAs(0, 33);
  bus.Expect(kStart, Bytes(32, 0));
  bus.Expect(kStatus, Ready());
  bus.Expect({0x64, 0x00}, Bytes(576, 0x11));
  std::vector<std::uint8_t> samples(576, 0);
  EXPECT_EQ(GetDeviceData(0, samples.data()), 576);
  EXPECT_EQ(samples[575], 0x11);
  EXPECT_TRUE(bus.sleepsMs.empty());
  EXPECT_EQ(bus.readMaxima, (std::vector<int>{32, 32, 576}));
}

// The transport's clock moves only by the library's waits: the poll gives up ten seconds after
// the start, a few polls beyond the thousand of the fixed 10 ms cadence, and reads anyway.
TEST(PolledReadout, NeverReadyGivesUpAfterTenSecondsThenReadsAnyway) {
  for (const char* tenMs : {"0", "1"}) {
    chromiva::test::ScopedEnv cadence("WRENLINK_TEN_MS_POLL", tenMs);
    ScriptedTransport bus;
    bus.DetectAs(0, 38);
    const int polls = tenMs[0] == '1' ? 1000 : 1004;
    bus.Expect(kStart, Bytes(32, 0));
    bus.ExpectRepeated(kStatus, Busy(), polls);
    bus.Expect({0x64, 0x00}, Bytes(512, 0x22));
    std::vector<std::uint8_t> samples(512, 0);
    EXPECT_EQ(GetDeviceData(0, samples.data()), 512) << tenMs;
    EXPECT_TRUE(bus.ScriptDone()) << tenMs;
    EXPECT_EQ(bus.sleepsMs.size(), static_cast<std::size_t>(polls - 1)) << tenMs;
    EXPECT_EQ(bus.clockUs, tenMs[0] == '1' ? 9'990'000 : 10'000'000) << tenMs;
  }
}

struct WaitCase {
  const char* name;
  double exposureUs;  // set through the library; negative: never set
  double speed;       // how much faster the instrument's exposures elapse
  bool tenMsPoll;
  int busyPolls;
  std::vector<int> sleepsMs;
};

// The wait runs to the end of the exposure on the instrument's clock, then in steps of 1 ms that
// double up to 10 ms.
TEST(PolledReadout, WaitsFollowTheExposureThenStepsFromOneMillisecond) {
  const WaitCase cases[] = {
      {"exposure ends", 100000, 1, false, 1, {100}},
      {"100 times faster", 100000, 100, false, 1, {1}},
      {"shorter than a step", 300, 1, false, 1, {1}},
      {"late instrument", 20000, 1, false, 4, {20, 1, 2, 4}},
      {"exposure not known", -1, 1, false, 6, {1, 2, 4, 8, 10, 10}},
      {"ten ms cadence", 100000, 1, true, 3, {10, 10, 10}},
  };
  for (const WaitCase& c : cases) {
    chromiva::test::ScopedEnv cadence("WRENLINK_TEN_MS_POLL", c.tenMsPoll ? "1" : nullptr);
    ScriptedTransport bus;
    bus.exposureSpeed = c.speed;
    bus.DetectAs(0, 33);
    if (c.exposureUs >= 0) {
      Bytes set = {0x65, 0x00, 0, 0, 0, 0};
      for (int i = 0; i < 4; ++i)
        set[2 + i] = static_cast<std::uint8_t>(static_cast<int>(c.exposureUs) >> (8 * i));
      bus.Expect(set, Bytes(4, 0));
      ASSERT_EQ(SetDeviceExposure(0, c.exposureUs), 4) << c.name;
    }
    bus.Expect(kStart, Bytes(32, 0));
    bus.ExpectRepeated(kStatus, Busy(), c.busyPolls);
    bus.Expect(kStatus, Ready());
    bus.Expect({0x64, 0x00}, Bytes(576, 0x11));
    std::vector<std::uint8_t> samples(576, 0);
    EXPECT_EQ(GetDeviceData(0, samples.data()), 576) << c.name;
    EXPECT_EQ(bus.sleepsMs, c.sleepsMs) << c.name;
  }
}

// An exposure read from the instrument counts as known; one whose exchange got no reply does not.
TEST(PolledReadout, ExposureReadOrLostDecidesTheFirstWait) {
  for (bool answered : {true, false}) {
    ScriptedTransport bus;
    bus.DetectAs(0, 33);
    bus.Expect({0x45, 0x00},
               answered ? std::optional<Bytes>(Bytes{0x50, 0xC3, 0, 0}) : std::nullopt);
    double exposure = 0;
    GetDeviceExposure(0, &exposure);
    bus.Expect(kStart, Bytes(32, 0));
    bus.Expect(kStatus, Busy());
    bus.Expect(kStatus, Ready());
    bus.Expect({0x64, 0x00}, Bytes(576, 0x11));
    std::vector<std::uint8_t> samples(576, 0);
    EXPECT_EQ(GetDeviceData(0, samples.data()), 576);
    EXPECT_EQ(bus.sleepsMs, std::vector<int>{answered ? 50 : 1}) << answered;
  }
}

TEST(PolledReadout, ShortReplyLeavesTheRestOfTheBuffer) {
  ScriptedTransport bus;
  bus.DetectAs(0, 33);
  bus.Expect(kStart, Bytes(32, 0));
  bus.Expect(kStatus, Bytes(1, 0));
  bus.Expect({0x64, 0x00}, Bytes(100, 0x33));
  std::vector<std::uint8_t> samples(576, 0x77);
  EXPECT_EQ(GetDeviceData(0, samples.data()), 100);
  EXPECT_EQ(samples[99], 0x33);
  EXPECT_EQ(samples[100], 0x77);
}

// A silent instrument costs one timed-out exchange per readout, not three.
TEST(Readout, UnansweredControlExchangeGivesUpAtOnce) {
  for (int kind : {33, 4}) {
    for (bool startAnswered : {false, true}) {
      ScriptedTransport bus;
      bus.DetectAs(0, kind);
      bus.Expect(kStart, startAnswered ? std::optional<Bytes>(Bytes(32, 0)) : std::nullopt);
      if (startAnswered) bus.Expect(kStatus, std::nullopt);
      std::vector<std::uint8_t> samples(576, 0x77);
      EXPECT_EQ(GetDeviceData(0, samples.data()), 0) << kind;
      EXPECT_TRUE(bus.ScriptDone());
      EXPECT_EQ(bus.requests.size(), startAnswered ? 2u : 1u);
      EXPECT_EQ(samples[0], 0x77);
    }
  }
}

struct BlockCase {
  int kind;
  int blocks;
};

class BlockReadout : public ::testing::TestWithParam<BlockCase> {};

TEST_P(BlockReadout, SendsStartStatusAndEveryBlockInOrder) {
  const BlockCase c = GetParam();
  ScriptedTransport bus;
  bus.DetectAs(0, c.kind);
  bus.Expect(kStart, Bytes(32, 0));
  bus.Expect(kStatus, Busy());  // not examined, no waiting
  for (int b = 0; b < c.blocks; ++b) {
    bus.Expect({0x44, static_cast<std::uint8_t>(b)}, Bytes(64, static_cast<std::uint8_t>(b + 1)));
  }
  std::vector<std::uint8_t> samples(1200, 0);
  EXPECT_EQ(GetDeviceData(0, samples.data()), 64);
  EXPECT_EQ(samples[c.blocks * 64 - 1], c.blocks);
  EXPECT_EQ(samples[c.blocks * 64], 0);
  EXPECT_TRUE(bus.ScriptDone());
  EXPECT_TRUE(bus.sleepsMs.empty());
}

INSTANTIATE_TEST_SUITE_P(Kinds, BlockReadout,
                         ::testing::Values(BlockCase{1, 8}, BlockCase{4, 9}, BlockCase{37, 17},
                                           BlockCase{30, 8}, BlockCase{28, 9}));

TEST(Readout, KindWithoutReadoutSendsNothing) {
  ScriptedTransport bus;
  bus.DetectAs(0, 34);
  std::vector<std::uint8_t> samples(8, 0x55);
  EXPECT_EQ(GetDeviceData(0, samples.data()), 0);
  EXPECT_EQ(samples[0], 0x55);
  EXPECT_TRUE(bus.requests.empty());
}

TEST(Exposure, WriteTruncatesTowardZero) {
  ScriptedTransport bus;
  bus.DetectAs(0, 33);
  bus.Expect({0x65, 0x00, 20, 0, 0, 0}, Bytes(4, 0));
  bus.Expect({0x65, 0x00, 0, 0, 0, 0}, Bytes(4, 0));
  bus.Expect({0x65, 0x00, 0x60, 0xF5, 0x90, 0x00}, Bytes(4, 0));
  EXPECT_EQ(SetDeviceExposure(0, 20.9), 4);
  EXPECT_EQ(SetDeviceExposure(0, -0.5), 4);
  EXPECT_EQ(SetDeviceExposure(0, 9500000.0), 4);
  EXPECT_TRUE(bus.ScriptDone());
}

TEST(Exposure, ReadConvertsAndSecondChannelOnlyOnKind37) {
  ScriptedTransport bus;
  bus.DetectAs(0, 37);
  double first = -1, second = -1;
  EXPECT_EQ(GetDeviceExposure(0, &first), 0);
  EXPECT_EQ(first, -1);
  EXPECT_TRUE(bus.requests.empty());
  bus.Expect({0x45, 0x00}, Bytes{0x09, 0x01, 0, 0});
  bus.Expect({0x45, 0x01}, Bytes{0xFF, 0xFF, 0xFF, 0xFF});
  EXPECT_EQ(GetDeviceExposure2(0, &first, &second), 4);
  EXPECT_EQ(first, 265.0);
  EXPECT_EQ(second, -1.0);
  bus.Expect({0x65, 0x00, 1, 0, 0, 0}, Bytes(4, 0));
  bus.Expect({0x65, 0x01, 2, 0, 0, 0}, Bytes(2, 0));
  EXPECT_EQ(SetDeviceExposure2(0, 1.0, 2.0), 2);
}

TEST(Eeprom, SerialCompAndLimits) {
  ScriptedTransport bus;
  bus.DetectAs(0, 33);
  bus.Expect({0x50, 0x40, 0x00, 0x00}, Bytes{'A', 'B', '1'});
  unsigned char buffer[300] = {};
  EXPECT_EQ(GetDeviceSerialNo(0, buffer, 64), 3);

  Bytes comp(48);
  for (int i = 0; i < 48; ++i) comp[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
  Bytes request = {0x70, 0x30, 0x10, 0x00};
  request.insert(request.end(), comp.begin(), comp.end());
  bus.Expect(request, Bytes(4, 0));
  EXPECT_EQ(SetDeviceComp(0, comp.data()), 4);
  EXPECT_EQ(bus.readMaxima.back(), 64);

  EXPECT_EQ(SetDeviceComp2(0, comp.data()), 0);  // second block only on kind 37
  EXPECT_EQ(SetDeviceEeprom(0, 0, buffer, 61), 0);
  EXPECT_EQ(GetDeviceEeprom(0, 0, buffer, 256), 0);
  EXPECT_EQ(GetDeviceEeprom(0, 0, buffer, 0), 0);
  bus.Expect({0x50, 0xFF, 0x34, 0x12}, Bytes(255, 1));
  EXPECT_EQ(GetDeviceEeprom(0, 0x1234, buffer, 255), 255);
  EXPECT_TRUE(bus.ScriptDone());
}

TEST(Eeprom, AnyKindReachesTheFirstSpaceAndKind37TheSecond) {
  ScriptedTransport bus;
  bus.DetectAs(0, 99);
  unsigned char buffer[8] = {};
  bus.Expect({0x50, 0x08, 0x00, 0x01}, Bytes(8, 2));
  EXPECT_EQ(GetDeviceEeprom(0, 256, buffer, 8), 8);
  EXPECT_EQ(GetDeviceEeprom2(0, 0, buffer, 8), 0);
  CloseDevice(0);
  bus.DetectAs(0, 37);
  Bytes comp(48, 9);
  Bytes request = {0x70, 0x30, 0x20, 0x00};
  request.insert(request.end(), comp.begin(), comp.end());
  bus.Expect(request, Bytes(4, 0));
  EXPECT_EQ(SetDeviceComp2(0, comp.data()), 4);
  bus.Expect({0x66, 0x02, 0x05, 0x00, 7, 8}, Bytes(1, 0));
  const unsigned char data[2] = {7, 8};
  EXPECT_EQ(SetDeviceEeprom2(0, 5, data, 2), 1);
  EXPECT_TRUE(bus.ScriptDone());
}

TEST(Temperature, SignedTenthsOfADegree) {
  ScriptedTransport bus;
  bus.DetectAs(0, 33);
  bus.Expect({0x54, 0x02}, Bytes{0xFD, 0x00});
  bus.Expect({0x54, 0x02}, Bytes{0xCC, 0xFF});
  int16_t tenths = 0;
  EXPECT_EQ(GetDeviceTemp(0, &tenths), 2);
  EXPECT_EQ(tenths, 253);
  EXPECT_EQ(GetDeviceTemp(0, &tenths), 2);
  EXPECT_EQ(tenths, -52);
  CloseDevice(0);
  bus.DetectAs(0, 4);  // no temperature on kind 4
  EXPECT_EQ(GetDeviceTemp(0, &tenths), 0);
  EXPECT_TRUE(bus.requests.empty());
}

TEST(RealData, StartStatusThenTheWholeFrame) {
  ScriptedTransport bus;
  bus.DetectAs(0, 33);
  bus.Expect(kStart, Ready());
  bus.Expect(kStatus, Busy());
  bus.Expect({0x52, 0x00}, Bytes(1152, 4));
  std::vector<unsigned char> buffer(1152);
  EXPECT_EQ(GetDeviceRealData(0, buffer.data()), 1152);
  EXPECT_TRUE(bus.sleepsMs.empty());
}

TEST(Mirror, PositionOnlyOnTheMirrorUnit) {
  ScriptedTransport bus;
  bus.DetectAs(0, 34);
  bus.Expect({0x73, 0x00, 0xE8, 0x03}, Bytes(4, 0));
  EXPECT_EQ(SetMirror(0, 1000), 4);
  bus.Expect({0x73, 0x00, 0xFF, 0xFF}, Bytes(4, 0));
  EXPECT_EQ(SetMirror(0, 0x1FFFF), 4);  // low 16 bits
  CloseDevice(0);
  bus.DetectAs(0, 33);
  EXPECT_EQ(SetMirror(0, 1000), 0);
  EXPECT_TRUE(bus.requests.empty());
}

}  // namespace
}  // namespace wrenlink::testing
