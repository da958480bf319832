// The tidy CSV export for analysis tools: a header line, then one row per record and
// wavelength, in UTF-8, readable by any CSV reader without options.
#pragma once

#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

#include "chromiva/data/csv.h"

namespace chromiva::data {

// The header line's columns, in order.
inline constexpr const char* kTidyHeader =
    "data_number,sensor_serial,date,time,wavelength_nm,value,temperature_c,exposure_ms";

// The wavelengths of the rows of one record: the settings' grid clamped into 340 to 850 nm.
std::vector<int> TidyWavelengths(const CsvSettings& settings);

// Refuses a step below 1, a target other than 0 and 1, a sensor slot the document does not
// have, a range outside the record slots and a record without data; kNone otherwise.
CsvResult CheckTidyExport(const Ctintrose_mfDoc& document, const CsvSettings& settings, int sensor,
                          CsvRange range);

// Whether any record of `range` carries a time (records of a loaded data file carry none).
bool HasRecordTimes(const Ctintrose_mfDoc& document, CsvRange range);

// "YYYY-MM-DD,HH:MM:SS" of `recordTime` in local time, or "," when the time is unknown.
std::string TidyDateAndTime(int64_t recordTime, bool known);

// Rows for records range.first .. range.end - 1 of `sensor` on the settings' grid, with values
// processed as the original format's (targets 0 and 1 only). Date and time (local) are left
// empty unless `timesKnown`.
CsvResult WriteTidyCsv(Ctintrose_mfDoc& document, ProcessingState& state,
                       const CsvSettings& settings, int sensor, CsvRange range, bool timesKnown,
                       std::ostream& out);

// Same, into a file that replaces `path` only when complete.
CsvResult WriteTidyCsvFile(Ctintrose_mfDoc& document, ProcessingState& state,
                           const CsvSettings& settings, int sensor, CsvRange range,
                           const std::filesystem::path& path, bool timesKnown);

}  // namespace chromiva::data
