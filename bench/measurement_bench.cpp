// Passes per second of a continuous measurement of 1, 2 and 10 simulated spectrometers at
// 1 ms exposure and averaging 1, on the real clock, through the form's logic and its timers.
// The design's floor for one pass is the 10 ms re-arm of the measurement timer plus, per
// sensor, the readout's 10 ms polling step (the first status poll comes right after the start
// of the exposure, before 1 ms has passed). Reported: passes/s, the floor in ms, and the
// overhead per pass beyond it. The second argument: 0 passes are not kept, 1 every pass is
// recorded ("記録保存"), 2 recorded and journalled (the journal's cost is the ratio of 2 to 1).
// Run: build/release/bench/bench_measurement
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "chromiva/acquisition/document_session.h"
#include "console_port.h"
#include "wrenlink.h"

namespace {

using chromiva::acquisition::AcquisitionState;
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
  const bool recording = state.range(1) >= 1;
  const bool journalled = state.range(1) == 2;
  const int passes = 40;
  setenv("WRENLINK_SIMULATOR", SpectrometerList(sensors).c_str(), 1);
  double seconds = 0;
  for (auto _ : state) {
    chromiva::data::Ctintrose_mfDoc document;
    CountingPort port;
    FormLogic form(document, port);
    chromiva::acquisition::DocumentSession session(
        document, std::filesystem::temp_directory_path() / "chromiva_bench_journal");
    if (journalled) form.SetSession(&session);
    form.OnControlClicked(control::kDetect);
    form.SetControlText(control::kExposure, "1");
    if (recording) {
      form.SetControlChecked(control::kRecordMode, true);
      form.OnControlClicked(control::kRecordMode);
    }
    auto start = std::chrono::steady_clock::now();
    form.OnControlClicked(control::kStartStop);
    port.Run(
        form,
        [&] {
          return !form.fields().measuring && form.Status().acquisition == AcquisitionState::kIdle;
        },
        [&] {
          if (form.fields().measuring && port.passes >= passes)
            form.OnControlClicked(control::kStartStop);
        },
        [] {});
    seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    for (int index = 0; index < 10; ++index) CloseDevice(index);
    session.journal().Finish();
  }
  const double perPassMs = seconds * 1000.0 / passes;
  const double floorMs = 10.0 + 10.0 * sensors;
  state.counters["passes/s"] = passes / seconds;
  state.counters["floor_ms"] = floorMs;
  state.counters["pass_ms"] = perPassMs;
  state.counters["overhead_ms"] = perPassMs - floorMs;
}
BENCHMARK(BM_ContinuousMeasurement)
    ->Args({1, 0})
    ->Args({2, 0})
    ->Args({10, 0})
    ->Args({10, 1})
    ->Args({10, 2})
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
