#include "tidy_csv.h"

#include <unistd.h>

#include <cstdio>
#include <ctime>
#include <fstream>
#include <ostream>
#include <system_error>
#include <vector>

#include "chromiva/data/text_codec.h"

namespace chromiva::cli {
namespace {

data::CsvResult Refuse(data::CsvError error, std::string message) {
  return data::CsvResult{error, std::move(message), false, {}};
}

std::vector<int> Wavelengths(const data::CsvSettings& settings) {
  const data::CsvGrid grid =
      data::ClampCsvGrid({settings.csvStartNm, settings.csvEndNm, settings.csvStepNm});
  std::vector<int> wavelengths;
  for (int nm = grid.startNm; nm <= grid.endNm; nm += grid.stepNm) {
    wavelengths.push_back(nm);
    if (grid.stepNm > grid.endNm - nm) break;
  }
  return wavelengths;
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

// "YYYY-MM-DD,HH:MM:SS" in local time, or "," when the time is unknown.
std::string DateAndTime(int64_t recordTime, bool known) {
  if (!known) return ",";
  const auto t = static_cast<std::time_t>(recordTime);
  std::tm local{};
  char text[32] = ",";
  if (localtime_r(&t, &local) != nullptr)
    std::strftime(text, sizeof text, "%Y-%m-%d,%H:%M:%S", &local);
  return text;
}

data::CsvResult CheckRecords(const data::Ctintrose_mfDoc& document,
                             const data::CsvSettings& settings, int sensor, data::CsvRange range) {
  if (settings.csvStepNm < 1)
    return Refuse(data::CsvError::kBadStep, "the wavelength step is below 1");
  if (settings.csvTarget != data::kCsvLightSource && settings.csvTarget != data::kCsvRatio) {
    return Refuse(data::CsvError::kBadTarget, "the tidy format exports records only");
  }
  if (sensor < 0 || sensor >= std::min(document.sensorTable.sensorCount, data::kMaxSensors)) {
    return Refuse(data::CsvError::kBadSensor, "no sensor in slot " + std::to_string(sensor));
  }
  if (range.first < 0 || range.end < range.first || range.end > data::kRecordSlots) {
    return Refuse(data::CsvError::kBadRange, "the records are out of range");
  }
  for (int r = range.first; r < range.end; ++r) {
    if (!document.Record(sensor, r).spectra) {
      return Refuse(data::CsvError::kMissingRecord,
                    "record " + std::to_string(r + 1) + " has no data");
    }
  }
  return {};
}

}  // namespace

data::CsvResult WriteTidyCsv(data::Ctintrose_mfDoc& document, data::ProcessingState& state,
                             const data::CsvSettings& settings, int sensor, data::CsvRange range,
                             bool timesKnown, std::ostream& out) {
  if (data::CsvResult checked = CheckRecords(document, settings, sensor, range); !checked.ok()) {
    return checked;
  }
  const std::vector<int> grid = Wavelengths(settings);
  const std::string serial = CsvField(data::DisplayText(document.Sensor(sensor).serialNo));
  const auto& outputs = state.outputs[static_cast<std::size_t>(sensor)];
  const data::GridArray& values =
      settings.csvTarget == data::kCsvRatio ? outputs.ratioSpectrum : outputs.displaySpectrum;
  out << kTidyHeader << '\n';
  std::string line;
  char numbers[96];
  for (int r = range.first; r < range.end; ++r) {
    data::CorrectRecord(document, state, sensor, r);
    data::ResampleRecord(document, state, sensor, r);
    const data::RecordSlot& slot = document.Record(sensor, r);
    const std::string prefix = std::to_string(r + 1) + "," + serial + "," +
                               DateAndTime(document.RecordTime(r), timesKnown) + ",";
    std::snprintf(numbers, sizeof numbers, "%.1f,%d", static_cast<double>(slot.recordTemperature),
                  static_cast<int>(slot.recordExposureUs / 1000));
    for (int nm : grid) {
      char value[48];
      std::snprintf(value, sizeof value, "%d,%.1f,", nm,
                    static_cast<double>(values[static_cast<std::size_t>(nm - data::kGridStartNm)]));
      line += prefix;
      line += value;
      line += numbers;
      line += '\n';
    }
    out.write(line.data(), static_cast<std::streamsize>(line.size()));
    line.clear();
  }
  if (!out.flush()) return Refuse(data::CsvError::kWriteFailed, "the export could not be written");
  data::CsvResult result;
  result.written = true;
  return result;
}

data::CsvResult WriteTidyCsvFile(data::Ctintrose_mfDoc& document, data::ProcessingState& state,
                                 const data::CsvSettings& settings, int sensor,
                                 data::CsvRange range, const std::filesystem::path& path,
                                 bool timesKnown) {
  if (data::CsvResult checked = CheckRecords(document, settings, sensor, range); !checked.ok()) {
    return checked;
  }
  std::filesystem::path part = path;
  part += ".part" + std::to_string(getpid());
  data::CsvResult result;
  {
    std::ofstream out(part, std::ios::binary | std::ios::trunc);
    if (!out) return Refuse(data::CsvError::kOpenFailed, "cannot write " + path.string());
    result = WriteTidyCsv(document, state, settings, sensor, range, timesKnown, out);
    out.close();
    if (result.ok() && !out)
      result = Refuse(data::CsvError::kWriteFailed, "cannot write " + path.string());
  }
  std::error_code error;
  if (result.ok()) std::filesystem::rename(part, path, error);
  if (error)
    result = Refuse(data::CsvError::kWriteFailed,
                    "cannot write " + path.string() + ": " + error.message());
  if (!result.ok()) std::filesystem::remove(part, error);
  result.path = path;
  return result;
}

}  // namespace chromiva::cli
