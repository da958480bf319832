#include "csv_number.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace chromiva::data::detail {

namespace {

constexpr int kMaxFastPrecision = 3;
constexpr double kFastLimit = 9.0e15;  // far below 2^63 and exact in double

void AppendPadded(std::string& out, const char* text, std::size_t length, int width, bool zeroPad,
                  bool negative) {
  const std::size_t total = length + (negative ? 1 : 0);
  const std::size_t pad = width > 0 && static_cast<std::size_t>(width) > total
                              ? static_cast<std::size_t>(width) - total
                              : 0;
  if (!zeroPad) out.append(pad, ' ');
  if (negative) out.push_back('-');
  if (zeroPad) out.append(pad, '0');
  out.append(text, length);
}

std::size_t UnsignedDigits(char* at, uint64_t value) {
  return static_cast<std::size_t>(std::to_chars(at, at + 24, value).ptr - at);
}

// A float-valued number times 10^precision (precision <= 3) is exact in double, so rounding it
// to an integer (ties to even, like printf) gives the printed digits directly.
bool FitsFastPath(double value, int precision) {
  return precision >= 0 && precision <= kMaxFastPrecision &&
         static_cast<double>(static_cast<float>(value)) == value && std::fabs(value) < 1.0e12;
}

std::size_t FastFixedDigits(char* text, double magnitude, int precision) {
  const double scale = precision == 0   ? 1.0
                       : precision == 1 ? 10.0
                       : precision == 2 ? 100.0
                                        : 1000.0;
  const auto scaled = static_cast<uint64_t>(std::nearbyint(magnitude * scale));
  const auto unit = static_cast<uint64_t>(scale);
  std::size_t length = UnsignedDigits(text, scaled / unit);
  if (precision == 0) return length;
  text[length++] = '.';
  uint64_t fraction = scaled % unit;
  for (int d = precision - 1; d >= 0; --d) {
    text[length + static_cast<std::size_t>(d)] = static_cast<char>('0' + fraction % 10);
    fraction /= 10;
  }
  return length + static_cast<std::size_t>(precision);
}

}  // namespace

void AppendFixed(std::string& out, double value, int width, int precision) {
  const bool negative = std::signbit(value);
  const double magnitude = std::fabs(value);
  char text[400];
  std::size_t length = 0;
  if (!std::isfinite(value)) {
    length = 3;
    std::memcpy(text, std::isnan(value) ? "nan" : "inf", length);
  } else if (FitsFastPath(value, precision) && magnitude < kFastLimit) {
    length = FastFixedDigits(text, magnitude, precision);
  } else {
    const auto result =
        std::to_chars(text, text + sizeof text, magnitude, std::chars_format::fixed, precision);
    length = static_cast<std::size_t>(result.ptr - text);
  }
  AppendPadded(out, text, length, width, false, negative);
}

void AppendInteger(std::string& out, int64_t value, int width, bool zeroPad) {
  const bool negative = value < 0;
  const uint64_t magnitude =
      negative ? uint64_t{0} - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
  char text[24];
  AppendPadded(out, text, UnsignedDigits(text, magnitude), width, zeroPad, negative);
}

}  // namespace chromiva::data::detail
