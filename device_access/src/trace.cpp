#include "trace.h"

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>

namespace wrenlink {
namespace {

std::mutex traceMutex;
FILE* traceFile = nullptr;
std::string tracePath;

// Appends " <hex>" for a non-empty transfer and nothing for an empty one.
void AppendHex(std::string& line, const std::uint8_t* data, int count) {
  static const char digits[] = "0123456789abcdef";
  if (count > 0) line.push_back(' ');
  for (int i = 0; i < count; ++i) {
    line.push_back(digits[data[i] >> 4]);
    line.push_back(digits[data[i] & 0x0F]);
  }
}

// Writes one line to the trace file named by WRENLINK_TRACE, reopening it when the name
// changes. Called with the line already formatted so the lock is held only for the write.
void EmitLine(const std::string& path, const std::string& line) {
  std::lock_guard<std::mutex> lock(traceMutex);
  if (traceFile == nullptr || path != tracePath) {
    if (traceFile != nullptr) std::fclose(traceFile);
    traceFile = std::fopen(path.c_str(), "a");
    tracePath = path;
    if (traceFile == nullptr) return;
  }
  std::fwrite(line.data(), 1, line.size(), traceFile);
  std::fflush(traceFile);
}

const char* TracePath() {
  const char* path = std::getenv("WRENLINK_TRACE");
  return (path != nullptr && *path != '\0') ? path : nullptr;
}

}  // namespace

void TraceWrite(int index, const std::uint8_t* data, int sent) {
  const char* path = TracePath();
  if (path == nullptr) return;
  std::string line = "OUT " + std::to_string(index);
  AppendHex(line, data, sent);
  line.push_back('\n');
  EmitLine(path, line);
}

void TraceRead(int index, int maxLength, const std::uint8_t* data, int received) {
  const char* path = TracePath();
  if (path == nullptr) return;
  std::string line = "IN " + std::to_string(index) + " " + std::to_string(maxLength);
  AppendHex(line, data, received);
  line.push_back('\n');
  EmitLine(path, line);
}

}  // namespace wrenlink
