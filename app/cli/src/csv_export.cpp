#include "csv_export.h"

#include <cstdio>

#include "chromiva/acquisition/dialogs/csv_dialog.h"
#include "chromiva/data/tidy_csv.h"
#include "commands.h"

namespace chromiva::cli {
namespace {

bool IsRecordTarget(int target) {
  return target == data::kCsvLightSource || target == data::kCsvRatio;
}

// The wavelengths and data numbers as whole numbers of a sensible size, before any arithmetic.
bool CheckGridOptions(const Arguments& arguments, std::string& error) {
  constexpr long kLimitNm = 100000;
  return IntegerOption(arguments, "--start", 0, -kLimitNm, kLimitNm, error) &&
         IntegerOption(arguments, "--end", 0, -kLimitNm, kLimitNm, error) &&
         IntegerOption(arguments, "--step", 1, 1, kLimitNm, error) &&
         IntegerOption(arguments, "--first", 1, 0, data::kRecordSlots, error) &&
         IntegerOption(arguments, "--last", 1, 0, data::kRecordSlots, error);
}

bool ReadFormat(const Arguments& arguments, CsvExport& csvExport, std::string& error) {
  const std::string format = arguments.Value("--format").value_or("original");
  if (format != "original" && format != "tidy") {
    error = "option --format takes original or tidy, not '" + format + "'";
    return false;
  }
  csvExport.tidy = format == "tidy";
  if (!csvExport.tidy) return true;
  if (!IsRecordTarget(csvExport.csv.csvTarget)) {
    error = "--format tidy exports records (--target 0 or 1)";
    return false;
  }
  for (const char* option : {"--layout", "--no-wave", "--no-temp", "--no-exp"}) {
    if (arguments.Has(option)) {
      error = std::string(option) + " applies to --format original only";
      return false;
    }
  }
  return true;
}

void NoteMissingTimes(const CsvExport& csvExport) {
  if (csvExport.tidy) {
    std::fprintf(stderr,
                 "note: the records carry no record times (data files keep none): the date and "
                 "time columns are empty; `measure --csv` writes them with the real times\n");
  } else if (csvExport.csv.csvVertical) {
    std::fprintf(stderr,
                 "note: the records carry no record times (data files keep none): the date and "
                 "time lines hold the clock's zero, 1970-01-01 00:00:00 UTC in local time, not "
                 "when the passes were taken; `measure --csv` writes them with the real times\n");
  }
}

}  // namespace

bool ReadCsvExport(const Arguments& arguments, CsvExport& csvExport, std::string& error) {
  if (!CheckGridOptions(arguments, error)) return false;
  auto target = IntegerOption(arguments, "--target", 0, 0, 3, error);
  // Percentages need a reference: without --mode, the ratio target means reflectance.
  const long defaultMode = target && *target == data::kCsvRatio ? data::kReflectance : 0;
  auto mode = IntegerOption(arguments, "--mode", defaultMode, 0, 2, error);
  if (!target || !mode) return false;
  std::string layout = arguments.Value("--layout").value_or("vertical");
  if (layout != "vertical" && layout != "rows") {
    error = "option --layout takes vertical or rows, not '" + layout + "'";
    return false;
  }
  data::CsvSettings& csv = csvExport.csv;
  csv.csvTarget = static_cast<int>(*target);
  csv.csvVertical = layout == "vertical";
  csv.csvAddWave = !arguments.Has("--no-wave");
  csv.csvAddTemp = !arguments.Has("--no-temp");
  csv.csvAddExp = !arguments.Has("--no-exp");
  csvExport.processing.measureMode = static_cast<int>(*mode);
  csvExport.processing.waveComp = arguments.Has("--wave-comp");
  csvExport.processing.skyBgdOn = false;
  return ReadFormat(arguments, csvExport, error);
}

std::optional<data::CsvRange> ApplyGridAndRange(const Arguments& arguments, int records,
                                                CsvExport& csvExport, std::string& refusal) {
  acquisition::dialogs::CsvDialogFields fields;
  fields.startNm = arguments.Value("--start").value_or("340");
  fields.endNm = arguments.Value("--end").value_or("850");
  fields.stepNm = arguments.Value("--step").value_or("10");
  fields.firstNumber = arguments.Value("--first").value_or("1");
  fields.lastNumber = arguments.Value("--last").value_or(std::to_string(records));
  auto outcome = acquisition::dialogs::ApplyCsvDialogOk(fields, records);
  if (!outcome.accepted) {
    refusal = outcome.refusal;
    return std::nullopt;
  }
  csvExport.csv.csvStartNm = outcome.grid.startNm;
  csvExport.csv.csvEndNm = outcome.grid.endNm;
  csvExport.csv.csvStepNm = outcome.grid.stepNm;
  return outcome.range;
}

int WriteCsvExport(data::Ctintrose_mfDoc& document, const CsvExport& csvExport, int sensor,
                   data::CsvRange range, const std::string& path) {
  data::CsvSettings csv = csvExport.csv;
  csv.csvSensor = sensor;
  if (IsRecordTarget(csv.csvTarget) && range.end <= range.first) {
    return Fail(kExitNothing, "no records to export from sensor " + std::to_string(sensor));
  }
  const bool timesKnown = data::HasRecordTimes(document, range);
  if (!timesKnown) NoteMissingTimes(csvExport);
  data::ProcessingState state;
  state.settings = csvExport.processing;
  auto written = csvExport.tidy
                     ? data::WriteTidyCsvFile(document, state, csv, sensor, range, path, timesKnown)
                     : data::WriteCsvFile(document, state, csv, sensor, range, path);
  if (!written.ok()) return Fail(kExitRefused, written.message);  // names the file
  std::fprintf(stderr, "wrote %s\n", path.c_str());
  return kExitOk;
}

}  // namespace chromiva::cli
