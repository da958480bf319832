#include "log.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <set>
#include <string>

namespace wrenlink {
namespace {

std::mutex& LogMutex() {
  static std::mutex mutex;
  return mutex;
}

// The log target: null when silent; `toStderr` tells standard error from a file name.
const char* LogTarget(bool& toStderr) {
  const char* target = std::getenv("WRENLINK_LOG");
  if (target == nullptr || *target == '\0') return nullptr;
  toStderr = std::strcmp(target, "1") == 0 || std::strcmp(target, "stderr") == 0;
  return target;
}

void WriteLine(const char* module, const char* text) {
  bool toStderr = false;
  const char* target = LogTarget(toStderr);
  if (target == nullptr) return;
  FILE* out = toStderr ? stderr : std::fopen(target, "a");
  if (out == nullptr) return;
  std::fprintf(out, "wrenlink[%s]: %s\n", module, text);
  if (!toStderr) std::fclose(out);
}

std::string Format(const char* format, va_list args) {
  char text[1024];
  std::vsnprintf(text, sizeof text, format, args);
  return text;
}

}  // namespace

void Log(const char* module, const char* format, ...) {
  bool toStderr = false;
  if (LogTarget(toStderr) == nullptr) return;
  va_list args;
  va_start(args, format);
  std::string text = Format(format, args);
  va_end(args);
  std::lock_guard<std::mutex> lock(LogMutex());
  WriteLine(module, text.c_str());
}

void WarnOnce(const char* module, const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string text = Format(format, args);
  va_end(args);
  std::lock_guard<std::mutex> lock(LogMutex());
  static std::set<std::string> warned;
  if (!warned.insert(text).second) return;
  std::fprintf(stderr, "wrenlink: %s\n", text.c_str());
  bool toStderr = false;
  if (LogTarget(toStderr) != nullptr && !toStderr) WriteLine(module, text.c_str());
}

}  // namespace wrenlink
