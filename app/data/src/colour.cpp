#include "chromiva/data/colour.h"

#include <limits>

#include "chromiva/data/tables.h"

namespace chromiva::data {

namespace {

constexpr int kObserverFirstSample = 360 - kGridStartNm;
constexpr int kObserverStepNm = 5;

float Accumulate(float sum, float weight, float sample) {
  return static_cast<float>(static_cast<double>(sum) + static_cast<double>(weight) * sample);
}

}  // namespace

Tristimulus ComputeTristimulus(const GridArray& spectrum) {
  Tristimulus t;
  for (std::size_t n = 0; n < cieObserverTable.size(); ++n) {
    const CieObserverRow& row = cieObserverTable[n];
    const float s = spectrum[kObserverFirstSample + kObserverStepNm * n];
    t.x = Accumulate(t.x, row.xBar, s);
    t.y = Accumulate(t.y, row.yBar, s);
    t.z = Accumulate(t.z, row.zBar, s);
  }
  return t;
}

ColourValues ComputeColourValues(const GridArray& spectrum) {
  const Tristimulus t = ComputeTristimulus(spectrum);
  const double sum = static_cast<double>(t.x) + t.y + t.z;
  if (sum == 0.0) {
    const float none = std::numeric_limits<float>::quiet_NaN();
    return {none, none, none, none, none, none};
  }
  ColourValues c;
  c.x = static_cast<float>(t.x / sum);
  c.y = static_cast<float>(t.y / sum);
  c.z = static_cast<float>(t.z / sum);
  const double x = c.x, y = c.y, z = c.z;
  c.r = static_cast<float>(0.41847 * x - 0.15866 * y - 0.082835 * z);
  c.g = static_cast<float>(-0.091169 * x + 0.25243 * y + 0.015708 * z);
  c.b = static_cast<float>(0.0009209 * x - 0.0025498 * y + 0.1786 * z);
  return c;
}

void ComputeSpectrumStatistics(const GridArray& spectrum, int graphMax, SpectrumStats& stats) {
  stats.minimum = static_cast<float>(graphMax);
  stats.maximum = 0.0f;
  float sum = 0.0f;
  for (std::size_t i = 0; i < spectrum.size(); ++i) {
    const float s = spectrum[i];
    const auto nm = static_cast<float>(kGridStartNm + static_cast<int>(i));
    if (s < stats.minimum) {
      stats.minimum = s;
      stats.minimumNm = nm;
    }
    if (s > stats.maximum) {
      stats.maximum = s;
      stats.maximumNm = nm;
    }
    sum = static_cast<float>(static_cast<double>(sum) + s);
  }
  stats.average = static_cast<float>(static_cast<double>(sum) / kGridSamples);
}

}  // namespace chromiva::data
