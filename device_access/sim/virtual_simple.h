// Small virtual instruments: the mirror unit, the LED units of every size and an instrument
// that answers only the identity queries.
#pragma once

#include <array>
#include <vector>

#include "sim_options.h"
#include "virtual_channels.h"
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

// LED units: kinds 13 and 29 with 16 level bytes and 2 switch bytes, kind 22 with 32 and 4,
// kind 23 with three banks of 32 and 12 switch bytes (one bit per channel) and a V/C reading;
// all have I/O and PWM channels, kind 29 also a 48-byte name and a temperature.
class VirtualLedUnit : public VirtualInstrument {
 public:
  explicit VirtualLedUnit(int kind);

  // Millivolts and milliamperes of the supply: each lit channel draws its level in mA.
  std::uint16_t SupplyCurrent() const;
  std::uint16_t SupplyVoltage() const;

 protected:
  std::optional<Bytes> HandleCommand(std::span<const std::uint8_t> request) override;

 private:
  std::optional<Bytes> HandleLevels(std::span<const std::uint8_t> request);
  std::optional<Bytes> HandleBanks(std::span<const std::uint8_t> request);
  std::optional<Bytes> HandleSwitches(std::span<const std::uint8_t> request);
  std::optional<Bytes> HandleNameAndTemperature(std::span<const std::uint8_t> request);
  bool Lit(std::size_t channel) const;

  std::vector<std::uint8_t> levels_;
  std::vector<std::uint8_t> switches_;
  IoPwmChannels channels_;
  std::array<std::uint8_t, 48> name_{};
};

// Answers N, V and K with the given kind and nothing else.
class VirtualIdentityOnly : public VirtualInstrument {
 public:
  explicit VirtualIdentityOnly(int kind) : VirtualInstrument(kind, "KIND", "1.00") {}
};

}  // namespace wrenlink::sim
