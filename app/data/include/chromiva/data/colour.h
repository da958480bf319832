// Chromaticity, RGB and simple statistics of a display-grid spectrum.
#pragma once

#include "chromiva/data/processing.h"

namespace chromiva::data {

// Chromaticity x, y, z and the CIE RGB triple derived from it. When X + Y + Z is 0 the spectrum
// has no chromaticity and all six values are NaN (shown as "---").
struct ColourValues {
  float x = 0.0f;
  float y = 0.0f;
  float z = 0.0f;
  float r = 0.0f;
  float g = 0.0f;
  float b = 0.0f;
};

// Tristimulus sums of the observer rows (360 to 830 nm every 5 nm) against the spectrum.
struct Tristimulus {
  float x = 0.0f;
  float y = 0.0f;
  float z = 0.0f;
};

Tristimulus ComputeTristimulus(const GridArray& spectrum);
ColourValues ComputeColourValues(const GridArray& spectrum);

// Minimum, maximum (with their wavelengths in nm) and average of a display spectrum. Ties go to
// the shorter wavelength; when no sample is below graphMax (or above 0) the extreme keeps its
// start value and its wavelength keeps the value of the previous computation.
struct SpectrumStats {
  float minimum = 0.0f;
  float maximum = 0.0f;
  float minimumNm = 0.0f;
  float maximumNm = 0.0f;
  float average = 0.0f;
};

void ComputeSpectrumStatistics(const GridArray& spectrum, int graphMax, SpectrumStats& stats);

}  // namespace chromiva::data
