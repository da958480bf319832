// The texts the window shows are written in Japanese, the program's own language. Each is marked
// with TR_NOOP("Form", "...") where it is written, so that lupdate gathers it into the translation
// catalogue (TR_NOOP is its QT_TRANSLATE_NOOP); the window looks a shown text up there. A text
// composed with values is translated as its template first (Translated, then Filled), never as
// the finished string. Lines written into data (the operation history, files) are not marked
// and never translated.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#define TR_NOOP(context, source) source

namespace chromiva::acquisition {

// The catalogue context of every text marked in this library.
inline constexpr const char* kTextContext = "Form";

// The source text's translation in the language of the window, or nothing when it has none.
using TextLookup = std::string (*)(const char* source);
// nullptr (the default): every text stays the Japanese source.
void SetTextLookup(TextLookup lookup);

// A marked text in the window's language; a text that is not in the catalogue comes back as it
// is (a finished text that was composed from a translated template among them).
std::string Translated(const char* source);
std::string Translated(const std::string& source);
// The marked text as it is written: what composes a line for data (the operation history) takes
// its template through this instead of Translated.
std::string AsWritten(const char* source);
// How a composer takes its marked texts: &Translated for the window, &AsWritten for data.
using TextForm = std::string (*)(const char* source);

// `value` right-aligned in `width` characters, as printf's "%2d" pads it (" 7").
std::string Padded(int value, int width);

// `pattern` with %1 .. %9 replaced by the values in order; other characters stay.
std::string Filled(std::string_view pattern, std::initializer_list<std::string_view> values);

}  // namespace chromiva::acquisition
