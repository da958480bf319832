// chromiva-cli devices: every instrument found at indices 0 to 9.
#include <cstdio>
#include <string>

#include "arguments.h"
#include "chromiva/data/text_codec.h"
#include "commands.h"
#include "wrenlink.h"

namespace chromiva::cli {
namespace {

std::string Text(int (*query)(int, unsigned char*, int), int index) {
  unsigned char buffer[35] = {};
  int count = query(index, buffer, 34);
  std::string text(reinterpret_cast<char*>(buffer), static_cast<std::size_t>(std::max(count, 0)));
  return text.substr(0, text.find('\0'));
}

void PrintSpectrometer(int index) {
  unsigned char serial[65] = {};
  GetDeviceSerialNo(index, serial, 64);
  std::string text(reinterpret_cast<char*>(serial));
  double exposure = 0;
  GetDeviceExposure(index, &exposure);
  std::printf("  serial %s  exposure %.0f us (%d ms)", data::DisplayText(text.substr(0, 8)).c_str(),
              exposure, static_cast<int>(exposure) / 1000);
}

}  // namespace

int RunDevices(const Words& words) {
  std::string error;
  auto arguments = ParseArguments(words, {}, error);
  if (!arguments) return Fail(kExitRefused, error);
  if (!arguments->positionals.empty()) return Fail(kExitRefused, "devices takes no arguments");
  int found = 0;
  for (int index = 0; index < 10; ++index) {
    if (DetectDevice(index) != 1) continue;
    ++found;
    std::string name = Text(GetDeviceName, index);
    std::string version = Text(GetDeviceVersion, index);
    int kind = GetDeviceKind(index);
    std::printf("%d  kind %-3d  %-12s  version %-6s", index, kind, name.c_str(), version.c_str());
    if (kind == 33) PrintSpectrometer(index);
    std::printf("\n");
  }
  for (int index = 0; index < 10; ++index) CloseDevice(index);
  if (found == 0) return Fail(kExitNothing, "no instrument found");
  return kExitOk;
}

int Fail(int status, const std::string& message) {
  std::fprintf(stderr, "chromiva-cli: %s\n", message.c_str());
  return status;
}

}  // namespace chromiva::cli
