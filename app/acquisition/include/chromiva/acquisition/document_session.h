// The document session: the document with the file it came from or was last saved to, the
// journal of its unsaved passes, and the one save policy that the window and chromiva-cli share
// (a failed save puts the records into a recovery file; the journal ends once the records are in
// a file, or when they are let go on purpose).
#pragma once

#include <filesystem>
#include <string>

#include "chromiva/data/data_file.h"
#include "chromiva/data/document.h"
#include "chromiva/data/journal.h"
#include "chromiva/data/recovery.h"

namespace chromiva::acquisition {

// What a save came to: the save where asked and, only when that failed, the recovery file.
struct SaveOutcome {
  data::DataFileResult saved;
  data::RecoveryResult recovery;
  bool ok() const { return saved.ok(); }
  // The records are in a file: where asked, or in the recovery file.
  bool RecordsKept() const { return saved.ok() || recovery.ok(); }
};

class DocumentSession {
 public:
  explicit DocumentSession(data::Ctintrose_mfDoc& document,
                           std::filesystem::path journalFolder = data::DefaultJournalFolder());

  const data::Ctintrose_mfDoc& document() const { return document_; }
  // The file of the document, absolute; empty while it is untitled.
  const std::filesystem::path& path() const { return path_; }
  bool Modified() const { return document_.modified; }
  // Every committed pass goes here before it is shown (see FormLogic::SetSession).
  data::RecordJournal& journal() { return journal_; }
  const data::RecordJournal& journal() const { return journal_; }

  // New: the document keeps what is shown (sensor table, records, history) under the title
  // "無題", unmodified and without a file; the journals end.
  void StartUntitled();
  // The records were cleared on purpose (data clear): the document is untitled and has no file,
  // so that a save asks for a name instead of overwriting the file with no records; the journals
  // end.
  void RecordsCleared();
  // Opens `path`; on success it is the document's file and the journals end. A refused file
  // changes nothing of the session.
  data::DataFileResult Open(const std::filesystem::path& path);
  // Saves to `path`; on success it is the document's file. When the save fails the records go
  // to a recovery file (the document keeps its title, file and modified flag, so that it can be
  // saved again). The journals end once the records are in either file.
  SaveOutcome SaveAs(const std::filesystem::path& path);
  // The save to `path` was refused by the caller for `why` (the file changed under the run):
  // the records go to a recovery file as after a failed save.
  SaveOutcome SaveRefused(data::DataFileResult why);
  // The changes are let go (the save question's discard): the journals end as after a save.
  void Discard() { EndJournals(); }
  // A journal recovered into the document; it is removed at the next save or discard.
  void AdoptRecoveredJournal(std::filesystem::path journal) {
    recoveredJournal_ = std::move(journal);
  }
  const std::filesystem::path& RecoveredJournal() const { return recoveredJournal_; }
  // Why the recovered journal could not be removed when the journals last ended (it stays and
  // is offered again); empty when it was removed or there was none.
  const std::string& JournalLeftBehind() const { return journalLeftBehind_; }

 private:
  void EndJournals();

  data::Ctintrose_mfDoc& document_;
  data::RecordJournal journal_;
  std::filesystem::path path_;
  std::filesystem::path recoveredJournal_;
  std::string journalLeftBehind_;
};

}  // namespace chromiva::acquisition
