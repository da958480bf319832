#include "virtual_simple.h"

#include <algorithm>
#include <cstring>

namespace wrenlink::sim {

std::optional<Bytes> VirtualMirror::HandleCommand(std::span<const std::uint8_t> request) {
  if (request[0] != 's' || request.size() != 4) return std::nullopt;
  position_ = ReadU16(request.data() + 2);
  return Acknowledge(4);
}

namespace {

constexpr int kThreeBank = 23;
constexpr int kNamedUnit = 29;
constexpr std::size_t kBankSize = 32;
constexpr std::uint16_t kSupplyMillivolts = 12000;

std::size_t LevelCount(int kind) {
  if (kind == kThreeBank) return 96;
  return kind == 22 ? 32 : 16;
}

std::size_t SwitchCount(int kind) {
  if (kind == kThreeBank) return 12;
  return kind == 22 ? 4 : 2;
}

const char* LedUnitName(int kind) {
  switch (kind) {
    case 13:
      return "LED16CH";
    case 22:
      return "LED32CH";
    case kThreeBank:
      return "LED96CH";
    default:
      return "LED8CH";
  }
}

// A request of `letter`, a count byte equal to `count`, and `count` payload bytes.
bool IsBlockWrite(std::span<const std::uint8_t> request, std::uint8_t letter, std::size_t count) {
  return request[0] == letter && request.size() == count + 2 && request[1] == count;
}

bool IsBlockRead(std::span<const std::uint8_t> request, std::uint8_t letter, std::size_t count) {
  return request[0] == letter && request.size() == 2 && request[1] == count;
}

}  // namespace

VirtualLedUnit::VirtualLedUnit(int kind)
    : VirtualInstrument(kind, LedUnitName(kind), "1.00"),
      levels_(LevelCount(kind), 0),
      switches_(SwitchCount(kind), 0) {
  const char defaultName[] = "LED UNIT";
  std::memcpy(name_.data(), defaultName, sizeof defaultName - 1);
}

bool VirtualLedUnit::Lit(std::size_t channel) const {
  return (switches_[channel / 8] >> (channel % 8)) & 1;
}

std::uint16_t VirtualLedUnit::SupplyCurrent() const {
  unsigned milliamperes = 0;
  for (std::size_t channel = 0; channel < levels_.size(); ++channel) {
    if (Lit(channel)) milliamperes += levels_[channel];
  }
  return static_cast<std::uint16_t>(milliamperes);
}

std::uint16_t VirtualLedUnit::SupplyVoltage() const {
  // The supply sags by 1 mV for every 10 mA drawn.
  return static_cast<std::uint16_t>(kSupplyMillivolts - SupplyCurrent() / 10);
}

std::optional<Bytes> VirtualLedUnit::HandleCommand(std::span<const std::uint8_t> request) {
  if (auto reply = Kind() == kThreeBank ? HandleBanks(request) : HandleLevels(request)) {
    return reply;
  }
  if (auto reply = HandleSwitches(request)) return reply;
  if (auto reply = channels_.Handle(request)) return reply;
  if (Kind() == kThreeBank && request.size() == 2 && request[0] == 'C' && request[1] == 0x04) {
    Bytes reply;
    AppendU16(reply, SupplyVoltage());
    AppendU16(reply, SupplyCurrent());
    return reply;
  }
  if (Kind() == kNamedUnit) return HandleNameAndTemperature(request);
  return std::nullopt;
}

std::optional<Bytes> VirtualLedUnit::HandleLevels(std::span<const std::uint8_t> request) {
  if (IsBlockRead(request, 'D', levels_.size())) return Bytes(levels_.begin(), levels_.end());
  if (IsBlockWrite(request, 'd', levels_.size())) {
    std::copy(request.begin() + 2, request.end(), levels_.begin());
    return Acknowledge(2);
  }
  return std::nullopt;
}

// Banks 0, 1 and 2 are read with D, E and F and written with d, e and f.
std::optional<Bytes> VirtualLedUnit::HandleBanks(std::span<const std::uint8_t> request) {
  for (std::size_t bank = 0; bank < 3; ++bank) {
    auto first = levels_.begin() + static_cast<std::ptrdiff_t>(bank * kBankSize);
    if (IsBlockRead(request, static_cast<std::uint8_t>('D' + bank), kBankSize)) {
      return Bytes(first, first + kBankSize);
    }
    if (IsBlockWrite(request, static_cast<std::uint8_t>('d' + bank), kBankSize)) {
      std::copy(request.begin() + 2, request.end(), first);
      return Acknowledge(2);
    }
  }
  return std::nullopt;
}

std::optional<Bytes> VirtualLedUnit::HandleSwitches(std::span<const std::uint8_t> request) {
  if (IsBlockRead(request, 'S', switches_.size())) {
    return Bytes(switches_.begin(), switches_.end());
  }
  if (IsBlockWrite(request, 's', switches_.size())) {
    std::copy(request.begin() + 2, request.end(), switches_.begin());
    return Acknowledge(2);
  }
  return std::nullopt;
}

std::optional<Bytes> VirtualLedUnit::HandleNameAndTemperature(
    std::span<const std::uint8_t> request) {
  if (IsBlockRead(request, 'W', name_.size())) return Bytes(name_.begin(), name_.end());
  if (IsBlockWrite(request, 'w', name_.size())) {
    std::copy(request.begin() + 2, request.end(), name_.begin());
    return Acknowledge(2);
  }
  if (request.size() == 2 && request[0] == 'T' && request[1] == 0x02) {
    return Bytes{0x04, 0x01};  // 26.0 C
  }
  return std::nullopt;
}

}  // namespace wrenlink::sim
