// Passes per second of a continuous measurement of simulated spectrometers (speed 1, averaging 1)
// through the form's logic and its timers on the real clock, in one run for both cadences: the
// instrument's pace (the readout waits for the exposure, the worker wakes the window thread,
// the next pass starts at once) and the ten-millisecond steps of earlier versions
// (WRENLINK_TEN_MS_POLL=1, Cadence::kTenMsSteps), kept as the baseline. Both are set against the
// physical floor of the run: per pass and sensor the exposure plus the transfers' own time,
// measured on the same instruments (pace_floor.h).
// Arguments: sensors, what is kept (0 nothing, 1 every pass recorded, 2 recorded and
// journalled), exposure in ms.
// Counters: passes/s and overhead_ms (per pass beyond the floor) of each cadence, floor_ms, the
// share of the floor's rate reached (of_floor) and the speed-up over the old cadence.
// Run: build/release/bench/bench_measurement
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "chromiva/acquisition/document_session.h"
#include "console_port.h"
#include "pace_floor.h"
#include "wrenlink.h"

namespace {

using chromiva::acquisition::AcquisitionState;
using chromiva::acquisition::Cadence;
using chromiva::acquisition::FormLogic;
namespace control = chromiva::acquisition::control;

constexpr double kSecondsPerCadence = 2.0;
constexpr int kLeastPasses = 10;

class CountingPort : public chromiva::cli::ConsolePort {
 public:
  CountingPort() : ConsolePort(false) {}
  void DrawGraph() override { ++passes; }
  void ShowMessage(const std::string&) override {}
  void ShowMessageLines(const std::string&, const std::string&) override {}
  int passes = 0;
};

std::string SpectrometerList(int count, int exposureMs) {
  std::string list;
  for (int i = 0; i < count; ++i) {
    list +=
        (i ? "," : "") + std::string("spectrometer:exposure=") + std::to_string(exposureMs * 1000);
  }
  return list;
}

struct Run {
  int passes = 0;
  double seconds = 0;
  double PassMs() const { return seconds * 1000.0 / passes; }
};

// Measures for about kSecondsPerCadence in `cadence`, from the start click to the last pass.
Run Measure(Cadence cadence, int keep, int exposureMs) {
  setenv("WRENLINK_TEN_MS_POLL", cadence == Cadence::kTenMsSteps ? "1" : "0", 1);
  chromiva::data::Ctintrose_mfDoc document;
  CountingPort port;
  FormLogic form(document, port);
  form.SetCadence(cadence);
  chromiva::acquisition::DocumentSession session(
      document, std::filesystem::temp_directory_path() / "chromiva_bench_journal");
  if (keep == 2) form.SetSession(&session);
  form.OnControlClicked(control::kDetect);
  form.SetAllExposures(exposureMs);
  form.SetControlText(control::kAverage, "1");
  if (keep >= 1) {
    form.SetControlChecked(control::kRecordMode, true);
    form.OnControlClicked(control::kRecordMode);
  }
  const auto start = std::chrono::steady_clock::now();
  auto elapsed = [&] {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  };
  form.OnControlClicked(control::kStartStop);
  port.Run(
      form,
      [&] {
        return !form.fields().measuring && form.Status().acquisition == AcquisitionState::kIdle;
      },
      [&] {
        const bool enough = port.passes >= kLeastPasses && elapsed() >= kSecondsPerCadence;
        if (form.fields().measuring && enough) form.OnControlClicked(control::kStartStop);
      },
      [] {});
  Run run{port.passes, elapsed()};
  for (int index = 0; index < 10; ++index) CloseDevice(index);
  session.journal().Finish();
  return run;
}

void BM_ContinuousMeasurement(benchmark::State& state) {
  const int sensors = static_cast<int>(state.range(0));
  const int keep = static_cast<int>(state.range(1));
  const int exposureMs = static_cast<int>(state.range(2));
  setenv("WRENLINK_SIMULATOR", SpectrometerList(sensors, exposureMs).c_str(), 1);
  setenv("WRENLINK_SIM_SPEED", "1", 1);
  Run pace;
  Run tenMs;
  double floorMs = 0;
  for (auto _ : state) {
    const auto transfers = chromiva::bench::MeasureTransfers(sensors, exposureMs * 1000.0);
    floorMs = chromiva::bench::FloorPassMs(transfers, sensors, exposureMs, 1, 1.0);
    pace = Measure(Cadence::kInstrument, keep, exposureMs);
    tenMs = Measure(Cadence::kTenMsSteps, keep, exposureMs);
  }
  unsetenv("WRENLINK_TEN_MS_POLL");
  state.counters["floor_ms"] = floorMs;
  state.counters["passes/s"] = 1000.0 / pace.PassMs();
  state.counters["overhead_ms"] = pace.PassMs() - floorMs;
  state.counters["of_floor"] = floorMs / pace.PassMs();
  state.counters["10ms_passes/s"] = 1000.0 / tenMs.PassMs();
  state.counters["10ms_overhead_ms"] = tenMs.PassMs() - floorMs;
  state.counters["speedup"] = tenMs.PassMs() / pace.PassMs();
}
BENCHMARK(BM_ContinuousMeasurement)
    ->ArgNames({"sensors", "keep", "exposure_ms"})
    ->Args({1, 0, 1})
    ->Args({2, 0, 1})
    ->Args({10, 0, 1})
    ->Args({10, 1, 1})
    ->Args({10, 2, 1})
    ->Args({1, 0, 100})
    ->Args({2, 1, 100})
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
