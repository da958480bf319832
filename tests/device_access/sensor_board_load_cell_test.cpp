// Sensor board channels, offset and readout, and the load-cell units, byte for byte.
#include <gtest/gtest.h>

#include "scripted_transport.h"
#include "wrenlink.h"

namespace wrenlink::testing {
namespace {

TEST(Channels, ReadTakesReplyByteZeroOnEveryChannelKind) {
  for (int kind : {9, 13, 22, 23, 29}) {
    ScriptedTransport bus;
    bus.DetectAs(0, kind);
    bus.Expect({0x58, 0x02, 0x05, 0x00}, Bytes{0xC8, 0x01, 0x02, 0x03});
    bus.Expect({0x59, 0x02, 0x07, 0x00}, Bytes{0x10});
    int io = -1, pwm = -1;
    EXPECT_EQ(GetDeviceIO(0, 5, &io), 4) << kind;
    EXPECT_EQ(io, 200);
    EXPECT_EQ(GetDevicePWM(0, 7, &pwm), 1);
    EXPECT_EQ(pwm, 16);
    EXPECT_EQ(bus.readMaxima, (std::vector<int>{4, 4}));
  }
}

TEST(Channels, MissingReplyReadsAsZero) {
  ScriptedTransport bus;
  bus.DetectAs(0, 9);
  bus.Expect({0x58, 0x02, 0x01, 0x00}, std::nullopt);
  int io = 77;
  EXPECT_EQ(GetDeviceIO(0, 1, &io), 0);
  EXPECT_EQ(io, 0);
}

TEST(Channels, WritesSendChannelAndValueAsBytes) {
  ScriptedTransport bus;
  bus.DetectAs(0, 22);
  bus.Expect({0x78, 0x02, 0x03, 0x01}, Bytes(4, 0));
  bus.Expect({0x79, 0x02, 0x03, 0x2C}, Bytes(2, 0));
  EXPECT_EQ(SetDeviceIO(0, 3, 1), 4);
  EXPECT_EQ(SetDevicePWM(0, 3, 300), 2);  // one byte: 300 & 0xFF
  EXPECT_TRUE(bus.ScriptDone());
}

TEST(Channels, OtherKindsAndNullOutputsSendNothing) {
  ScriptedTransport bus;
  bus.DetectAs(0, 33);
  int value = 5;
  EXPECT_EQ(GetDeviceIO(0, 5, &value), 0);
  EXPECT_EQ(value, 5);
  EXPECT_EQ(SetDevicePWM(0, 1, 1), 0);
  CloseDevice(0);
  bus.DetectAs(0, 9);
  EXPECT_EQ(GetDeviceIO(0, 5, nullptr), 0);
  EXPECT_EQ(GetDeviceOffset(0, nullptr), 0);
  EXPECT_EQ(GetDeviceIO(10, 5, &value), 0);
  EXPECT_TRUE(bus.requests.empty());
}

TEST(SensorBoard, OffsetIsSigned32BitOnKind9Only) {
  ScriptedTransport bus;
  bus.DetectAs(0, 9);
  bus.Expect({0x4F, 0x04}, Bytes{0xFE, 0xFF, 0xFF, 0xFF});
  bus.Expect({0x6F, 0x00, 0x39, 0x30, 0x00, 0x00}, Bytes(4, 0));
  int offset = 0;
  EXPECT_EQ(GetDeviceOffset(0, &offset), 4);
  EXPECT_EQ(offset, -2);
  EXPECT_EQ(SetDeviceOffset(0, 12345), 4);
  CloseDevice(0);
  bus.DetectAs(0, 13);
  EXPECT_EQ(SetDeviceOffset(0, 1), 0);
  EXPECT_TRUE(bus.requests.empty());
}

TEST(Readout, SensorBoardReads12BytesAndLoadCell4) {
  ScriptedTransport bus;
  bus.DetectAs(0, 9);
  bus.DetectAs(1, 12);
  bus.Expect({0x44, 0x0C}, Bytes(12, 0x21));
  bus.Expect({0x44, 0x0C}, Bytes(12, 0x22));  // cut to the load cell's 4 bytes
  Bytes board(16, 0), cell(8, 0);
  EXPECT_EQ(GetDeviceData(0, board.data()), 12);
  EXPECT_EQ(GetDeviceData(1, cell.data()), 4);
  EXPECT_EQ(board[11], 0x21);
  EXPECT_EQ(board[12], 0);
  EXPECT_EQ(cell[3], 0x22);
  EXPECT_EQ(cell[4], 0);
  EXPECT_EQ(bus.readMaxima, (std::vector<int>{12, 4}));
}

TEST(LoadCell, ChannelLoadsTravelAsSigned32Bit) {
  ScriptedTransport bus;
  bus.DetectAs(0, 12);
  bus.Expect({0x6C, 0x02, 0x01, 0x00, 0x00, 0x00, 0xFE, 0xFF, 0xFF, 0xFF}, Bytes(4, 0));
  bus.Expect({0x4C, 0x02, 0x01, 0x00, 0x00, 0x00}, Bytes{1, 2});
  EXPECT_EQ(SetDeviceLoad(0, 1, -2), 4);
  unsigned char value[4] = {9, 9, 9, 9};
  EXPECT_EQ(GetDeviceLoad(0, 1, value), 2);
  EXPECT_EQ(value[1], 2);
  EXPECT_EQ(value[2], 9);  // a short reply leaves the rest
  EXPECT_EQ(bus.readMaxima, (std::vector<int>{4, 4}));
}

TEST(LoadCell, TareCalibrationAndFix) {
  ScriptedTransport bus;
  bus.DetectAs(0, 12);
  bus.Expect({0x74, 0x00, 0, 0, 0, 0, 0, 0, 0, 0}, Bytes(4, 0));
  bus.Expect({0x63, 0x02, 0xE8, 0x03, 0x00, 0x00}, Bytes(4, 0));
  bus.Expect({0x73, 0x00, 0, 0, 0, 0, 0, 0, 0, 0}, Bytes(1, 0));
  EXPECT_EQ(SetDeviceLoadTare(0), 4);
  EXPECT_EQ(SetDeviceLoadCalib(0, 1000), 4);
  EXPECT_EQ(SetDeviceLoadFix(0), 1);
  EXPECT_TRUE(bus.ScriptDone());
}

TEST(LoadCell, LoadDataIs4BytesOnKind12And64OnKind24) {
  ScriptedTransport bus;
  bus.DetectAs(0, 12);
  bus.DetectAs(1, 24);
  bus.Expect({0x44, 0x02}, Bytes(4, 1));
  bus.Expect({0x44, 0x02}, Bytes(64, 2));
  Bytes data(64, 0);
  EXPECT_EQ(GetDeviceLoadData(0, data.data()), 4);
  EXPECT_EQ(GetDeviceLoadData(1, data.data()), 64);
  EXPECT_EQ(bus.readMaxima, (std::vector<int>{4, 64}));
  // Kind 24 only answers the load data.
  EXPECT_EQ(SetDeviceLoadTare(1), 0);
  EXPECT_EQ(GetDeviceLoad(1, 0, data.data()), 0);
  EXPECT_EQ(bus.requests.size(), 2u);
}

}  // namespace
}  // namespace wrenlink::testing
