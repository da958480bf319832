#include "chromiva/acquisition/dialogs/edit_number.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace chromiva::acquisition {
namespace {

// The longest prefix of `text` (from `start`) that reads as a decimal number:
// [+-] digits [. digits] [e [+-] digits], with at least one mantissa digit.
std::size_t NumberLength(const std::string& text, std::size_t start) {
  auto digitsFrom = [&](std::size_t at) {
    std::size_t end = at;
    while (end < text.size() && text[end] >= '0' && text[end] <= '9') ++end;
    return end;
  };
  std::size_t at = start;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) ++at;
  std::size_t end = digitsFrom(at);
  std::size_t mantissaDigits = end - at;
  if (end < text.size() && text[end] == '.') {
    std::size_t fractionEnd = digitsFrom(end + 1);
    mantissaDigits += fractionEnd - (end + 1);
    end = fractionEnd;
  }
  if (mantissaDigits == 0) return 0;
  if (end < text.size() && (text[end] == 'e' || text[end] == 'E')) {
    std::size_t exponent = end + 1;
    if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-')) ++exponent;
    std::size_t exponentEnd = digitsFrom(exponent);
    if (exponentEnd > exponent) end = exponentEnd;
  }
  return end - start;
}

struct LimitRule {
  int AxisLimits::*field;
  const char* label;
  int lowerBound;
};

LimitRule RuleFor(AxisCorner corner) {
  switch (corner) {
    case AxisCorner::kGraphMax:
      return {&AxisLimits::graphMax, kMaximumLabel, 500};
    case AxisCorner::kGraphMin:
      return {&AxisLimits::graphMin, kMinimumLabel, -8192};
    case AxisCorner::kRatioMax:
      return {&AxisLimits::ratioMax, kMaximumLabel, 25};
    default:
      return {&AxisLimits::ratioMin, kMinimumLabel, -100};
  }
}

// Truncated toward zero and kept within int (an overflowing entry stays at the extreme).
int TruncatedEntry(float value) {
  double v = std::trunc(static_cast<double>(value));
  if (!(v > std::numeric_limits<int>::min())) return std::numeric_limits<int>::min();
  if (v > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
  return static_cast<int>(v);
}

// Whether the pair the corner belongs to keeps its maximum above its minimum.
bool Ordered(const AxisLimits& limits, AxisCorner corner) {
  const bool countAxis = corner == AxisCorner::kGraphMax || corner == AxisCorner::kGraphMin;
  return countAxis ? limits.graphMax > limits.graphMin : limits.ratioMax > limits.ratioMin;
}

}  // namespace

std::string EditNumberText(float value) {
  char text[64];
  std::snprintf(text, sizeof text, "%5.0f", static_cast<double>(value));
  return text;
}

float ReadEditNumber(const std::string& text) {
  std::size_t start = text.find_first_not_of(" \t\n\v\f\r");
  if (start == std::string::npos) return 0.0f;
  std::size_t length = NumberLength(text, start);
  if (length == 0) return 0.0f;
  const char* first = text.data() + start;
  const char* last = first + length;
  bool negative = *first == '-';
  if (*first == '+' || *first == '-') ++first;
  std::string digits(first, last);
  double value = 0.0;
  auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  (void)end;
  if (error == std::errc::result_out_of_range) {
    // Beyond double: a negative exponent means tiny, anything else huge.
    bool tiny = digits.find("e-") != std::string::npos || digits.find("E-") != std::string::npos;
    value = tiny ? 0.0 : std::numeric_limits<double>::infinity();
  }
  if (value > std::numeric_limits<float>::max()) value = std::numeric_limits<double>::infinity();
  float result = static_cast<float>(value);
  return negative ? -result : result;
}

AxisCorner AxisCornerAt(const FrameRect& plotArea, int x, int y) {
  for (AxisCorner corner : {AxisCorner::kGraphMax, AxisCorner::kGraphMin, AxisCorner::kRatioMax,
                            AxisCorner::kRatioMin}) {
    FrameRect zone = AxisCornerZone(plotArea, corner);
    if (x >= zone.left && x <= zone.right && y >= zone.top && y <= zone.bottom) return corner;
  }
  return AxisCorner::kNone;
}

FrameRect AxisCornerZone(const FrameRect& plotArea, AxisCorner corner) {
  const bool left = corner == AxisCorner::kGraphMax || corner == AxisCorner::kGraphMin;
  const bool top = corner == AxisCorner::kGraphMax || corner == AxisCorner::kRatioMax;
  FrameRect zone;
  zone.left = left ? plotArea.left : plotArea.right - 50;
  zone.right = left ? plotArea.left + 50 : plotArea.right;
  zone.top = top ? plotArea.top : plotArea.bottom - 30;
  zone.bottom = top ? plotArea.top + 30 : plotArea.bottom;
  return zone;
}

bool EditAxisLimit(FormPort& port, AxisLimits& limits, const FrameRect& plotArea, int formX,
                   int formY) {
  AxisCorner corner = AxisCornerAt(plotArea, formX - kGraphFrameLeft, formY - kGraphFrameTop);
  if (corner == AxisCorner::kNone) return false;
  LimitRule rule = RuleFor(corner);
  auto typed = port.EnterNumber(rule.label, EditNumberText(static_cast<float>(limits.*rule.field)));
  if (!typed) return false;
  AxisLimits changed = limits;
  changed.*rule.field = std::max(TruncatedEntry(ReadEditNumber(*typed)), rule.lowerBound);
  if (!Ordered(changed, corner)) {
    port.ShowOkMessage(kCrossedLimitRefusal);
    return false;
  }
  limits = changed;
  port.DrawGraph();
  return true;
}

}  // namespace chromiva::acquisition
