// chromiva-cli export: a data file's records or references as CSV, with the CSV dialog's rules.
#include <cstdio>

#include "arguments.h"
#include "chromiva/acquisition/dialogs/csv_dialog.h"
#include "chromiva/data/csv.h"
#include "chromiva/data/data_file.h"
#include "commands.h"
#include "file_checks.h"

namespace chromiva::cli {
namespace {

const OptionSpec kExportOptions = {{"-o", "--sensor", "--first", "--last", "--start", "--end",
                                    "--step", "--target", "--layout", "--mode"},
                                   {"--no-wave", "--no-temp", "--no-exp", "--wave-comp"}};

bool ReadExportSettings(const Arguments& arguments, data::CsvSettings& csv,
                        data::ProcessingSettings& processing, std::string& error) {
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
  csv.csvTarget = static_cast<int>(*target);
  csv.csvVertical = layout == "vertical";
  csv.csvAddWave = !arguments.Has("--no-wave");
  csv.csvAddTemp = !arguments.Has("--no-temp");
  csv.csvAddExp = !arguments.Has("--no-exp");
  processing.measureMode = static_cast<int>(*mode);
  processing.waveComp = arguments.Has("--wave-comp");
  processing.skyBgdOn = false;
  return true;
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

acquisition::dialogs::CsvDialogFields DialogFields(const Arguments& arguments, int recordCount) {
  acquisition::dialogs::CsvDialogFields fields;
  fields.startNm = arguments.Value("--start").value_or("340");
  fields.endNm = arguments.Value("--end").value_or("850");
  fields.stepNm = arguments.Value("--step").value_or("10");
  fields.firstNumber = arguments.Value("--first").value_or("1");
  fields.lastNumber = arguments.Value("--last").value_or(std::to_string(recordCount));
  return fields;
}

}  // namespace

int RunExport(const Words& words) {
  std::string error;
  auto arguments = ParseArguments(words, kExportOptions, error);
  if (!arguments) return Fail(kExitRefused, error);
  auto output = arguments->Value("-o");
  if (arguments->positionals.size() != 1 || !output) {
    return Fail(kExitRefused, "usage: export FILE -o OUT [options]");
  }
  if (!CheckGridOptions(*arguments, error)) return Fail(kExitRefused, error);
  data::Ctintrose_mfDoc document;
  const std::string& path = arguments->positionals[0];
  if (int status = RefuseOutputOverInput(path, *output)) return status;
  if (int status = LoadDataFileOrFail(document, path)) return status;

  data::CsvSettings csv;
  data::ProcessingState state;
  if (!ReadExportSettings(*arguments, csv, state.settings, error)) {
    return Fail(kExitRefused, error);
  }
  auto sensor = ChooseSensor(document, *arguments, error);
  if (!sensor) return Fail(kExitRefused, error);
  const int records = document.recordCount[*sensor];
  auto outcome = acquisition::dialogs::ApplyCsvDialogOk(DialogFields(*arguments, records), records);
  if (!outcome.accepted) return Fail(kExitRefused, outcome.refusal);
  csv.csvStartNm = outcome.grid.startNm;
  csv.csvEndNm = outcome.grid.endNm;
  csv.csvStepNm = outcome.grid.stepNm;
  csv.csvSensor = *sensor;
  const bool recordTarget =
      csv.csvTarget == data::kCsvLightSource || csv.csvTarget == data::kCsvRatio;
  if (recordTarget && outcome.range.end <= outcome.range.first) {
    return Fail(kExitNothing, "no records to export from sensor " + std::to_string(*sensor));
  }
  auto written = data::WriteCsvFile(document, state, csv, *sensor, outcome.range, *output);
  if (!written.ok()) return Fail(kExitRefused, written.message);  // names the file
  std::fprintf(stderr, "wrote %s\n", output->c_str());
  return kExitOk;
}

}  // namespace chromiva::cli
