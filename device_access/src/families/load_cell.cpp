// Load-cell units (kinds 12 and 24): channel loads, load data, tare, calibration and fix.
#include "family_exchange.h"
#include "guard.h"
#include "wrenlink.h"

using namespace wrenlink;

namespace {

constexpr int kLoadCell = WRENLINK_KIND_LOAD_CELL;
constexpr int kLoadUnit64 = WRENLINK_KIND_LOAD_UNIT_64;

// A 10-byte request: letter, parameter and eight zero bytes unless filled in.
Request LongRequest(std::uint8_t letter, std::uint8_t parameter) {
  return MakeRequest(letter, parameter, 10);
}

int LoadDataBytes(int kind) {
  if (kind == kLoadCell) return 4;
  if (kind == kLoadUnit64) return 64;
  return 0;
}

}  // namespace

extern "C" {

int WRENLINK_CALL GetDeviceLoad(int index, int channel, unsigned char* value4) {
  return Guarded("GetDeviceLoad", [&] {
    if (value4 == nullptr || !KindAccepted(index, {kLoadCell})) return 0;
    Request request = MakeRequest(0x4C, 0x02, 6);
    request.bytes[2] = static_cast<std::uint8_t>(channel);
    return ExchangeInto(index, request, value4, 4);
  });
}

int WRENLINK_CALL SetDeviceLoad(int index, int channel, int value) {
  return Guarded("SetDeviceLoad", [&] {
    if (!KindAccepted(index, {kLoadCell})) return 0;
    Request request = LongRequest(0x6C, 0x02);
    request.bytes[2] = static_cast<std::uint8_t>(channel);
    PutI32(request, 6, value);
    return SendAcknowledged<4>(index, request);
  });
}

int WRENLINK_CALL GetDeviceLoadData(int index, unsigned char* buffer) {
  return Guarded("GetDeviceLoadData", [&] {
    const int bytes = LoadDataBytes(RecordedKind(index));
    if (buffer == nullptr || bytes == 0 || !ValidIndex(index)) return 0;
    return ExchangeInto(index, MakeRequest(0x44, 0x02), buffer, bytes);
  });
}

int WRENLINK_CALL SetDeviceLoadTare(int index) {
  return Guarded("SetDeviceLoadTare", [&] {
    if (!KindAccepted(index, {kLoadCell})) return 0;
    return SendAcknowledged<4>(index, LongRequest(0x74, 0x00));
  });
}

int WRENLINK_CALL SetDeviceLoadCalib(int index, int value) {
  return Guarded("SetDeviceLoadCalib", [&] {
    if (!KindAccepted(index, {kLoadCell})) return 0;
    Request request = MakeRequest(0x63, 0x02, 6);
    PutI32(request, 2, value);
    return SendAcknowledged<4>(index, request);
  });
}

int WRENLINK_CALL SetDeviceLoadFix(int index) {
  return Guarded("SetDeviceLoadFix", [&] {
    if (!KindAccepted(index, {kLoadCell})) return 0;
    return SendAcknowledged<4>(index, LongRequest(0x73, 0x00));
  });
}

}  // extern "C"
