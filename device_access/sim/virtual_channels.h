// The I/O and PWM channels shared by the sensor board and the LED units: 256 one-byte
// channels each, read with X / Y and written with x / y.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>

#include "virtual_instrument.h"

namespace wrenlink::sim {

class IoPwmChannels {
 public:
  // The reply to an X, Y, x or y request, or nothing for any other request.
  std::optional<Bytes> Handle(std::span<const std::uint8_t> request);

 private:
  std::array<std::uint8_t, 256> io_{}, pwm_{};
};

}  // namespace wrenlink::sim
