// The tidy CSV export for analysis tools: a header line, then one row per record and
// wavelength, in UTF-8, readable by any CSV reader without options.
#pragma once

#include <filesystem>
#include <iosfwd>

#include "chromiva/data/csv.h"

namespace chromiva::cli {

// The header line's columns, in order.
inline constexpr const char* kTidyHeader =
    "data_number,sensor_serial,date,time,wavelength_nm,value,temperature_c,exposure_ms";

// Rows for records range.first .. range.end - 1 of `sensor` on the settings' grid, with values
// processed as the original format's (targets 0 and 1 only). Date and time (local) are left
// empty unless `timesKnown`.
data::CsvResult WriteTidyCsv(data::Ctintrose_mfDoc& document, data::ProcessingState& state,
                             const data::CsvSettings& settings, int sensor, data::CsvRange range,
                             bool timesKnown, std::ostream& out);

// Same, into a file that replaces `path` only when complete.
data::CsvResult WriteTidyCsvFile(data::Ctintrose_mfDoc& document, data::ProcessingState& state,
                                 const data::CsvSettings& settings, int sensor,
                                 data::CsvRange range, const std::filesystem::path& path,
                                 bool timesKnown);

}  // namespace chromiva::cli
