// Data units: the scaled 16-bit channels of kind 20, the parameter block and readings of
// kind 25, and the drone record of kind 26.
#include "family_exchange.h"
#include "guard.h"
#include "wrenlink.h"

using namespace wrenlink;

namespace {

constexpr int kGSensor = WRENLINK_KIND_G_SENSOR;
constexpr int kSParameterUnit = WRENLINK_KIND_S_PARAMETER;
constexpr int kDroneUnit = WRENLINK_KIND_DRONE;
constexpr int kParameterBytes = 40;
constexpr int kDroneRecordBytes = 3024;
constexpr std::size_t kGDataBytes = 64;

// One channel of the kind 20 reply in its unit; single precision in this order of operations.
float ScaleGChannel(int position, const std::uint8_t* raw) {
  if (position == 3) return (static_cast<float>(GetI16(raw)) - 4000.0f) / 100.0f + 25.0f;
  if (position >= 8) return static_cast<float>(GetU16(raw)) * 4.096f / 65536.0f;
  return static_cast<float>(GetI16(raw)) / 16384.0f;
}

}  // namespace

extern "C" {

int WRENLINK_CALL GetGData(int index, float* values32) {
  return Guarded("GetGData", [&] {
    if (values32 == nullptr || !KindAccepted(index, {kGSensor})) return 0;
    const auto reply = ExchangeLocal<kGDataBytes>(index, MakeRequest(0x44, 0x00));
    for (int i = 0; i < reply.count / 2; ++i) {
      values32[i] = ScaleGChannel(i, reply.bytes.data() + 2 * i);
    }
    return reply.count;
  });
}

int WRENLINK_CALL GetSParameter(int index, unsigned char* block40) {
  return Guarded("GetSParameter", [&] {
    if (block40 == nullptr || !KindAccepted(index, {kSParameterUnit})) return 0;
    return ExchangeInto(index, MakeRequest(0x50, 0x00), block40, kParameterBytes);
  });
}

int WRENLINK_CALL SetSParameter(int index, const unsigned char* block40) {
  return Guarded("SetSParameter", [&] {
    if (block40 == nullptr || !KindAccepted(index, {kSParameterUnit})) return 0;
    Request request = MakeRequest(0x70, 0x00, kParameterBytes + 2);
    PutBytes(request, 2, block40, kParameterBytes);
    return SendAcknowledged<kMaxRequest>(index, request);
  });
}

int WRENLINK_CALL GetSData(int index, float* values3) {
  return Guarded("GetSData", [&] {
    if (values3 == nullptr || !KindAccepted(index, {kSParameterUnit})) return 0;
    const auto reply = ExchangeLocal<6>(index, MakeRequest(0x44, 0x00));
    for (int i = 0; i < 3; ++i) {
      values3[i] = static_cast<float>(GetI16(reply.bytes.data() + 2 * i)) / 1000.0f;
    }
    return reply.count;
  });
}

int WRENLINK_CALL GetDroneData(int index, unsigned char* record3024) {
  return Guarded("GetDroneData", [&] {
    if (record3024 == nullptr || !KindAccepted(index, {kDroneUnit})) return 0;
    return ExchangeInto(index, MakeRequest(0x44, 0x00), record3024, kDroneRecordBytes);
  });
}

}  // extern "C"
