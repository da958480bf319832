// Table work of the maintenance dialog without the dialog: the table list's lines, the
// reference curves, resetting the tables, the wavelength polynomial, frame averaging and the
// sensitivity computed from a measured frame.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "chromiva/data/document.h"
#include "chromiva/data/tables.h"

namespace chromiva::acquisition::dialogs {

inline constexpr int kTableListLines = data::kMaxPixels + 1;

// Line j (0 .. 287) of the table list: pixel j + 1, wavelength, sensitivity, white,
// transmission and the 21 dark steps; line 288 the values after the pixels (the exposures).
std::string TableListLine(const data::SensorEntry& sensor, int line);
std::vector<std::string> TableListLines(const data::SensorEntry& sensor);

// Value of a 300 .. 900 nm table at a wavelength, by linear interpolation; 0 above 900 nm.
double ReferenceCurveValue(const std::array<data::TableRow, data::kFineTableRows>& table,
                           float wavelength);

// The gain target G (the calibration light, scaled so that its largest value is graphMax) and
// the response curve P (the reference response) at every pixel's wavelength.
struct ReferenceCurves {
  data::PixelArray gainTarget{};
  data::PixelArray response{};
};
ReferenceCurves ComputeReferenceCurves(const data::SensorEntry& sensor, int graphMax);

// Dark steps 0, white and transmission graphMax, sensitivity 1.0; the values after the pixels
// stay.
void InitialiseTables(data::SensorEntry& sensor, int graphMax);

// The plausible wavelengths of a sensor's pixels, in nm.
inline constexpr double kLowestWavelengthNm = 200.0;
inline constexpr double kHighestWavelengthNm = 1200.0;

// Why the coefficients `a` give no usable wavelength table for `pixels` pixels (a coefficient
// or a wavelength that is not finite, wavelengths that do not rise from pixel to pixel or
// leave kLowestWavelengthNm .. kHighestWavelengthNm); empty when they give one.
std::string WavelengthPolynomialProblem(const std::array<double, data::kCompCoefficients>& a,
                                        int pixels);

// Why `sensor`'s tables must not be written into an instrument: a value that is not finite,
// or a wavelength table as WavelengthPolynomialProblem refuses; empty when they may.
std::string TablesProblem(const data::SensorEntry& sensor);

// Wavelength of pixel j = a0 + a1 x + ... + a5 x^5 with x = j + 1.
void ApplyWavelengthPolynomial(data::SensorEntry& sensor,
                               const std::array<double, data::kCompCoefficients>& a);

// Mean of `frames` frames of a device, in single precision (the first `pixels` values).
data::PixelArray ReadAveragedFrame(int deviceIndex, int pixels, int frames);

struct GainResult {
  bool ok = false;
  std::string refusal;  // when not ok: the tables must stay as they are
  data::PixelTable sensitivity{};
};

// The sensitivity table from a frame of the calibration light: the dark-corrected ratio to G,
// smoothed over five pixels, below 400 nm shaped by P, normalised to its maximum and inverted;
// the value after the pixels is the sensor's exposure.
GainResult ComputeSensitivity(const data::SensorEntry& sensor, const data::PixelArray& frame,
                              const ReferenceCurves& curves);

}  // namespace chromiva::acquisition::dialogs
