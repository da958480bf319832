#include "chromiva/data/tidy_csv.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <ostream>
#include <system_error>
#include <vector>

#include "chromiva/data/processing.h"
#include "chromiva/data/text_codec.h"

namespace chromiva::data {
namespace {

CsvResult Refuse(CsvError error, std::string message) {
  return CsvResult{error, std::move(message), false, {}};
}

// A field as CSV: quoted when it holds a comma, a quote or a line end.
std::string CsvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}
}  // namespace

CsvResult CheckTidyExport(const Ctintrose_mfDoc& document, const CsvSettings& settings, int sensor,
                          CsvRange range) {
  if (settings.csvStepNm < 1) return Refuse(CsvError::kBadStep, "the wavelength step is below 1");
  if (settings.csvTarget != kCsvLightSource && settings.csvTarget != kCsvRatio) {
    return Refuse(CsvError::kBadTarget, "the tidy format exports records only");
  }
  if (sensor < 0 || sensor >= std::min(document.sensorTable.sensorCount, kMaxSensors)) {
    return Refuse(CsvError::kBadSensor, "no sensor in slot " + std::to_string(sensor));
  }
  if (range.first < 0 || range.end < range.first || range.end > kRecordSlots) {
    return Refuse(CsvError::kBadRange, "the records are out of range");
  }
  for (int r = range.first; r < range.end; ++r) {
    if (!document.Record(sensor, r).spectra) {
      return Refuse(CsvError::kMissingRecord, "record " + std::to_string(r + 1) + " has no data");
    }
  }
  return {};
}

std::vector<int> TidyWavelengths(const CsvSettings& settings) {
  const CsvGrid grid = ClampCsvGrid({settings.csvStartNm, settings.csvEndNm, settings.csvStepNm});
  std::vector<int> wavelengths;
  for (int nm = grid.startNm; nm <= grid.endNm; nm += grid.stepNm) {
    wavelengths.push_back(nm);
    if (grid.stepNm > grid.endNm - nm) break;
  }
  return wavelengths;
}

bool HasRecordTimes(const Ctintrose_mfDoc& document, CsvRange range) {
  for (int r = range.first; r < range.end; ++r) {
    if (document.RecordTime(r) != 0) return true;
  }
  return false;
}

// "YYYY-MM-DD,HH:MM:SS" in local time, or "," when the time is unknown.
std::string TidyDateAndTime(int64_t recordTime, bool known) {
  if (!known) return ",";
  const auto t = static_cast<std::time_t>(recordTime);
  std::tm local{};
  char text[32] = ",";
  if (localtime_r(&t, &local) != nullptr)
    std::strftime(text, sizeof text, "%Y-%m-%d,%H:%M:%S", &local);
  return text;
}

CsvResult WriteTidyCsv(Ctintrose_mfDoc& document, ProcessingState& state,
                       const CsvSettings& settings, int sensor, CsvRange range, bool timesKnown,
                       std::ostream& out) {
  if (CsvResult checked = CheckTidyExport(document, settings, sensor, range); !checked.ok()) {
    return checked;
  }
  const std::vector<int> grid = TidyWavelengths(settings);
  const std::string serial = CsvField(DisplayText(document.Sensor(sensor).serialNo));
  const auto& outputs = state.outputs[static_cast<std::size_t>(sensor)];
  const GridArray& values =
      settings.csvTarget == kCsvRatio ? outputs.ratioSpectrum : outputs.displaySpectrum;
  out << kTidyHeader << '\n';
  std::string line;
  char numbers[96];
  for (int r = range.first; r < range.end; ++r) {
    CorrectRecord(document, state, sensor, r);
    ResampleRecord(document, state, sensor, r);
    const RecordSlot& slot = document.Record(sensor, r);
    const std::string prefix = std::to_string(r + 1) + "," + serial + "," +
                               TidyDateAndTime(document.RecordTime(r), timesKnown) + ",";
    std::snprintf(numbers, sizeof numbers, "%.1f,%d", static_cast<double>(slot.recordTemperature),
                  static_cast<int>(slot.recordExposureUs / 1000));
    for (int nm : grid) {
      char value[48];
      std::snprintf(value, sizeof value, "%d,%.1f,", nm,
                    static_cast<double>(values[static_cast<std::size_t>(nm - kGridStartNm)]));
      line += prefix;
      line += value;
      line += numbers;
      line += '\n';
    }
    out.write(line.data(), static_cast<std::streamsize>(line.size()));
    line.clear();
  }
  if (!out.flush()) return Refuse(CsvError::kWriteFailed, "the export could not be written");
  CsvResult result;
  result.written = true;
  return result;
}

CsvResult WriteTidyCsvFile(Ctintrose_mfDoc& document, ProcessingState& state,
                           const CsvSettings& settings, int sensor, CsvRange range,
                           const std::filesystem::path& path, bool timesKnown) {
  if (CsvResult checked = CheckTidyExport(document, settings, sensor, range); !checked.ok()) {
    return checked;
  }
  std::filesystem::path part = path;
  part += ".part" + std::to_string(getpid());
  CsvResult result;
  {
    std::ofstream out(part, std::ios::binary | std::ios::trunc);
    if (!out) return Refuse(CsvError::kOpenFailed, "cannot write " + path.string());
    result = WriteTidyCsv(document, state, settings, sensor, range, timesKnown, out);
    out.close();
    if (result.ok() && !out)
      result = Refuse(CsvError::kWriteFailed, "cannot write " + path.string());
  }
  std::error_code error;
  if (result.ok()) std::filesystem::rename(part, path, error);
  if (error)
    result =
        Refuse(CsvError::kWriteFailed, "cannot write " + path.string() + ": " + error.message());
  if (!result.ok()) std::filesystem::remove(part, error);
  result.path = path;
  return result;
}
}  // namespace chromiva::data
