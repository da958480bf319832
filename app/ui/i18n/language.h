// The window's language: Japanese, the program's own, or English. Chosen once for a run (command
// line, then the setting, then the environment) and switched while the window is open; every text
// follows it: the window's own (tr), Qt's (standard buttons, file choosers, context menus) and the
// form's, which the acquisition code hands over as Japanese source texts
// (chromiva/acquisition/texts.h).
#pragma once

#include <QString>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace chromiva::ui {

enum class Language { kJapanese, kEnglish };

// "ja" or "en"; nothing for any other text, the empty one included.
std::optional<Language> ParseLanguage(std::string_view code);
const char* LanguageCode(Language language);

using EnvironmentReader = std::function<const char*(const char* name)>;
// The first language named by LANGUAGE, LC_ALL, LC_MESSAGES and LANG, in that order: ja* is
// Japanese, any other named language English; C, POSIX or none named is Japanese.
Language LanguageFromEnvironment(const EnvironmentReader& read);
Language LanguageFromEnvironment();

// The language of a run: the command line's, else the setting's ("ja", "en"; empty or anything
// else: the environment's).
Language ChooseLanguage(std::optional<Language> commandLine, std::string_view setting,
                        Language environment);

// Makes every text follow `language`: loads the program's catalogue (compiled in) and Qt's own
// (from Qt's translations folder, for Japanese), installs them in the application when there is
// one (widgets then get a LanguageChange event) and points the form's texts at the catalogue.
// False when a catalogue the language needs could not be loaded (the texts stay as they were).
bool UseLanguage(Language language);
Language CurrentLanguage();

// A text the form's logic handed over (a marked Japanese source, or a finished text composed from
// a translated template) as the window shows it in the current language.
QString ShownText(const std::string& text);

// Where Qt's own translations are looked for; empty when qtbase_ja.qm is not there.
std::string QtCatalogueFile();

}  // namespace chromiva::ui
