// LED units: levels, switches, the V/C reading of the three-bank
// unit, and the name and temperature of kind 29.
#include <initializer_list>

#include "family_exchange.h"
#include "guard.h"
#include "wrenlink.h"

using namespace wrenlink;

namespace {

struct LedProfile {
  int kind;
  const char* name;
  int levelBytes;  // in one exchange, or in each of three banks
  int switchBytes;
  bool threeBanks;  // levels in three exchanges (D, E, F), plus the V/C reading
};

constexpr LedProfile kLedUnits[] = {
    {WRENLINK_KIND_LED_16CH, "LED16ch", 16, 2, false},
    {WRENLINK_KIND_LED_8CH, "LED8ch", 16, 2, false},
    {WRENLINK_KIND_LED_32, "LED 32", 32, 4, false},
    {WRENLINK_KIND_LED_3X32, "LED 3x32", 32, 12, true},
};

// The temperature request also reaches the spectrometers that have a sensor for it.
constexpr std::initializer_list<int> kLedTempKinds = {
    WRENLINK_KIND_SPECTRO_288_T, WRENLINK_KIND_LED_8CH, WRENLINK_KIND_SPECTRO_256_T,
    WRENLINK_KIND_C12880MA};
constexpr int kNamedUnit = WRENLINK_KIND_LED_8CH;
constexpr int kBanks = 3;
constexpr int kBankBytes = 32;
constexpr int kNameLength = 48;

// The profile of the LED unit recorded for `index`, or nullptr when it is none.
const LedProfile* LedAt(int index) {
  const int kind = RecordedKind(index);
  for (const LedProfile& profile : kLedUnits) {
    if (profile.kind == kind) return &profile;
  }
  return nullptr;
}

bool ThreeBankUnit(int index) {
  const LedProfile* unit = LedAt(index);
  return unit != nullptr && unit->threeBanks;
}

// Reads the three banks of 32 levels (D, E, F) and totals the reply counts.
int ReadThreeBanks(int index, unsigned char* levels) {
  int total = 0;
  for (int bank = 0; bank < kBanks; ++bank) {
    const Request request = MakeRequest(static_cast<std::uint8_t>(0x44 + bank), kBankBytes);
    total += ExchangeInto(index, request, levels + bank * kBankBytes, kBankBytes);
  }
  return total;
}

// Writes the three banks (d, e, f) and totals the acknowledgement counts.
int WriteThreeBanks(int index, const unsigned char* levels) {
  int total = 0;
  for (int bank = 0; bank < kBanks; ++bank) {
    Request request =
        MakeRequest(static_cast<std::uint8_t>(0x64 + bank), kBankBytes, kBankBytes + 2);
    PutBytes(request, 2, levels + bank * kBankBytes, kBankBytes);
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
    const LedProfile* unit = LedAt(index);
    if (levels == nullptr || unit == nullptr) return 0;
    if (unit->threeBanks) return ReadThreeBanks(index, levels);
    const int count = unit->levelBytes;
    return ExchangeInto(index, MakeRequest(0x44, static_cast<std::uint8_t>(count)), levels, count);
  });
}

int WRENLINK_CALL SetDeviceLED(int index, const unsigned char* levels) {
  return Guarded("SetDeviceLED", [&] {
    const LedProfile* unit = LedAt(index);
    if (levels == nullptr || unit == nullptr) return 0;
    if (unit->threeBanks) return WriteThreeBanks(index, levels);
    return SendBlock(index, 0x64, levels, unit->levelBytes);
  });
}

int WRENLINK_CALL GetDeviceLEDSW(int index, unsigned char* switches) {
  return Guarded("GetDeviceLEDSW", [&] {
    const LedProfile* unit = LedAt(index);
    if (switches == nullptr || unit == nullptr) return 0;
    const int count = unit->switchBytes;
    const Request request = MakeRequest(0x53, static_cast<std::uint8_t>(count));
    return ExchangeInto(index, request, switches, count);
  });
}

int WRENLINK_CALL SetDeviceLEDSW(int index, const unsigned char* switches) {
  return Guarded("SetDeviceLEDSW", [&] {
    const LedProfile* unit = LedAt(index);
    if (switches == nullptr || unit == nullptr) return 0;
    return SendBlock(index, 0x73, switches, unit->switchBytes);
  });
}

int WRENLINK_CALL GetDeviceLEDVC(int index, uint16_t* voltage, uint16_t* current) {
  return Guarded("GetDeviceLEDVC", [&] {
    if (voltage == nullptr || current == nullptr || !ThreeBankUnit(index)) return 0;
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
