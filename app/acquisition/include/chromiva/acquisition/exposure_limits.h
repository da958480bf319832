// The exposures an instrument takes and the message for one it does not: every path that sends
// an exposure (the typed field, chromiva-cli's --exposure, the stored exposure of a sensor, the
// dark sequences) checks against these.
#pragma once

#include "chromiva/acquisition/texts.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace chromiva::acquisition {

inline constexpr int kMinExposureMs = 0;
inline constexpr int kMaxExposureMs = 9500;
inline constexpr double kLongestExposureUs = kMaxExposureMs * 1000.0;

namespace text {
inline constexpr const char* kExposureRefusal =
    TR_NOOP("Form", "露光時間には0以上9500以下の値(ms)を入力してください。");
}  // namespace text

constexpr bool ExposureUsInLimits(double exposureUs) {
  return exposureUs >= kMinExposureMs * 1000.0 && exposureUs <= kLongestExposureUs;
}

// The milliseconds of a typed exposure: a whole number within the limits, blanks around it
// allowed; none for anything else ("abc", "", "100000", "-5", "12.5").
std::optional<int> ParseExposureMs(std::string_view text);

}  // namespace chromiva::acquisition
