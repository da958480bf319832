// The sensor board (kind 9) and the load-cell units (kinds 12 and 24).
#pragma once

#include <array>
#include <cstdint>

#include "sim_options.h"
#include "virtual_channels.h"
#include "virtual_instrument.h"

namespace wrenlink::sim {

// Three 32-bit sensor readings shifted by a settable offset, plus I/O and PWM channels.
class VirtualSensorBoard : public VirtualInstrument {
 public:
  VirtualSensorBoard() : VirtualInstrument(9, "SENSORBOARD", "1.00") {}

 protected:
  std::optional<Bytes> HandleCommand(std::span<const std::uint8_t> request) override;

 private:
  Bytes Readings() const;

  std::int32_t offset_ = 0;
  IoPwmChannels channels_;
};

// A load cell with a raw reading (option raw=, default 12500). The weight it reports is
// (raw - tare) x calibration / 1000: tare takes the current raw reading, a calibration value
// waits until fix commits it. Each of the 256 channels keeps a 32-bit load setting.
// Kind 24 answers only the 64-byte load data: sixteen 32-bit channel weights.
class VirtualLoadCell : public VirtualInstrument {
 public:
  VirtualLoadCell(int kind, const InstrumentSpec& spec);

  std::int32_t Weight() const;

 protected:
  std::optional<Bytes> HandleCommand(std::span<const std::uint8_t> request) override;

 private:
  std::optional<Bytes> HandleSettings(std::span<const std::uint8_t> request);
  Bytes LoadData() const;

  std::int32_t raw_;
  std::int32_t tare_ = 0;
  std::int32_t pendingCalibration_ = 1000;
  std::int32_t calibration_ = 1000;
  std::array<std::int32_t, 256> loads_{};
};

}  // namespace wrenlink::sim
