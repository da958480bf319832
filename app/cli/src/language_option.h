// The language of the form's texts that chromiva-cli prints (guidance lines, questions and
// messages) and of the texts `plot` draws: `--language ja|en`, before or after the command,
// else the environment's as for the window (LANGUAGE, LC_ALL, LC_MESSAGES, LANG). The program's
// own messages stay English, and data is the same in both languages. Built without the
// window's libraries, every form text stays Japanese.
#pragma once

#include <optional>
#include <string>

#include "commands.h"

namespace chromiva::cli {

// Takes "--language CODE" out of `words` (the last one counts); false, with `error`, when CODE
// is missing or is not "ja" or "en".
bool TakeLanguageOption(Words& words, std::optional<std::string>& code, std::string& error);

// Makes the form's texts follow `code`, or the environment when there is none.
void UseChosenLanguage(const std::optional<std::string>& code);

}  // namespace chromiva::cli
