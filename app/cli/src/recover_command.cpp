// chromiva-cli recover: the records of a recording that ended without a save, from its journal.
#include <cstdio>

#include "arguments.h"
#include "chromiva/acquisition/document_session.h"
#include "chromiva/data/data_file.h"
#include "chromiva/data/journal.h"
#include "commands.h"
#include "file_checks.h"

namespace chromiva::cli {
namespace {

const OptionSpec kRecoverOptions = {{"-o"}, {"--list", "--discard"}};

int ListUnfinished() {
  const auto journals = data::ListJournals();
  if (journals.empty()) {
    std::printf("no unfinished recording in %s\n", data::DefaultJournalFolder().string().c_str());
    return kExitNothing;
  }
  for (const data::JournalInfo& journal : journals) {
    std::printf("%s  %s  %ju bytes%s\n", journal.path.string().c_str(),
                data::FormatLocalTime(journal.modified, "%Y/%m/%d %H:%M:%S").c_str(), journal.bytes,
                journal.inUse ? "  (recording still running)" : "");
  }
  return kExitOk;
}

// The newest journal that no running recording holds.
std::optional<std::filesystem::path> NewestUnfinished() {
  const auto journals = data::ListJournals();
  for (auto it = journals.rbegin(); it != journals.rend(); ++it) {
    if (!it->inUse) return it->path;
  }
  return std::nullopt;
}

int Recover(const std::filesystem::path& journal, const std::filesystem::path& output) {
  if (int status = RefuseOutputOverInput(journal, output)) return status;
  data::Ctintrose_mfDoc document;
  const data::JournalRecovery recovery = data::RecoverJournal(journal, document);
  if (!recovery.result.ok()) return Fail(kExitRefused, recovery.result.message);
  if (recovery.tornTail) {
    std::fprintf(stderr,
                 "chromiva-cli: the journal's last entry was incomplete and was left out\n");
  }
  document.title = output.filename().string();
  acquisition::DocumentSession session(document);
  session.AdoptRecoveredJournal(journal);  // removed once the records are in a file
  if (int status = SaveOrRecover(session, output)) return status;
  std::fprintf(stderr, "recovered %d pass(es) to %s\n", recovery.passes, output.string().c_str());
  if (!session.JournalLeftBehind().empty()) {
    std::fprintf(stderr, "chromiva-cli: warning: %s\n", session.JournalLeftBehind().c_str());
  }
  return kExitOk;
}

}  // namespace

int RunRecover(const Words& words) {
  std::string error;
  auto arguments = ParseArguments(words, kRecoverOptions, error);
  if (!arguments) return Fail(kExitRefused, error);
  if (arguments->positionals.size() > 1) {
    return Fail(kExitRefused, "usage: recover [JOURNAL] -o FILE | --list | JOURNAL --discard");
  }
  if (arguments->Has("--list")) return ListUnfinished();
  std::optional<std::filesystem::path> journal;
  if (!arguments->positionals.empty()) journal = arguments->positionals[0];
  if (arguments->Has("--discard")) {
    if (!journal) return Fail(kExitRefused, "--discard needs the journal's name");
    auto discarded = data::DiscardJournal(*journal);
    return discarded.ok() ? kExitOk : Fail(kExitRefused, discarded.message);
  }
  auto output = arguments->Value("-o");
  if (!output) return Fail(kExitRefused, "usage: recover [JOURNAL] -o FILE");
  if (!journal) journal = NewestUnfinished();
  if (!journal) return Fail(kExitNothing, "no unfinished recording to recover");
  return Recover(*journal, *output);
}

}  // namespace chromiva::cli
