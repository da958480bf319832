#include "chromiva/data/data_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <optional>
#include <vector>

#include "atomic_file.h"
#include "byte_io.h"
#include "chromiva/data/text_codec.h"
#include "data_file_parts.h"
#include "fd_input.h"
#include "prefaulter.h"
#include "store_switches.h"

namespace chromiva::data {

namespace {

using detail::ByteReader;
using detail::ByteWriter;

constexpr std::uint64_t kMaxTextLength = 0x7FFFFFFF;
constexpr std::size_t kTextChunkBytes = detail::kReadChunkBytes;
// Below 2 MiB of records, committing ahead is not worth a thread.
constexpr std::size_t kPrefaultMinBytes = std::size_t{2} << 20;

DataFileResult Failure(DataFileError error, std::string message) {
  return DataFileResult{error, std::move(message), {}};
}

std::string SensorLabel(int sensor) {
  return "sensor " + std::to_string(sensor);
}

// ---------------------------------------------------------------- storing

std::optional<std::string> CheckDocumentCounts(const Ctintrose_mfDoc& document) {
  const SensorTable& table = document.sensorTable;
  if (table.sensorCount < 0 || table.sensorCount > kMaxSensors) return "sensor count";
  if (table.ledCount < 0 || table.ledCount > kMaxLedUnits) return "LED unit count";
  for (int k = 0; k < table.sensorCount; ++k) {
    const int pixels = document.Sensor(k).pixelCount;
    if (pixels < 0 || pixels > kMaxPixels) return "pixel count of " + SensorLabel(k);
    const int records = document.recordCount[static_cast<std::size_t>(k)];
    if (records < 0 || records > kMaxCommittedRecords) return "record count of " + SensorLabel(k);
  }
  for (int u = 0; u < table.ledCount; ++u) {
    const int channels = table.ledChannels[static_cast<std::size_t>(u)];
    if (channels < 0 || channels > kLedValueSlots)
      return "channel count of LED unit " + std::to_string(u);
  }
  return std::nullopt;
}

void PutText(ByteWriter& writer, const std::string& bytes) {
  const std::uint64_t n = bytes.size();
  if (n < 0xFF) {
    writer.Put(static_cast<std::uint8_t>(n));
  } else if (n < 0xFFFE) {
    writer.Put(std::uint8_t{0xFF});
    writer.Put(static_cast<std::uint16_t>(n));
  } else if (n < 0xFFFFFFFF) {
    writer.Put(std::uint8_t{0xFF});
    writer.Put(std::uint16_t{0xFFFF});
    writer.Put(static_cast<std::uint32_t>(n));
  } else {
    writer.Put(std::uint8_t{0xFF});
    writer.Put(std::uint16_t{0xFFFF});
    writer.Put(std::uint32_t{0xFFFFFFFF});
    writer.Put(n);
  }
  writer.PutBytes(bytes.data(), bytes.size());
}

void PutFloats(ByteWriter& writer, const float* values, int count) {
  const auto bytes = static_cast<std::size_t>(count) * sizeof(float);
  std::memcpy(writer.Reserve(bytes), values, bytes);
}

void PutSensor(ByteWriter& writer, const SensorEntry& sensor) {
  const int pixels = sensor.pixelCount;
  writer.Put(sensor.pixelCount);
  PutText(writer, sensor.kindName);
  PutText(writer, sensor.serialNo);
  writer.Put(sensor.exposureUs);
  for (double c : sensor.compBlock) writer.Put(c);
  for (const PixelArray& step : sensor.darkTables) PutFloats(writer, step.data(), pixels);
  PutFloats(writer, sensor.wavelengthTable.data(), pixels);
  for (int i = 0; i <= pixels; ++i) {
    const auto at = static_cast<std::size_t>(i);
    writer.Put(sensor.sensitivityTable[at]);
    writer.Put(sensor.whiteTable[at]);
    writer.Put(sensor.transmissionTable[at]);
  }
}

void PutLeds(ByteWriter& writer, const SensorTable& table) {
  writer.Put(table.ledCount);
  for (int u = 0; u < table.ledCount; ++u) {
    const auto at = static_cast<std::size_t>(u);
    writer.Put(table.ledChannels[at]);
    for (int c = 0; c < table.ledChannels[at]; ++c) {
      writer.Put(table.ledValues[at][static_cast<std::size_t>(c)]);
    }
  }
}

void PutRecord(ByteWriter& writer, const RecordSlot& slot, int pixels) {
  const auto pixelCount = static_cast<std::size_t>(pixels);
  char* at = writer.Reserve(8 + pixelCount * 8);
  std::memcpy(at, &slot.recordExposureUs, 4);
  std::memcpy(at + 4, &slot.recordTemperature, 4);
  if (!slot.spectra) {
    std::memset(at + 8, 0, pixelCount * 8);  // a committed record always has arrays; be safe
    return;
  }
  // Each pixel as a (raw, processed) pair; the bits move unchanged, so NaN payloads survive.
  for (std::size_t p = 0; p < pixelCount; ++p) {
    std::memcpy(at + 8 + p * 8, &slot.spectra->rawSpectrum[p], 4);
    std::memcpy(at + 12 + p * 8, &slot.spectra->processedSpectrum[p], 4);
  }
}

void PutRecords(ByteWriter& writer, const Ctintrose_mfDoc& document) {
  for (int k = 0; k < document.sensorTable.sensorCount; ++k) {
    const int records = document.recordCount[static_cast<std::size_t>(k)];
    const int pixels = document.Sensor(k).pixelCount;
    writer.Put(records);
    for (int r = 0; r < records; ++r) PutRecord(writer, document.Record(k, r), pixels);
  }
}

// ---------------------------------------------------------------- loading

struct LoadedContents {
  SensorTable table;
  std::array<std::vector<RecordSlot>, kMaxSensors> records;
  std::array<RecordArena, kMaxSensors> arenas;  // the loaded records' arrays
  std::string log;
};

class Loader {
 public:
  // `inputBytes`, when known, is the size of the input; it bounds the memory committed ahead.
  Loader(std::istream& in, std::optional<std::uint64_t> inputBytes)
      : reader_(in), inputBytes_(inputBytes) {}

  // The prefaulter must stop before `contents` releases its arenas; it stops here.
  DataFileResult Run(LoadedContents& contents) {
    SensorTable& table = contents.table;
    const bool ok = ReadCount(table.sensorCount, kMaxSensors, "sensor count") &&
                    ReadSensors(table) && ReadLeds(table) && ReadAllRecords(contents) &&
                    ReadText(contents.log, "operation log");
    prefaulter_.reset();
    if (!ok) return result_;
    DataFileResult done;
    done.warning = TrailingBytesWarning();
    return done;
  }

 private:
  bool Fail(DataFileError error, const std::string& message) {
    result_ = Failure(error, message + " (at byte " + std::to_string(reader_.offset()) + ")");
    return false;
  }

  bool Ended(const std::string& what) {
    if (reader_.readError()) return Fail(DataFileError::kReadFailed, "read error in " + what);
    return Fail(DataFileError::kTruncated, "the file ends inside the " + what);
  }

  template <typename T>
  bool Read(T& value, const std::string& what) {
    return reader_.Get(value) || Ended(what);
  }

  bool ReadFloats(float* values, int count, const std::string& what) {
    return reader_.GetBytes(reinterpret_cast<char*>(values),
                            static_cast<std::size_t>(count) * sizeof(float)) ||
           Ended(what);
  }

  bool ReadCount(int32_t& value, int32_t capacity, const std::string& what) {
    if (!Read(value, what)) return false;
    if (value >= 0 && value <= capacity) return true;
    return Fail(DataFileError::kCountBeyondCapacity, "the " + what + " " + std::to_string(value) +
                                                         " is outside 0 to " +
                                                         std::to_string(capacity));
  }

  // Bytes after the operation log are not part of the document; they are counted, not kept.
  std::string TrailingBytesWarning() {
    const std::uint64_t end = reader_.offset();
    const std::uint64_t extra = reader_.SkipToEnd();
    if (extra == 0) return {};
    return std::to_string(extra) + " byte(s) after the end of the operation log (at byte " +
           std::to_string(end) + ") were ignored";
  }

  bool ReadTextLength(std::uint64_t& length, bool allowWide, bool& wide, const std::string& what);
  bool ReadText(std::string& text, const std::string& what);
  bool ReadTextBytes(std::string& bytes, std::uint64_t count, const std::string& what);
  bool ReadSensors(SensorTable& table);
  bool ReadSensor(SensorEntry& sensor, int k);
  bool ReadLeds(SensorTable& table);
  bool ReadAllRecords(LoadedContents& contents);
  bool ReadRecord(RecordSlot& slot, RecordSpectra& place, int pixels);
  void PrefaultRecords(RecordArena& arena, int count, int pixels);

  ByteReader reader_;
  std::optional<std::uint64_t> inputBytes_;
  std::optional<detail::Prefaulter> prefaulter_;
  DataFileResult result_;
};

bool Loader::ReadTextLength(std::uint64_t& length, bool allowWide, bool& wide,
                            const std::string& what) {
  const std::string field = "length of the " + what;
  std::uint8_t byteLength = 0;
  if (!Read(byteLength, field)) return false;
  length = byteLength;
  if (byteLength < 0xFF) return true;
  std::uint16_t wordLength = 0;
  if (!Read(wordLength, field)) return false;
  if (wordLength == 0xFFFE && allowWide) {
    wide = true;
    return ReadTextLength(length, false, wide, what);
  }
  length = wordLength;
  if (wordLength < 0xFFFF) return true;
  std::uint32_t longLength = 0;
  if (!Read(longLength, field)) return false;
  length = longLength;
  if (longLength < 0xFFFFFFFF) return true;
  if (!Read(length, field)) return false;
  if (length <= kMaxTextLength) return true;
  return Fail(DataFileError::kTextTooLong, "the " + what + " claims " + std::to_string(length) +
                                               " characters, more than " +
                                               std::to_string(kMaxTextLength));
}

bool Loader::ReadTextBytes(std::string& bytes, std::uint64_t count, const std::string& what) {
  // Grows with the data actually present, so a false length cannot exhaust memory.
  bytes.clear();
  while (count > 0) {
    const std::size_t part = count < kTextChunkBytes ? count : kTextChunkBytes;
    const std::size_t before = bytes.size();
    bytes.resize(before + part);
    if (!reader_.GetBytes(bytes.data() + before, part)) return Ended(what);
    count -= part;
  }
  return true;
}

bool Loader::ReadText(std::string& text, const std::string& what) {
  std::uint64_t length = 0;
  bool wide = false;
  if (!ReadTextLength(length, true, wide, what)) return false;
  std::string bytes;
  if (!ReadTextBytes(bytes, wide ? length * 2 : length, what)) return false;
  if (!wide) {
    text = std::move(bytes);  // kept as it is, whatever its bytes
    return true;
  }
  std::optional<std::string> converted = Utf16LeToCp932(bytes);
  if (!converted) {
    return Fail(DataFileError::kTextNotConvertible,
                "the " + what + " is not UTF-16 text that Shift-JIS can hold");
  }
  text = std::move(*converted);
  return true;
}

bool Loader::ReadSensors(SensorTable& table) {
  for (int k = 0; k < table.sensorCount; ++k) {
    if (!ReadSensor(table.sensors[static_cast<std::size_t>(k)], k)) return false;
  }
  return true;
}

bool Loader::ReadSensor(SensorEntry& sensor, int k) {
  const std::string of = " of " + SensorLabel(k);
  if (!ReadCount(sensor.pixelCount, kMaxPixels, "pixel count" + of)) return false;
  if (!ReadText(sensor.kindName, "kind name" + of) || !ReadText(sensor.serialNo, "serial" + of) ||
      !Read(sensor.exposureUs, "exposure" + of)) {
    return false;
  }
  for (double& c : sensor.compBlock) {
    if (!Read(c, "wavelength coefficients" + of)) return false;
  }
  const int pixels = sensor.pixelCount;
  for (PixelArray& step : sensor.darkTables) {
    if (!ReadFloats(step.data(), pixels, "dark tables" + of)) return false;
  }
  if (!ReadFloats(sensor.wavelengthTable.data(), pixels, "wavelength table" + of)) return false;
  for (int i = 0; i <= pixels; ++i) {
    const auto at = static_cast<std::size_t>(i);
    if (!Read(sensor.sensitivityTable[at], "reference tables" + of) ||
        !Read(sensor.whiteTable[at], "reference tables" + of) ||
        !Read(sensor.transmissionTable[at], "reference tables" + of)) {
      return false;
    }
  }
  return true;
}

bool Loader::ReadLeds(SensorTable& table) {
  if (!ReadCount(table.ledCount, kMaxLedUnits, "LED unit count")) return false;
  for (int u = 0; u < table.ledCount; ++u) {
    const auto at = static_cast<std::size_t>(u);
    const std::string of = " of LED unit " + std::to_string(u);
    if (!ReadCount(table.ledChannels[at], kLedValueSlots, "channel count" + of)) return false;
    for (int c = 0; c < table.ledChannels[at]; ++c) {
      if (!Read(table.ledValues[at][static_cast<std::size_t>(c)], "values" + of)) return false;
    }
  }
  return true;
}

bool Loader::ReadRecord(RecordSlot& slot, RecordSpectra& place, int pixels) {
  const auto pixelCount = static_cast<std::size_t>(pixels);
  const char* at = reader_.View(8 + pixelCount * 8);
  if (at == nullptr) return false;
  std::memcpy(&slot.recordExposureUs, at, 4);
  std::memcpy(&slot.recordTemperature, at + 4, 4);
  for (std::size_t p = 0; p < pixelCount; ++p) {
    std::memcpy(&place.rawSpectrum[p], at + 8 + p * 8, 4);
    std::memcpy(&place.processedSpectrum[p], at + 12 + p * 8, 4);
  }
  std::fill(place.rawSpectrum.begin() + pixels, place.rawSpectrum.end(), 0.0f);
  std::fill(place.processedSpectrum.begin() + pixels, place.processedSpectrum.end(), 0.0f);
  slot.spectra = &place;
  return true;
}

// Commits the places of the records that the rest of the input can hold, on a helper thread
// ahead of the reading (the kernel clears fresh pages there, not in the reader's page faults);
// a count beyond the data present commits no more than the data would.
void Loader::PrefaultRecords(RecordArena& arena, int count, int pixels) {
  if (!detail::Switches().prefault) return;
  if (!inputBytes_ || *inputBytes_ <= reader_.offset()) return;
  const std::uint64_t recordBytes = 8 + 8 * static_cast<std::uint64_t>(pixels);
  const std::uint64_t fitting = (*inputBytes_ - reader_.offset()) / recordBytes;
  const auto present = static_cast<int>(std::min<std::uint64_t>(fitting, count));
  if (static_cast<std::size_t>(present) * sizeof(RecordSpectra) < kPrefaultMinBytes) return;
  if (!prefaulter_) prefaulter_.emplace();
  prefaulter_->Add(arena.Places(0, present));
}

bool Loader::ReadAllRecords(LoadedContents& contents) {
  for (int k = 0; k < contents.table.sensorCount; ++k) {
    const auto at = static_cast<std::size_t>(k);
    const std::string of = " of " + SensorLabel(k);
    int32_t count = 0;
    if (!ReadCount(count, kMaxCommittedRecords, "record count" + of)) return false;
    std::vector<RecordSlot>& records = contents.records[at];
    records.reserve(static_cast<std::size_t>(std::min(count, 4096)));  // grows with real data
    const int pixels = contents.table.sensors[at].pixelCount;
    PrefaultRecords(contents.arenas[at], count, pixels);
    for (int r = 0; r < count; ++r) {
      records.emplace_back();
      if (!ReadRecord(records.back(), *contents.arenas[at].Place(r), pixels)) {
        return Ended("record " + std::to_string(r + 1) + of);
      }
    }
  }
  return true;
}

void ApplyContents(Ctintrose_mfDoc& document, LoadedContents& contents) {
  SensorTable& target = document.sensorTable;
  const SensorTable& loaded = contents.table;
  target.sensorCount = loaded.sensorCount;
  for (int k = 0; k < loaded.sensorCount; ++k) {
    const auto at = static_cast<std::size_t>(k);
    target.sensors[at] = std::move(contents.table.sensors[at]);
    document.recordCount[at] = static_cast<int32_t>(contents.records[at].size());
    document.ReplaceRecords(k, contents.records[at], std::move(contents.arenas[at]));
  }
  target.ledCount = loaded.ledCount;
  for (int u = 0; u < loaded.ledCount; ++u) {
    const auto at = static_cast<std::size_t>(u);
    target.ledChannels[at] = loaded.ledChannels[at];
    std::copy_n(loaded.ledValues[at].begin(), loaded.ledChannels[at], target.ledValues[at].begin());
  }
  document.operationLog = std::move(contents.log);
}

}  // namespace

DataFileResult StoreDataFile(const Ctintrose_mfDoc& document, std::ostream& out) {
  detail::StreamSink sink(out);
  DataFileResult result = detail::StoreDataFile(document, sink);
  if (result.ok() && !out.flush()) {
    return Failure(DataFileError::kWriteFailed, "the data could not be written");
  }
  return result;
}

DataFileResult LoadDataFile(Ctintrose_mfDoc& document, std::istream& in) {
  return detail::LoadDataFile(document, in, std::nullopt);
}

DataFileResult SaveDataFile(Ctintrose_mfDoc& document, const std::filesystem::path& path) {
  DataFileResult result = detail::WriteDataFile(document, path);
  if (!result.ok()) return result;
  document.title = path.filename().string();
  document.modified = false;
  return result;
}

namespace detail {

DataFileResult StoreDataFile(const Ctintrose_mfDoc& document, ByteSink& sink, Records records) {
  if (std::optional<std::string> bad = CheckDocumentCounts(document)) {
    return Failure(DataFileError::kInconsistentDocument,
                   "the document's " + *bad + " is out of range; nothing written");
  }
  ByteWriter writer(sink);
  const SensorTable& table = document.sensorTable;
  writer.Put(table.sensorCount);
  for (int k = 0; k < table.sensorCount; ++k) PutSensor(writer, document.Sensor(k));
  PutLeds(writer, table);
  if (records == Records::kCommitted) {
    PutRecords(writer, document);
  } else {
    for (int k = 0; k < table.sensorCount; ++k) writer.Put(int32_t{0});
  }
  PutText(writer, document.operationLog);
  if (!writer.Finish())
    return Failure(DataFileError::kWriteFailed, "the data could not be written");
  return {};
}

DataFileResult WriteDataFile(const Ctintrose_mfDoc& document, const std::filesystem::path& path) {
  AtomicFileWriter file(path);
  if (!file.Open()) return Failure(DataFileError::kOpenFailed, file.error());
  DataFileResult result = StoreDataFile(document, file);
  if (!result.ok()) {
    if (result.error == DataFileError::kWriteFailed && !file.error().empty()) {
      result.message = file.error();
    }
    return result;
  }
  if (!file.Commit(true)) return Failure(DataFileError::kWriteFailed, file.error());
  return result;
}

DataFileResult LoadDataFile(Ctintrose_mfDoc& document, std::istream& in,
                            std::optional<std::uint64_t> inputBytes) {
  auto contents = std::make_unique<LoadedContents>();
  Loader loader(in, inputBytes);
  DataFileResult result = loader.Run(*contents);
  if (result.ok()) ApplyContents(document, *contents);
  return result;
}

}  // namespace detail

DataFileResult SaveBytesFile(const std::filesystem::path& path, std::string_view bytes) {
  detail::AtomicFileWriter file(path);
  if (!file.Open() || !file.Append(bytes.data(), bytes.size()) || !file.Commit(true)) {
    return Failure(DataFileError::kWriteFailed, file.error());
  }
  return {};
}

DataFileResult OpenDataFile(Ctintrose_mfDoc& document, const std::filesystem::path& path) {
  const std::string named = path.string();
  // Non-blocking, so that a FIFO is refused below instead of waiting for a writer.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    return Failure(DataFileError::kOpenFailed, named + ": cannot open: " + std::strerror(errno));
  }
  struct FdCloser {
    int fd;
    ~FdCloser() { ::close(fd); }
  } closer{fd};
  struct stat info {};
  if (::fstat(fd, &info) != 0) {
    return Failure(DataFileError::kOpenFailed, named + ": cannot open: " + std::strerror(errno));
  }
  if (!S_ISREG(info.st_mode)) {
    return Failure(DataFileError::kOpenFailed, named + ": not a regular file");
  }
  detail::FdInputBuffer buffer(fd);
  std::istream in(&buffer);
  DataFileResult result = detail::LoadDataFile(
      document, in, static_cast<std::uint64_t>(std::max<off_t>(info.st_size, 0)));
  if (!result.ok()) {
    if (buffer.error() != 0) {
      return Failure(DataFileError::kReadFailed,
                     named + ": cannot read: " + std::strerror(buffer.error()));
    }
    result.message = named + ": " + result.message;
    return result;
  }
  if (!result.warning.empty()) result.warning = named + ": " + result.warning;
  document.title = path.filename().string();
  document.modified = false;
  return result;
}

}  // namespace chromiva::data
