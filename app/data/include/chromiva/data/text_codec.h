// Conversions between the Shift-JIS (code page 932) bytes of data files and UTF-8 in memory.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace chromiva::data {

// Each returns no value when the input is not valid in its encoding or holds a character that
// code page 932 cannot represent.
std::optional<std::string> Cp932ToUtf8(std::string_view bytes);
std::optional<std::string> Utf8ToCp932(std::string_view text);
std::optional<std::string> Utf16LeToUtf8(std::string_view bytes);

}  // namespace chromiva::data
