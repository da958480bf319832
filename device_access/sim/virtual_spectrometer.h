// The virtual C12880MA spectrometer (kind 33): exposure, polled readout, EEPROM with serial
// number and wavelength coefficients, temperature, and the five calibration tables.
#pragma once

#include <array>
#include <chrono>
#include <random>

#include "sim_options.h"
#include "virtual_instrument.h"

namespace wrenlink::sim {

inline constexpr int kPixels = 288;
inline constexpr int kDarkSteps = 21;
inline constexpr std::int32_t kLongestExposureUs = 9500000;
inline constexpr std::int32_t kShortestExposureUs = 265;
inline constexpr int kSaturation = 32767;

// The light the instrument sees and the sensor's response: counts per millisecond of
// exposure at each wavelength, without dark.
double LightCountsPerMs(double wavelengthNm);

class VirtualSpectrometer : public VirtualInstrument {
 public:
  explicit VirtualSpectrometer(const InstrumentSpec& spec);

  // The instrument's own dark at an exposure, per pixel (without noise).
  double DarkCounts(int pixel, double exposureUs) const;
  double PixelWavelength(int pixel) const;
  std::int32_t ExposureUs() const { return exposureUs_; }
  double ExposureSpeed() const override { return speed_; }

 protected:
  std::optional<Bytes> HandleCommand(std::span<const std::uint8_t> request) override;

 private:
  using Clock = std::chrono::steady_clock;
  struct Tables {
    std::array<float, kPixels + 1> wavelength{};
    std::array<std::array<float, kPixels + 1>, kDarkSteps> dark{};
    std::array<float, kPixels + 2> white{}, transmission{}, sensitivity{};
  };

  void LoadFactoryState(const std::string& serial);
  void RestoreOrSeedState();
  void Persist() const;
  Bytes SerializeState() const;
  bool DeserializeState(const Bytes& blob);

  Bytes StartExposure();
  Bytes Status() const;
  Bytes Frame();
  Bytes RealData();
  Bytes Temperature() const;
  std::optional<Bytes> EepromCommand(std::span<const std::uint8_t> request);
  std::optional<Bytes> TableRead(std::span<const std::uint8_t> request);
  std::optional<Bytes> TableWrite(std::span<const std::uint8_t> request);
  double ElapsedExposureFraction() const;

  std::string stateKey_;
  bool lightOn_ = true;
  double speed_ = 1.0;
  std::int32_t exposureUs_ = 100000;
  std::int32_t frameExposureUs_ = 100000;
  Clock::time_point exposureStart_{};
  bool exposing_ = false;
  std::array<std::uint8_t, 1024> eeprom_{};
  Tables tables_;
  std::mt19937 noise_;
};

}  // namespace wrenlink::sim
