// The help and version texts, all drawn from the command table.
#include <cstring>

#include "commands.h"

namespace chromiva::cli {
namespace {

constexpr int kOptionColumn = 30;

}  // namespace

const Command* FindCommand(const std::string& name) {
  for (const Command& command : CommandTable()) {
    if (name == command.name) return &command;
  }
  return nullptr;
}

void PrintUsage(FILE* out) {
  std::fprintf(out, "usage: chromiva-cli COMMAND [OPTIONS]\n\ncommands:\n");
  for (const Command& command : CommandTable()) std::fprintf(out, "  %s\n", command.usage);
  std::fprintf(out,
               "\n`chromiva-cli help COMMAND` or `chromiva-cli COMMAND --help` lists a command's "
               "options;\n`chromiva-cli --version` prints the versions.\n"
               "Instruments are found on USB, or simulated with "
               "WRENLINK_SIMULATOR=spectrometer,... (see the README).\n"
               "Exit status: 0 success, 1 nothing to do, 2 bad arguments or a refused file,\n"
               "3 stopped by an instrument fault (after saving what was committed),\n"
               "128 + signal number when a second Ctrl-C or SIGTERM ended the run.\n");
}

void PrintCommandHelp(const Command& command, FILE* out) {
  std::fprintf(out, "usage: chromiva-cli %s\n\n%s\n", command.usage, command.summary);
  if (command.options.empty()) return;
  std::fprintf(out, "\noptions:\n");
  for (const OptionHelp& option : command.options) {
    const int width = static_cast<int>(std::strlen(option.option));
    if (width + 2 < kOptionColumn) {
      std::fprintf(out, "  %-*s%s\n", kOptionColumn - 2, option.option, option.text);
    } else {
      std::fprintf(out, "  %s  %s\n", option.option, option.text);
    }
  }
}

void PrintVersion(FILE* out) {
  std::fprintf(out, "chromiva-cli %s\nWrenlink %s\n", CHROMIVA_VERSION, WRENLINK_VERSION);
}

}  // namespace chromiva::cli
