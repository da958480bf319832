// The commands of chromiva-cli. Each takes the words after its name and returns the exit
// status: 0 success, 1 nothing to do (no spectrometer, an empty range), 2 bad arguments or a
// refused file, 3 stopped by an instrument fault (after saving what was committed).
#pragma once

#include <string>
#include <vector>

namespace chromiva::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitNothing = 1;
inline constexpr int kExitRefused = 2;
inline constexpr int kExitFault = 3;

using Words = std::vector<std::string>;

struct Command {
  const char* name;
  const char* usage;
  int (*run)(const Words& words);
};

const std::vector<Command>& CommandTable();

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
