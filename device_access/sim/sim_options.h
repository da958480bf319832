// The simulator's instrument list: WRENLINK_SIMULATOR is a comma-separated list of
// instruments in index order, each a name followed by colon-separated key=value options,
// for example "spectrometer:serial=AB123456:light=off,led16,mirror".
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace wrenlink::sim {

struct InstrumentSpec {
  std::string name;
  std::map<std::string, std::string> options;
  int occurrence = 0;  // how many earlier entries of the list have the same name

  std::string Option(const std::string& key, const std::string& fallback = {}) const;
  // The option as a whole number in [low, high]; `fallback` when it is absent or empty, and
  // also when it is not such a number (which is reported).
  long NumberOption(const std::string& key, long fallback, long low = -2147483648L,
                    long high = 2147483647L) const;
  bool HasOption(const std::string& key) const { return options.count(key) != 0; }
};

// Parses the list; entries that are empty are skipped. Malformed options ("key" without
// '=') are kept as flags with an empty value.
std::vector<InstrumentSpec> ParseInstrumentList(std::string_view text);

// Speed-up of simulated exposures (WRENLINK_SIM_SPEED, default 1; a value that cannot be
// used is reported and 1 taken instead).
double SimulationSpeed();

// Where the simulator says that a setting cannot be used and what it takes instead. The
// library routes this to its one-time warnings; by default each distinct text goes once to
// standard error.
using ProblemSink = void (*)(const std::string& text);
void SetProblemSink(ProblemSink sink);
void ReportProblem(const std::string& text);

}  // namespace wrenlink::sim
