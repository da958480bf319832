// Correct + resample of one record against the same pair with the literal per-sample linear
// scan. Checks that both give identical grids, then prints the speed ratio of this run.
#include <benchmark/benchmark.h>

#include <bit>
#include <cstdio>
#include <map>
#include <span>
#include <string>

#include "chromiva/data/processing.h"
#include "data_bench_support.h"
#include "literal_resample.h"

namespace {

using namespace chromiva::data;

using test::LiteralResample;

struct Fixture {
  std::unique_ptr<Ctintrose_mfDoc> doc = chromiva::bench::FilledDocument(1, 1);
  ProcessingState state;
  Fixture() {
    state.settings.measureMode = kReflectance;
    state.settings.waveComp = true;
  }
  std::span<const float> Wavelengths() const { return doc->Sensor(0).wavelengthTable; }
  std::span<const float> Processed() const { return doc->Record(0, 0).spectra->processedSpectrum; }
  void RunLiteral() {
    CorrectRecord(*doc, state, 0, 0);
    LiteralResample(Wavelengths(), Processed(), state.outputs[0].displaySpectrum);
    LiteralResample(Wavelengths(), state.outputs[0].pixelRatio, state.outputs[0].ratioSpectrum);
  }
  void RunFast() {
    CorrectRecord(*doc, state, 0, 0);
    ResampleRecord(*doc, state, 0, 0);
  }
};

bool OutputsIdentical() {
  Fixture literal, fast;
  literal.RunLiteral();
  fast.RunFast();
  auto same = [](const GridArray& a, const GridArray& b) {
    for (std::size_t i = 0; i < a.size(); ++i) {
      if (std::bit_cast<uint32_t>(a[i]) != std::bit_cast<uint32_t>(b[i])) return false;
    }
    return true;
  };
  return same(literal.state.outputs[0].displaySpectrum, fast.state.outputs[0].displaySpectrum) &&
         same(literal.state.outputs[0].ratioSpectrum, fast.state.outputs[0].ratioSpectrum);
}

void BM_CorrectResampleLiteralScan(benchmark::State& state) {
  Fixture f;
  for (auto _ : state) {
    f.RunLiteral();
    benchmark::DoNotOptimize(f.state.outputs[0].displaySpectrum.data());
  }
}
BENCHMARK(BM_CorrectResampleLiteralScan);

void BM_CorrectResample(benchmark::State& state) {
  Fixture f;
  for (auto _ : state) {
    f.RunFast();
    benchmark::DoNotOptimize(f.state.outputs[0].displaySpectrum.data());
  }
}
BENCHMARK(BM_CorrectResample);

class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) times[run.benchmark_name()] = run.GetAdjustedCPUTime();
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, double> times;
};

}  // namespace

int main(int argc, char** argv) {
  const bool identical = OutputsIdentical();
  std::printf("identical output to the literal scan: %s\n", identical ? "yes" : "NO");
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const double literal = reporter.times["BM_CorrectResampleLiteralScan"];
  const double fast = reporter.times["BM_CorrectResample"];
  if (literal > 0 && fast > 0) {
    std::printf("correct+resample speed-up over the literal scan (CPU time): %.1fx (goal >= 20x)\n",
                literal / fast);
  }
  return identical ? 0 : 1;
}
