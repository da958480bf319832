#include "chromiva/data/processing.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <type_traits>

namespace chromiva::data {

namespace {

constexpr int kUnbracketed = -1;
constexpr double kMinimumReference = 10.0;

bool InRange(int sensor, int record) {
  return sensor >= 0 && sensor < kMaxSensors && record >= 0 && record < kRecordSlots;
}

std::size_t PixelsOf(const SensorEntry& sensor) {
  return static_cast<std::size_t>(UsablePixels(sensor));
}

// First grid sample whose wavelength is strictly above w.
int FirstSampleAbove(float w) {
  if (w < static_cast<float>(kGridStartNm)) return 0;
  if (w >= static_cast<float>(kGridEndNm)) return kGridSamples;
  return static_cast<int>(std::floor(w)) + 1 - kGridStartNm;
}

// Last grid sample whose wavelength is at most w.
int LastSampleAtMost(float w) {
  if (w < static_cast<float>(kGridStartNm)) return -1;
  if (w >= static_cast<float>(kGridEndNm)) return kGridSamples - 1;
  return static_cast<int>(std::floor(w)) - kGridStartNm;
}

// Next sample at or after i that has no pair yet (path-halving skip list).
int NextFree(std::array<int16_t, kGridSamples + 1>& next, int i) {
  while (next[static_cast<std::size_t>(i)] != i) {
    const auto at = static_cast<std::size_t>(i);
    next[at] = next[static_cast<std::size_t>(next[at])];
    i = next[at];
  }
  return i;
}

using Brackets = std::array<int16_t, kGridSamples>;
static_assert(std::is_same_v<Brackets, decltype(GridBrackets::pair)>);

bool StrictlyIncreasing(std::span<const float> w) {
  for (std::size_t p = 0; p + 1 < w.size(); ++p) {
    if (!(w[p] < w[p + 1])) return false;  // also false for NaN
  }
  return true;
}

// Sorted table: one merge pass over pixels and samples.
void MergeBrackets(std::span<const float> w, Brackets& bracket) {
  std::size_t j = 0;
  for (std::size_t i = 0; i < bracket.size(); ++i) {
    const auto b = static_cast<float>(kGridStartNm + static_cast<int>(i));
    while (j + 1 < w.size() && w[j + 1] < b) ++j;
    const bool brackets = j + 1 < w.size() && w[j] < b;
    bracket[i] = brackets ? static_cast<int16_t>(j) : kUnbracketed;
  }
}

// Any table: each pair claims the samples it brackets that no lower pair has claimed. A skip
// list jumps over claimed samples, so the work stays near pixels + samples.
void ClaimBrackets(std::span<const float> w, Brackets& bracket) {
  bracket.fill(kUnbracketed);
  std::array<int16_t, kGridSamples + 1> next;
  for (int i = 0; i <= kGridSamples; ++i) {
    next[static_cast<std::size_t>(i)] = static_cast<int16_t>(i);
  }
  for (std::size_t j = 0; j + 1 < w.size(); ++j) {
    if (std::isnan(w[j]) || std::isnan(w[j + 1])) continue;
    const int last = LastSampleAtMost(w[j + 1]);
    for (int i = NextFree(next, FirstSampleAbove(w[j])); i <= last; i = NextFree(next, i)) {
      bracket[static_cast<std::size_t>(i)] = static_cast<int16_t>(j);
      next[static_cast<std::size_t>(i)] = static_cast<int16_t>(i + 1);
    }
  }
}

// For each grid sample, the lowest pixel j whose pair (j, j + 1) brackets it, or kUnbracketed.
void FindBrackets(std::span<const float> w, Brackets& bracket) {
  if (StrictlyIncreasing(w)) {
    MergeBrackets(w, bracket);
  } else {
    ClaimBrackets(w, bracket);
  }
}

// The brackets of `w`, found again only when `w` differs (bit for bit) from the cached table.
const Brackets& CachedBrackets(std::span<const float> w, GridBrackets& cache) {
  const bool same = cache.pixelCount == static_cast<int32_t>(w.size()) &&
                    std::memcmp(cache.wavelengths.data(), w.data(), w.size_bytes()) == 0;
  if (!same) {
    FindBrackets(w, cache.pair);
    std::copy(w.begin(), w.end(), cache.wavelengths.begin());
    cache.pixelCount = static_cast<int32_t>(w.size());
  }
  return cache.pair;
}

double SourceValue(std::span<const float> values, const float* subtract, std::size_t p) {
  const double v = values[p];
  return subtract != nullptr ? v - static_cast<double>(subtract[p]) : v;
}

double EndPixelValue(std::span<const float> w, std::span<const float> values, const float* subtract,
                     float b) {
  if (values.empty()) return 0.0;
  const std::size_t last = values.size() - 1;
  const double toFirst = std::fabs(static_cast<double>(b) - w[0]);
  const double toLast = std::fabs(static_cast<double>(b) - w[last]);
  return SourceValue(values, subtract, toLast < toFirst ? last : 0);
}

void FillRatio(const SensorEntry& sensor, const PixelTable& reference, const RecordSlot& slot,
               PixelArray& ratio) {
  const std::size_t pixels = PixelsOf(sensor);
  const auto f = static_cast<float>(static_cast<double>(reference[pixels]) /
                                    static_cast<double>(slot.recordExposureUs));
  const PixelArray& processed = slot.spectra->processedSpectrum;
  for (std::size_t p = 0; p < pixels; ++p) {
    const double r = reference[p];
    ratio[p] = r >= kMinimumReference
                   ? static_cast<float>(static_cast<double>(processed[p]) / r * 100.0 * f)
                   : 0.0f;
  }
}

void Interpolate(std::span<const float> w, std::span<const float> values, const float* subtract,
                 const Brackets& bracket, GridArray& out) {
  for (std::size_t i = 0; i < bracket.size(); ++i) {
    const auto b = static_cast<float>(kGridStartNm + static_cast<int>(i));
    const int j = bracket[i];
    if (j == kUnbracketed) {
      out[i] = static_cast<float>(EndPixelValue(w, values, subtract, b));
      continue;
    }
    const auto lo = static_cast<std::size_t>(j);
    const double v0 = SourceValue(values, subtract, lo);
    const double v1 = SourceValue(values, subtract, lo + 1);
    const double w0 = w[lo];
    const double w1 = w[lo + 1];
    out[i] = static_cast<float>(v0 + (b - w0) * (v1 - v0) / (w1 - w0));
  }
}

}  // namespace

void UpdateDarkModel(const SensorEntry& sensor, DarkModel& model) {
  const std::size_t pixels = PixelsOf(sensor);
  const PixelArray& shortStep = sensor.darkTables[0];
  const PixelArray& longStep = sensor.darkTables[kDarkLongStep];
  for (std::size_t p = 0; p < pixels; ++p) {
    model.darkOffset[p] = shortStep[p];
    model.darkSlope[p] = longStep[p] > shortStep[p]
                             ? static_cast<float>(static_cast<double>(longStep[p]) - shortStep[p])
                             : 0.0f;
    model.sourceLongStep[p] = longStep[p];
  }
  model.pixelCount = static_cast<int32_t>(pixels);
}

bool DarkModelMatches(const SensorEntry& sensor, const DarkModel& model) {
  const std::size_t bytes = PixelsOf(sensor) * sizeof(float);
  return model.pixelCount == static_cast<int32_t>(PixelsOf(sensor)) &&
         std::memcmp(model.darkOffset.data(), sensor.darkTables[0].data(), bytes) == 0 &&
         std::memcmp(model.sourceLongStep.data(), sensor.darkTables[kDarkLongStep].data(), bytes) ==
             0;
}

void ComputeDarkForExposure(SensorEntry& sensor, const DarkModel& model, float exposureUs) {
  const std::size_t pixels = PixelsOf(sensor);
  PixelArray& dark = sensor.darkTables[kDarkStepForRecord];
  for (std::size_t p = 0; p < pixels; ++p) {
    dark[p] =
        static_cast<float>(model.darkOffset[p] + static_cast<double>(exposureUs) *
                                                     model.darkSlope[p] / kDarkSlopeExposureUs);
  }
}

bool CorrectRecord(Ctintrose_mfDoc& document, ProcessingState& state, int sensor, int record) {
  if (!InRange(sensor, record)) return false;
  RecordSlot& slot = document.Record(sensor, record);
  if (!slot.spectra) return false;
  SensorEntry& entry = document.Sensor(sensor);
  DarkModel& model = state.dark[static_cast<std::size_t>(sensor)];
  if (!DarkModelMatches(entry, model)) UpdateDarkModel(entry, model);
  ComputeDarkForExposure(entry, model, static_cast<float>(slot.recordExposureUs));

  const std::size_t pixels = PixelsOf(entry);
  const PixelArray& dark = entry.darkTables[kDarkStepForRecord];
  RecordSpectra& spectra = *slot.spectra;
  for (std::size_t p = 0; p < pixels; ++p) {
    double d = static_cast<double>(spectra.rawSpectrum[p]) - dark[p];
    if (state.settings.waveComp) d *= entry.sensitivityTable[p];
    spectra.processedSpectrum[p] = static_cast<float>(d);
  }

  PixelArray& ratio = state.outputs[static_cast<std::size_t>(sensor)].pixelRatio;
  switch (state.settings.measureMode) {
    case kReflectance:
      FillRatio(entry, entry.whiteTable, slot, ratio);
      break;
    case kTransmittance:
      FillRatio(entry, entry.transmissionTable, slot, ratio);
      break;
    default:
      std::fill_n(ratio.begin(), pixels, 0.0f);
      break;
  }
  return true;
}

bool ResampleRecord(const Ctintrose_mfDoc& document, ProcessingState& state, int sensor,
                    int record) {
  if (!InRange(sensor, record)) return false;
  const RecordSlot& slot = document.Record(sensor, record);
  if (!slot.spectra) return false;
  const SensorEntry& entry = document.Sensor(sensor);
  const std::size_t pixels = PixelsOf(entry);
  const std::span<const float> wavelengths(entry.wavelengthTable.data(), pixels);
  SensorOutputs& out = state.outputs[static_cast<std::size_t>(sensor)];
  const float* sky = state.settings.skyBgdOn
                         ? document.skyBgdTable[static_cast<std::size_t>(sensor)].data()
                         : nullptr;
  const Brackets& bracket =
      CachedBrackets(wavelengths, state.brackets[static_cast<std::size_t>(sensor)]);
  Interpolate(wavelengths, {slot.spectra->processedSpectrum.data(), pixels}, sky, bracket,
              out.displaySpectrum);
  const int mode = state.settings.measureMode;
  if (mode == kReflectance || mode == kTransmittance) {
    Interpolate(wavelengths, {out.pixelRatio.data(), pixels}, nullptr, bracket, out.ratioSpectrum);
  }
  return true;
}

void ResampleToGrid(std::span<const float> wavelengths, std::span<const float> values,
                    const float* subtract, GridArray& out) {
  const std::span<const float> w = wavelengths.first(std::min(wavelengths.size(), values.size()));
  Brackets bracket;
  FindBrackets(w, bracket);
  Interpolate(w, values.first(w.size()), subtract, bracket, out);
}

}  // namespace chromiva::data
