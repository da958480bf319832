#include "measure_setup.h"

#include "chromiva/acquisition/exposure_limits.h"
#include "commands.h"
#include "wrenlink.h"

namespace chromiva::cli {
namespace {

namespace control = acquisition::control;

constexpr long kMaxAverage = 100000;
constexpr long kMaxIntervalMs = 86400000;

bool ReadCsvOptions(const Arguments& arguments, data::CsvSettings& csv, std::string& error) {
  if (auto folder = arguments.Value("--csv-auto")) {
    csv.csvAuto = true;
    csv.csvFolder = *folder;
  }
  if (auto naming = arguments.Value("--csv-name")) {
    if (*naming == "fixed") {
      csv.csvAutoMode = data::kCsvFixedName;
    } else if (*naming == "time") {
      csv.csvAutoMode = data::kCsvTimeName;
    } else if (*naming == "number") {
      csv.csvAutoMode = data::kCsvNumberName;
    } else {
      error = "option --csv-name takes fixed, time or number, not '" + *naming + "'";
      return false;
    }
  }
  if (auto name = arguments.Value("--csv-fixed")) csv.csvFixedName = data::WithCsvSuffix(*name);
  auto sensor = IntegerOption(arguments, "--csv-sensor", 0, 0, data::kMaxSensors - 1, error);
  if (!sensor) return false;
  csv.csvSensor = static_cast<int>(*sensor);
  return true;
}

std::optional<int> OptionalInteger(const Arguments& arguments, const std::string& option, long low,
                                   long high, std::string& error, bool& ok) {
  if (!arguments.Has(option)) return std::nullopt;
  auto value = IntegerOption(arguments, option, 0, low, high, error);
  if (!value) ok = false;
  return value ? std::optional<int>(static_cast<int>(*value)) : std::nullopt;
}

}  // namespace

std::optional<MeasureSetup> ReadMeasureSetup(const Arguments& arguments, std::string& error) {
  MeasureSetup setup;
  bool ok = true;
  setup.exposureMs = OptionalInteger(arguments, "--exposure", acquisition::kMinExposureMs,
                                     acquisition::kMaxExposureMs, error, ok);
  setup.averageCount = OptionalInteger(arguments, "--average", 1, kMaxAverage, error, ok);
  setup.intervalMs = OptionalInteger(arguments, "--interval", 0, kMaxIntervalMs, error, ok);
  auto mode = IntegerOption(arguments, "--mode", 0, 0, 2, error);
  auto count = IntegerOption(arguments, "--count", 0, 0, data::kMaxCommittedRecords, error);
  if (!ok || !mode || !count) return std::nullopt;
  setup.mode = static_cast<int>(*mode);
  setup.count = static_cast<int>(*count);
  setup.waveComp = arguments.Has("--wave-comp");
  setup.output = arguments.Value("-o").value_or("");
  if (!ReadCsvOptions(arguments, setup.settings.csv, error)) return std::nullopt;
  return setup;
}

void ApplyMeasureSetup(acquisition::FormLogic& form, const MeasureSetup& setup) {
  if (setup.exposureMs) form.SetAllExposures(*setup.exposureMs);
  if (setup.averageCount)
    form.SetControlText(control::kAverage, std::to_string(*setup.averageCount));
  if (setup.intervalMs) {
    if (!form.fields().intervalMode) form.OnControlClicked(control::kIntervalMode);
    form.SetControlText(control::kInterval, std::to_string(*setup.intervalMs));
  }
  if (setup.mode != form.fields().settings.measureMode) {
    form.OnControlClicked(control::ModeRadio(setup.mode));
  }
  if (setup.waveComp != form.fields().settings.waveComp) form.OnControlClicked(control::kWaveComp);
}

int RefuseFaultyInstruments(const acquisition::FormLogic& form) {
  const std::vector<std::string> reports = form.Status().leftOutReports;
  if (reports.empty()) return kExitOk;
  for (int k = 0; k < form.document().sensorTable.sensorCount; ++k) {
    CloseDevice(form.fields().deviceIndex[k]);
  }
  return Fail(kExitFault, "stopped by an instrument fault: " + std::to_string(reports.size()) +
                              " instrument(s) did not answer whole and were left out");
}

}  // namespace chromiva::cli
