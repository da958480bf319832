// The LED power supply (kind 35), the brushless motor driver (kind 17) and the text relay
// (kind 18).
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "virtual_instrument.h"

namespace wrenlink::sim {

// Keeps its 32 current bytes (d 0x20) and its on/off word (s 0x04). Besides the library's
// setters it answers D 0x20 with the currents and S 0x04 with the on/off word, so that a
// client can read them back through the raw channel.
class VirtualLedPower : public VirtualInstrument {
 public:
  VirtualLedPower() : VirtualInstrument(35, "LEDPOWER", "1.00") {}

 protected:
  std::optional<Bytes> HandleCommand(std::span<const std::uint8_t> request) override;

 private:
  std::array<std::uint8_t, 32> currents_{};
  std::int32_t onOff_ = 0;
};

// Keeps the 16-bit PWM value; the motor turns at 3 rpm per PWM step.
class VirtualBrushlessDriver : public VirtualInstrument {
 public:
  VirtualBrushlessDriver() : VirtualInstrument(17, "BLDC", "1.00") {}

 protected:
  std::optional<Bytes> HandleCommand(std::span<const std::uint8_t> request) override;

 private:
  std::uint16_t pwm_ = 0;
};

// A loop-back on the serial side: D answers the last text sent with d.
class VirtualTextRelay : public VirtualInstrument {
 public:
  VirtualTextRelay() : VirtualInstrument(18, "RS-RELAY", "1.00") {}

 protected:
  std::optional<Bytes> HandleCommand(std::span<const std::uint8_t> request) override;

 private:
  Bytes LineReply() const;

  std::string line_;
};

}  // namespace wrenlink::sim
