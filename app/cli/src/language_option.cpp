#include "language_option.h"

#include <cstdio>

#ifdef CHROMIVA_HAVE_PLOT
#include "language.h"
#endif

namespace chromiva::cli {

bool TakeLanguageOption(Words& words, std::optional<std::string>& code, std::string& error) {
  for (auto word = words.begin(); word != words.end();) {
    if (*word != "--language") {
      ++word;
      continue;
    }
    const auto value = word + 1;
    if (value == words.end() || (*value != "ja" && *value != "en")) {
      error = "--language takes ja or en";
      return false;
    }
    code = *value;
    word = words.erase(word, value + 1);
  }
  return true;
}

#ifdef CHROMIVA_HAVE_PLOT
void UseChosenLanguage(const std::optional<std::string>& code) {
  const ui::Language language = code ? ui::ParseLanguage(*code).value_or(ui::Language::kJapanese)
                                     : ui::LanguageFromEnvironment();
  if (!ui::UseLanguage(language) && language == ui::Language::kEnglish) {
    std::fprintf(stderr, "chromiva-cli: the English texts could not be loaded; Japanese it is\n");
  }
}
#else
void UseChosenLanguage(const std::optional<std::string>&) {}
#endif

}  // namespace chromiva::cli
