// chromiva-cli measure: detect, record passes, save the data file.
#include <cstdio>
#include <filesystem>

#include "arguments.h"
#include "chromiva/data/data_file.h"
#include "chromiva/data/journal.h"
#include "commands.h"
#include "console_port.h"
#include "csv_export.h"
#include "file_checks.h"
#include "measure_setup.h"
#include "signals.h"
#include "wrenlink.h"

namespace chromiva::cli {
namespace {

using acquisition::FormLogic;
namespace control = acquisition::control;

OptionSpec MeasureOptions() {
  OptionSpec spec = {{"-o", "--count", "--exposure", "--average", "--interval", "--mode", "--csv",
                      "--csv-auto", "--csv-name", "--csv-fixed", "--csv-sensor"},
                     {"--wave-comp", "--quiet", "--yes"}};
  spec.valued.insert(kCsvValuedOptions.begin(), kCsvValuedOptions.end());
  spec.flags.insert(kCsvFlagOptions.begin(), kCsvFlagOptions.end());
  return spec;
}

// The CSV options are for --csv only.
bool CheckCsvOptions(const Arguments& arguments, std::string& error) {
  if (arguments.Has("--csv")) return true;
  for (const auto& options : {kCsvValuedOptions, kCsvFlagOptions}) {
    for (const std::string& option : options) {
      if (arguments.Has(option)) {
        error = "option " + option + " needs --csv OUT";
        return false;
      }
    }
  }
  return true;
}

// The CSV of --csv, written while the record times are known; the exit status.
int WriteRunCsv(data::Ctintrose_mfDoc& document, const Arguments& arguments, CsvExport& csvExport,
                int sensor) {
  std::string refusal;
  auto range = ApplyGridAndRange(arguments, document.recordCount[sensor], csvExport, refusal);
  if (!range) return Fail(kExitRefused, refusal);
  return WriteCsvExport(document, csvExport, sensor, *range, *arguments.Value("--csv"));
}

void CloseSpectrometers(const FormLogic& form, int sensors) {
  for (int k = 0; k < sensors; ++k) CloseDevice(form.fields().deviceIndex[k]);
}

// The automatic CSV save shows nothing while it runs; its failures are summed up at the end.
void ReportAutoSaveFailures(const FormLogic& form) {
  const acquisition::FormStatus status = form.Status();
  if (status.autoSaveFailures == 0) return;
  std::fprintf(stderr, "chromiva-cli: %d automatic CSV save(s) failed, the last: %s\n",
               status.autoSaveFailures, status.lastAutoSaveFailure.c_str());
}

// Runs the measurement until `count` passes are committed (0: until Ctrl-C) or an instrument
// fault stops it. A second Ctrl-C saves what is committed and ends the process at once.
void Record(FormLogic& form, ConsolePort& port, int count, const std::function<int()>& save) {
  const data::Ctintrose_mfDoc& document = form.document();
  const int first = document.recordCount[0];
  auto committed = [&] { return document.recordCount[0] - first; };
  auto afterEvent = [&] {
    if (StopSignalCount() >= 2) {
      port.PrintLine("interrupted again: saving what is committed and ending now");
      const int saved = save();
      std::_Exit(saved == kExitOk ? StopSignalStatus() : saved);
    }
    if (!form.fields().measuring) return;
    const bool full = document.recordCount[0] >= data::kMaxCommittedRecords;
    const bool reached = (count > 0 && committed() >= count) || full;
    if (full) port.PrintLine("the record store is full (86399 records)");
    port.UpdateProgress(
        [&](double elapsed) {
          return RecordingProgress(committed(), count, elapsed, std::time(nullptr));
        },
        reached);
    if (reached) form.OnControlClicked(control::kStartStop);
  };
  auto done = [&] {
    return !form.fields().measuring &&
           form.Status().acquisition == acquisition::AcquisitionState::kIdle;
  };
  auto stop = [&] {
    port.PrintLine("interrupted: stopping (press Ctrl-C again to end at once)");
    if (form.fields().measuring) form.OnControlClicked(control::kStartStop);
  };
  SetLoopEndsOnSecondSignal(true);
  port.StartProgress();
  port.Run(form, done, afterEvent, stop);
  SetLoopEndsOnSecondSignal(false);
}

}  // namespace

int RunMeasure(const Words& words) {
  std::string error;
  auto arguments = ParseArguments(words, MeasureOptions(), error);
  if (!arguments) return Fail(kExitRefused, error);
  auto setup = ReadMeasureSetup(*arguments, error);
  if (!setup) return Fail(kExitRefused, error);
  if (!arguments->positionals.empty()) return Fail(kExitRefused, "measure takes no file names");
  CsvExport csvExport;
  if (!CheckCsvOptions(*arguments, error) || !ReadCsvExport(*arguments, csvExport, error)) {
    return Fail(kExitRefused, error);
  }

  data::Ctintrose_mfDoc document;
  ConsolePort port(arguments->Has("--yes"), arguments->Has("--quiet"));
  FormLogic form(document, port, setup->settings);
  // Its journal keeps every committed pass should this run be killed.
  acquisition::DocumentSession session(document);
  form.SetSession(&session);
  form.OnControlClicked(control::kDetect);
  if (int status = RefuseFaultyInstruments(form)) return status;
  const int sensors = document.sensorTable.sensorCount;
  if (sensors == 0) return Fail(kExitNothing, "no spectrometer found");
  const int csvSensor = setup->settings.csv.csvSensor;
  if (arguments->Has("--csv") && csvSensor >= sensors) {
    CloseSpectrometers(form, sensors);
    return Fail(kExitRefused, "--csv-sensor " + std::to_string(csvSensor) + ": no such sensor");
  }
  document.NameUntitledDocument(port.Now());  // the default name is known before any check
  const std::filesystem::path path =
      setup->output.empty() ? document.title + ".cvdata" : setup->output;
  if (auto csv = arguments->Value("--csv"); csv && SameFile(path, *csv)) {
    CloseSpectrometers(form, sensors);
    return Fail(kExitRefused, "--csv " + *csv + " is the data file " + path.string() +
                                  "; choose another name for one of them");
  }
  ApplyMeasureSetup(form, *setup);
  form.SetControlChecked(control::kRecordMode, true);
  form.OnControlClicked(control::kRecordMode);

  ConsolePort::CatchInterrupts();
  form.OnControlClicked(control::kStartStop);
  if (!form.fields().measuring) {
    CloseSpectrometers(form, sensors);
    return kExitRefused;  // refused before starting; the reason was shown
  }
  const FileStamp before = StampOf(path);  // another run may write it meanwhile
  Record(form, port, setup->count, [&] { return SaveOrRecover(session, path, &before); });
  CloseSpectrometers(form, sensors);
  ReportAutoSaveFailures(form);
  const int saved = SaveOrRecover(session, path, &before);
  if (const std::string& journalError = session.journal().error(); !journalError.empty()) {
    std::fprintf(stderr, "chromiva-cli: warning: %s\n", journalError.c_str());
  }
  const int csvStatus =
      arguments->Has("--csv") ? WriteRunCsv(document, *arguments, csvExport, csvSensor) : kExitOk;
  if (saved == kExitOk && form.Status().lastFault->Failed()) {
    return Fail(kExitFault, "stopped by an instrument fault");
  }
  return saved != kExitOk ? saved : csvStatus;
}

}  // namespace chromiva::cli
