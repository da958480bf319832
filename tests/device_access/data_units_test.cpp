// Brushless driver, text relay and the data units, byte for byte and value for value.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "scripted_transport.h"
#include "wrenlink.h"

namespace wrenlink::testing {
namespace {

Bytes Concat(Bytes head, const Bytes& tail) {
  head.insert(head.end(), tail.begin(), tail.end());
  return head;
}

Bytes Raw16(std::initializer_list<int> values) {
  Bytes bytes;
  for (int v : values) {
    bytes.push_back(static_cast<std::uint8_t>(v & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
  }
  return bytes;
}

TEST(Brushless, PwmTravelsAsTheLow16BitsThenTwoZeros) {
  ScriptedTransport bus;
  bus.DetectAs(0, 17);
  bus.Expect({0x64, 0x04, 0x34, 0x12, 0x00, 0x00}, Bytes(4, 0));
  bus.Expect({0x64, 0x04, 0x01, 0xFF, 0x00, 0x00}, Bytes(4, 0));
  EXPECT_EQ(SetBLDC_PWM(0, 0x1234), 4);
  EXPECT_EQ(SetBLDC_PWM(0, -255), 4);  // 0xFF01, not 1
  EXPECT_TRUE(bus.ScriptDone());
}

TEST(Brushless, ReadingsAreSigned32BitAndZeroWhenMissing) {
  ScriptedTransport bus;
  bus.DetectAs(0, 17);
  bus.Expect({0x44, 0x00}, Bytes{0x00, 0x01, 0x00, 0x00});
  bus.Expect({0x46, 0x00}, Bytes{0xFF, 0xFF, 0xFF, 0xFF});
  bus.Expect({0x46, 0x00}, std::nullopt);
  int pwm = 0, speed = 0;
  EXPECT_EQ(GetBLDC_PWM(0, &pwm), 4);
  EXPECT_EQ(pwm, 256);
  EXPECT_EQ(GetBLDC_RND(0, &speed), 4);
  EXPECT_EQ(speed, -1);
  EXPECT_EQ(GetBLDC_RND(0, &speed), 0);
  EXPECT_EQ(speed, 0);
  CloseDevice(0);
  bus.DetectAs(0, 18);
  EXPECT_EQ(GetBLDC_PWM(0, &pwm), 0);
  EXPECT_TRUE(bus.requests.empty());
}

TEST(TextRelay, SendsTheTextWithoutItsNulAndCutsAt62) {
  ScriptedTransport bus;
  bus.DetectAs(0, 18);
  const std::string longText(70, 'x');
  bus.Expect({0x64, 0x00}, Bytes(4, 0));
  bus.Expect({0x64, 0x03, 'a', 'b', 'c'}, Bytes(4, 0));
  bus.Expect(Concat({0x64, 62}, Bytes(62, 'x')), Bytes(4, 0));
  EXPECT_EQ(SetRS(0, ""), 4);
  EXPECT_EQ(SetRS(0, "abc"), 4);
  EXPECT_EQ(SetRS(0, longText.c_str()), 4);
  EXPECT_EQ(bus.requests.back().size(), 64u);
  EXPECT_EQ(SetRS(0, nullptr), 0);
  EXPECT_TRUE(bus.ScriptDone());
}

TEST(TextRelay, ReplyIsTerminatedAtItsCount) {
  ScriptedTransport bus;
  bus.DetectAs(0, 18);
  bus.Expect({0x44, 0x00}, Bytes{'h', 'e', 'l', 'l', 'o'});
  bus.Expect({0x44, 0x00}, Bytes(64, 'z'));
  bus.Expect({0x44, 0x00}, std::nullopt);
  char text[65];
  std::memset(text, '#', sizeof text);
  EXPECT_EQ(GetRS(0, text), 5);
  EXPECT_STREQ(text, "hello");
  EXPECT_EQ(text[6], '#');
  EXPECT_EQ(GetRS(0, text), 64);
  EXPECT_EQ(text[63], 'z');
  EXPECT_EQ(text[64], '\0');
  EXPECT_EQ(GetRS(0, text), 0);
  EXPECT_EQ(text[0], '\0');
  EXPECT_EQ(bus.readMaxima, (std::vector<int>{64, 64, 64}));
}

TEST(GSensor, ScalesEachPositionInSinglePrecision) {
  ScriptedTransport bus;
  bus.DetectAs(0, 20);
  Bytes reply = Raw16({-16384, 8192, 0, 4000, 16384, 0, 0, 0, 0xFFFF, 0x8000});
  reply.resize(64, 0);
  bus.Expect({0x44, 0x00}, reply);
  float values[33];
  std::fill(std::begin(values), std::end(values), -9.0f);
  EXPECT_EQ(GetGData(0, values), 64);
  EXPECT_EQ(values[0], -1.0f);
  EXPECT_EQ(values[1], 0.5f);
  EXPECT_EQ(values[3], 25.0f);
  EXPECT_EQ(values[4], 1.0f);
  EXPECT_EQ(values[8], 65535.0f * 4.096f / 65536.0f);  // unsigned from position 8 on
  EXPECT_EQ(values[9], 32768.0f * 4.096f / 65536.0f);
  EXPECT_EQ(values[31], 0.0f);
  EXPECT_EQ(values[32], -9.0f);
}

TEST(GSensor, OnlyWholeValuesOfAShortReplyAreWritten) {
  ScriptedTransport bus;
  bus.DetectAs(0, 20);
  bus.Expect({0x44, 0x00}, Raw16({0, 0, 0, 4100}));
  bus.Expect({0x44, 0x00}, Bytes{0x00, 0x40, 0x00});  // 3 bytes: one value
  float values[32];
  std::fill(std::begin(values), std::end(values), -9.0f);
  EXPECT_EQ(GetGData(0, values), 8);
  EXPECT_EQ(values[3], 26.0f);
  EXPECT_EQ(values[4], -9.0f);
  EXPECT_EQ(GetGData(0, values), 3);
  EXPECT_EQ(values[0], 1.0f);
  EXPECT_EQ(values[1], 0.0f);  // kept from the first reply
}

TEST(SensorUnit, ReadingsInThousandthsAllWrittenWhateverArrives) {
  ScriptedTransport bus;
  bus.DetectAs(0, 25);
  bus.Expect({0x44, 0x00}, Bytes{0xE8, 0x03, 0x18, 0xFC, 0x01, 0x00});
  bus.Expect({0x44, 0x00}, Bytes{0xE8, 0x03});
  float values[3] = {};
  EXPECT_EQ(GetSData(0, values), 6);
  EXPECT_EQ(values[0], 1.0f);
  EXPECT_EQ(values[1], -1.0f);
  EXPECT_EQ(values[2], 0.001f);
  EXPECT_EQ(GetSData(0, values), 2);
  EXPECT_EQ(values[1], 0.0f);
  EXPECT_EQ(values[2], 0.0f);
}

TEST(SensorUnit, ParameterBlockOf40Bytes) {
  ScriptedTransport bus;
  bus.DetectAs(0, 25);
  const Bytes block(40, 0x5A);
  bus.Expect({0x50, 0x00}, block);
  bus.Expect(Concat({0x70, 0x00}, block), Bytes(64, 0));
  Bytes buffer(40, 0);
  EXPECT_EQ(GetSParameter(0, buffer.data()), 40);
  EXPECT_EQ(buffer, block);
  EXPECT_EQ(SetSParameter(0, block.data()), 64);
  EXPECT_EQ(bus.readMaxima, (std::vector<int>{40, 64}));
}

TEST(DroneUnit, RecordOf3024BytesOnKind26Only) {
  ScriptedTransport bus;
  bus.DetectAs(0, 26);
  bus.Expect({0x44, 0x00}, Bytes(3024, 7));
  Bytes record(3024, 0);
  EXPECT_EQ(GetDroneData(0, record.data()), 3024);
  EXPECT_EQ(record.back(), 7);
  CloseDevice(0);
  bus.DetectAs(0, 25);
  EXPECT_EQ(GetDroneData(0, record.data()), 0);
  float values[3] = {};
  CloseDevice(0);
  bus.DetectAs(0, 26);
  EXPECT_EQ(GetSData(0, values), 0);
  EXPECT_EQ(GetGData(0, values), 0);
  EXPECT_TRUE(bus.requests.empty());
}

}  // namespace
}  // namespace wrenlink::testing
