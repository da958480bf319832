// Detection, slots, raw transfers, identity queries and the device path copies.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "../scoped_env.h"
#include "scripted_transport.h"
#include "wrenlink.h"

namespace wrenlink::testing {
namespace {

TEST(Detection, NoInstrumentLeavesSlotClosed) {
  ScriptedTransport bus;
  bus.devicePaths.clear();
  EXPECT_EQ(DetectDevice(0), 0);
  const unsigned char byte = 0x4E;
  EXPECT_EQ(WriteData(0, &byte, 1), 0);
  EXPECT_TRUE(bus.requests.empty());
}

TEST(Detection, TwoInstrumentsThenUnplugTheFirst) {
  ScriptedTransport bus;
  bus.devicePaths = {"first", "second"};
  bus.Expect({0x4B, 0x00}, Bytes{33, 0, 0, 0});
  bus.Expect({0x4B, 0x00}, Bytes{13, 0, 0, 0});
  EXPECT_EQ(DetectDevice(0), 1);
  EXPECT_EQ(DetectDevice(1), 1);
  EXPECT_EQ(DetectDevice(2), 0);
  CloseDevice(0);
  CloseDevice(1);
  bus.devicePaths = {"second"};
  bus.Expect({0x4B, 0x00}, Bytes{13, 0, 0, 0});
  EXPECT_EQ(DetectDevice(0), 1);
  char path[16] = {};
  EXPECT_EQ(GetName(0, path, sizeof path), 6);
  EXPECT_STREQ(path, "second");
  EXPECT_TRUE(bus.ScriptDone());
}

TEST(Detection, PathOf259CharactersIsKeptAnd260Fails) {
  ScriptedTransport bus;
  bus.devicePaths = {std::string(259, 'p'), std::string(260, 'q')};
  bus.Expect({0x4B, 0x00}, Bytes{33, 0, 0, 0});
  EXPECT_EQ(DetectDevice(0), 1);
  char path[300] = {};
  EXPECT_EQ(GetName(0, path, sizeof path), 259);
  EXPECT_EQ(DetectDevice(1), 0);
}

TEST(Detection, ShortDescriptorClosesTheSlotAgain) {
  ScriptedTransport bus;
  bus.descriptorLength = 17;
  EXPECT_EQ(DetectDevice(0), 0);
  const unsigned char byte = 1;
  EXPECT_EQ(WriteData(0, &byte, 1), 0);
  EXPECT_TRUE(bus.requests.empty());  // not even the kind query went out
}

TEST(Detection, SilentKindQueryStillDetectsWithKindZero) {
  ScriptedTransport bus;
  bus.Expect({0x4B, 0x00}, std::nullopt);
  EXPECT_EQ(DetectDevice(0), 1);
  bus.requests.clear();
  double exposure = 7;
  EXPECT_EQ(GetDeviceExposure(0, &exposure), 0);  // kind 0 accepts no command
  EXPECT_EQ(exposure, 7);
}

TEST(Detection, IndicesOutsideTheTableDoNothing) {
  ScriptedTransport bus;
  EXPECT_EQ(DetectDevice(-1), 0);
  EXPECT_EQ(DetectDevice(10), 0);
  unsigned char buffer[4] = {};
  EXPECT_EQ(ReadData(10, buffer, 4), 0);
  EXPECT_EQ(GetDeviceKind(-3), 0);
  EXPECT_EQ(CloseDevice(42), 1);
  EXPECT_TRUE(bus.requests.empty());
}

TEST(Slots, CloseIsHarmlessAndCommandsAfterItMoveNothing) {
  ScriptedTransport bus;
  EXPECT_EQ(CloseDevice(3), 1);
  EXPECT_EQ(CloseDevice(3), 1);
  bus.DetectAs(0, 33);
  EXPECT_EQ(CloseDevice(0), 1);
  double exposure = 0;
  EXPECT_EQ(GetDeviceExposure(0, &exposure), 0);  // kind still 33, but nothing moves
  EXPECT_EQ(bus.requests.size(), 0u);
  bus.Expect({0x4B, 0x00}, Bytes{33, 0, 0, 0});
  EXPECT_EQ(DetectDevice(0), 1);  // opens again
}

TEST(Identity, NameVersionAndKindQueries) {
  ScriptedTransport bus;
  bus.DetectAs(0, 33);
  bus.Expect({0x4E, 0x00}, Bytes{'C', '1', '2'});
  bus.Expect({0x56, 0x00}, Bytes{'1', '.', '2', '0'});
  bus.Expect({0x4B, 0x00}, Bytes{0xC8, 1, 2, 3});
  bus.Expect({0x4B, 0x00}, std::nullopt);
  unsigned char text[34] = {};
  EXPECT_EQ(GetDeviceName(0, text, 34), 3);
  EXPECT_EQ(GetDeviceVersion(0, text, 34), 4);
  EXPECT_EQ(GetDeviceKind(0), 200);
  EXPECT_EQ(GetDeviceKind(0), 0);
  EXPECT_EQ(bus.readMaxima, (std::vector<int>{34, 34, 4, 4}));
  EXPECT_TRUE(bus.ScriptDone());
}

TEST(Identity, PathCopiesFollowTheBufferLength) {
  ScriptedTransport bus;
  bus.devicePaths = {"usb:1-2:0"};
  bus.DetectAs(0, 33);
  char buffer[32];
  std::fill(std::begin(buffer), std::end(buffer), 'x');
  EXPECT_EQ(GetName(0, buffer, 0), 0);
  EXPECT_EQ(buffer[0], 'x');
  EXPECT_EQ(GetName(0, buffer, 4), 4);
  EXPECT_EQ(std::string(buffer, 5), "usb:x");  // unterminated
  EXPECT_EQ(GetVersionStr(0, buffer, 32), 9);
  EXPECT_STREQ(buffer, "usb:1-2:0");
}

TEST(RawTransfers, WriteAndReadReportByteCounts) {
  ScriptedTransport bus;
  bus.DetectAs(0, 33);
  bus.Expect({0x57, 0x02, 0, 0}, Bytes(1156, 0xAB));
  const unsigned char request[4] = {0x57, 0x02, 0, 0};
  EXPECT_EQ(WriteData(0, request, 4), 4);
  std::vector<unsigned char> reply(2000, 0);
  EXPECT_EQ(ReadData(0, reply.data(), 2000), 1156);
  EXPECT_EQ(reply[1155], 0xAB);
  EXPECT_EQ(reply[1156], 0);
}

TEST(Trace, OneLinePerTransferInLowerCaseHex) {
  std::string path = ::testing::TempDir() + "wrenlink_trace.txt";
  std::remove(path.c_str());
  {
    const chromiva::test::ScopedEnv trace("WRENLINK_TRACE", path.c_str());
    ScriptedTransport bus;
    bus.DetectAs(2, 33);
    bus.Expect({0xAB, 0x01}, std::nullopt);
    const unsigned char request[2] = {0xAB, 0x01};
    WriteData(2, request, 2);
    unsigned char reply[8];
    ReadData(2, reply, 8);
  }
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_EQ(text.str(), "OUT 2 4b00\nIN 2 4 21000000\nOUT 2 ab01\nIN 2 8\n");
}

}  // namespace
}  // namespace wrenlink::testing
