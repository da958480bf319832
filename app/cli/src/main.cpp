// chromiva-cli: the headless front end of Chromiva.
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

#include "commands.h"

namespace {

void PrintUsage(FILE* out) {
  std::fprintf(out, "usage: chromiva-cli COMMAND [OPTIONS]\n\ncommands:\n");
  for (const auto& command : chromiva::cli::CommandTable()) {
    std::fprintf(out, "  %s\n", command.usage);
  }
  std::fprintf(out,
               "\nInstruments are found on USB, or simulated with "
               "WRENLINK_SIMULATOR=spectrometer,... (see the README).\n"
               "Exit status: 0 success, 1 nothing to do, 2 bad arguments or a refused file,\n"
               "3 stopped by an instrument fault (after saving what was committed),\n"
               "128 + signal number when a second Ctrl-C or SIGTERM ended the run.\n");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    PrintUsage(stderr);
    return chromiva::cli::kExitRefused;
  }
  std::string name = argv[1];
  if (name == "-h" || name == "--help" || name == "help") {
    PrintUsage(stdout);
    return chromiva::cli::kExitOk;
  }
  for (const auto& command : chromiva::cli::CommandTable()) {
    if (name == command.name) {
      chromiva::cli::Words words(argv + 2, argv + argc);
      try {
        return command.run(words);
      } catch (const std::exception& error) {
        // A fault of ours, but a message and a status rather than an abort.
        return chromiva::cli::Fail(chromiva::cli::kExitRefused, error.what());
      }
    }
  }
  std::fprintf(stderr, "chromiva-cli: unknown command '%s'\n\n", name.c_str());
  PrintUsage(stderr);
  return chromiva::cli::kExitRefused;
}
