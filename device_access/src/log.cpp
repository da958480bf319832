#include "log.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

namespace wrenlink {

void Log(const char* module, const char* format, ...) {
  const char* target = std::getenv("WRENLINK_LOG");
  if (target == nullptr || *target == '\0') return;
  static std::mutex mutex;
  std::lock_guard<std::mutex> lock(mutex);
  bool toStderr = std::strcmp(target, "1") == 0 || std::strcmp(target, "stderr") == 0;
  FILE* out = toStderr ? stderr : std::fopen(target, "a");
  if (out == nullptr) return;
  std::fprintf(out, "wrenlink[%s]: ", module);
  va_list args;
  va_start(args, format);
  std::vfprintf(out, format, args);
  va_end(args);
  std::fputc('\n', out);
  if (!toStderr) std::fclose(out);
}

}  // namespace wrenlink
