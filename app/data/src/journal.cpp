#include "chromiva/data/journal.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <istream>
#include <sstream>
#include <system_error>

#include "chromiva/data/user_folders.h"
#include "data_file_parts.h"
#include "fd_input.h"

namespace chromiva::data {

namespace {

constexpr char kMagic[] = "CHROMIVA-JOURNAL";
constexpr std::size_t kMagicBytes = sizeof kMagic - 1;
constexpr const char* kExtension = ".cvjournal";
constexpr std::uint8_t kTableEntry = 1;
constexpr std::uint8_t kPassEntry = 2;
constexpr std::uint32_t kMaxPayloadBytes = std::uint32_t{1} << 30;
constexpr std::size_t kEntryOverhead = 4 + 1 + 4;

constexpr std::array<std::uint32_t, 256> MakeCrcTable() {
  std::array<std::uint32_t, 256> table{};
  for (std::uint32_t n = 0; n < 256; ++n) {
    std::uint32_t c = n;
    for (int bit = 0; bit < 8; ++bit) c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    table[n] = c;
  }
  return table;
}

constexpr std::array<std::uint32_t, 256> kCrcTable = MakeCrcTable();

// CRC-32 (IEEE 802.3), continued from `crc`.
std::uint32_t Crc32(const char* data, std::size_t count, std::uint32_t crc = 0) {
  crc = ~crc;
  for (std::size_t i = 0; i < count; ++i) {
    crc = kCrcTable[(crc ^ static_cast<unsigned char>(data[i])) & 0xFF] ^ (crc >> 8);
  }
  return ~crc;
}

std::string ErrnoText() {
  return std::strerror(errno);
}

template <typename T>
void Append(std::string& out, const T& value) {
  out.append(reinterpret_cast<const char*>(&value), sizeof value);
}

template <typename T>
bool Take(const char*& at, const char* end, T& value) {
  if (static_cast<std::size_t>(end - at) < sizeof value) return false;
  std::memcpy(&value, at, sizeof value);
  at += sizeof value;
  return true;
}

bool SameSensor(const SensorEntry& a, const SensorEntry& b) {
  auto same = [](const auto& x, const auto& y) { return std::memcmp(&x, &y, sizeof x) == 0; };
  return a.kindName == b.kindName && a.serialNo == b.serialNo && a.pixelCount == b.pixelCount &&
         a.exposureUs == b.exposureUs && same(a.compBlock, b.compBlock) &&
         same(a.darkTables, b.darkTables) && same(a.wavelengthTable, b.wavelengthTable) &&
         same(a.sensitivityTable, b.sensitivityTable) && same(a.whiteTable, b.whiteTable) &&
         same(a.transmissionTable, b.transmissionTable);
}

std::string NewJournalName() {
  static std::atomic<unsigned> counter{0};
  return "journal-" + FormatLocalTime(std::time(nullptr), "%Y%m%d-%H%M%S") + "-" +
         std::to_string(getpid()) + "-" + std::to_string(counter.fetch_add(1)) + kExtension;
}

DataFileResult Failure(DataFileError error, std::string message) {
  return DataFileResult{error, std::move(message), {}};
}

// A journal opened for reading, with a shared lock that a running recording's exclusive lock
// refuses.
class JournalReader {
 public:
  explicit JournalReader(const std::filesystem::path& path) : named_(path.string()) {
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd_ < 0) {
      result_ = Failure(DataFileError::kOpenFailed, named_ + ": cannot open: " + ErrnoText());
      return;
    }
    struct stat info {};
    if (::fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode)) {
      result_ = Failure(DataFileError::kOpenFailed, named_ + ": not a regular file");
      return;
    }
    bytes_ = static_cast<std::uint64_t>(info.st_size);
    if (::flock(fd_, LOCK_SH | LOCK_NB) != 0) {
      result_ = Failure(DataFileError::kOpenFailed,
                        named_ + ": in use by a running recording; try again after it ends");
    }
  }
  ~JournalReader() {
    if (fd_ >= 0) ::close(fd_);
  }
  JournalReader(const JournalReader&) = delete;
  JournalReader& operator=(const JournalReader&) = delete;

  const DataFileResult& status() const { return result_; }
  int fd() const { return fd_; }
  std::uint64_t bytes() const { return bytes_; }  // the file's size when it was opened

  // Whether the file starts with the journal's header (read without moving the file offset).
  bool HasHeader() const {
    char magic[kMagicBytes];
    return ::pread(fd_, magic, kMagicBytes, 0) == static_cast<ssize_t>(kMagicBytes) &&
           std::memcmp(magic, kMagic, kMagicBytes) == 0;
  }
  const std::string& named() const { return named_; }

 private:
  std::string named_;
  int fd_ = -1;
  std::uint64_t bytes_ = 0;
  DataFileResult result_;
};

// Reads entries one by one; stops at the end or at the first entry that is incomplete, longer
// than the bytes left in the file, or does not match its checksum.
class EntryStream {
 public:
  EntryStream(std::istream& in, std::uint64_t fileBytes) : in_(in), fileBytes_(fileBytes) {}

  bool ReadMagic() {
    char magic[kMagicBytes];
    if (!in_.read(magic, kMagicBytes) || std::memcmp(magic, kMagic, kMagicBytes) != 0) {
      return false;
    }
    kept_ = kMagicBytes;
    return true;
  }

  // False at the end; `torn()` tells whether the end was a damaged entry.
  bool Next(std::uint8_t& kind, std::string& payload) {
    char head[5];
    in_.read(head, sizeof head);
    if (in_.gcount() == 0) return false;
    std::uint32_t length = 0;
    std::memcpy(&length, head, 4);
    kind = static_cast<std::uint8_t>(head[4]);
    if (in_.gcount() != sizeof head || length > kMaxPayloadBytes) return Torn();
    // The length is checked against what the file holds before anything is allocated.
    if (kept_ + kEntryOverhead + length > fileBytes_) return Torn();
    payload.resize(length);
    std::uint32_t stored = 0;
    if (!in_.read(payload.data(), length) ||
        !in_.read(reinterpret_cast<char*>(&stored), sizeof stored)) {
      return Torn();
    }
    if (Crc32(payload.data(), payload.size(), Crc32(head, sizeof head)) != stored) return Torn();
    kept_ += kEntryOverhead + length;
    return true;
  }

  bool torn() const { return torn_; }
  std::uint64_t kept() const { return kept_; }

 private:
  bool Torn() {
    torn_ = true;
    return false;
  }

  std::istream& in_;
  std::uint64_t fileBytes_;
  bool torn_ = false;
  std::uint64_t kept_ = 0;
};

// Takes the sensor table, LED list and log of a table entry; the records stay.
bool ApplyTable(Ctintrose_mfDoc& document, const std::string& payload) {
  const std::array<int32_t, kMaxSensors> counts = document.recordCount;
  std::istringstream in(payload, std::ios::binary);
  if (!LoadDataFile(document, in).ok()) return false;
  document.recordCount = counts;
  return true;
}

// Puts the records of a pass entry in their places; false for an entry that does not fit.
bool ApplyPass(Ctintrose_mfDoc& document, const std::string& payload) {
  const char* at = payload.data();
  const char* end = at + payload.size();
  int32_t records = 0;
  if (!Take(at, end, records)) return false;
  for (int32_t i = 0; i < records; ++i) {
    int32_t sensor = 0, record = 0, exposure = 0, pixels = 0;
    int64_t time = 0;
    float temperature = 0;
    if (!Take(at, end, sensor) || !Take(at, end, record) || !Take(at, end, time) ||
        !Take(at, end, exposure) || !Take(at, end, temperature) || !Take(at, end, pixels)) {
      return false;
    }
    const auto bytes = static_cast<std::size_t>(pixels) * sizeof(float);
    if (sensor < 0 || sensor >= document.sensorTable.sensorCount || pixels < 0 ||
        pixels > kMaxPixels || record < 0 || record >= kMaxCommittedRecords ||
        static_cast<std::size_t>(end - at) < 2 * bytes) {
      return false;
    }
    int32_t& count = document.recordCount[static_cast<std::size_t>(sensor)];
    if (record > count) return false;  // a gap: not from this journal's order
    RecordSlot& slot = document.Record(sensor, record);
    RecordSpectra& spectra = document.EnsureSpectra(sensor, record);
    slot.recordExposureUs = exposure;
    slot.recordTemperature = temperature;
    std::memcpy(spectra.rawSpectrum.data(), at, bytes);
    std::memcpy(spectra.processedSpectrum.data(), at + bytes, bytes);
    at += 2 * bytes;
    document.RecordTime(record) = time;
    if (record == count) ++count;
  }
  return true;
}

}  // namespace

std::filesystem::path DefaultJournalFolder() {
  if (auto own = UserDataFolder()) return *own / "journals";
  return TemporaryFolder().value_or(".") / "chromiva-journals";
}

RecordJournal::RecordJournal(std::filesystem::path folder) : folder_(std::move(folder)) {}

RecordJournal::~RecordJournal() {
  StopSyncing();
  if (fd_ >= 0) ::close(fd_);
}

void RecordJournal::RequestSync() {
  if (!syncer_.joinable()) {
    syncStop_ = false;
    try {
      syncer_ = std::thread([this, fd = fd_] {
        std::unique_lock<std::mutex> lock(syncMutex_);
        for (;;) {
          syncWake_.wait(lock, [this] { return syncWanted_ || syncStop_; });
          if (syncStop_) return;
          syncWanted_ = false;
          lock.unlock();
          ::fdatasync(fd);
          lock.lock();
        }
      });
    } catch (const std::system_error&) {
      ::fdatasync(fd_);  // no thread to be had: sync here
      return;
    }
  }
  std::lock_guard<std::mutex> lock(syncMutex_);
  syncWanted_ = true;
  syncWake_.notify_one();
}

void RecordJournal::StopSyncing() {
  if (!syncer_.joinable()) return;
  {
    std::lock_guard<std::mutex> lock(syncMutex_);
    syncStop_ = true;
  }
  syncWake_.notify_one();
  syncer_.join();
  syncWanted_ = false;
}

bool RecordJournal::Open() {
  std::error_code made;
  std::filesystem::create_directories(folder_, made);
  path_ = folder_ / NewJournalName();
  fd_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_APPEND | O_CLOEXEC, 0600);
  if (fd_ < 0) {
    error_ = "cannot create the journal " + path_.string() + ": " + ErrnoText();
    path_.clear();
    return false;
  }
  ::flock(fd_, LOCK_EX | LOCK_NB);  // tells readers that a recording still writes it
  lastSync_ = std::chrono::steady_clock::now();
  if (::write(fd_, kMagic, kMagicBytes) != static_cast<ssize_t>(kMagicBytes)) {
    error_ = "cannot write the journal " + path_.string() + ": " + ErrnoText();
    Finish();
    return false;
  }
  return true;
}

bool RecordJournal::WriteEntry(std::uint8_t kind, const std::string& payload) {
  std::string entry;
  entry.reserve(payload.size() + kEntryOverhead);
  Append(entry, static_cast<std::uint32_t>(payload.size()));
  Append(entry, kind);
  entry += payload;
  Append(entry, Crc32(entry.data(), entry.size()));
  const off_t before = ::lseek(fd_, 0, SEEK_END);
  const char* at = entry.data();
  std::size_t left = entry.size();
  while (left > 0) {
    const ssize_t written = ::write(fd_, at, left);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      if (written == 0) errno = ENOSPC;
      error_ = "cannot write the journal " + path_.string() + ": " + ErrnoText();
      // Cut back to the last whole entry, so that later entries still follow a sound one.
      if (before >= 0 && ::ftruncate(fd_, before) != 0) error_ += " (and cannot cut it back)";
      return false;
    }
    at += written;
    left -= static_cast<std::size_t>(written);
  }
  const auto now = std::chrono::steady_clock::now();
  if (now - lastSync_ >= std::chrono::seconds(1)) {
    RequestSync();
    lastSync_ = now;
  }
  return true;
}

bool RecordJournal::TableChanged(const Ctintrose_mfDoc& document) const {
  if (!writtenTable_) return true;
  const SensorTable& now = document.sensorTable;
  const SensorTable& was = *writtenTable_;
  if (now.sensorCount != was.sensorCount || now.ledCount != was.ledCount ||
      now.ledChannels != was.ledChannels || now.ledValues != was.ledValues ||
      document.operationLog != writtenLog_) {
    return true;
  }
  for (int k = 0; k < now.sensorCount && k < kMaxSensors; ++k) {
    const auto at = static_cast<std::size_t>(k);
    if (!SameSensor(now.sensors[at], was.sensors[at])) return true;
  }
  return false;
}

bool RecordJournal::AppendCommittedPasses(const Ctintrose_mfDoc& document) {
  const int sensors = std::clamp(document.sensorTable.sensorCount, 0, kMaxSensors);
  for (int k = 0; k < sensors; ++k) {
    if (document.recordCount[static_cast<std::size_t>(k)] < journaled_[static_cast<std::size_t>(k)])
      Finish();  // records cleared without Finish: at least start afresh
  }
  if (fd_ < 0 && !Open()) return false;
  if (TableChanged(document)) {
    std::ostringstream table(std::ios::binary);
    detail::StreamSink sink(table);
    if (!detail::StoreDataFile(document, sink, detail::Records::kNone).ok() ||
        !WriteEntry(kTableEntry, table.str())) {
      if (error_.empty()) error_ = "the sensor table could not be stored in the journal";
      return false;
    }
    writtenTable_ = std::make_unique<SensorTable>(document.sensorTable);
    writtenLog_ = document.operationLog;
  }
  std::string pass;
  int32_t records = 0;
  Append(pass, records);
  for (int k = 0; k < sensors; ++k) {
    const auto at = static_cast<std::size_t>(k);
    const int32_t pixels = std::clamp(document.Sensor(k).pixelCount, 0, kMaxPixels);
    const auto bytes = static_cast<std::size_t>(pixels) * sizeof(float);
    for (int32_t r = journaled_[at]; r < document.recordCount[at]; ++r) {
      const RecordSlot& slot = document.Record(k, r);
      Append(pass, static_cast<int32_t>(k));
      Append(pass, r);
      Append(pass, document.RecordTime(r));
      Append(pass, slot.recordExposureUs);
      Append(pass, slot.recordTemperature);
      Append(pass, pixels);
      const std::size_t start = pass.size();
      pass.resize(start + 2 * bytes);
      if (slot.spectra) {
        std::memcpy(pass.data() + start, slot.spectra->rawSpectrum.data(), bytes);
        std::memcpy(pass.data() + start + bytes, slot.spectra->processedSpectrum.data(), bytes);
      }
      ++records;
    }
  }
  if (records == 0) return true;
  std::memcpy(pass.data(), &records, sizeof records);
  if (!WriteEntry(kPassEntry, pass)) return false;
  for (int k = 0; k < sensors; ++k) {
    journaled_[static_cast<std::size_t>(k)] = document.recordCount[static_cast<std::size_t>(k)];
  }
  return true;
}

int32_t RecordJournal::RecordsKept(int sensor) const {
  if (fd_ < 0 || sensor < 0 || sensor >= kMaxSensors) return 0;
  return journaled_[static_cast<std::size_t>(sensor)];
}

void RecordJournal::Finish() {
  StopSyncing();
  if (fd_ >= 0) {
    ::unlink(path_.c_str());
    ::close(fd_);
  }
  fd_ = -1;
  path_.clear();
  journaled_.fill(0);
  writtenTable_.reset();
  writtenLog_.clear();
}

std::vector<JournalInfo> ListJournals(const std::filesystem::path& folder) {
  std::vector<JournalInfo> journals;
  std::error_code error;
  std::filesystem::directory_iterator entries(folder, error);
  for (; !error && entries != std::filesystem::directory_iterator(); entries.increment(error)) {
    const std::filesystem::path& path = entries->path();
    if (path.extension() != kExtension) continue;
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) continue;
    JournalReader reader(path);
    journals.push_back({path, reader.status().ok() ? false : reader.fd() >= 0,
                        static_cast<std::uintmax_t>(info.st_size), info.st_mtime});
  }
  std::sort(journals.begin(), journals.end(),
            [](const JournalInfo& a, const JournalInfo& b) { return a.modified < b.modified; });
  return journals;
}

JournalRecovery RecoverJournal(const std::filesystem::path& path, Ctintrose_mfDoc& document) {
  JournalRecovery recovery;
  JournalReader reader(path);
  if (!reader.status().ok()) {
    recovery.result = reader.status();
    return recovery;
  }
  detail::FdInputBuffer buffer(reader.fd());
  std::istream in(&buffer);
  EntryStream entries(in, reader.bytes());
  if (!entries.ReadMagic()) {
    recovery.result = Failure(DataFileError::kTruncated, reader.named() + ": not a journal");
    return recovery;
  }
  document.ClearRecords();
  bool haveTable = false;
  std::uint8_t kind = 0;
  std::string payload;
  while (entries.Next(kind, payload)) {
    const bool applied = kind == kTableEntry  ? ApplyTable(document, payload)
                         : kind == kPassEntry ? haveTable && ApplyPass(document, payload)
                                              : false;
    if (!applied) {
      recovery.tornTail = true;  // a whole entry that does not fit: keep what came before it
      break;
    }
    if (kind == kTableEntry) haveTable = true;
    if (kind == kPassEntry) ++recovery.passes;
    recovery.keptBytes = entries.kept();
  }
  recovery.tornTail = recovery.tornTail || entries.torn();
  if (buffer.error() != 0) {
    recovery.result = Failure(DataFileError::kReadFailed,
                              reader.named() + ": cannot read: " + std::strerror(buffer.error()));
  } else if (!haveTable) {
    recovery.result =
        Failure(DataFileError::kTruncated, reader.named() + ": the journal holds no sensor table");
  }
  return recovery;
}

DataFileResult DiscardJournal(const std::filesystem::path& path) {
  JournalReader reader(path);
  if (!reader.status().ok()) return reader.status();
  if (!reader.HasHeader()) {
    return Failure(DataFileError::kTruncated,
                   reader.named() + ": not a journal (no journal header); it is left as it is");
  }
  if (::unlink(path.c_str()) != 0) {
    return Failure(DataFileError::kWriteFailed, reader.named() + ": cannot remove: " + ErrnoText());
  }
  return {};
}

}  // namespace chromiva::data
