// Brushless motor driver (kind 17): PWM setting and the two 32-bit readings.
#include "family_exchange.h"
#include "guard.h"
#include "wrenlink.h"

using namespace wrenlink;

namespace {

constexpr int kBrushless = WRENLINK_KIND_BRUSHLESS;

int ReadWord(int index, std::uint8_t letter, int* value) {
  const auto reply = ExchangeLocal<4>(index, MakeRequest(letter, 0x00));
  *value = GetI32(reply.bytes.data());
  return reply.count;
}

}  // namespace

extern "C" {

int WRENLINK_CALL SetBLDC_PWM(int index, int value) {
  return Guarded("SetBLDC_PWM", [&] {
    if (!KindAccepted(index, {kBrushless})) return 0;
    // A 16-bit value: its low 16 bits travel, low byte first, then two zero bytes.
    Request request = MakeRequest(0x64, 0x04, 6);
    PutU16(request, 2, static_cast<unsigned>(value) & 0xFFFFu);
    return SendAcknowledged<4>(index, request);
  });
}

int WRENLINK_CALL GetBLDC_PWM(int index, int* value) {
  return Guarded("GetBLDC_PWM", [&] {
    if (value == nullptr || !KindAccepted(index, {kBrushless})) return 0;
    return ReadWord(index, 0x44, value);
  });
}

int WRENLINK_CALL GetBLDC_RND(int index, int* value) {
  return Guarded("GetBLDC_RND", [&] {
    if (value == nullptr || !KindAccepted(index, {kBrushless})) return 0;
    return ReadWord(index, 0x46, value);
  });
}

}  // extern "C"
