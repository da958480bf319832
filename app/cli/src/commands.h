// The commands of chromiva-cli. Each takes the words after its name and returns the exit
// status: 0 success, 1 nothing to do (no spectrometer, an empty range), 2 bad arguments or a
// refused file, 3 stopped by an instrument fault (after saving what was committed).
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace chromiva::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitNothing = 1;
inline constexpr int kExitRefused = 2;
inline constexpr int kExitFault = 3;

using Words = std::vector<std::string>;

// One line of a command's help: the option as typed (with its value's name) and what it does.
struct OptionHelp {
  const char* option;
  const char* text;
};

struct Command {
  const char* name;
  const char* usage;    // the synopsis, also the README's command table
  const char* summary;  // one line
  std::vector<OptionHelp> options;
  int (*run)(const Words& words);
};

const std::vector<Command>& CommandTable();

// The options every command takes (--language), before or after the command's name.
const std::vector<OptionHelp>& GlobalOptionTable();

// The exit statuses: the status as written (option) and its meaning (text).
const std::vector<OptionHelp>& ExitStatusTable();

// The command named `name`, or none.
const Command* FindCommand(const std::string& name);

// "usage: ..." with every command's synopsis, the environment, the global options and the exit
// statuses.
void PrintUsage(FILE* out);

// The command's synopsis, summary and one line per option.
void PrintCommandHelp(const Command& command, FILE* out);

// The program's and Wrenlink's versions.
void PrintVersion(FILE* out);

int RunDevices(const Words& words);
int RunMeasure(const Words& words);
int RunInfo(const Words& words);
int RunExport(const Words& words);
int RunResave(const Words& words);
int RunDark(const Words& words);
int RunReference(const Words& words);
int RunPlot(const Words& words);
int RunRecover(const Words& words);

// "chromiva-cli: <message>" on standard error; returns `status`.
int Fail(int status, const std::string& message);

}  // namespace chromiva::cli
