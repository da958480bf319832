#include "chromiva/acquisition/exposure_limits.h"

#include <charconv>

namespace chromiva::acquisition {

std::optional<int> ParseExposureMs(std::string_view text) {
  const auto begin = text.find_first_not_of(" \t");
  if (begin == std::string_view::npos) return std::nullopt;
  const std::string_view digits = text.substr(begin, text.find_last_not_of(" \t") - begin + 1);
  long long value = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
  if (value < kMinExposureMs || value > kMaxExposureMs) return std::nullopt;
  return static_cast<int>(value);
}

}  // namespace chromiva::acquisition
