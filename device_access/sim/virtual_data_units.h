// Data units: the sensor unit with scaled 16-bit channels (kind 20), the sensor unit with a
// parameter block (kind 25) and the drone data unit (kind 26).
#pragma once

#include <array>
#include <cstdint>

#include "virtual_instrument.h"

namespace wrenlink::sim {

// D answers 32 raw 16-bit channels of a unit lying flat: acceleration 0, 0, 1 g (raw 16384
// per g), temperature 24.5 C (raw 3950), rates 0, and supply channels of 3.3 V and below.
class VirtualGSensor : public VirtualInstrument {
 public:
  VirtualGSensor() : VirtualInstrument(20, "GSENSOR", "1.00") {}

 protected:
  std::optional<Bytes> HandleCommand(std::span<const std::uint8_t> request) override;
};

// Keeps the 40-byte parameter block; D answers three readings in thousandths whose first is
// the block's first 16-bit word, so a written block shows in the readings.
class VirtualSParameterUnit : public VirtualInstrument {
 public:
  VirtualSParameterUnit();

 protected:
  std::optional<Bytes> HandleCommand(std::span<const std::uint8_t> request) override;

 private:
  std::array<std::uint8_t, 40> parameters_{};
};

// D answers a 3024-byte record: a 32-bit record number that counts the reads, then bytes
// that follow the pattern (record number + offset) mod 256.
class VirtualDroneUnit : public VirtualInstrument {
 public:
  VirtualDroneUnit() : VirtualInstrument(26, "DRONE", "1.00") {}

 protected:
  std::optional<Bytes> HandleCommand(std::span<const std::uint8_t> request) override;

 private:
  std::uint32_t records_ = 0;
};

}  // namespace wrenlink::sim
