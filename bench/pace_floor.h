// The physical floor of a measurement pass on simulated spectrometers: what the instruments
// themselves need. Per sensor and pass, `averages` frames, each its exposure (divided by the
// simulator's speed) plus the transfers of one readout (start, status, data), and one
// temperature exchange. The transfer times are measured on the same instruments with exposure 0,
// so that every status poll finds the frame ready and nothing is waited for.
#pragma once

#include <chrono>
#include <cstdint>
#include <cstdlib>

#include "wrenlink.h"

namespace chromiva::bench {

struct TransferTimes {
  double readoutMs = 0;      // s, S, d of one frame that is ready at once
  double temperatureMs = 0;  // T
};

// Detects `sensors` spectrometers of the current WRENLINK_SIMULATOR list at indices 0 onwards,
// times `rounds` readouts and temperature reads of each at exposure 0, puts back `exposureUs` and
// closes them again.
inline TransferTimes MeasureTransfers(int sensors, double exposureUs, int rounds = 300) {
  using Clock = std::chrono::steady_clock;
  auto ms = [](Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); };
  TransferTimes times;
  std::int16_t samples[288];
  std::int16_t temperature = 0;
  for (int k = 0; k < sensors; ++k) {
    DetectDevice(k);
    SetDeviceExposure(k, 0);
    const auto readouts = Clock::now();
    for (int i = 0; i < rounds; ++i) GetDeviceData(k, samples);
    const auto temperatures = Clock::now();
    for (int i = 0; i < rounds; ++i) GetDeviceTemp(k, &temperature);
    const auto end = Clock::now();
    times.readoutMs += ms(temperatures - readouts) / rounds / sensors;
    times.temperatureMs += ms(end - temperatures) / rounds / sensors;
    SetDeviceExposure(k, exposureUs);
    CloseDevice(k);
  }
  return times;
}

// Milliseconds of one pass at the floor: every sensor at `exposureMs`, `averages` frames.
inline double FloorPassMs(const TransferTimes& times, int sensors, double exposureMs, int averages,
                          double simulatorSpeed) {
  const double frame = exposureMs / simulatorSpeed + times.readoutMs;
  return sensors * (averages * frame + times.temperatureMs);
}

}  // namespace chromiva::bench
