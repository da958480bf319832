// Save and load of a full record store against copying a file of the same size with cp on the
// same disk; reports the peak resident memory of the load against the payload.
//
//   bench_data_store [--records N] [--sensors S] [--dir DIR]
//
// The defaults (10 sensors x 86 399 records) write about 2 GB twice; use --records for a
// smaller run. The load runs in a child process so its peak memory is its own.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "chromiva/data/data_file.h"
#include "data_bench_support.h"

namespace {

using namespace chromiva::data;
using chromiva::bench::SecondsSince;

struct Options {
  int records = kMaxCommittedRecords;
  int sensors = kMaxSensors;
  std::filesystem::path dir = std::filesystem::current_path();
};

Options ParseOptions(int argc, char** argv) {
  Options options;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string name = argv[i];
    if (name == "--records") options.records = std::atoi(argv[i + 1]);
    if (name == "--sensors") options.sensors = std::atoi(argv[i + 1]);
    if (name == "--dir") options.dir = argv[i + 1];
  }
  return options;
}

int LoadChild(const char* path) {
  auto doc = std::make_unique<Ctintrose_mfDoc>();
  const auto start = std::chrono::steady_clock::now();
  const DataFileResult result = OpenDataFile(*doc, path);
  std::printf("%.6f\n", SecondsSince(start));
  return result.ok() ? 0 : 1;
}

double TimeSave(Ctintrose_mfDoc& doc, const std::filesystem::path& path, bool sync) {
  const auto start = std::chrono::steady_clock::now();
  const DataFileResult result = SaveDataFile(doc, path, sync);
  const double seconds = SecondsSince(start);
  if (!result.ok()) std::fprintf(stderr, "save failed: %s\n", result.message.c_str());
  return seconds;
}

double TimeCommand(const std::string& command) {
  const auto start = std::chrono::steady_clock::now();
  if (std::system(command.c_str()) != 0) std::fprintf(stderr, "failed: %s\n", command.c_str());
  return SecondsSince(start);
}

// Runs the load in a child process; returns its time and peak resident set in bytes.
std::pair<double, double> TimeLoadInChild(const std::filesystem::path& path) {
  const std::string command =
      "/proc/" + std::to_string(getpid()) + "/exe --load-child '" + path.string() + "'";
  FILE* pipe = popen(command.c_str(), "r");
  double seconds = 0;
  if (pipe == nullptr || std::fscanf(pipe, "%lf", &seconds) != 1) seconds = 0;
  if (pipe != nullptr) pclose(pipe);
  rusage usage{};
  getrusage(RUSAGE_CHILDREN, &usage);
  return {seconds, static_cast<double>(usage.ru_maxrss) * 1024.0};
}

void Line(const char* what, double seconds, double bytes, double baseline) {
  std::printf("%-26s %7.2f s %8.1f MB/s  %5.0f %% of cp\n", what, seconds, bytes / seconds / 1e6,
              100.0 * baseline / seconds);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == "--load-child") return LoadChild(argv[2]);
  const Options options = ParseOptions(argc, argv);
  const std::filesystem::path file = options.dir / "bench_store.cvdata";
  const std::filesystem::path copy = options.dir / "bench_store_copy.cvdata";
  auto doc = chromiva::bench::FilledDocument(std::min(options.sensors, kMaxSensors),
                                             std::min(options.records, kMaxCommittedRecords));
  const double saveSync = TimeSave(*doc, file, true);
  const double save = TimeSave(*doc, file, false);
  doc.reset();
  const double bytes = static_cast<double>(std::filesystem::file_size(file));
  const std::string cp = "cp '" + file.string() + "' '" + copy.string() + "'";
  const double cpPlain = TimeCommand(cp);
  const double cpSync = TimeCommand(cp + " && sync '" + copy.string() + "'");
  const auto [load, peak] = TimeLoadInChild(file);
  std::filesystem::remove(copy);
  std::filesystem::remove(file);

  std::printf("payload %.1f MB (%d sensors x %d records)\n", bytes / 1e6, options.sensors,
              options.records);
  Line("cp", cpPlain, bytes, cpPlain);
  Line("save (no fsync)", save, bytes, cpPlain);
  Line("load", load, bytes, cpPlain);
  Line("cp + sync", cpSync, bytes, cpSync);
  Line("save (fsync, default)", saveSync, bytes, cpSync);
  std::printf(
      "peak resident memory of the load: %.1f MB = %.1f %% of the payload (goal < 110 %%)\n",
      peak / 1e6, 100.0 * peak / bytes);
  return 0;
}
