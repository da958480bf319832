// One full DrawGraph (scene, geometry, painting into the frame image) with 1 and 10 sensors, in
// light-source mode and with ratio curves, and one playback step (next record, processing of
// every sensor, redraw, status line). Each is reported as a share of the 5 ms playback period.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <cstdio>
#include <map>
#include <string>

#include "data_bench_support.h"
#include "graph_canvas.h"

namespace {

using namespace chromiva;

constexpr double kPlaybackPeriodUs = 5000.0;
constexpr int kRecords = 64;

struct Fixture {
  std::unique_ptr<data::Ctintrose_mfDoc> doc;
  data::ProcessingState processing;
  ui::GraphCanvas canvas;
  ui::GraphScene scene;
  int displayIndex = 0;

  Fixture(int sensors, int mode) : doc(bench::FilledDocument(sensors, kRecords)) {
    processing.settings.measureMode = mode;
    scene.measureMode = mode;
    scene.selectedSensor = 0;
    Process();
    canvas.DrawColourBar();
  }
  void Process() {
    for (int k = 0; k < doc->sensorTable.sensorCount; ++k) {
      data::CorrectRecord(*doc, processing, k, displayIndex);
      data::ResampleRecord(*doc, processing, k, displayIndex);
    }
  }
  void DrawGraph() {
    ui::FillSensorData(scene, *doc, processing, displayIndex);
    canvas.DrawGraph(scene);
  }
  void PlaybackStep() {
    displayIndex = (displayIndex + 1) % kRecords;
    Process();
    DrawGraph();
    canvas.ShowSensorSummary(scene, 0);
  }
};

void BM_DrawGraph(benchmark::State& state) {
  Fixture f(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  for (auto _ : state) {
    f.DrawGraph();
    benchmark::DoNotOptimize(f.canvas.Image().constBits());
  }
}
BENCHMARK(BM_DrawGraph)
    ->ArgNames({"sensors", "mode"})
    ->Args({1, 0})
    ->Args({10, 0})
    ->Args({1, 1})
    ->Args({10, 1})
    ->Unit(benchmark::kMicrosecond);

void BM_PlaybackStep(benchmark::State& state) {
  Fixture f(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  for (auto _ : state) {
    f.PlaybackStep();
    benchmark::DoNotOptimize(f.canvas.Image().constBits());
  }
}
BENCHMARK(BM_PlaybackStep)
    ->ArgNames({"sensors", "mode"})
    ->Args({1, 1})
    ->Args({10, 1})
    ->Unit(benchmark::kMicrosecond);

class ShareReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration) continue;
      times[run.benchmark_name()] = {run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()};
    }
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, std::pair<double, double>> times;  // wall, CPU; microseconds
};

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  ShareReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  // Wall time counts what the window thread waits for; CPU time leaves out other processes.
  std::printf("\nshare of the 5 ms playback period:      wall      CPU\n");
  for (const auto& [name, us] : reporter.times) {
    std::printf("  %-36s %6.1f %% %6.1f %%\n", name.c_str(), 100.0 * us.first / kPlaybackPeriodUs,
                100.0 * us.second / kPlaybackPeriodUs);
  }
  const auto goal = reporter.times.find("BM_PlaybackStep/sensors:10/mode:1");
  if (goal != reporter.times.end()) {
    std::printf(
        "playback step, 10 sensors with ratio curves: %.1f %% of 5 ms wall, %.1f %% CPU "
        "(goal < 40 %%)\n",
        100.0 * goal->second.first / kPlaybackPeriodUs,
        100.0 * goal->second.second / kPlaybackPeriodUs);
  }
  return 0;
}
