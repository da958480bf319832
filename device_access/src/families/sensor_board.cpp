// Sensor board (kind 9): offset, I/O and PWM channels, and the GetDeviceData readouts of the
// sensor board and the load-cell unit. The LED units share the I/O and PWM channel commands.
#include <initializer_list>

#include "families.h"
#include "family_exchange.h"
#include "guard.h"
#include "wrenlink.h"

using namespace wrenlink;

namespace {

constexpr std::initializer_list<int> kChannelKinds = {
    WRENLINK_KIND_SENSOR_BOARD, WRENLINK_KIND_LED_16CH, WRENLINK_KIND_LED_32,
    WRENLINK_KIND_LED_3X32, WRENLINK_KIND_LED_8CH};
constexpr int kSensorBoard = WRENLINK_KIND_SENSOR_BOARD;
constexpr int kLoadCell = WRENLINK_KIND_LOAD_CELL;

// X/Y reads: the channel's value is reply byte 0.
int ReadChannel(int index, std::uint8_t letter, int channel, int* value) {
  Request request = MakeRequest(letter, 0x02, 4);
  request.bytes[2] = static_cast<std::uint8_t>(channel);
  const auto reply = ExchangeLocal<4>(index, request);
  *value = reply.bytes[0];
  return reply.count;
}

int WriteChannel(int index, std::uint8_t letter, int channel, int value) {
  Request request = MakeRequest(letter, 0x02, 4);
  request.bytes[2] = static_cast<std::uint8_t>(channel);
  request.bytes[3] = static_cast<std::uint8_t>(value);
  return SendAcknowledged<4>(index, request);
}

}  // namespace

namespace wrenlink {

int FamilyDeviceData(int index, int kind, void* buffer) {
  const Request request = MakeRequest(0x44, 0x0C);
  if (kind == kSensorBoard) return ExchangeInto(index, request, buffer, 12);
  if (kind == kLoadCell) return ExchangeInto(index, request, buffer, 4);
  return 0;
}

}  // namespace wrenlink

extern "C" {

int WRENLINK_CALL GetDeviceOffset(int index, int* offset) {
  return Guarded("GetDeviceOffset", [&] {
    if (offset == nullptr || !KindAccepted(index, {kSensorBoard})) return 0;
    const auto reply = ExchangeLocal<4>(index, MakeRequest(0x4F, 0x04));
    *offset = GetI32(reply.bytes.data());
    return reply.count;
  });
}

int WRENLINK_CALL SetDeviceOffset(int index, int offset) {
  return Guarded("SetDeviceOffset", [&] {
    if (!KindAccepted(index, {kSensorBoard})) return 0;
    Request request = MakeRequest(0x6F, 0x00, 6);
    PutI32(request, 2, offset);
    return SendAcknowledged<4>(index, request);
  });
}

int WRENLINK_CALL GetDeviceIO(int index, int channel, int* value) {
  return Guarded("GetDeviceIO", [&] {
    if (value == nullptr || !KindAccepted(index, kChannelKinds)) return 0;
    return ReadChannel(index, 0x58, channel, value);
  });
}

int WRENLINK_CALL SetDeviceIO(int index, int channel, int value) {
  return Guarded("SetDeviceIO", [&] {
    if (!KindAccepted(index, kChannelKinds)) return 0;
    return WriteChannel(index, 0x78, channel, value);
  });
}

int WRENLINK_CALL GetDevicePWM(int index, int channel, int* value) {
  return Guarded("GetDevicePWM", [&] {
    if (value == nullptr || !KindAccepted(index, kChannelKinds)) return 0;
    return ReadChannel(index, 0x59, channel, value);
  });
}

int WRENLINK_CALL SetDevicePWM(int index, int channel, int value) {
  return Guarded("SetDevicePWM", [&] {
    if (!KindAccepted(index, kChannelKinds)) return 0;
    return WriteChannel(index, 0x79, channel, value);
  });
}

}  // extern "C"
