// Detects the instruments at indices 0 to 9, lists them, and reads one spectrum from every
// spectrometer at two exposures to show that the counts follow the exposure.
#include <cstdio>
#include <cstring>

#include "wrenlink.h"

namespace {

void PrintIdentity(int index) {
  unsigned char name[35] = {}, version[35] = {};
  int nameLength = GetDeviceName(index, name, 34);
  int versionLength = GetDeviceVersion(index, version, 34);
  name[nameLength > 0 ? nameLength : 0] = 0;
  version[versionLength > 0 ? versionLength : 0] = 0;
  char path[260] = {};
  GetName(index, path, sizeof path - 1);
  std::printf("index %d: kind %d, name \"%s\", version \"%s\", path %s\n", index,
              GetDeviceKind(index), reinterpret_cast<char*>(name), reinterpret_cast<char*>(version),
              path);
}

double MeanCounts(int index, double exposureUs) {
  SetDeviceExposure(index, exposureUs);
  int16_t samples[288] = {};
  if (GetDeviceData(index, samples) != 576) return -1.0;
  double sum = 0;
  for (int16_t sample : samples) sum += sample;
  return sum / 288.0;
}

void ShowSpectrometer(int index) {
  unsigned char serial[65] = {};
  GetDeviceSerialNo(index, serial, 64);
  serial[8] = 0;
  double exposure = 0;
  GetDeviceExposure(index, &exposure);
  int16_t temperature = 0;
  GetDeviceTemp(index, &temperature);
  std::printf("  serial %s, exposure %.0f us, temperature %.1f C\n",
              reinterpret_cast<char*>(serial), exposure, temperature / 10.0);
  std::printf("  mean counts: %.1f at 10 ms, %.1f at 50 ms\n", MeanCounts(index, 10000),
              MeanCounts(index, 50000));
  SetDeviceExposure(index, exposure);
}

}  // namespace

int main() {
  int found = 0;
  for (int index = 0; index < 10; ++index) {
    if (DetectDevice(index) != 1) continue;
    ++found;
    PrintIdentity(index);
    if (GetDeviceKind(index) == 33) ShowSpectrometer(index);
  }
  for (int index = 0; index < 10; ++index) CloseDevice(index);
  std::printf("%d instrument(s) found\n", found);
  return found > 0 ? 0 : 1;
}
