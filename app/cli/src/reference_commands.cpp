// chromiva-cli dark and reference: the dark sequence and the white or 100 % transmission
// registration, through the form's own handlers.
#include <cstdio>
#include <deque>
#include <numeric>

#include "arguments.h"
#include "chromiva/acquisition/texts.h"
#include "chromiva/data/text_codec.h"
#include "commands.h"
#include "console_port.h"
#include "measure_setup.h"
#include "signals.h"
#include "wrenlink.h"

namespace chromiva::cli {
namespace {

using acquisition::FormLogic;
namespace control = acquisition::control;

// One answer per question in order, each named by the option that gives it.
struct Answer {
  bool ok;
  const char* option;
};

// A console port whose questions take the scripted answers and which counts the OK-only
// messages (refusals and failed writes) it shows.
class ScriptedPort : public ConsolePort {
 public:
  ScriptedPort(std::deque<Answer> answers, bool quiet)
      : ConsolePort(false, quiet), answers_(std::move(answers)) {}

  bool AskOkCancel(const std::string& question) override {
    Answer answer = answers_.empty() ? Answer{false, "--yes"} : answers_.front();
    if (!answers_.empty()) answers_.pop_front();
    PrintLine(acquisition::Translated(question) + (answer.ok ? " -> OK (" : " -> Cancel (no ") +
              answer.option + ")");
    ++questions_;
    lastAnswer_ = answer.ok;
    return answer.ok;
  }
  void ShowOkMessage(const std::string& message) override {
    ++okMessages_;
    ConsolePort::ShowOkMessage(message);
  }

  int questions() const { return questions_; }
  bool lastAnswer() const { return lastAnswer_; }
  int okMessages() const { return okMessages_; }

 private:
  std::deque<Answer> answers_;
  int questions_ = 0;
  bool lastAnswer_ = false;
  int okMessages_ = 0;
};

void CloseSpectrometers(const FormLogic& form) {
  for (int k = 0; k < form.document().sensorTable.sensorCount; ++k) {
    CloseDevice(form.fields().deviceIndex[k]);
  }
}

double Mean(const data::PixelArray& values, int pixels) {
  return std::accumulate(values.begin(), values.begin() + pixels, 0.0) / std::max(pixels, 1);
}

void PrintDarkSummary(const data::Ctintrose_mfDoc& document, bool written) {
  for (int k = 0; k < document.sensorTable.sensorCount; ++k) {
    const data::SensorEntry& sensor = document.Sensor(k);
    std::printf("sensor %d (%s): dark mean %.1f at 265 us, %.1f at 9.5 s%s\n", k + 1,
                data::DisplayText(sensor.serialNo).c_str(),
                Mean(sensor.darkTables[0], sensor.pixelCount),
                Mean(sensor.darkTables[data::kDarkLongStep], sensor.pixelCount),
                written ? ", written to the instrument" : ", not written (no --write)");
  }
}

// Runs the form's timers until `done`, with `status` (what runs) and the elapsed time as the
// status line; a Ctrl-C is noted, the running step still finishes.
void RunUntil(FormLogic& form, ConsolePort& port, const std::function<bool()>& done,
              const std::function<std::string()>& status) {
  ConsolePort::CatchInterrupts();
  port.StartProgress();
  auto progress = [&] {
    port.UpdateProgress([&](double elapsed) {
      return status() + ", " + FormatElapsed(static_cast<long long>(elapsed)) + " elapsed";
    });
  };
  port.Run(form, done, progress,
           [&] { port.PrintLine("interrupted: stopping (Ctrl-C again ends at once)"); });
}

const OptionSpec kDarkOptions = {{}, {"--write", "--quiet", "--yes"}};
const OptionSpec kReferenceOptions = {{"--exposure", "--average"}, {"--quiet", "--yes"}};

// The dark sequence's steps: the first frame, the short frames, the blank long frame and the
// dark long frame (each started, then read).
constexpr int kDarkStatusSteps = 5;

// One pass, committed as the first record, which is then the record on display.
bool MeasureOnePass(FormLogic& form, ConsolePort& port) {
  form.OnControlClicked(control::kOneShot);
  if (!form.fields().measuring) return false;
  RunUntil(
      form, port,
      [&] {
        return !form.fields().measuring &&
               form.Status().acquisition == acquisition::AcquisitionState::kIdle;
      },
      [] { return std::string("measuring one pass"); });
  return form.document().recordCount[0] > 0;
}

}  // namespace

int RunDark(const Words& words) {
  std::string error;
  auto arguments = ParseArguments(words, kDarkOptions, error);
  if (!arguments) return Fail(kExitRefused, error);
  if (!arguments->positionals.empty()) return Fail(kExitRefused, "dark takes no file names");
  const bool write = arguments->Has("--write");
  ScriptedPort port({{arguments->Has("--yes"), "--yes"}, {write, "--write"}},
                    arguments->Has("--quiet"));
  data::Ctintrose_mfDoc document;
  FormLogic form(document, port);
  form.OnControlClicked(control::kDetect);
  if (int status = RefuseFaultyInstruments(form)) return status;
  if (document.sensorTable.sensorCount == 0) return Fail(kExitNothing, "no spectrometer found");
  form.OnControlClicked(control::kDark);
  if (!form.fields().darkRunning) {
    CloseSpectrometers(form);
    return Fail(kExitRefused, "the dark measurement was not started");
  }
  RunUntil(
      form, port, [&] { return !form.fields().darkRunning; },
      [&] {
        const int step = std::min(static_cast<int>(form.Status().darkStep) + 1, kDarkStatusSteps);
        return "dark step " + std::to_string(step) + " / " + std::to_string(kDarkStatusSteps);
      });
  CloseSpectrometers(form);
  if (form.fields().darkRunning) return Fail(kExitRefused, "the dark sequence did not finish");
  if (form.Status().lastFault->Failed()) return Fail(kExitFault, "stopped by an instrument fault");
  if (StopSignalCount() > 0) return Fail(StopSignalStatus(), "interrupted");
  PrintDarkSummary(document, write);
  return port.okMessages() == 0 ? kExitOk : kExitRefused;
}

int RunReference(const Words& words) {
  std::string error;
  auto arguments = ParseArguments(words, kReferenceOptions, error);
  if (!arguments) return Fail(kExitRefused, error);
  const auto& kind = arguments->positionals;
  if (kind.size() != 1 || (kind[0] != "white" && kind[0] != "transmission")) {
    return Fail(kExitRefused, "reference takes white or transmission");
  }
  auto setup = ReadMeasureSetup(*arguments, error);
  if (!setup) return Fail(kExitRefused, error);
  const bool white = kind[0] == "white";
  setup->mode = white ? data::kReflectance : data::kTransmittance;

  ScriptedPort port({{arguments->Has("--yes"), "--yes"}}, arguments->Has("--quiet"));
  data::Ctintrose_mfDoc document;
  FormLogic form(document, port, setup->settings);
  form.OnControlClicked(control::kDetect);
  if (int status = RefuseFaultyInstruments(form)) return status;
  if (document.sensorTable.sensorCount == 0) return Fail(kExitNothing, "no spectrometer found");
  ApplyMeasureSetup(form, *setup);
  const bool measured = MeasureOnePass(form, port);
  if (measured && StopSignalCount() == 0)
    white ? form.OnControlClicked(control::kWhite) : form.OnControlClicked(control::kTransmission);
  CloseSpectrometers(form);
  if (form.Status().lastFault->Failed()) return Fail(kExitFault, "stopped by an instrument fault");
  if (StopSignalCount() > 0) return Fail(StopSignalStatus(), "interrupted");
  if (!measured) return Fail(kExitRefused, "the pass did not run");
  if (port.questions() == 0 || !port.lastAnswer() || port.okMessages() > 0) {
    return Fail(kExitRefused, "the " + kind[0] + " reference was not registered");
  }
  const int sensor = form.fields().selectedSensor;
  const data::SensorEntry& entry = document.Sensor(sensor);
  const data::PixelTable& table = white ? entry.whiteTable : entry.transmissionTable;
  const float exposureUs = table[static_cast<std::size_t>(entry.pixelCount)];
  std::printf("sensor %d (%s): %s reference registered at %.0f us\n", sensor + 1,
              data::DisplayText(entry.serialNo).c_str(), kind[0].c_str(),
              static_cast<double>(exposureUs));
  return kExitOk;
}

}  // namespace chromiva::cli
