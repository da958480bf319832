#include "trace.h"

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>

namespace wrenlink {
namespace {

std::mutex traceMutex;

// Appends one line to the file; opening it for every line means a trace file that is moved
// or deleted while the program runs is simply started again.
void EmitLine(const char* path, const std::string& line) {
  std::lock_guard<std::mutex> lock(traceMutex);
  FILE* file = std::fopen(path, "a");
  if (file == nullptr) return;
  std::fwrite(line.data(), 1, line.size(), file);
  std::fclose(file);
}

// Appends " <hex>" for a non-empty transfer and nothing for an empty one.
void AppendHex(std::string& line, const std::uint8_t* data, int count) {
  static const char digits[] = "0123456789abcdef";
  if (count > 0) line.push_back(' ');
  for (int i = 0; i < count; ++i) {
    line.push_back(digits[data[i] >> 4]);
    line.push_back(digits[data[i] & 0x0F]);
  }
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
