// Save and load of a full record store against copying a file of the same size with cp on the
// same disk, each doing the same work as cp (a new file, or replacing one of the same size);
// reports the peak resident memory of the load against the payload.
//
//   bench_data_store [--records N] [--sensors S] [--dir DIR] [--settle SECONDS] [--warm MB]
//   bench_data_store --ablate [--records N] [--sensors S] [--dir DIR] [--runs 3]
//
// --settle waits after each untimed preparation before the timed step. On a virtual machine
// that hands freed memory back to its host, the 2 GB freed by the preparation is then gone
// from the guest, and whoever writes 2 GB next pays the host for fresh memory, as after any
// quiet spell; without waiting, the first 2 GB of page cache come from memory still at hand.
// --warm then commits and frees that many megabytes of huge pages right before the timed step,
// so that both sides find freed memory at hand that either kind of allocation can reuse, as
// they would on a machine that keeps its memory.
//
// The defaults (10 sensors x 86 399 records) write about 2 GB twice; use --records for a
// smaller run. The load runs in a child process so its peak memory is its own.
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "chromiva/data/data_file.h"
#include "data_bench_support.h"
#include "data_file_parts.h"
#include "store_switches.h"

namespace {

using namespace chromiva::data;
using chromiva::bench::SecondsSince;

struct Options {
  int records = kMaxCommittedRecords;
  int sensors = kMaxSensors;
  std::filesystem::path dir = std::filesystem::current_path();
  unsigned settleSeconds = 0;
  std::size_t warmMegabytes = 0;
};

Options ParseOptions(int argc, char** argv) {
  Options options;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string name = argv[i];
    if (name == "--records") options.records = std::atoi(argv[i + 1]);
    if (name == "--sensors") options.sensors = std::atoi(argv[i + 1]);
    if (name == "--dir") options.dir = argv[i + 1];
    if (name == "--settle") options.settleSeconds = static_cast<unsigned>(std::atoi(argv[i + 1]));
    if (name == "--warm") options.warmMegabytes = std::strtoull(argv[i + 1], nullptr, 10);
  }
  return options;
}

// The peak resident set of this process image in bytes. The children's figure of getrusage
// would not do: a child forked from the benchmark starts with the benchmark's own peak.
double PeakResidentBytes() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmHWM:", 0) == 0) return std::atof(line.c_str() + 6) * 1024.0;
  }
  return 0;
}

// The switches as one letter each, so that a load in a child process runs with them.
constexpr const char* kSwitchLetters = "pdc";

std::string SwitchText(const detail::StoreSwitches& s) {
  const bool on[] = {s.prefault, s.dropReplacedCache, s.detachedClose};
  std::string text;
  for (int i = 0; i < 3; ++i) text += on[i] ? kSwitchLetters[i] : '-';
  return text;
}

void SetSwitches(const std::string& text) {
  detail::StoreSwitches& s = detail::Switches();
  bool* on[] = {&s.prefault, &s.dropReplacedCache, &s.detachedClose};
  for (std::size_t i = 0; i < 3 && i < text.size(); ++i) *on[i] = text[i] != '-';
}

int LoadChild(const char* path) {
  auto doc = std::make_unique<Ctintrose_mfDoc>();
  const auto start = std::chrono::steady_clock::now();
  const DataFileResult result = OpenDataFile(*doc, path);
  std::printf("%.6f %.0f\n", SecondsSince(start), PeakResidentBytes());
  return result.ok() ? 0 : 1;
}

double TimeSave(Ctintrose_mfDoc& doc, const std::filesystem::path& path) {
  const auto start = std::chrono::steady_clock::now();
  const DataFileResult result = SaveDataFile(doc, path);
  const double seconds = SecondsSince(start);
  if (!result.ok()) std::fprintf(stderr, "save failed: %s\n", result.message.c_str());
  return seconds;
}

double TimeCommand(const std::string& command) {
  const auto start = std::chrono::steady_clock::now();
  if (std::system(command.c_str()) != 0) std::fprintf(stderr, "failed: %s\n", command.c_str());
  return SecondsSince(start);
}

std::string Quoted(const std::filesystem::path& path) {
  return "'" + path.string() + "'";
}

// Untimed: the target is absent (kNew) or a file of the same size (kReplace), and no dirty data
// of an earlier step is left to be written back during the next one. Both sides of a pair start
// from the same state: a same-size file is written first (and removed for kNew), so neither
// finds more freed memory than the other.
enum class Target { kNew, kReplace };

unsigned settleSeconds = 0;
std::size_t warmBytes = 0;

// Commits `bytes` of huge pages and frees them again, so that the next step finds that much
// memory freed a moment ago, in blocks that page-cache and huge-page users alike can take.
void WarmMemory(std::size_t bytes) {
  if (bytes == 0) return;
  void* at = ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (at == MAP_FAILED) return;
  ::madvise(at, bytes, MADV_HUGEPAGE);
  ::madvise(at, bytes, MADV_POPULATE_WRITE);
  ::munmap(at, bytes);
}

void Prepare(const std::filesystem::path& target, const std::filesystem::path& source,
             Target kind) {
  std::filesystem::remove(target);
  if (!source.empty()) std::filesystem::copy_file(source, target);
  ::sync();
  if (kind == Target::kNew) std::filesystem::remove(target);
  ::sync();
  if (settleSeconds > 0) ::sleep(settleSeconds);
  WarmMemory(warmBytes);
}

// Runs the load in a child process; returns its time and peak resident set in bytes.
std::pair<double, double> TimeLoadInChild(const std::filesystem::path& path) {
  const std::string command = "/proc/" + std::to_string(getpid()) + "/exe --load-child " +
                              Quoted(path) + " " + SwitchText(detail::Switches());
  FILE* pipe = popen(command.c_str(), "r");
  double seconds = 0;
  double peak = 0;
  if (pipe == nullptr || std::fscanf(pipe, "%lf %lf", &seconds, &peak) != 2) seconds = peak = 0;
  if (pipe != nullptr) pclose(pipe);
  return {seconds, peak};
}

struct Pair {
  const char* what;
  double seconds;
  const char* baselineName;
  double baseline;
};

void PrintPair(const Pair& pair, double bytes) {
  std::printf("%-28s %6.2f s %7.1f MB/s | %-22s %6.2f s %7.1f MB/s | %4.0f %%\n", pair.what,
              pair.seconds, bytes / pair.seconds / 1e6, pair.baselineName, pair.baseline,
              bytes / pair.baseline / 1e6, 100.0 * pair.baseline / pair.seconds);
}

struct Scenario {
  const char* save;
  const char* cp;
  Target target;
};

// The save always syncs, so cp is followed by sync.
constexpr Scenario kScenarios[] = {
    {"save new", "cp new + sync", Target::kNew},
    {"save replacing", "cp replacing + sync", Target::kReplace},
};

// Each save is timed right before cp doing the same work on the same disk: writing a new file,
// or replacing a file of the same size (cp truncates it; the save renames over it). `file`
// exists and holds the document.
std::vector<Pair> MeasureSaves(Ctintrose_mfDoc& doc, const std::filesystem::path& file,
                               const std::filesystem::path& copy) {
  const std::string cp = "cp " + Quoted(file) + " " + Quoted(copy);
  std::vector<Pair> pairs;
  for (const Scenario& scenario : kScenarios) {
    Prepare(copy, file, scenario.target);
    const double save = TimeSave(doc, copy);
    Prepare(copy, file, scenario.target);
    const double byCp = TimeCommand(cp + " && sync " + Quoted(copy));
    pairs.push_back({scenario.save, save, scenario.cp, byCp});
  }
  return pairs;
}

// --ablate [--records N] [--sensors S] [--dir DIR] [--runs 3]: each mechanism on and off,
// alternating within one run; the save replaces a same-size file (the usual save over an open
// file), the load reads a cached file in a child process.
struct Mechanism {
  const char* name;
  bool detail::StoreSwitches::*member;
  bool load;
};

constexpr Mechanism kMechanisms[] = {
    {"commit-ahead helper thread (load)", &detail::StoreSwitches::prefault, true},
    {"drop replaced file's cache (save)", &detail::StoreSwitches::dropReplacedCache, false},
    {"detached close (save)", &detail::StoreSwitches::detachedClose, false},
};

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

int Ablate(int argc, char** argv) {
  const Options options = ParseOptions(argc - 1, argv + 1);
  int runs = 3;
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::string(argv[i]) == "--runs") runs = std::atoi(argv[i + 1]);
  }
  const std::filesystem::path file = options.dir / "ablate_store.cvdata";
  const std::filesystem::path copy = options.dir / "ablate_store_copy.cvdata";
  auto doc = chromiva::bench::FilledDocument(std::min(options.sensors, kMaxSensors),
                                             std::min(options.records, kMaxCommittedRecords));
  Prepare(file, {}, Target::kNew);
  TimeSave(*doc, file);
  const double bytes = static_cast<double>(std::filesystem::file_size(file));
  std::printf(
      "ablation: %d sensors x %d records = %.1f MB, median of %d; save replaces a file "
      "(synced), load reads a cached file\n",
      options.sensors, options.records, bytes / 1e6, runs);
  std::printf("%-36s %10s %10s %8s\n", "mechanism", "with (s)", "without", "saves");
  const detail::StoreSwitches defaults = detail::Switches();
  for (const Mechanism& m : kMechanisms) {
    std::vector<double> with;
    std::vector<double> without;
    for (int run = 0; run < runs; ++run) {
      for (int side = 0; side < 2; ++side) {
        const bool on = (side == 0) == (run % 2 == 0);  // alternate which side goes first
        detail::Switches() = defaults;
        detail::Switches().*(m.member) = on;
        double seconds = 0;
        if (m.load) {
          Prepare(copy, file, Target::kNew);
          seconds = TimeLoadInChild(file).first;
        } else {
          Prepare(copy, file, Target::kReplace);
          seconds = TimeSave(*doc, copy);
        }
        (on ? with : without).push_back(seconds);
      }
    }
    const double a = Median(with);
    const double b = Median(without);
    std::printf("%-36s %10.3f %10.3f %7.0f %%\n", m.name, a, b, 100.0 * (b - a) / b);
    std::fflush(stdout);
  }
  detail::Switches() = defaults;
  std::filesystem::remove(copy);
  std::filesystem::remove(file);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::string(argv[1]) == "--load-child") {
    SetSwitches(argv[3]);
    return LoadChild(argv[2]);
  }
  if (argc >= 2 && std::string(argv[1]) == "--ablate") return Ablate(argc, argv);
  const Options options = ParseOptions(argc, argv);
  settleSeconds = options.settleSeconds;
  warmBytes = options.warmMegabytes << 20;
  const std::filesystem::path file = options.dir / "bench_store.cvdata";
  const std::filesystem::path copy = options.dir / "bench_store_copy.cvdata";
  auto doc = chromiva::bench::FilledDocument(std::min(options.sensors, kMaxSensors),
                                             std::min(options.records, kMaxCommittedRecords));
  Prepare(file, {}, Target::kNew);
  TimeSave(*doc, file);
  std::vector<Pair> pairs = MeasureSaves(*doc, file, copy);
  doc.reset();
  const double bytes = static_cast<double>(std::filesystem::file_size(file));
  Prepare(copy, file, Target::kNew);
  const double cpNew = TimeCommand("cp " + Quoted(file) + " " + Quoted(copy));
  Prepare(copy, file, Target::kNew);
  const auto [load, peak] = TimeLoadInChild(file);
  pairs.push_back({"load (file cached)", load, "cp new (file cached)", cpNew});
  std::filesystem::remove(copy);
  std::filesystem::remove(file);

  std::printf(
      "payload %.1f MB (%d sensors x %d records), %u s settling, %zu MB warmed; last column: %% "
      "of cp's throughput\n",
      bytes / 1e6, options.sensors, options.records, options.settleSeconds, options.warmMegabytes);
  for (const Pair& pair : pairs) PrintPair(pair, bytes);
  std::printf(
      "peak resident memory of the load: %.1f MB = %.1f %% of the payload (goal < 110 %%)\n",
      peak / 1e6, 100.0 * peak / bytes);
  return 0;
}
