// LED units (kinds 13, 29, 22 and 23): levels, switches, the V/C reading of the three-bank
// unit, and the name and temperature of kind 29.
#include <initializer_list>

#include "family_exchange.h"
#include "guard.h"
#include "wrenlink.h"

using namespace wrenlink;

namespace {

constexpr std::initializer_list<int> kLedKinds = {13, 29, 22, 23};
constexpr std::initializer_list<int> kLedTempKinds = {28, 29, 30, 33};
constexpr int kThreeBank = 23;
constexpr int kNamedUnit = 29;
constexpr int kBankSize = 32;
constexpr int kBanks = 3;
constexpr int kNameLength = 48;

// Level bytes of a one-exchange unit.
int LevelBytes(int kind) {
  return kind == 22 ? 32 : 16;
}

int SwitchBytes(int kind) {
  if (kind == kThreeBank) return 12;
  if (kind == 22) return 4;
  return 2;
}

// Reads the three banks of 32 levels (D, E, F) and totals the reply counts.
int ReadThreeBanks(int index, unsigned char* levels) {
  int total = 0;
  for (int bank = 0; bank < kBanks; ++bank) {
    const Request request = MakeRequest(static_cast<std::uint8_t>(0x44 + bank), kBankSize);
    total += ExchangeInto(index, request, levels + bank * kBankSize, kBankSize);
  }
  return total;
}

// Writes the three banks (d, e, f) and totals the acknowledgement counts.
int WriteThreeBanks(int index, const unsigned char* levels) {
  int total = 0;
  for (int bank = 0; bank < kBanks; ++bank) {
    Request request = MakeRequest(static_cast<std::uint8_t>(0x64 + bank), kBankSize, kBankSize + 2);
    PutBytes(request, 2, levels + bank * kBankSize, kBankSize);
    total += SendAcknowledged<2>(index, request);
  }
  return total;
}

// A request carrying `count` bytes after its letter and count byte, acknowledged with 2 bytes.
int SendBlock(int index, std::uint8_t letter, const unsigned char* data, int count) {
  Request request = MakeRequest(letter, static_cast<std::uint8_t>(count), count + 2);
  PutBytes(request, 2, data, count);
  return SendAcknowledged<2>(index, request);
}

}  // namespace

extern "C" {

int WRENLINK_CALL GetDeviceLED(int index, unsigned char* levels) {
  return Guarded("GetDeviceLED", [&] {
    if (levels == nullptr || !KindAccepted(index, kLedKinds)) return 0;
    const int kind = RecordedKind(index);
    if (kind == kThreeBank) return ReadThreeBanks(index, levels);
    const int count = LevelBytes(kind);
    return ExchangeInto(index, MakeRequest(0x44, static_cast<std::uint8_t>(count)), levels, count);
  });
}

int WRENLINK_CALL SetDeviceLED(int index, const unsigned char* levels) {
  return Guarded("SetDeviceLED", [&] {
    if (levels == nullptr || !KindAccepted(index, kLedKinds)) return 0;
    const int kind = RecordedKind(index);
    if (kind == kThreeBank) return WriteThreeBanks(index, levels);
    return SendBlock(index, 0x64, levels, LevelBytes(kind));
  });
}

int WRENLINK_CALL GetDeviceLEDSW(int index, unsigned char* switches) {
  return Guarded("GetDeviceLEDSW", [&] {
    if (switches == nullptr || !KindAccepted(index, kLedKinds)) return 0;
    const int count = SwitchBytes(RecordedKind(index));
    const Request request = MakeRequest(0x53, static_cast<std::uint8_t>(count));
    return ExchangeInto(index, request, switches, count);
  });
}

int WRENLINK_CALL SetDeviceLEDSW(int index, const unsigned char* switches) {
  return Guarded("SetDeviceLEDSW", [&] {
    if (switches == nullptr || !KindAccepted(index, kLedKinds)) return 0;
    return SendBlock(index, 0x73, switches, SwitchBytes(RecordedKind(index)));
  });
}

int WRENLINK_CALL GetDeviceLEDVC(int index, uint16_t* voltage, uint16_t* current) {
  return Guarded("GetDeviceLEDVC", [&] {
    if (voltage == nullptr || current == nullptr || !KindAccepted(index, {kThreeBank})) return 0;
    const auto reply = ExchangeLocal<4>(index, MakeRequest(0x43, 0x04));
    *voltage = GetU16(reply.bytes.data());
    *current = GetU16(reply.bytes.data() + 2);
    return reply.count;
  });
}

int WRENLINK_CALL GetDeviceLEDName(int index, unsigned char* name48) {
  return Guarded("GetDeviceLEDName", [&] {
    if (name48 == nullptr || !KindAccepted(index, {kNamedUnit})) return 0;
    return ExchangeInto(index, MakeRequest(0x57, kNameLength), name48, kNameLength);
  });
}

int WRENLINK_CALL SetDeviceLEDName(int index, const unsigned char* name48) {
  return Guarded("SetDeviceLEDName", [&] {
    if (name48 == nullptr || !KindAccepted(index, {kNamedUnit})) return 0;
    return SendBlock(index, 0x77, name48, kNameLength);
  });
}

int WRENLINK_CALL GetDeviceLEDTemp(int index, int16_t* tenthsCelsius) {
  return Guarded("GetDeviceLEDTemp", [&] {
    if (tenthsCelsius == nullptr || !KindAccepted(index, kLedTempKinds)) return 0;
    // The two reply bytes go unconverted into the caller's variable, as GetDeviceTemp does.
    return ExchangeInto(index, MakeRequest(0x54, 0x02), tenthsCelsius, 2);
  });
}

}  // extern "C"
