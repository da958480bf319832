// LED power supply (kind 35): channel currents and the on/off word.
#include "family_exchange.h"
#include "guard.h"
#include "wrenlink.h"

using namespace wrenlink;

namespace {

constexpr int kLedPower = WRENLINK_KIND_LED_POWER;
constexpr int kCurrentBytes = 32;

}  // namespace

extern "C" {

int WRENLINK_CALL SetLEDPowerCurrent(int index, const unsigned char* data32) {
  return Guarded("SetLEDPowerCurrent", [&] {
    if (data32 == nullptr || !KindAccepted(index, {kLedPower})) return 0;
    Request request = MakeRequest(0x64, kCurrentBytes, kCurrentBytes + 2);
    PutBytes(request, 2, data32, kCurrentBytes);
    return SendAcknowledged<4>(index, request);
  });
}

int WRENLINK_CALL SetLEDPowerOnOff(int index, int value) {
  return Guarded("SetLEDPowerOnOff", [&] {
    if (!KindAccepted(index, {kLedPower})) return 0;
    Request request = MakeRequest(0x73, 0x04, 6);
    PutI32(request, 2, value);
    return SendAcknowledged<4>(index, request);
  });
}

}  // extern "C"
