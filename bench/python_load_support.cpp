// The C++ side of bench/python_load.py: writes the large data file it loads, and times the
// program's loader alone on it.
//
//   bench_python_load --write FILE [--sensors S] [--records N]
//   bench_python_load --load FILE      prints the seconds of one OpenDataFile
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "chromiva/data/data_file.h"
#include "data_bench_support.h"

namespace {

using namespace chromiva;

int Write(const char* path, int sensors, int records) {
  auto doc = bench::FilledDocument(sensors, records);
  const data::DataFileResult saved = data::SaveDataFile(*doc, path);
  if (!saved.ok()) std::fprintf(stderr, "%s\n", saved.message.c_str());
  return saved.ok() ? 0 : 1;
}

int Load(const char* path) {
  auto doc = std::make_unique<data::Ctintrose_mfDoc>();
  const auto start = std::chrono::steady_clock::now();
  const data::DataFileResult loaded = data::OpenDataFile(*doc, path);
  const double seconds = bench::SecondsSince(start);
  if (!loaded.ok()) {
    std::fprintf(stderr, "%s\n", loaded.message.c_str());
    return 1;
  }
  std::printf("%.6f\n", seconds);
  return 0;
}

int OptionValue(int argc, char** argv, const std::string& name, int fallback) {
  for (int i = 1; i + 1 < argc; ++i) {
    if (argv[i] == name) return std::atoi(argv[i + 1]);
  }
  return fallback;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 3 && std::string(argv[1]) == "--write") {
    return Write(argv[2], OptionValue(argc, argv, "--sensors", 2),
                 OptionValue(argc, argv, "--records", data::kMaxCommittedRecords));
  }
  if (argc == 3 && std::string(argv[1]) == "--load") return Load(argv[2]);
  std::fprintf(stderr, "usage: %s --write FILE [--sensors S] [--records N] | --load FILE\n",
               argv[0]);
  return 2;
}
