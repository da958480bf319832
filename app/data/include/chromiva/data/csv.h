// CSV export of records and reference tables and its automatic save.
#pragma once

#include <ctime>
#include <filesystem>
#include <iosfwd>
#include <string>
#include <string_view>

#include "chromiva/data/document.h"
#include "chromiva/data/processing.h"

namespace chromiva::data {

enum CsvTarget {
  kCsvLightSource = 0,           // "光源データ": displaySpectrum of records
  kCsvRatio = 1,                 // "反射/透過データ": ratioSpectrum of records
  kCsvWhiteReference = 2,        // "反射基準データ": the white table
  kCsvTransmissionReference = 3  // "透過基準データ": the transmission table
};

enum CsvAutoMode { kCsvFixedName = 0, kCsvTimeName = 1, kCsvNumberName = 2 };

// The export settings held by the form (start values as on a first run).
struct CsvSettings {
  bool csvAuto = false;
  int csvAutoMode = kCsvFixedName;
  std::string csvFixedName = "output";
  std::string csvFolder;
  int csvStartNm = 340;
  int csvEndNm = 850;
  int csvStepNm = 10;
  int csvTarget = kCsvLightSource;
  bool csvAddWave = true;
  bool csvVertical = true;
  bool csvAddTemp = true;
  bool csvAddExp = true;
  int csvSensor = 0;
};

// Records first .. end - 1 (0-based).
struct CsvRange {
  int first = 0;
  int end = 0;
};

enum class CsvError {
  kNone,
  kBadStep,
  kBadSensor,
  kBadRange,
  kMissingRecord,
  kBadTarget,
  kOpenFailed,
  kWriteFailed
};

struct CsvResult {
  CsvError error = CsvError::kNone;
  std::string message;
  bool written = false;  // a file or stream received the export
  std::filesystem::path path;
  bool ok() const { return error == CsvError::kNone; }
};

struct CsvGrid {
  int startNm = 340;
  int endNm = 850;
  int stepNm = 10;
};

// Brings start and end into 340 to 850 nm with start <= end, as the dialog does.
CsvGrid ClampCsvGrid(CsvGrid grid);

// Writes the export with CR LF line ends. Records of targets 0 and 1 are processed with
// CorrectRecord and ResampleRecord under the current settings of `state`. Nothing is written
// when the step is below 1, the sensor or range is invalid or a record has no data.
CsvResult WriteCsv(Ctintrose_mfDoc& document, ProcessingState& state, const CsvSettings& settings,
                   int sensor, CsvRange range, std::ostream& out);

// Same, into a file that replaces `path` only when complete.
CsvResult WriteCsvFile(Ctintrose_mfDoc& document, ProcessingState& state,
                       const CsvSettings& settings, int sensor, CsvRange range,
                       const std::filesystem::path& path);

// File name of the automatic save for record n at time `now`; empty for an unknown mode.
std::string AutoSaveCsvName(const CsvSettings& settings, int record, std::time_t now);

// The automatic save after a finished pass: stamps record n with `now` and writes it for
// settings.csvSensor into csvFolder (the current directory when the folder is empty).
CsvResult AutoSaveCsv(Ctintrose_mfDoc& document, ProcessingState& state,
                      const CsvSettings& settings, int record, std::time_t now);

// An edit's text as a decimal integer; text that is not a number reads as 0.
int ParseDialogInteger(std::string_view text);

// Appends ".csv" unless the name already ends in it (in any letter case).
std::string WithCsvSuffix(std::string name);

}  // namespace chromiva::data
