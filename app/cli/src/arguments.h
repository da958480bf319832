// Command-line arguments: a command, positional words, options with values and flags.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace chromiva::cli {

struct OptionSpec {
  std::set<std::string> valued;  // options that take a value, e.g. "-o", "--count"
  std::set<std::string> flags;   // options without a value, e.g. "--yes"
};

struct Arguments {
  std::vector<std::string> positionals;
  std::map<std::string, std::string> values;
  std::set<std::string> flags;

  bool Has(const std::string& option) const {
    return values.count(option) != 0 || flags.count(option) != 0;
  }
  std::optional<std::string> Value(const std::string& option) const;
};

// Parses `words` (after the command name) against `spec`. Returns no value and sets `error`
// for an unknown option or a missing value. "--name=value" is accepted for valued options.
std::optional<Arguments> ParseArguments(const std::vector<std::string>& words,
                                        const OptionSpec& spec, std::string& error);

// The option's value as a whole number in [low, high]; `fallback` when absent. Sets `error`
// (naming the option) for text that is not such a number.
std::optional<long> IntegerOption(const Arguments& arguments, const std::string& option,
                                  long fallback, long low, long high, std::string& error);

}  // namespace chromiva::cli
