#include "sim_options.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <set>

namespace wrenlink::sim {
namespace {

std::vector<std::string_view> Split(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find(separator, start);
    if (end == std::string_view::npos) end = text.size();
    parts.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

}  // namespace

std::string InstrumentSpec::Option(const std::string& key, const std::string& fallback) const {
  auto found = options.find(key);
  return found == options.end() ? fallback : found->second;
}

long InstrumentSpec::NumberOption(const std::string& key, long fallback, long low,
                                  long high) const {
  auto found = options.find(key);
  if (found == options.end() || found->second.empty()) return fallback;
  errno = 0;
  char* end = nullptr;
  long value = std::strtol(found->second.c_str(), &end, 10);
  if (errno == 0 && *end == '\0' && value >= low && value <= high) return value;
  ReportProblem("WRENLINK_SIMULATOR: " + name + " option " + key + "='" + found->second +
                "' is not a whole number from " + std::to_string(low) + " to " +
                std::to_string(high) + "; using " + std::to_string(fallback));
  return fallback;
}

std::vector<InstrumentSpec> ParseInstrumentList(std::string_view text) {
  std::vector<InstrumentSpec> list;
  std::map<std::string, int> seen;
  for (std::string_view entry : Split(text, ',')) {
    entry = Trim(entry);
    if (entry.empty()) continue;
    auto fields = Split(entry, ':');
    InstrumentSpec spec;
    spec.name = std::string(Trim(fields[0]));
    for (std::size_t i = 1; i < fields.size(); ++i) {
      std::string_view field = Trim(fields[i]);
      if (field.empty()) continue;
      std::size_t equals = field.find('=');
      std::string key(Trim(field.substr(0, equals)));
      std::string value =
          equals == std::string_view::npos ? "" : std::string(Trim(field.substr(equals + 1)));
      spec.options[key] = value;
    }
    spec.occurrence = seen[spec.name]++;
    list.push_back(std::move(spec));
  }
  return list;
}

double SimulationSpeed() {
  const char* text = std::getenv("WRENLINK_SIM_SPEED");
  if (text == nullptr || *text == '\0') return 1.0;
  char* end = nullptr;
  double speed = std::strtod(text, &end);
  if (*end == '\0' && speed >= 0.001 && speed <= 1e6) return speed;
  ReportProblem(std::string("WRENLINK_SIM_SPEED='") + text +
                "' is not a number from 0.001 to 1000000; using 1");
  return 1.0;
}

namespace {

std::atomic<ProblemSink> problemSink{nullptr};

void PrintOnce(const std::string& text) {
  static std::mutex mutex;
  static std::set<std::string> said;
  std::lock_guard<std::mutex> lock(mutex);
  if (said.insert(text).second) std::fprintf(stderr, "%s\n", text.c_str());
}

}  // namespace

void SetProblemSink(ProblemSink sink) {
  problemSink.store(sink);
}

void ReportProblem(const std::string& text) {
  ProblemSink sink = problemSink.load();
  (sink != nullptr ? sink : PrintOnce)(text);
}

}  // namespace wrenlink::sim
