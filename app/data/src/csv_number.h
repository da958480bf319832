// Number cells printed exactly as the C formats "%<width>.<precision>f" and "%<width>d" (or
// "%0<width>d") would print them, without going through printf.
#pragma once

#include <cstdint>
#include <string>

namespace chromiva::data::detail {

void AppendFixed(std::string& out, double value, int width, int precision);
void AppendInteger(std::string& out, int64_t value, int width, bool zeroPad = false);

}  // namespace chromiva::data::detail
