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

bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
  struct stat first {
  }, second{};
  const bool aExists = ::stat(a.c_str(), &first) == 0;
  const bool bExists = ::stat(b.c_str(), &second) == 0;
  if (aExists && bExists) return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
  if (aExists != bExists) return false;
  std::error_code error;
  const auto aPath = std::filesystem::weakly_canonical(std::filesystem::absolute(a), error);
  const auto bPath = std::filesystem::weakly_canonical(std::filesystem::absolute(b), error);
  return !error && aPath == bPath;
}

FileStamp StampOf(const std::filesystem::path& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return {};
  return {true, info.st_dev, info.st_ino, info.st_size,
          std::int64_t{info.st_mtim.tv_sec} * 1000000000 + info.st_mtim.tv_nsec};
}

namespace {

// Where the records are when no file took them: what the journal holds of them.
void TellWhatTheJournalKeeps(const acquisition::DocumentSession& session) {
  const data::RecordJournal& journal = session.journal();
  const int total = session.document().recordCount[0];
  if (journal.path().empty() && !session.RecoveredJournal().empty()) {
    std::fprintf(stderr,
                 "chromiva-cli: the records could not be saved anywhere; they stay in the "
                 "journal %s (chromiva-cli recover)\n",
                 session.RecoveredJournal().string().c_str());
    return;
  }
  const int kept = journal.path().empty() ? 0 : journal.RecordsKept(0);
  if (kept <= 0) {
    std::fprintf(stderr,
                 "chromiva-cli: the records could not be saved anywhere; %d record(s) "
                 "per sensor are lost\n",
                 total);
  } else if (kept >= total) {
    std::fprintf(stderr,
                 "chromiva-cli: the records could not be saved anywhere; all %d record(s) per "
                 "sensor stay in the journal %s (chromiva-cli recover)\n",
                 total, journal.path().string().c_str());
  } else {
    std::fprintf(stderr,
                 "chromiva-cli: the records could not be saved anywhere; %d of %d record(s) per "
                 "sensor stay in the journal %s (chromiva-cli recover), the last %d are lost\n",
                 kept, total, journal.path().string().c_str(), total - kept);
  }
}

}  // namespace

int RefuseOutputOverInput(const std::filesystem::path& input, const std::filesystem::path& output) {
  if (!SameFile(input, output)) return kExitOk;
  return Fail(kExitRefused, "the output " + output.string() + " is the input file " +
                                input.string() + "; choose another output name");
}

int SaveOrRecover(acquisition::DocumentSession& session, const std::filesystem::path& path,
                  const FileStamp* before) {
  const acquisition::SaveOutcome outcome =
      before && StampOf(path) != *before
          ? session.SaveRefused({data::DataFileError::kWriteFailed,
                                 path.string() +
                                     " was written by another program while this run recorded; "
                                     "it is not replaced",
                                 {}})
          : session.SaveAs(path);
  if (outcome.ok()) {
    std::fprintf(stderr, "saved %d record(s) per sensor to %s\n", session.document().recordCount[0],
                 path.string().c_str());
    return kExitOk;
  }
  std::fprintf(stderr, "chromiva-cli: %s\n", outcome.saved.message.c_str());
  for (const std::string& failure : outcome.recovery.failures) {
    std::fprintf(stderr, "chromiva-cli: recovery: %s\n", failure.c_str());
  }
  if (outcome.recovery.ok()) {
    std::fprintf(stderr, "chromiva-cli: the records were saved to %s instead\n",
                 outcome.recovery.saved.string().c_str());
  } else {
    TellWhatTheJournalKeeps(session);
  }
  return kExitRefused;
}

}  // namespace chromiva::cli
