#include "chromiva/acquisition/document_session.h"

namespace chromiva::acquisition {

DocumentSession::DocumentSession(data::Ctintrose_mfDoc& document,
                                 std::filesystem::path journalFolder)
    : document_(document), journal_(std::move(journalFolder)) {}

void DocumentSession::EndJournals() {
  journal_.Finish();
  journalLeftBehind_.clear();
  if (recoveredJournal_.empty()) return;
  // A failure leaves it to be offered again; the caller may say so.
  journalLeftBehind_ = data::DiscardJournal(recoveredJournal_).message;
  recoveredJournal_.clear();
}

void DocumentSession::StartUntitled() {
  EndJournals();
  document_.title = data::kUntitledTitle;
  document_.modified = false;
  path_.clear();
}

void DocumentSession::RecordsCleared() {
  EndJournals();
  document_.title = data::kUntitledTitle;
  path_.clear();
}

data::DataFileResult DocumentSession::Open(const std::filesystem::path& path) {
  data::DataFileResult result = data::OpenDataFile(document_, path);
  if (!result.ok()) return result;
  EndJournals();
  path_ = std::filesystem::absolute(path).lexically_normal();
  return result;
}

SaveOutcome DocumentSession::SaveAs(const std::filesystem::path& path) {
  SaveOutcome outcome;
  outcome.saved = data::SaveDataFile(document_, path);
  if (!outcome.saved.ok()) return SaveRefused(std::move(outcome.saved));
  path_ = std::filesystem::absolute(path).lexically_normal();
  EndJournals();
  return outcome;
}

SaveOutcome DocumentSession::SaveRefused(data::DataFileResult why) {
  SaveOutcome outcome{std::move(why), data::SaveRecoveryFile(document_)};
  if (outcome.recovery.ok()) EndJournals();
  return outcome;
}

}  // namespace chromiva::acquisition
