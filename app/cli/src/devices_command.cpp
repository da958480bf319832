// chromiva-cli devices: every instrument found at indices 0 to 9.
#include <cstdio>
#include <string>

#include "arguments.h"
#include "chromiva/acquisition/instrument_identity.h"
#include "chromiva/data/text_codec.h"
#include "commands.h"
#include "wrenlink.h"

namespace chromiva::cli {
namespace {

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
  int found = 0, faulty = 0;
  for (int index = 0; index < 10; ++index) {
    if (DetectDevice(index) != 1) continue;
    ++found;
    const acquisition::InstrumentIdentity identity = acquisition::ReadIdentity(index);
    std::string problem = identity.problem;
    if (identity.ok() && identity.kind == WRENLINK_KIND_C12880MA) {
      problem = acquisition::ReadSpectrometerIdentity(index).problem;
    }
    if (!problem.empty()) {
      ++faulty;
      std::fprintf(stderr, "chromiva-cli: instrument %d did not answer whole (%s)\n", index,
                   problem.c_str());
      continue;
    }
    std::printf("%d  kind %-3d  %-12s  version %-6s", index, identity.kind, identity.name.c_str(),
                identity.version.c_str());
    if (identity.kind == WRENLINK_KIND_C12880MA) PrintSpectrometer(index);
    std::printf("\n");
  }
  for (int index = 0; index < 10; ++index) CloseDevice(index);
  if (found == 0) return Fail(kExitNothing, "no instrument found");
  if (faulty > 0) {
    return Fail(kExitFault, "stopped by an instrument fault: " + std::to_string(faulty) +
                                " instrument(s) did not answer whole");
  }
  return kExitOk;
}

int Fail(int status, const std::string& message) {
  std::fprintf(stderr, "chromiva-cli: %s\n", message.c_str());
  return status;
}

}  // namespace chromiva::cli
