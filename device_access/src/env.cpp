#include "env.h"

#include <cerrno>
#include <cstdlib>

#include "log.h"

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
  if (errno != 0 || *end != '\0' || number < low || number > high) {
    WarnOnce("env", "%s='%s' is not a whole number from %ld to %ld; using %ld", name, value, low,
             high, fallback);
    return fallback;
  }
  return number;
}

int TransferTimeoutMs() {
  return static_cast<int>(EnvNumber("WRENLINK_TIMEOUT_MS", kDefaultTimeoutMs, 1, 3600000));
}

bool TenMsPollWanted() {
  return EnvNumber("WRENLINK_TEN_MS_POLL", 0, 0, 1) == 1;
}

}  // namespace wrenlink
