#include "file_checks.h"

#include <sys/stat.h>

#include <cstdio>

#include "chromiva/data/data_file.h"
#include "chromiva/data/text_codec.h"
#include "commands.h"

namespace chromiva::cli {

int LoadDataFileOrFail(data::Ctintrose_mfDoc& document, const std::string& path) {
  auto loaded = data::OpenDataFile(document, path);
  if (!loaded.ok()) return Fail(kExitRefused, loaded.message);
  if (!loaded.warning.empty())
    std::fprintf(stderr, "chromiva-cli: warning: %s\n", loaded.warning.c_str());
  return kExitOk;
}

std::optional<int> ChooseSensor(const data::Ctintrose_mfDoc& document, const Arguments& arguments,
                                std::string& error) {
  const int sensors = document.sensorTable.sensorCount;
  std::string wanted = arguments.Value("--sensor").value_or("0");
  const std::string wantedBytes = data::Utf8ToCp932(wanted).value_or(wanted);
  for (int k = 0; k < sensors; ++k) {
    const std::string& serial = document.sensorTable.sensors[k].serialNo;
    if (serial == wantedBytes || data::DisplayText(serial) == wanted) return k;
  }
  auto slot = IntegerOption(arguments, "--sensor", 0, 0, data::kMaxSensors - 1, error);
  if (slot && *slot < sensors) return static_cast<int>(*slot);
  error =
      "no sensor '" + wanted + "' in the file (it has " + std::to_string(sensors) + " sensor(s))";
  return std::nullopt;
}

bool SameFile(const std::filesystem::path& input, const std::filesystem::path& output) {
  struct stat in {
  }, out{};
  if (::stat(input.c_str(), &in) != 0 || ::stat(output.c_str(), &out) != 0) return false;
  return in.st_dev == out.st_dev && in.st_ino == out.st_ino;
}

int RefuseOutputOverInput(const std::filesystem::path& input, const std::filesystem::path& output) {
  if (!SameFile(input, output)) return kExitOk;
  return Fail(kExitRefused, "the output " + output.string() + " is the input file " +
                                input.string() + "; choose another output name");
}

int SaveOrRecover(acquisition::DocumentSession& session, const std::filesystem::path& path) {
  const acquisition::SaveOutcome outcome = session.SaveAs(path);
  if (outcome.ok()) {
    std::fprintf(stderr, "saved %d record(s) per sensor to %s\n", session.document().recordCount[0],
                 path.string().c_str());
    return kExitOk;
  }
  std::fprintf(stderr, "chromiva-cli: %s\n", outcome.saved.message.c_str());
  for (const std::string& failure : outcome.recovery.failures) {
    std::fprintf(stderr, "chromiva-cli: recovery: %s\n", failure.c_str());
  }
  const std::filesystem::path& journal = session.journal().path();
  const std::filesystem::path& recovered = session.RecoveredJournal();
  if (outcome.recovery.ok()) {
    std::fprintf(stderr, "chromiva-cli: the records were saved to %s instead\n",
                 outcome.recovery.saved.string().c_str());
  } else if (!journal.empty() || !recovered.empty()) {
    std::fprintf(stderr,
                 "chromiva-cli: the records could not be saved anywhere; they stay in the journal "
                 "%s (chromiva-cli recover)\n",
                 (journal.empty() ? recovered : journal).string().c_str());
  } else {
    std::fprintf(stderr, "chromiva-cli: the records could not be saved anywhere\n");
  }
  return kExitRefused;
}

}  // namespace chromiva::cli
