#include "chromiva/acquisition/dialogs/maintenance_tables.h"

#include "chromiva/acquisition/texts.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "chromiva/acquisition/dialogs/maintenance_ids.h"
#include "wrenlink.h"

namespace chromiva::acquisition::dialogs {
namespace {

constexpr int kSmoothHalfWidth = 2;
constexpr int kSmoothMargin = 5;
constexpr float kShortWaveLimitNm = 400.0F;

int PixelsOf(const data::SensorEntry& sensor) {
  return std::clamp(sensor.pixelCount, 0, data::kMaxPixels);
}

}  // namespace

std::string TableListLine(const data::SensorEntry& sensor, int line) {
  char text[512];
  const int p = std::clamp(line, 0, data::kMaxPixels);
  if (line >= data::kMaxPixels) {
    std::snprintf(text, sizeof text, "%3d: %5.1f %5.1f %5.1f %6.1f ", kTableListLines, 0.0,
                  static_cast<double>(sensor.sensitivityTable[p]),
                  static_cast<double>(sensor.whiteTable[p]),
                  static_cast<double>(sensor.transmissionTable[p]));
    return text;
  }
  int length = std::snprintf(text, sizeof text, "%3d: %5.1f %5.1f %5.1f %6.1f ", p + 1,
                             static_cast<double>(sensor.wavelengthTable[p]),
                             static_cast<double>(sensor.sensitivityTable[p]),
                             static_cast<double>(sensor.whiteTable[p]),
                             static_cast<double>(sensor.transmissionTable[p]));
  std::string result(text, static_cast<std::size_t>(length));
  for (const data::PixelArray& step : sensor.darkTables) {
    length = std::snprintf(text, sizeof text, "%6.1f ", static_cast<double>(step[p]));
    result.append(text, static_cast<std::size_t>(length));
  }
  return result;
}

std::vector<std::string> TableListLines(const data::SensorEntry& sensor) {
  std::vector<std::string> lines;
  lines.reserve(kTableListLines);
  for (int line = 0; line < kTableListLines; ++line) lines.push_back(TableListLine(sensor, line));
  return lines;
}

double ReferenceCurveValue(const std::array<data::TableRow, data::kFineTableRows>& table,
                           float wavelength) {
  for (int k = 1; k < data::kFineTableRows; ++k) {
    if (static_cast<float>(300 + k) >= wavelength) {
      const double below = table[k - 1].value;
      return below + (wavelength - static_cast<float>(299 + k)) * (table[k].value - below);
    }
  }
  return 0.0;
}

ReferenceCurves ComputeReferenceCurves(const data::SensorEntry& sensor, int graphMax) {
  ReferenceCurves curves;
  const int pixels = PixelsOf(sensor);
  double largest = 0.0;
  std::array<double, data::kMaxPixels> light{};
  for (int j = 0; j < pixels; ++j) {
    const float w = sensor.wavelengthTable[j];
    light[j] = ReferenceCurveValue(data::calibrationLightTable, w);
    largest = std::max(largest, light[j]);
    curves.response[j] = static_cast<float>(ReferenceCurveValue(data::referenceResponseTable, w));
  }
  for (int j = 0; j < pixels; ++j) {
    // Without any positive value the curve stays unscaled (a gain measurement then refuses).
    const double scaled = largest > 0.0 ? graphMax * light[j] / largest : light[j];
    curves.gainTarget[j] = static_cast<float>(scaled);
  }
  return curves;
}

void InitialiseTables(data::SensorEntry& sensor, int graphMax) {
  const int pixels = PixelsOf(sensor);
  for (data::PixelArray& step : sensor.darkTables) std::fill_n(step.begin(), pixels, 0.0F);
  std::fill_n(sensor.whiteTable.begin(), pixels, static_cast<float>(graphMax));
  std::fill_n(sensor.transmissionTable.begin(), pixels, static_cast<float>(graphMax));
  std::fill_n(sensor.sensitivityTable.begin(), pixels, 1.0F);
}

namespace {

// The wavelength of pixel j, in single precision as the tables hold it.
float WavelengthAt(const std::array<double, data::kCompCoefficients>& a, int j) {
  const double x = j + 1;
  const double value = a[0] + a[1] * x + a[2] * x * x + a[3] * x * x * x + a[4] * x * x * x * x +
                       a[5] * x * x * x * x * x;
  return static_cast<float>(value);
}

// Why `table`'s first `pixels` wavelengths are no sensor's; empty when they rise inside the
// plausible range.
std::string WavelengthTableProblem(const float* table, int pixels) {
  for (int j = 0; j < pixels; ++j) {
    const double w = table[j];
    if (!std::isfinite(w) || w < kLowestWavelengthNm || w > kHighestWavelengthNm) {
      return Filled(Translated(TR_NOOP("Form", "画素%1の波長が%2〜%3nmの範囲にありません")),
                    {std::to_string(j + 1), std::to_string(static_cast<int>(kLowestWavelengthNm)),
                     std::to_string(static_cast<int>(kHighestWavelengthNm))});
    }
    if (j > 0 && !(table[j] > table[j - 1])) {
      return Filled(Translated(TR_NOOP("Form", "画素%1で波長が増えていません")),
                    {std::to_string(j + 1)});
    }
  }
  return {};
}

}  // namespace

std::string WavelengthPolynomialProblem(const std::array<double, data::kCompCoefficients>& a,
                                        int pixels) {
  for (double coefficient : a) {
    if (!std::isfinite(coefficient))
      return Translated(TR_NOOP("Form", "係数が有限の数ではありません"));
  }
  pixels = std::clamp(pixels, 0, data::kMaxPixels);
  std::array<float, data::kMaxPixels> table{};
  for (int j = 0; j < pixels; ++j) table[j] = WavelengthAt(a, j);
  return WavelengthTableProblem(table.data(), pixels);
}

std::string TablesProblem(const data::SensorEntry& sensor) {
  const int pixels = PixelsOf(sensor);
  auto finite = [](const auto& values, int count) {
    return std::all_of(values.begin(), values.begin() + count,
                       [](float v) { return std::isfinite(v); });
  };
  for (const data::PixelArray& step : sensor.darkTables) {
    if (!finite(step, pixels))
      return Translated(TR_NOOP("Form", "ダークテーブルに有限でない値があります"));
  }
  if (!finite(sensor.whiteTable, pixels + 1))
    return Translated(TR_NOOP("Form", "ホワイトテーブルに有限でない値があります"));
  if (!finite(sensor.transmissionTable, pixels + 1))
    return Translated(TR_NOOP("Form", "透過テーブルに有限でない値があります"));
  if (!finite(sensor.sensitivityTable, pixels + 1))
    return Translated(TR_NOOP("Form", "感度テーブルに有限でない値があります"));
  for (double coefficient : sensor.compBlock) {
    if (!std::isfinite(coefficient))
      return Translated(TR_NOOP("Form", "係数が有限の数ではありません"));
  }
  return WavelengthTableProblem(sensor.wavelengthTable.data(), pixels);
}

void ApplyWavelengthPolynomial(data::SensorEntry& sensor,
                               const std::array<double, data::kCompCoefficients>& a) {
  for (int j = 0; j < PixelsOf(sensor); ++j) sensor.wavelengthTable[j] = WavelengthAt(a, j);
}

data::PixelArray ReadAveragedFrame(int deviceIndex, int pixels, int frames) {
  data::PixelArray sum{};
  pixels = std::clamp(pixels, 0, data::kMaxPixels);
  std::int16_t samples[data::kMaxPixels] = {};
  for (int frame = 0; frame < frames; ++frame) {
    GetDeviceData(deviceIndex, samples);
    for (int p = 0; p < pixels; ++p) sum[p] += static_cast<float>(samples[p]);
  }
  const float divisor = static_cast<float>(std::max(frames, 1));
  for (int p = 0; p < pixels; ++p) sum[p] = sum[p] / divisor;
  return sum;
}

GainResult ComputeSensitivity(const data::SensorEntry& sensor, const data::PixelArray& frame,
                              const ReferenceCurves& curves) {
  GainResult result;
  const int n = PixelsOf(sensor);
  data::PixelArray ratio{};
  for (int j = 0; j < n; ++j) {
    ratio[j] = (frame[j] - sensor.darkTables[0][j]) / curves.gainTarget[j];
  }
  data::PixelArray smooth = ratio;
  for (int j = kSmoothMargin + 1; j < n - kSmoothMargin; ++j) {
    float sum = 0.0F;
    for (int i = j - kSmoothHalfWidth; i <= j + kSmoothHalfWidth; ++i) sum += ratio[i];
    smooth[j] = sum / 5.0F;
  }
  int p0 = 0;
  while (p0 < n && !(sensor.wavelengthTable[p0] > kShortWaveLimitNm)) ++p0;
  if (p0 == n || curves.response[p0] == 0.0F) {
    result.refusal = maintenance_ids::kNoPixelAbove400;
    return result;
  }
  for (int j = 0; j < p0; ++j) {
    smooth[j] = curves.response[j] * smooth[p0] / curves.response[p0];
  }
  float largest = 0.0F;
  for (int j = 0; j < n; ++j) largest = std::max(largest, smooth[j]);
  for (int j = 0; j < n; ++j) {
    const float normalised = smooth[j] / largest;
    if (!(largest > 0.0F) || normalised == 0.0F || !std::isfinite(normalised)) {
      result.refusal = maintenance_ids::kGainZero;
      return result;
    }
    result.sensitivity[j] = 1.0F / normalised;
  }
  result.sensitivity[n] = static_cast<float>(sensor.exposureUs);
  result.ok = true;
  return result;
}

}  // namespace chromiva::acquisition::dialogs
