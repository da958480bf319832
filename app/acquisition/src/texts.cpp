#include "chromiva/acquisition/texts.h"

#include <atomic>

namespace chromiva::acquisition {
namespace {

std::atomic<TextLookup> textLookup{nullptr};

}  // namespace

void SetTextLookup(TextLookup lookup) {
  textLookup.store(lookup);
}

std::string Translated(const char* source) {
  const TextLookup lookup = textLookup.load();
  return lookup != nullptr ? lookup(source) : std::string(source);
}

std::string Translated(const std::string& source) {
  return Translated(source.c_str());
}

std::string AsWritten(const char* source) {
  return source;
}

std::string Padded(int value, int width) {
  std::string text = std::to_string(value);
  if (text.size() < static_cast<std::size_t>(width)) {
    text.insert(0, static_cast<std::size_t>(width) - text.size(), ' ');
  }
  return text;
}

std::string Filled(std::string_view pattern, std::initializer_list<std::string_view> values) {
  std::string text;
  text.reserve(pattern.size());
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const char next = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
    const auto index = static_cast<std::size_t>(next - '1');
    if (pattern[i] == '%' && next >= '1' && next <= '9' && index < values.size()) {
      text += *(values.begin() + index);
      ++i;
    } else {
      text += pattern[i];
    }
  }
  return text;
}

}  // namespace chromiva::acquisition
