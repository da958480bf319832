#include "virtual_simple.h"

#include <algorithm>
#include <cstring>

namespace wrenlink::sim {

std::optional<Bytes> VirtualMirror::HandleCommand(std::span<const std::uint8_t> request) {
  if (request[0] != 's' || request.size() != 4) return std::nullopt;
  position_ = ReadU16(request.data() + 2);
  return Acknowledge(4);
}

VirtualLedUnit::VirtualLedUnit(int kind)
    : VirtualInstrument(kind, kind == 13 ? "LED16CH" : "LED8CH", "1.00") {
  const char defaultName[] = "LED UNIT";
  std::memcpy(name_.data(), defaultName, sizeof defaultName - 1);
}

std::optional<Bytes> VirtualLedUnit::HandleCommand(std::span<const std::uint8_t> request) {
  const std::size_t size = request.size();
  const std::uint8_t letter = request[0];
  if (size == 2 && letter == 'D' && request[1] == levels_.size()) {
    return Bytes(levels_.begin(), levels_.end());
  }
  if (letter == 'd' && size == levels_.size() + 2 && request[1] == levels_.size()) {
    std::copy(request.begin() + 2, request.end(), levels_.begin());
    return Acknowledge(2);
  }
  if (size == 2 && letter == 'S' && request[1] == switches_.size()) {
    return Bytes(switches_.begin(), switches_.end());
  }
  if (letter == 's' && size == switches_.size() + 2 && request[1] == switches_.size()) {
    std::copy(request.begin() + 2, request.end(), switches_.begin());
    return Acknowledge(2);
  }
  if (size == 4 && request[1] == 0x02 && (letter == 'X' || letter == 'Y')) {
    auto& channels = letter == 'X' ? io_ : pwm_;
    return Bytes{channels[request[2]], 0, 0, 0};
  }
  if (size == 4 && request[1] == 0x02 && (letter == 'x' || letter == 'y')) {
    auto& channels = letter == 'x' ? io_ : pwm_;
    channels[request[2]] = request[3];
    return Acknowledge(4);
  }
  if (Kind() != 29) return std::nullopt;
  if (size == 2 && letter == 'W' && request[1] == 0x30) return Bytes(name_.begin(), name_.end());
  if (size == 50 && letter == 'w' && request[1] == 0x30) {
    std::copy(request.begin() + 2, request.end(), name_.begin());
    return Acknowledge(2);
  }
  if (size == 2 && letter == 'T' && request[1] == 0x02) return Bytes{0x04, 0x01};  // 26.0 C
  return std::nullopt;
}

}  // namespace wrenlink::sim
