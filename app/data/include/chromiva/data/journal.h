// The recording journal: every committed pass is appended to a file in the user's data folder
// as it is committed, so that a crash loses none of it. A normal save or a data clear ends the
// journal (the file is removed); an unfinished journal can be recovered into a document.
//
// File: the 16 bytes "CHROMIVA-JOURNAL", then entries. Entry: uint32 payload length, uint8
// kind, the payload, uint32 CRC-32 of the length, kind and payload (all little-endian). Kinds:
// 1 the sensor table, LED list and operation log (a data file whose record counts are 0),
// written before the first pass and again whenever they have changed; 2 one pass: int32 count
// of records, then per record int32 sensor slot, int32 record number, int64 record time,
// int32 exposure, float32 temperature, int32 pixel count, the raw then the processed values
// (float32). A torn or damaged entry ends the journal: everything before it is kept.
#pragma once

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "chromiva/data/data_file.h"
#include "chromiva/data/document.h"

namespace chromiva::data {

// The folder journals live in: the user's data folder's "journals", else the temporary folder.
std::filesystem::path DefaultJournalFolder();

class RecordJournal {
 public:
  // The journal's file is created in `folder` (made when missing) at the first pass.
  explicit RecordJournal(std::filesystem::path folder = DefaultJournalFolder());
  ~RecordJournal();  // closes the file; an unfinished journal stays for recovery
  RecordJournal(const RecordJournal&) = delete;
  RecordJournal& operator=(const RecordJournal&) = delete;

  // Appends the records committed since the last call (normally record recordCount - 1 of each
  // sensor), preceded by the sensor table when it is new or has changed. The entry is handed to
  // the system at once (it survives the process being killed) and synced to disk at most once
  // a second, on a helper thread so that the pass does not wait for the disk. False, with
  // error(), when the file cannot be created or written.
  bool AppendCommittedPasses(const Ctintrose_mfDoc& document);

  // The records are safe (saved) or were cleared on purpose: the file is removed, and the next
  // pass starts a new journal.
  void Finish();

  const std::filesystem::path& path() const { return path_; }  // empty before the first pass
  // Records of `sensor` the journal's file holds (0 without a file).
  int32_t RecordsKept(int sensor) const;
  const std::string& error() const { return error_; }

 private:
  bool Open();
  bool WriteEntry(std::uint8_t kind, const std::string& payload);
  bool TableChanged(const Ctintrose_mfDoc& document) const;
  void RequestSync();
  void StopSyncing();

  std::filesystem::path folder_;
  std::filesystem::path path_;
  int fd_ = -1;
  std::array<int32_t, kMaxSensors> journaled_{};  // records of each sensor in the journal
  std::unique_ptr<SensorTable> writtenTable_;     // as last written
  std::string writtenLog_;
  std::chrono::steady_clock::time_point lastSync_{};
  std::string error_;
  std::thread syncer_;  // runs fdatasync when asked, while the passes go on
  std::mutex syncMutex_;
  std::condition_variable syncWake_;
  bool syncWanted_ = false;
  bool syncStop_ = false;
};

struct JournalInfo {
  std::filesystem::path path;
  bool inUse = false;  // a running recording still writes it
  std::uintmax_t bytes = 0;
  std::time_t modified = 0;  // last write, seconds since 1970
};

// The journals in `folder`, oldest first.
std::vector<JournalInfo> ListJournals(const std::filesystem::path& folder = DefaultJournalFolder());

struct JournalRecovery {
  DataFileResult result;  // kOpenFailed, kReadFailed, kTruncated (no sensor table) or success
  int passes = 0;         // pass entries taken over
  bool tornTail = false;  // a damaged or incomplete last entry was dropped
  std::uint64_t keptBytes = 0;
};

// Reads the journal at `path` into `document` (whose records are replaced). A journal that a
// running recording holds is refused.
JournalRecovery RecoverJournal(const std::filesystem::path& path, Ctintrose_mfDoc& document);

// Removes an unfinished journal; refused for one in use and for a file without the journal's
// header (it is left as it is).
DataFileResult DiscardJournal(const std::filesystem::path& path);

}  // namespace chromiva::data
