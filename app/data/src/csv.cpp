#include "chromiva/data/csv.h"

#include <algorithm>
#include <charconv>
#include <ostream>
#include <vector>

#include "atomic_file.h"
#include "csv_number.h"

namespace chromiva::data {

namespace {

using detail::AppendFixed;
using detail::AppendInteger;

constexpr const char* kLineEnd = "\r\n";
constexpr std::size_t kFlushBytes = 1 << 20;

CsvResult Refuse(CsvError error, std::string message) {
  return CsvResult{error, std::move(message), false, {}};
}

bool IsRecordTarget(int target) {
  return target == kCsvLightSource || target == kCsvRatio;
}

std::vector<int> GridWavelengths(const CsvGrid& grid) {
  std::vector<int> wavelengths;
  if (grid.stepNm < 1) return wavelengths;
  // Stops before a step past the end, so that a large step never overflows.
  for (int nm = grid.startNm; nm <= grid.endNm; nm += grid.stepNm) {
    wavelengths.push_back(nm);
    if (grid.stepNm > grid.endNm - nm) break;
  }
  return wavelengths;
}

const PixelTable& ReferenceTable(const SensorEntry& sensor, int target) {
  return target == kCsvWhiteReference ? sensor.whiteTable : sensor.transmissionTable;
}

std::size_t PixelsOf(const SensorEntry& sensor) {
  return static_cast<std::size_t>(UsablePixels(sensor));
}

// Everything one export needs, checked before any byte is written.
struct CsvJob {
  Ctintrose_mfDoc& document;
  ProcessingState& state;
  const CsvSettings& settings;
  int sensor;
  CsvRange range;
  std::vector<int> grid;
  std::ostream& out;
  std::string line;

  const SensorEntry& Sensor() const { return document.Sensor(sensor); }
  const RecordSlot& Record(int r) const { return document.Record(sensor, r); }
  void EndLine() {
    line += kLineEnd;
    if (line.size() >= kFlushBytes) Flush();
  }
  void Flush() {
    out.write(line.data(), static_cast<std::streamsize>(line.size()));
    line.clear();
  }
};

CsvResult Validate(const Ctintrose_mfDoc& document, const CsvSettings& settings, int sensor,
                   CsvRange range) {
  if (settings.csvStepNm < 1) return Refuse(CsvError::kBadStep, "the wavelength step is below 1");
  if (settings.csvTarget < kCsvLightSource || settings.csvTarget > kCsvTransmissionReference) {
    return Refuse(CsvError::kBadTarget, "unknown export target");
  }
  if (sensor < 0 || sensor >= std::min(document.sensorTable.sensorCount, kMaxSensors)) {
    return Refuse(CsvError::kBadSensor, "no sensor in slot " + std::to_string(sensor));
  }
  if (range.first < 0 || range.end < range.first || range.first >= kRecordSlots ||
      range.end > kRecordSlots) {
    return Refuse(CsvError::kBadRange, "records " + std::to_string(range.first) + " to " +
                                           std::to_string(range.end) + " are out of range");
  }
  if (!IsRecordTarget(settings.csvTarget)) return {};
  for (int r = range.first; r < range.end; ++r) {
    if (!document.Record(sensor, r).spectra) {
      return Refuse(CsvError::kMissingRecord, "record " + std::to_string(r + 1) + " has no data");
    }
  }
  return {};
}

// Processes record r and returns its grid values for the export target.
const GridArray& ProcessedGrid(CsvJob& job, int r) {
  CorrectRecord(job.document, job.state, job.sensor, r);
  ResampleRecord(job.document, job.state, job.sensor, r);
  const SensorOutputs& outputs = job.state.outputs[static_cast<std::size_t>(job.sensor)];
  return job.settings.csvTarget == kCsvRatio ? outputs.ratioSpectrum : outputs.displaySpectrum;
}

void AppendGridValues(CsvJob& job, const GridArray& values) {
  for (int nm : job.grid) {
    AppendFixed(job.line, values[static_cast<std::size_t>(nm - kGridStartNm)], 6, 1);
    job.line += ',';
  }
}

void AppendRecordExposure(std::string& line, const RecordSlot& slot) {
  AppendInteger(line, slot.recordExposureUs / 1000, 6);
  line += ',';
}

void AppendReferenceExposure(CsvJob& job) {
  const SensorEntry& sensor = job.Sensor();
  AppendFixed(job.line, ReferenceTable(sensor, job.settings.csvTarget)[PixelsOf(sensor)], 6, 0);
  job.line += ',';
}

void AppendTemperature(std::string& line, const RecordSlot& slot) {
  AppendFixed(line, slot.recordTemperature, 4, 1);
  line += ',';
}

// ------------------------------------------------------------- vertical layout

void AppendClockCell(std::string& line, int64_t recordTime, std::time_t midnight) {
  const auto t = static_cast<std::time_t>(recordTime);
  std::tm local{};
  if (localtime_r(&t, &local) == nullptr) local = std::tm{};
  const int64_t sinceMidnight = recordTime - static_cast<int64_t>(midnight);
  const int64_t hours = sinceMidnight / 3600 - (sinceMidnight / 86400) * 24;
  AppendInteger(line, hours, 2, true);
  line += ':';
  AppendInteger(line, local.tm_min, 2, true);
  line += ':';
  AppendInteger(line, local.tm_sec, 2, true);
  line += ',';
}

std::time_t LocalMidnightOf(int64_t recordTime) {
  const auto t = static_cast<std::time_t>(recordTime);
  std::tm local{};
  if (localtime_r(&t, &local) == nullptr) return 0;
  local.tm_hour = local.tm_min = local.tm_sec = 0;
  local.tm_isdst = -1;
  return std::mktime(&local);
}

void WriteDateAndTime(CsvJob& job) {
  const int64_t firstTime = job.document.RecordTime(job.range.first);
  job.line += "date," + FormatLocalTime(static_cast<std::time_t>(firstTime), "%Y/%m/%d");
  job.EndLine();
  const std::time_t midnight = LocalMidnightOf(firstTime);
  job.line += "time,";
  for (int r = job.range.first; r < job.range.end; ++r) {
    AppendClockCell(job.line, job.document.RecordTime(r), midnight);
  }
  job.EndLine();
}

void WriteVerticalTemperature(CsvJob& job) {
  if (job.settings.csvAddWave) job.line += "temp,";
  if (!IsRecordTarget(job.settings.csvTarget)) {
    job.line += ',';
  } else {
    for (int r = job.range.first; r < job.range.end; ++r)
      AppendTemperature(job.line, job.Record(r));
  }
  job.EndLine();
}

void WriteVerticalExposure(CsvJob& job) {
  if (job.settings.csvAddWave) job.line += "exposure,";
  if (!IsRecordTarget(job.settings.csvTarget)) {
    AppendReferenceExposure(job);
  } else {
    for (int r = job.range.first; r < job.range.end; ++r) {
      AppendRecordExposure(job.line, job.Record(r));
    }
  }
  job.EndLine();
}

void WriteVerticalRecords(CsvJob& job) {
  std::vector<std::string> lines(job.grid.size());
  const auto cellsPerLine = static_cast<std::size_t>(job.range.end - job.range.first);
  for (std::size_t g = 0; g < lines.size(); ++g) {
    lines[g].reserve(cellsPerLine * 7 + 8);
    if (job.settings.csvAddWave) {
      AppendInteger(lines[g], job.grid[g], 0);
      lines[g] += ',';
    }
  }
  for (int r = job.range.first; r < job.range.end; ++r) {
    const GridArray& values = ProcessedGrid(job, r);
    for (std::size_t g = 0; g < lines.size(); ++g) {
      AppendFixed(lines[g], values[static_cast<std::size_t>(job.grid[g] - kGridStartNm)], 6, 1);
      lines[g] += ',';
    }
  }
  for (std::string& text : lines) {
    job.line += text;
    std::string().swap(text);
    job.EndLine();
  }
}

void WriteVerticalReference(CsvJob& job) {
  const SensorEntry& sensor = job.Sensor();
  const PixelTable& table = ReferenceTable(sensor, job.settings.csvTarget);
  for (std::size_t p = 0; p < PixelsOf(sensor); ++p) {
    if (job.settings.csvAddWave) {
      AppendFixed(job.line, sensor.wavelengthTable[p], 6, 1);
      job.line += ',';
    }
    AppendFixed(job.line, table[p], 6, 1);
    job.line += ',';
    job.EndLine();
  }
}

void WriteVertical(CsvJob& job) {
  WriteDateAndTime(job);
  if (job.settings.csvAddTemp) WriteVerticalTemperature(job);
  if (job.settings.csvAddExp) WriteVerticalExposure(job);
  if (IsRecordTarget(job.settings.csvTarget)) {
    WriteVerticalRecords(job);
  } else {
    WriteVerticalReference(job);
  }
}

// ------------------------------------------------------------- row layout

void WriteRowHeader(CsvJob& job) {
  if (job.settings.csvAddTemp) job.line += "temp,";
  if (job.settings.csvAddExp) job.line += "exposure,";
  if (IsRecordTarget(job.settings.csvTarget)) {
    for (int nm : job.grid) {
      AppendInteger(job.line, nm, 6);
      job.line += ',';
    }
  } else {
    const SensorEntry& sensor = job.Sensor();
    for (std::size_t p = 0; p < PixelsOf(sensor); ++p) {
      AppendFixed(job.line, sensor.wavelengthTable[p], 6, 1);
      job.line += ',';
    }
  }
  job.EndLine();
}

void WriteRowRecords(CsvJob& job) {
  for (int r = job.range.first; r < job.range.end; ++r) {
    const RecordSlot& slot = job.Record(r);
    if (job.settings.csvAddTemp) AppendTemperature(job.line, slot);
    if (job.settings.csvAddExp) AppendRecordExposure(job.line, slot);
    AppendGridValues(job, ProcessedGrid(job, r));
    job.EndLine();
  }
}

void WriteRowReference(CsvJob& job) {
  const SensorEntry& sensor = job.Sensor();
  const PixelTable& table = ReferenceTable(sensor, job.settings.csvTarget);
  if (job.settings.csvAddTemp) job.line += ',';
  if (job.settings.csvAddExp) AppendReferenceExposure(job);
  for (std::size_t p = 0; p < PixelsOf(sensor); ++p) {
    AppendFixed(job.line, table[p], 6, 1);
    job.line += ',';
  }
  job.EndLine();
}

void WriteRows(CsvJob& job) {
  if (job.settings.csvAddWave) WriteRowHeader(job);
  if (IsRecordTarget(job.settings.csvTarget)) {
    WriteRowRecords(job);
  } else {
    WriteRowReference(job);
  }
}

}  // namespace

CsvGrid ClampCsvGrid(CsvGrid grid) {
  if (grid.startNm < kGridStartNm) grid.startNm = kGridStartNm;
  if (grid.endNm > kGridEndNm) grid.endNm = kGridEndNm;
  if (grid.startNm > kGridEndNm) grid.startNm = kGridEndNm;
  if (grid.endNm < kGridStartNm) grid.endNm = grid.startNm;
  if (grid.endNm < grid.startNm) grid.endNm = grid.startNm;
  return grid;
}

CsvResult WriteCsv(Ctintrose_mfDoc& document, ProcessingState& state, const CsvSettings& settings,
                   int sensor, CsvRange range, std::ostream& out) {
  if (CsvResult checked = Validate(document, settings, sensor, range); !checked.ok()) {
    return checked;
  }
  const CsvGrid grid = ClampCsvGrid({settings.csvStartNm, settings.csvEndNm, settings.csvStepNm});
  CsvJob job{document, state, settings, sensor, range, GridWavelengths(grid), out, {}};
  if (settings.csvVertical) {
    WriteVertical(job);
  } else {
    WriteRows(job);
  }
  job.Flush();
  if (!out.flush()) return Refuse(CsvError::kWriteFailed, "the export could not be written");
  CsvResult result;
  result.written = true;
  return result;
}

CsvResult WriteCsvFile(Ctintrose_mfDoc& document, ProcessingState& state,
                       const CsvSettings& settings, int sensor, CsvRange range,
                       const std::filesystem::path& path) {
  if (CsvResult checked = Validate(document, settings, sensor, range); !checked.ok()) {
    return checked;
  }
  detail::AtomicFileWriter file(path);
  if (!file.Open()) return Refuse(CsvError::kOpenFailed, file.error());
  CsvResult result = WriteCsv(document, state, settings, sensor, range, file.stream());
  if (result.ok() && !file.Commit(false)) {
    result = Refuse(CsvError::kWriteFailed, file.error());
  }
  result.path = path;
  return result;
}

std::string AutoSaveCsvName(const CsvSettings& settings, int record, std::time_t now) {
  switch (settings.csvAutoMode) {
    case kCsvFixedName:
      return settings.csvFixedName;
    case kCsvTimeName:
      return FormatLocalTime(now, "%Y%m%d_%H%M%S.csv");
    case kCsvNumberName:
      return "No" + std::to_string(record) + ".csv";
    default:
      return {};
  }
}

CsvResult AutoSaveCsv(Ctintrose_mfDoc& document, ProcessingState& state,
                      const CsvSettings& settings, int record, std::time_t now) {
  if (record < 0 || record >= kRecordSlots) {
    return Refuse(CsvError::kBadRange, "record " + std::to_string(record) + " is out of range");
  }
  document.RecordTime(record) = static_cast<int64_t>(now);
  const std::string name = AutoSaveCsvName(settings, record, now);
  if (name.empty()) return {};
  const std::filesystem::path path = std::filesystem::path(settings.csvFolder) / name;
  return WriteCsvFile(document, state, settings, settings.csvSensor, {record, record + 1}, path);
}

int ParseDialogInteger(std::string_view text) {
  const auto begin = text.find_first_not_of(" \t");
  const auto end = text.find_last_not_of(" \t");
  if (begin == std::string_view::npos) return 0;
  std::string_view digits = text.substr(begin, end - begin + 1);
  if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
  int value = 0;
  const auto [ptr, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (error != std::errc() || ptr != digits.data() + digits.size()) return 0;
  return value;
}

std::string WithCsvSuffix(std::string name) {
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  std::string tail = name.size() >= 4 ? name.substr(name.size() - 4) : std::string();
  std::transform(tail.begin(), tail.end(), tail.begin(), lower);
  if (tail != ".csv") name += ".csv";
  return name;
}

}  // namespace chromiva::data
