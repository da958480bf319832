// chromiva-cli export: a data file's records or references as CSV, with the CSV dialog's rules.
#include "arguments.h"
#include "chromiva/data/data_file.h"
#include "commands.h"
#include "csv_export.h"
#include "file_checks.h"

namespace chromiva::cli {
namespace {

OptionSpec ExportOptions() {
  OptionSpec spec = {{"-o", "--sensor", "--first", "--last", "--mode"}, {"--wave-comp"}};
  spec.valued.insert(kCsvValuedOptions.begin(), kCsvValuedOptions.end());
  spec.flags.insert(kCsvFlagOptions.begin(), kCsvFlagOptions.end());
  return spec;
}

}  // namespace

int RunExport(const Words& words) {
  std::string error;
  auto arguments = ParseArguments(words, ExportOptions(), error);
  if (!arguments) return Fail(kExitRefused, error);
  auto output = arguments->Value("-o");
  if (arguments->positionals.size() != 1 || !output) {
    return Fail(kExitRefused, "usage: export FILE -o OUT [options]");
  }
  CsvExport csvExport;
  if (!ReadCsvExport(*arguments, csvExport, error)) return Fail(kExitRefused, error);
  data::Ctintrose_mfDoc document;
  const std::string& path = arguments->positionals[0];
  if (int status = RefuseOutputOverInput(path, *output)) return status;
  if (int status = LoadDataFileOrFail(document, path)) return status;

  auto sensor = ChooseSensor(document, *arguments, error);
  if (!sensor) return Fail(kExitRefused, error);
  auto range = ApplyGridAndRange(*arguments, document.recordCount[*sensor], csvExport, error);
  if (!range) return Fail(kExitRefused, error);
  return WriteCsvExport(document, csvExport, *sensor, *range, *output);
}

}  // namespace chromiva::cli
