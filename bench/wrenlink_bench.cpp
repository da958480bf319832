// Exchanges per second through Wrenlink on a simulated spectrometer:
//  - detection followed by the complete calibration-table read that the program makes
//    (identity, serial, exposure, compensation block, 288 wavelength elements, 21 dark steps,
//    white, transmission and sensitivity tables);
//  - one polled readout at 1 ms exposure (start, status polls, data): the floor is the 1 ms
//    exposure; with WRENLINK_TEN_MS_POLL=1 the polls are 10 ms apart, as in earlier versions.
// Run: WRENLINK_SIM_SPEED=1 build/release/bench/bench_wrenlink
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <vector>

#include "wrenlink.h"

namespace {

// One request and its reply through the raw channel; counts as one exchange.
void RawExchange(const std::vector<unsigned char>& request, int replyLength,
                 std::vector<unsigned char>& reply) {
  WriteData(0, request.data(), static_cast<int>(request.size()));
  ReadData(0, reply.data(), replyLength);
}

int ReadCalibrationTables(std::vector<unsigned char>& reply) {
  int exchanges = 0;
  for (int i = 0; i < 288; ++i, ++exchanges) {
    RawExchange(
        {0x58, 0x04, static_cast<unsigned char>(i % 256), static_cast<unsigned char>(i / 256)}, 4,
        reply);
  }
  for (int s = 0; s <= 20; ++s, ++exchanges) {
    RawExchange({0x5A, 0x04, static_cast<unsigned char>(s), 0}, 1152, reply);
  }
  for (unsigned char letter : {0x57, 0x55, 0x59}) {
    std::vector<unsigned char> request(64, 0);
    request[0] = letter;
    request[1] = 0x02;
    RawExchange(request, 1156, reply);
    ++exchanges;
  }
  return exchanges;
}

void BM_DetectAndReadTables(benchmark::State& state) {
  setenv("WRENLINK_SIMULATOR", "spectrometer", 1);
  std::vector<unsigned char> reply(2048);
  std::int64_t exchanges = 0;
  for (auto _ : state) {
    DetectDevice(0);  // the kind query
    unsigned char text[64];
    GetDeviceName(0, text, 34);
    GetDeviceVersion(0, text, 34);
    GetDeviceKind(0);
    GetDeviceSerialNo(0, text, 64);
    double exposure = 0;
    GetDeviceExposure(0, &exposure);
    GetDeviceComp(0, text);
    exchanges += 7 + ReadCalibrationTables(reply);
    CloseDevice(0);
  }
  state.counters["exchanges/s"] =
      benchmark::Counter(static_cast<double>(exchanges), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_DetectAndReadTables)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PolledReadout(benchmark::State& state) {
  setenv("WRENLINK_SIMULATOR", "spectrometer", 1);
  DetectDevice(0);
  SetDeviceExposure(0, 1000.0);
  std::int16_t samples[288];
  for (auto _ : state) benchmark::DoNotOptimize(GetDeviceData(0, samples));
  CloseDevice(0);
  state.counters["readouts/s"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_PolledReadout)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
