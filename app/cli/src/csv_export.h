// The CSV export that `export` and `measure --csv` share: its options, the CSV dialog's rules
// for the grid and the data numbers, and the writing in the original or the tidy format.
#pragma once

#include <optional>
#include <set>
#include <string>

#include "arguments.h"
#include "chromiva/data/csv.h"
#include "chromiva/data/document.h"
#include "chromiva/data/processing.h"

namespace chromiva::cli {

struct CsvExport {
  data::CsvSettings csv;
  data::ProcessingSettings processing;
  bool tidy = false;
};

// The options of the CSV export that every CSV command takes (valued, then flags).
inline const std::set<std::string> kCsvValuedOptions = {"--format", "--start",  "--end",
                                                        "--step",   "--target", "--layout"};
inline const std::set<std::string> kCsvFlagOptions = {"--no-wave", "--no-temp", "--no-exp"};

// Reads --format, --target, --mode (default 1 for the ratio target, else 0), --wave-comp,
// --layout and the --no-* flags, and checks the numbers of --start, --end, --step, --first and
// --last. Sets `error` and returns false for a bad value.
bool ReadCsvExport(const Arguments& arguments, CsvExport& csvExport, std::string& error);

// Sets the grid by the CSV dialog's rules and returns the records (0-based) of the data numbers
// --first to --last (default: all `records`); no value, and `refusal` set, when refused.
std::optional<data::CsvRange> ApplyGridAndRange(const Arguments& arguments, int records,
                                                CsvExport& csvExport, std::string& refusal);

// Writes `path` from the records `range` of `sensor` and says so on standard error. Records
// without times (those of a loaded data file) are said on standard error, with what the date
// and time lines then hold; the tidy format leaves their date and time empty. Returns the exit
// status.
int WriteCsvExport(data::Ctintrose_mfDoc& document, const CsvExport& csvExport, int sensor,
                   data::CsvRange range, const std::string& path);

}  // namespace chromiva::cli
