#include "language.h"

#include <QCoreApplication>
#include <QFile>
#include <QLibraryInfo>
#include <QTranslator>
#include <cstdlib>

#include "chromiva/acquisition/texts.h"

// Outside any namespace, as the resource's initialiser is.
static void LoadTranslationResource() {
  Q_INIT_RESOURCE(chromiva_i18n_translations);
}

namespace chromiva::ui {
namespace {

// Both translators live for the whole run and are only swapped: a worker thread may be looking a
// text up while the window switches.
struct Catalogues {
  QTranslator program;  // English texts of the window and the form
  QTranslator qt;       // Qt's own texts in Japanese
  bool programLoaded = false;
  bool qtLoaded = false;
  Language current = Language::kJapanese;
};

Catalogues& TheCatalogues() {
  static Catalogues catalogues;
  return catalogues;
}

std::string LookUpFormText(const char* source) {
  const QString text = TheCatalogues().program.translate(acquisition::kTextContext, source);
  return text.isEmpty() ? std::string(source) : text.toStdString();
}

bool EnsureLoaded(Catalogues& catalogues, Language language) {
  if (language == Language::kEnglish && !catalogues.programLoaded) {
    LoadTranslationResource();
    catalogues.programLoaded = catalogues.program.load(QStringLiteral(":/i18n/chromiva_en.qm"));
  }
  if (language == Language::kJapanese && !catalogues.qtLoaded) {
    catalogues.qtLoaded = catalogues.qt.load(QStringLiteral("qtbase_ja"),
                                             QLibraryInfo::path(QLibraryInfo::TranslationsPath));
  }
  return language == Language::kEnglish ? catalogues.programLoaded : catalogues.qtLoaded;
}

void Install(Catalogues& catalogues, Language language) {
  if (QCoreApplication::instance() == nullptr) return;
  QCoreApplication::removeTranslator(&catalogues.program);
  QCoreApplication::removeTranslator(&catalogues.qt);
  if (language == Language::kEnglish && catalogues.programLoaded)
    QCoreApplication::installTranslator(&catalogues.program);
  if (language == Language::kJapanese && catalogues.qtLoaded)
    QCoreApplication::installTranslator(&catalogues.qt);
}

std::string_view FirstEntry(const char* value) {
  std::string_view text = value != nullptr ? value : "";
  return text.substr(0, text.find(':'));
}

}  // namespace

std::optional<Language> ParseLanguage(std::string_view code) {
  if (code == "ja") return Language::kJapanese;
  if (code == "en") return Language::kEnglish;
  return std::nullopt;
}

const char* LanguageCode(Language language) {
  return language == Language::kEnglish ? "en" : "ja";
}

Language LanguageFromEnvironment(const EnvironmentReader& read) {
  for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"}) {
    const std::string_view entry = FirstEntry(read(name));
    if (entry.empty()) continue;
    if (entry == "C" || entry == "POSIX" || entry.starts_with("C.")) return Language::kJapanese;
    return entry.starts_with("ja") ? Language::kJapanese : Language::kEnglish;
  }
  return Language::kJapanese;
}

Language LanguageFromEnvironment() {
  return LanguageFromEnvironment([](const char* name) { return std::getenv(name); });
}

Language ChooseLanguage(std::optional<Language> commandLine, std::string_view setting,
                        Language environment) {
  if (commandLine) return *commandLine;
  return ParseLanguage(setting).value_or(environment);
}

bool UseLanguage(Language language) {
  Catalogues& catalogues = TheCatalogues();
  const bool loaded = EnsureLoaded(catalogues, language);
  if (language == Language::kEnglish && !loaded) return false;
  catalogues.current = language;
  acquisition::SetTextLookup(language == Language::kEnglish ? &LookUpFormText : nullptr);
  Install(catalogues, language);
  return loaded;
}

Language CurrentLanguage() {
  return TheCatalogues().current;
}

QString ShownText(const std::string& text) {
  return QString::fromStdString(acquisition::Translated(text));
}

std::string QtCatalogueFile() {
  const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
  const QString file = folder + QStringLiteral("/qtbase_ja.qm");
  return QFile::exists(file) ? file.toStdString() : std::string();
}

}  // namespace chromiva::ui
