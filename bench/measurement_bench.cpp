// Passes per second of a continuous measurement of 1, 2 and 10 simulated spectrometers at
// 1 ms exposure and averaging 1, on the real clock, through the form's logic and its timers.
// The design's floor for one pass is the 10 ms re-arm of the measurement timer plus, per
// sensor, the readout's 10 ms polling step (the first status poll comes right after the start
// of the exposure, before 1 ms has passed). Reported: passes/s, the floor in ms, and the
// overhead per pass beyond it.
// Run: build/release/bench/bench_measurement
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <string>

#include "console_port.h"
#include "wrenlink.h"

namespace {

using chromiva::acquisition::FormLogic;
namespace control = chromiva::acquisition::control;

class CountingPort : public chromiva::cli::ConsolePort {
 public:
  CountingPort() : ConsolePort(false) {}
  void DrawGraph() override { ++passes; }
  void ShowMessage(const std::string&) override {}
  void ShowMessageLines(const std::string&, const std::string&) override {}
  int passes = 0;
};

std::string SpectrometerList(int count) {
  std::string list;
  for (int i = 0; i < count; ++i)
    list += (i ? "," : "") + std::string("spectrometer:exposure=1000");
  return list;
}

void BM_ContinuousMeasurement(benchmark::State& state) {
  const int sensors = static_cast<int>(state.range(0));
  const int passes = 40;
  setenv("WRENLINK_SIMULATOR", SpectrometerList(sensors).c_str(), 1);
  double seconds = 0;
  for (auto _ : state) {
    chromiva::data::Ctintrose_mfDoc document;
    CountingPort port;
    FormLogic form(document, port);
    form.DetectSensors();
    form.SetControlText(control::kExposure, "1");
    auto start = std::chrono::steady_clock::now();
    form.StartStopMeasurement();
    port.Run(
        form, [&] { return !form.fields().measuring && form.AcquisitionState() == 0; },
        [&] {
          if (form.fields().measuring && port.passes >= passes) form.StartStopMeasurement();
        },
        [] {});
    seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    for (int index = 0; index < 10; ++index) CloseDevice(index);
  }
  const double perPassMs = seconds * 1000.0 / passes;
  const double floorMs = 10.0 + 10.0 * sensors;
  state.counters["passes/s"] = passes / seconds;
  state.counters["floor_ms"] = floorMs;
  state.counters["pass_ms"] = perPassMs;
  state.counters["overhead_ms"] = perPassMs - floorMs;
}
BENCHMARK(BM_ContinuousMeasurement)
    ->Arg(1)
    ->Arg(2)
    ->Arg(10)
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
