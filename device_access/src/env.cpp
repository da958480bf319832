#include "env.h"

#include <cerrno>
#include <cstdlib>

namespace wrenlink {

std::optional<std::string> EnvText(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr) return std::nullopt;
  return std::string(value);
}

long EnvNumber(const char* name, long fallback, long low, long high) {
  const char* value = std::getenv(name);
  if (value == nullptr || *value == '\0') return fallback;
  char* end = nullptr;
  errno = 0;
  long number = std::strtol(value, &end, 10);
  if (errno != 0 || *end != '\0' || number < low || number > high) return fallback;
  return number;
}

double EnvReal(const char* name, double fallback, double low, double high) {
  const char* value = std::getenv(name);
  if (value == nullptr || *value == '\0') return fallback;
  char* end = nullptr;
  double number = std::strtod(value, &end);
  if (*end != '\0' || !(number >= low && number <= high)) return fallback;
  return number;
}

int TransferTimeoutMs() {
  return static_cast<int>(EnvNumber("WRENLINK_TIMEOUT_MS", kDefaultTimeoutMs, 1, 3600000));
}

}  // namespace wrenlink
