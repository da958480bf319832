#include "arguments.h"

#include <cerrno>
#include <cstdlib>

namespace chromiva::cli {

std::optional<std::string> Arguments::Value(const std::string& option) const {
  auto found = values.find(option);
  if (found == values.end()) return std::nullopt;
  return found->second;
}

std::optional<Arguments> ParseArguments(const std::vector<std::string>& words,
                                        const OptionSpec& spec, std::string& error) {
  Arguments arguments;
  for (std::size_t i = 0; i < words.size(); ++i) {
    const std::string& word = words[i];
    if (word.size() < 2 || word[0] != '-') {
      arguments.positionals.push_back(word);
      continue;
    }
    std::string name = word, value;
    bool inlineValue = false;
    if (std::size_t equals = word.find('='); equals != std::string::npos && word[1] == '-') {
      name = word.substr(0, equals);
      value = word.substr(equals + 1);
      inlineValue = true;
    }
    if (spec.flags.count(name) != 0 && !inlineValue) {
      arguments.flags.insert(name);
    } else if (spec.valued.count(name) != 0) {
      if (!inlineValue) {
        if (i + 1 >= words.size()) {
          error = "option " + name + " needs a value";
          return std::nullopt;
        }
        value = words[++i];
      }
      arguments.values[name] = value;
    } else {
      error = "unknown option " + word;
      return std::nullopt;
    }
  }
  return arguments;
}

std::optional<long> IntegerOption(const Arguments& arguments, const std::string& option,
                                  long fallback, long low, long high, std::string& error) {
  auto text = arguments.Value(option);
  if (!text) return fallback;
  errno = 0;
  char* end = nullptr;
  long value = std::strtol(text->c_str(), &end, 10);
  if (text->empty() || *end != '\0' || errno != 0 || value < low || value > high) {
    error = "option " + option + " needs a whole number from " + std::to_string(low) + " to " +
            std::to_string(high) + ", not '" + *text + "'";
    return std::nullopt;
  }
  return value;
}

}  // namespace chromiva::cli
