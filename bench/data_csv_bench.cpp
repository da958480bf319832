// CSV export of one sensor's full store (340-850 nm, step 1) in the vertical and the row
// layout, against pandas.DataFrame.to_csv writing the same matrix with the same number format.
//
//   bench_data_csv [--records N] [--dir DIR] [--python PATH]
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "chromiva/data/csv.h"
#include "data_bench_support.h"

namespace {

using namespace chromiva::data;
using chromiva::bench::SecondsSince;

struct Options {
  int records = kMaxCommittedRecords;
  std::filesystem::path dir = std::filesystem::temp_directory_path();
  std::string python = "/usr/bin/python3";
};

Options ParseOptions(int argc, char** argv) {
  Options options;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string name = argv[i];
    if (name == "--records") options.records = std::atoi(argv[i + 1]);
    if (name == "--dir") options.dir = argv[i + 1];
    if (name == "--python") options.python = argv[i + 1];
  }
  return options;
}

struct Timing {
  double seconds = 0;
  double bytes = 0;
};

Timing TimeExport(Ctintrose_mfDoc& doc, const CsvSettings& settings, int records,
                  const std::filesystem::path& path) {
  ProcessingState state;
  const auto start = std::chrono::steady_clock::now();
  const CsvResult result = WriteCsvFile(doc, state, settings, 0, {0, records}, path);
  Timing timing{SecondsSince(start), static_cast<double>(std::filesystem::file_size(path))};
  if (!result.ok()) std::fprintf(stderr, "export failed: %s\n", result.message.c_str());
  std::filesystem::remove(path);
  return timing;
}

// The grid values every record exports, one record per row, as float32.
void WriteMatrix(Ctintrose_mfDoc& doc, int records, const std::filesystem::path& path) {
  ProcessingState state;
  std::ofstream out(path, std::ios::binary);
  for (int r = 0; r < records; ++r) {
    CorrectRecord(doc, state, 0, r);
    ResampleRecord(doc, state, 0, r);
    const GridArray& grid = state.outputs[0].displaySpectrum;
    out.write(reinterpret_cast<const char*>(grid.data()), sizeof grid);
  }
}

std::map<std::string, Timing> RunPandas(const Options& options, int records,
                                        const std::filesystem::path& matrix) {
  const std::string command = options.python + " " + CHROMIVA_PANDAS_SCRIPT + " " +
                              matrix.string() + " " + std::to_string(records) + " " +
                              std::to_string(kGridSamples) + " " + options.dir.string();
  std::map<std::string, Timing> timings;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return timings;
  char name[32];
  double seconds = 0, bytes = 0;
  while (std::fscanf(pipe, "%31s %lf %lf", name, &seconds, &bytes) == 3) {
    timings[name] = {seconds, bytes};
  }
  pclose(pipe);
  return timings;
}

void Report(const char* layout, const Timing& ours, const Timing& pandas) {
  std::printf(
      "%-8s ours %7.2f s %7.1f MB/s | pandas %7.2f s %7.1f MB/s | ratio %.1fx (goal >= 5x)\n",
      layout, ours.seconds, ours.bytes / ours.seconds / 1e6, pandas.seconds,
      pandas.bytes / pandas.seconds / 1e6,
      pandas.seconds > 0 ? pandas.seconds / ours.seconds : 0.0);
}

}  // namespace

int main(int argc, char** argv) {
  const Options options = ParseOptions(argc, argv);
  const int records = std::min(options.records, kMaxCommittedRecords);
  auto doc = chromiva::bench::FilledDocument(1, records);
  CsvSettings settings;
  settings.csvStepNm = 1;
  const Timing vertical = TimeExport(*doc, settings, records, options.dir / "bench_vertical.csv");
  settings.csvVertical = false;
  const Timing rows = TimeExport(*doc, settings, records, options.dir / "bench_rows.csv");

  const std::filesystem::path matrix = options.dir / "bench_matrix.f32";
  WriteMatrix(*doc, records, matrix);
  std::map<std::string, Timing> pandas = RunPandas(options, records, matrix);
  std::filesystem::remove(matrix);
  std::printf("CSV export of %d records x %d wavelengths\n", records, kGridSamples);
  Report("vertical", vertical, pandas["vertical"]);
  Report("rows", rows, pandas["rows"]);
  return pandas.size() == 2 ? 0 : 1;
}
