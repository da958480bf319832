// chromiva-cli's help, version, README command table and bash completion.
#include <gtest/gtest.h>

#include <regex>
#include <sstream>

#include "cli_fixture.h"

namespace {

using chromiva::cli::testing::ReadFile;
using Cli = chromiva::cli::testing::CliTest;

TEST_F(Cli, HelpListsEveryOptionOfTheCommand) {
  for (const char* asking : {"help export", "export --help", "export FILE -o x --help"}) {
    auto result = Run(asking);
    EXPECT_EQ(result.status, 0) << asking;
    EXPECT_EQ(result.out.rfind("usage: chromiva-cli export FILE -o OUT", 0), 0u) << asking;
    for (const char* option : {"-o OUT ", "--format original|tidy ", "--no-exp ", "--wave-comp "}) {
      EXPECT_NE(result.out.find(std::string("\n  ") + option), std::string::npos) << option;
    }
  }
  EXPECT_EQ(Run("--help").status, 0);
  EXPECT_EQ(Run("help nothing").status, 2);
  auto version = Run("--version");
  EXPECT_EQ(version.status, 0);
  EXPECT_TRUE(std::regex_search(version.out, std::regex("^chromiva-cli \\d+\\.\\d+\\.\\d+\\n"
                                                        "Wrenlink \\d+\\.\\d+\\.\\d+\\n$")))
      << version.out;
}

// The README's command table shows exactly the synopses of `chromiva-cli --help`.
TEST_F(Cli, ReadmeCommandTableIsTheHelp) {
  std::istringstream help(Run("--help").out);
  std::string line, expected, documented;
  bool inCommands = false;
  while (std::getline(help, line)) {
    if (line == "commands:") inCommands = true;
    if (inCommands && line.empty() && !expected.empty()) break;
    if (inCommands && line.rfind("  ", 0) == 0) expected += line.substr(2) + "\n";
  }
  std::istringstream readme(ReadFile(CHROMIVA_SOURCE_DIR "/README.md"));
  const std::regex row(R"(^\| `([^`]+)` \|)");
  bool inSection = false;
  while (std::getline(readme, line)) {
    if (line.rfind("### ", 0) == 0) inSection = line == "### chromiva-cli";
    std::smatch cell;
    if (!inSection || !std::regex_search(line, cell, row)) continue;
    documented += std::regex_replace(cell[1].str(), std::regex(R"(\\\|)"), "|") + "\n";
  }
  EXPECT_EQ(documented, expected);
}

TEST_F(Cli, BashCompletesCommandsOptionsAndValues) {
  const std::string cases[][2] = {{"chromiva-cli ex", "export"},
                                  {"chromiva-cli export --fo", "--format"},
                                  {"chromiva-cli export r.cvdata --format ", "original tidy"},
                                  {"chromiva-cli dark --w", "--write"},
                                  {"chromiva-cli --language en ex", "export"},
                                  {"chromiva-cli dark --language ", "ja en"}};
  for (const auto& [typed, offered] : cases) {
    std::ofstream(folder / "typed.txt") << typed;
    const std::string script =
        "PATH=\"$(dirname '" CHROMIVA_CLI "'):$PATH\"; source '" CHROMIVA_SOURCE_DIR
        "/app/cli/completion/chromiva-cli.bash'; line=$(cat typed.txt); read -ra COMP_WORDS "
        "<<<\"$line\"; [[ $line == *' ' ]] && COMP_WORDS+=(''); "
        "COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); _chromiva_cli; echo \"${COMPREPLY[*]}\"";
    std::ofstream(folder / "complete.sh") << script;
    const std::string command =
        "cd '" + folder.string() + "' && bash complete.sh >offered.txt 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(ReadFile(folder / "offered.txt"), offered + "\n") << typed;
  }
}

}  // namespace
