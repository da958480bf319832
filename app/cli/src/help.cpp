// The help and version texts, all drawn from the command table.
#include <cstring>

#include "commands.h"

namespace chromiva::cli {
namespace {

constexpr int kOptionColumn = 30;

void PrintOptionLines(const std::vector<OptionHelp>& options, FILE* out) {
  for (const OptionHelp& option : options) {
    const int width = static_cast<int>(std::strlen(option.option));
    if (width + 2 < kOptionColumn) {
      std::fprintf(out, "  %-*s%s\n", kOptionColumn - 2, option.option, option.text);
    } else {
      std::fprintf(out, "  %s  %s\n", option.option, option.text);
    }
  }
}

}  // namespace

const std::vector<OptionHelp>& ExitStatusTable() {
  static const std::vector<OptionHelp> table = {
      {"0", "success"},
      {"1", "nothing to do (no spectrometer, an empty range)"},
      {"2", "bad arguments or a refused file"},
      {"3", "stopped by an instrument fault (after saving what was committed)"},
      {"128+N", "a second Ctrl-C or SIGTERM (signal N) ended the run"}};
  return table;
}

const Command* FindCommand(const std::string& name) {
  for (const Command& command : CommandTable()) {
    if (name == command.name) return &command;
  }
  return nullptr;
}

void PrintUsage(FILE* out) {
  std::fprintf(out, "usage: chromiva-cli [--language ja|en] COMMAND [OPTIONS]\n\ncommands:\n");
  for (const Command& command : CommandTable()) std::fprintf(out, "  %s\n", command.usage);
  std::fprintf(out,
               "\n`chromiva-cli help COMMAND` or `chromiva-cli COMMAND --help` lists a command's "
               "options;\n`chromiva-cli --version` prints the versions.\n"
               "Instruments are found on USB, or simulated with "
               "WRENLINK_SIMULATOR=spectrometer,... (see the README).\n"
               "\nglobal options (before or after the command):\n");
  PrintOptionLines(GlobalOptionTable(), out);
  std::fprintf(out, "\nexit status:\n");
  for (const OptionHelp& status : ExitStatusTable()) {
    std::fprintf(out, "  %-8s%s\n", status.option, status.text);
  }
}

void PrintCommandHelp(const Command& command, FILE* out) {
  std::fprintf(out, "usage: chromiva-cli %s\n\n%s\n", command.usage, command.summary);
  if (command.options.empty()) return;
  std::fprintf(out, "\noptions:\n");
  PrintOptionLines(command.options, out);
}

void PrintVersion(FILE* out) {
  std::fprintf(out, "chromiva-cli %s\nWrenlink %s\n", CHROMIVA_VERSION, WRENLINK_VERSION);
}

}  // namespace chromiva::cli
