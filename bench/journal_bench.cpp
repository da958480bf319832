// The recording journal's cost per pass of 10 sensors over a whole recording (86 399 passes),
// against the shortest pass the measurement cycle allows for 10 sensors (one 1 ms step of the
// readiness poll per sensor: 10 ms). Only the journal's own work is timed: building and
// writing each pass's entry, the table check and the once-a-second sync; filling the records
// is the measurement's work and is left out. Reported: µs per pass, the share of the floor, and
// the slowest single pass.
// Run: build/release/bench/bench_journal [passes] [folder]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "chromiva/data/journal.h"

namespace {

using namespace chromiva::data;

constexpr int kSensors = 10;
constexpr double kFloorMs = 1.0 * kSensors;

void FillSensors(Ctintrose_mfDoc& document) {
  document.sensorTable.sensorCount = kSensors;
  for (int k = 0; k < kSensors; ++k) {
    SensorEntry& sensor = document.Sensor(k);
    sensor.kindName = "C12880MA";
    sensor.serialNo = "BENCH" + std::to_string(k);
    for (std::size_t p = 0; p < kMaxPixels; ++p) sensor.wavelengthTable[p] = 340.0f + p * 1.8f;
  }
  document.operationLog = "2026/12/07 12:00:00,recording\r\n";
}

void FillPass(Ctintrose_mfDoc& document, int record) {
  for (int k = 0; k < kSensors; ++k) {
    RecordSpectra& spectra = document.EnsureSpectra(k, record);
    for (std::size_t p = 0; p < kMaxPixels; ++p) {
      spectra.rawSpectrum[p] = static_cast<float>(1000 + (record + p) % 3000);
      spectra.processedSpectrum[p] = static_cast<float>((record * 7 + p) % 2000);
    }
    document.Record(k, record).recordExposureUs = 1000;
    document.recordCount[static_cast<std::size_t>(k)] = record + 1;
  }
  document.RecordTime(record) = 1765000000 + record;
}

}  // namespace

int main(int argc, char** argv) {
  const int passes = argc > 1 ? std::atoi(argv[1]) : kMaxCommittedRecords;
  const std::filesystem::path folder =
      argc > 2 ? argv[2] : std::filesystem::temp_directory_path() / "chromiva_journal_bench";
  if (passes < 1 || passes > kMaxCommittedRecords) {
    std::fprintf(stderr, "passes: 1 to %d\n", kMaxCommittedRecords);
    return 2;
  }
  auto document = std::make_unique<Ctintrose_mfDoc>();
  FillSensors(*document);
  RecordJournal journal(folder);
  using Clock = std::chrono::steady_clock;
  Clock::duration total{}, slowest{};
  for (int r = 0; r < passes; ++r) {
    FillPass(*document, r);
    const auto start = Clock::now();
    if (!journal.AppendCommittedPasses(*document)) {
      std::fprintf(stderr, "%s\n", journal.error().c_str());
      return 1;
    }
    const auto spent = Clock::now() - start;
    total += spent;
    if (spent > slowest) slowest = spent;
  }
  const auto bytes = std::filesystem::file_size(journal.path());
  journal.Finish();
  const double perPassUs = std::chrono::duration<double, std::micro>(total).count() / passes;
  std::printf("passes %d of %d sensors, journal %.1f MiB\n", passes, kSensors,
              static_cast<double>(bytes) / (1 << 20));
  std::printf("journal per pass %.1f us, slowest %.1f ms\n", perPassUs,
              std::chrono::duration<double, std::milli>(slowest).count());
  std::printf("share of the %.0f ms pass floor: %.3f %%\n", kFloorMs,
              perPassUs / (kFloorMs * 1000.0) * 100.0);
  return 0;
}
