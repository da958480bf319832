// Texts of the document are kept as the code page 932 (Shift-JIS) bytes that data files and
// instruments carry, and saved with exactly those bytes. They are decoded only for showing;
// a text that a person types or the program composes is converted once, before it is stored.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace chromiva::data {

// Shown in place of a byte that code page 932 maps to no character (0x80, 0xA0, 0xFD-0xFF, a
// lead byte without its trail byte).
inline constexpr std::string_view kUndecodableStandIn = "\xEF\xBF\xBD";  // U+FFFD

// Stored bytes as UTF-8 for showing: every character that code page 932 decodes, and the
// stand-in for each byte that it cannot. Never fails; never use the result for storing.
std::string DisplayText(std::string_view bytes);

// Strict conversions: no value when the input is not valid in its encoding or holds a character
// that code page 932 cannot represent.
std::optional<std::string> Cp932ToUtf8(std::string_view bytes);
std::optional<std::string> Utf8ToCp932(std::string_view text);
std::optional<std::string> Utf16LeToCp932(std::string_view bytes);

}  // namespace chromiva::data
