// Small virtual instruments: the mirror unit, the 16- and 8-channel LED units and an
// instrument that answers only the identity queries.
#pragma once

#include <array>

#include "sim_options.h"
#include "virtual_instrument.h"

namespace wrenlink::sim {

class VirtualMirror : public VirtualInstrument {
 public:
  VirtualMirror() : VirtualInstrument(34, "MIRROR", "1.00") {}
  unsigned Position() const { return position_; }

 protected:
  std::optional<Bytes> HandleCommand(std::span<const std::uint8_t> request) override;

 private:
  unsigned position_ = 0;
};

// LED units of kinds 13 and 29: 16 level bytes, 2 switch bytes, I/O and PWM channels; kind 29
// also has a 48-byte name and a temperature.
class VirtualLedUnit : public VirtualInstrument {
 public:
  explicit VirtualLedUnit(int kind);

 protected:
  std::optional<Bytes> HandleCommand(std::span<const std::uint8_t> request) override;

 private:
  std::array<std::uint8_t, 16> levels_{};
  std::array<std::uint8_t, 2> switches_{};
  std::array<std::uint8_t, 256> io_{}, pwm_{};
  std::array<std::uint8_t, 48> name_{};
};

// Answers N, V and K with the given kind and nothing else.
class VirtualIdentityOnly : public VirtualInstrument {
 public:
  explicit VirtualIdentityOnly(int kind) : VirtualInstrument(kind, "KIND", "1.00") {}
};

}  // namespace wrenlink::sim
