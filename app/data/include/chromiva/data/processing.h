// Turning raw records into corrected spectra and carrying them onto the display grid.
#pragma once

#include <array>
#include <span>

#include "chromiva/data/document.h"

namespace chromiva::data {

inline constexpr int kGridStartNm = 340;
inline constexpr int kGridEndNm = 850;
inline constexpr int kGridSamples = kGridEndNm - kGridStartNm + 1;
inline constexpr double kDarkSlopeExposureUs = 9500000.0;
inline constexpr int kDarkLongStep = 19;

using GridArray = std::array<float, kGridSamples>;

enum MeasureMode { kLightSource = 0, kReflectance = 1, kTransmittance = 2 };

// Per sensor: dark at exposure t = darkOffset + darkSlope * t / 9 500 000. The model remembers
// the dark steps it was derived from so that processing can tell when they have changed.
struct DarkModel {
  PixelArray darkOffset{};
  PixelArray darkSlope{};
  PixelArray sourceLongStep{};
  int32_t pixelCount = 0;
};

struct ProcessingSettings {
  int measureMode = kLightSource;
  bool waveComp = false;
  bool skyBgdOn = false;
};

// Results of the last processed record of a sensor.
struct SensorOutputs {
  PixelArray pixelRatio{};
  GridArray displaySpectrum{};
  GridArray ratioSpectrum{};
};

// Per sensor: for each display-grid sample, the pixel pair that brackets it (-1: none), found
// for the wavelength table kept beside it. Records of a sensor share the table, so resampling
// searches again only when the table changes.
struct GridBrackets {
  PixelArray wavelengths{};
  int32_t pixelCount = -1;  // -1: nothing found yet
  std::array<int16_t, kGridSamples> pair{};
};

// The processing state owned by the measurement form: settings, dark models and outputs.
struct ProcessingState {
  ProcessingSettings settings;
  std::array<DarkModel, kMaxSensors> dark{};
  std::array<SensorOutputs, kMaxSensors> outputs{};
  std::array<GridBrackets, kMaxSensors> brackets{};
};

// Recomputes the dark model of a sensor from its dark steps 0 and 19.
void UpdateDarkModel(const SensorEntry& sensor, DarkModel& model);
bool DarkModelMatches(const SensorEntry& sensor, const DarkModel& model);

// Writes dark step 20 of the sensor for the given exposure.
void ComputeDarkForExposure(SensorEntry& sensor, const DarkModel& model, float exposureUs);

// Dark-corrects record r of sensor k into its processedSpectrum and fills pixelRatio. The dark
// model is first brought up to date with the sensor's dark steps. Returns false (and changes
// nothing) when k or r is out of range or the record has no arrays.
bool CorrectRecord(Ctintrose_mfDoc& document, ProcessingState& state, int sensor, int record);

// Resamples record r of sensor k onto the display grid (displaySpectrum, and ratioSpectrum in
// reflectance or transmittance mode). Returns false when k or r is out of range or the record
// has no arrays.
bool ResampleRecord(const Ctintrose_mfDoc& document, ProcessingState& state, int sensor,
                    int record);

// Linear interpolation of per-pixel values onto the display grid. Sample i (340 + i nm) uses
// the lowest pixel pair j with wavelengths[j] < 340 + i <= wavelengths[j + 1]. A sample that no
// pair brackets takes the value of the end pixel (first or last) whose wavelength is nearer,
// the first on a tie. `subtract`, when given, is removed from each value first.
void ResampleToGrid(std::span<const float> wavelengths, std::span<const float> values,
                    const float* subtract, GridArray& out);

}  // namespace chromiva::data
