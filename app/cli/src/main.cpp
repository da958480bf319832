// chromiva-cli: the headless front end of Chromiva.
#include <algorithm>
#include <cstdio>
#include <exception>
#include <optional>
#include <string>

#include "commands.h"
#include "language_option.h"

namespace {

using namespace chromiva::cli;

bool AsksForHelp(const Words& words) {
  return std::any_of(words.begin(), words.end(),
                     [](const std::string& word) { return word == "--help" || word == "-h"; });
}

// `help` alone, or `help COMMAND`.
int RunHelp(const Words& words) {
  if (words.empty()) {
    PrintUsage(stdout);
    return kExitOk;
  }
  const Command* command = FindCommand(words[0]);
  if (command == nullptr) {
    std::fprintf(stderr, "chromiva-cli: unknown command '%s'\n\n", words[0].c_str());
    PrintUsage(stderr);
    return kExitRefused;
  }
  PrintCommandHelp(*command, stdout);
  return kExitOk;
}

}  // namespace

int main(int argc, char** argv) {
  Words all(argv + 1, argv + argc);
  std::optional<std::string> language;
  std::string refusal;
  if (!TakeLanguageOption(all, language, refusal)) return Fail(kExitRefused, refusal);
  if (all.empty()) {
    PrintUsage(stderr);
    return kExitRefused;
  }
  UseChosenLanguage(language);
  const std::string name = all.front();
  const Words words(all.begin() + 1, all.end());
  if (name == "-h" || name == "--help" || name == "help") return RunHelp(words);
  if (name == "--version" || name == "-V") {
    PrintVersion(stdout);
    return kExitOk;
  }
  const Command* command = FindCommand(name);
  if (command == nullptr) {
    std::fprintf(stderr, "chromiva-cli: unknown command '%s'\n\n", name.c_str());
    PrintUsage(stderr);
    return kExitRefused;
  }
  if (AsksForHelp(words)) {
    PrintCommandHelp(*command, stdout);
    return kExitOk;
  }
  try {
    return command->run(words);
  } catch (const std::exception& error) {
    // A fault of ours, but a message and a status rather than an abort.
    return Fail(kExitRefused, error.what());
  }
}
