// The motor controller's text commands, the library-wide open flag and the reply parser.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

#include "families/motor_text.h"
#include "scripted_transport.h"
#include "wrenlink.h"

namespace wrenlink::testing {
namespace {

// The 50-byte request of a text command: the text, then zeros.
Bytes Text(const std::string& text) {
  Bytes request(50, 0);
  std::memcpy(request.data(), text.data(), text.size());
  return request;
}

Bytes Reply(const std::string& text) {
  return Bytes(text.begin(), text.end());
}

int Parse(const std::string& text) {
  return ParseReplyNumber(reinterpret_cast<const std::uint8_t*>(text.c_str()), text.size() + 1);
}

class Motor : public ::testing::Test {
 protected:
  void TearDown() override { CloseMotor(0); }

  // Probes index 0 as a device of `kind`: kind query at detection, then name and version.
  int Probe(int kind) {
    bus.Expect({0x4B, 0x00}, Bytes{static_cast<std::uint8_t>(kind), 0, 0, 0});
    bus.Expect({0x4E, 0x00}, Reply("PMC-2"));
    bus.Expect({0x56, 0x00}, Reply("1.0"));
    return GetMotor(0);
  }

  void OpenMotor() {
    ASSERT_EQ(Probe(15), 1);
    bus.requests.clear();
    bus.readMaxima.clear();
  }

  ScriptedTransport bus;
};

TEST_F(Motor, GetMotorDetectsAndAsksNameAndVersion) {
  EXPECT_EQ(Probe(15), 1);
  EXPECT_EQ(bus.readMaxima, (std::vector<int>{4, 50, 50}));
}

TEST_F(Motor, AnotherKindStaysOpenButNoTextIsSent) {
  EXPECT_EQ(Probe(33), 0);
  EXPECT_EQ(DoMove(0, 1, 2, 3), 0);
  bus.Expect({0x01}, std::nullopt);
  EXPECT_EQ(WriteData(0, Bytes{0x01}.data(), 1), 1);  // the slot is still open
  EXPECT_EQ(bus.requests.size(), 4u);
}

TEST_F(Motor, FailedDetectionClearsTheFlag) {
  OpenMotor();
  CloseDevice(0);
  bus.devicePaths.clear();
  EXPECT_EQ(GetMotor(0), 0);
  EXPECT_EQ(StopNow(0), 0);
  EXPECT_TRUE(bus.requests.empty());
}

TEST_F(Motor, DoMoveSendsTheTextZeroFilledTo50Bytes) {
  OpenMotor();
  bus.Expect(Text("PM100,-20,3,"), Reply("OK"));
  EXPECT_EQ(DoMove(0, 100, -20, 3), 1);
  EXPECT_EQ(bus.requests.back().size(), 50u);
  EXPECT_EQ(bus.readMaxima, (std::vector<int>{32}));
}

TEST_F(Motor, SettersSendTheirTextAndIgnoreTheReply) {
  OpenMotor();
  bus.Expect(Text("PO1,-2,3,"), std::nullopt);
  bus.Expect(Text("PV-500,"), Reply("NG"));
  bus.Expect(Text("PE1,0,"), Reply("OK"));
  bus.Expect(Text("PB,"), Reply("OK"));
  bus.Expect(Text("Pb,"), Reply("OK"));
  bus.Expect(Text("Ps"), Reply("OK"));
  bus.Expect(Text("PS"), Reply("OK"));
  bus.Expect(Text("PM-2147483648,2147483647,0,"), Reply("OK"));
  EXPECT_EQ(DoOriginal(0, 1, -2, 3), 1);
  EXPECT_EQ(SetStartSpeed(0, -500), 1);
  EXPECT_EQ(SetExcitation(0, 1, 0), 1);
  EXPECT_EQ(SetBuzzer(0, 7), 1);
  EXPECT_EQ(SetBuzzer(0, 0), 1);
  EXPECT_EQ(StopSoft(0), 1);
  EXPECT_EQ(StopNow(0), 1);
  EXPECT_EQ(DoMove(0, INT_MIN, INT_MAX, 0), 1);
  EXPECT_TRUE(bus.ScriptDone());
}

TEST_F(Motor, QueriesParseTheirReplies) {
  OpenMotor();
  bus.Expect(Text("GS3,"), Reply("-12,"));
  bus.Expect(Text("GI0,"), Reply(" 1,"));
  bus.Expect(Text("GS3,"), Reply("OK25,"));
  bus.Expect(Text("GS1,"), std::nullopt);
  bus.Expect(Text("GS2,"), Reply("99999999999999999999999999999999"));
  EXPECT_EQ(GetSwitch(0, 3), -12);
  EXPECT_EQ(GetOpSwitch(0, 0), 1);
  EXPECT_EQ(GetStatus(0, 3), 25);
  EXPECT_EQ(GetSwitch(0, 1), 0);  // nothing arrived
  EXPECT_EQ(GetSwitch(0, 2), INT_MAX);
}

TEST_F(Motor, TheFlagIsNotPerSlot) {
  OpenMotor();
  bus.DetectAs(1, 33);
  bus.Expect(Text("PS"), Reply("OK"));
  EXPECT_EQ(StopNow(1), 1);
  EXPECT_TRUE(bus.ScriptDone());
}

TEST_F(Motor, CommandsWhileClosedSendNothing) {
  EXPECT_EQ(DoMove(0, 100, -20, 3), 0);
  EXPECT_EQ(DoOriginal(0, 1, 2, 3), 0);
  EXPECT_EQ(SetStartSpeed(0, 1), 0);
  EXPECT_EQ(SetExcitation(0, 1, 2), 0);
  EXPECT_EQ(SetBuzzer(0, 1), 0);
  EXPECT_EQ(StopSoft(0), 0);
  EXPECT_EQ(StopNow(0), 0);
  EXPECT_EQ(GetSwitch(0, 1), 1);
  EXPECT_EQ(GetOpSwitch(0, 1), 0);
  EXPECT_EQ(GetStatus(0, 1), 0);
  EXPECT_TRUE(bus.requests.empty());
}

TEST_F(Motor, CloseMotorClosesTheSlotOnlyWhileOpen) {
  bus.DetectAs(0, 33);
  EXPECT_EQ(CloseMotor(0), 1);
  bus.Expect({0x01}, std::nullopt);
  EXPECT_EQ(WriteData(0, Bytes{0x01}.data(), 1), 1);  // still open
  CloseDevice(0);
  OpenMotor();
  EXPECT_EQ(CloseMotor(0), 1);
  EXPECT_EQ(WriteData(0, Bytes{0x01}.data(), 1), 0);
  EXPECT_EQ(DoMove(0, 1, 2, 3), 0);
  EXPECT_EQ(CloseMotor(0), 1);
}

TEST(ReplyNumber, SignsBlanksAndTerminators) {
  EXPECT_EQ(Parse("-12,"), -12);
  EXPECT_EQ(Parse("+7"), 7);
  EXPECT_EQ(Parse("A12"), 0);
  EXPECT_EQ(Parse("1 2 3"), 123);
  EXPECT_EQ(Parse("5-"), -5);  // a sign counts wherever it stands
  EXPECT_EQ(Parse(""), 0);
  EXPECT_EQ(Parse("            7"), 0);  // only twelve characters are examined
  EXPECT_EQ(Parse("           7"), 7);
}

TEST(ReplyNumber, LongDigitRunsSaturate) {
  EXPECT_EQ(Parse("2147483647"), INT_MAX);
  EXPECT_EQ(Parse("-2147483648"), INT_MIN);
  EXPECT_EQ(Parse("2147483648"), INT_MAX);
  EXPECT_EQ(Parse("-999999999999"), INT_MIN);
  EXPECT_EQ(Parse("9999999999999999"), INT_MAX);
}

TEST(ReplyNumber, NeverReadsPastTheAvailableBytes) {
  const std::uint8_t digits[3] = {'1', '2', '3'};  // no terminator
  EXPECT_EQ(ParseReplyNumber(digits, 2), 12);
  EXPECT_EQ(ParseReplyNumber(digits, 0), 0);
}

}  // namespace
}  // namespace wrenlink::testing
