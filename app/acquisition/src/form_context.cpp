#include "form_context.h"

#include <cstdio>

#include "chromiva/acquisition/history.h"

namespace chromiva::acquisition {

void ElapsedSeconds::Show(FormPort& port, const char* pattern) {
  const int seconds = static_cast<int>((port.TickMs() - startTick_) / 1000);
  if (seconds == shown_) return;
  shown_ = seconds;
  port.ShowMessage(Filled(Translated(pattern), {Padded(seconds, 2)}));
}

bool FormContext::HasCommittedRecords(int sensor) const {
  return sensor >= 0 && sensor < data::kMaxSensors && document.recordCount[sensor] > 0;
}

void FormContext::AppendLogLine(const std::string& text, const std::string& storedBytes) {
  AppendLog(document, port.Now(), text, storedBytes);
}

std::string FormContext::SensorPieces(const char* format) const {
  std::string pieces;
  for (int k = 0; k < SensorCount(); ++k) {
    const data::SensorEntry& sensor = document.Sensor(k);
    char piece[96];
    std::snprintf(piece, sizeof piece, format, k + 1, sensor.serialNo.c_str(),
                  sensor.exposureUs / 1000);
    pieces += piece;
  }
  return pieces;
}

void FormContext::RefreshDisplayedRecord() {
  SyncProcessingSettings();
  for (int k = 0; k < SensorCount(); ++k) {
    if (data::CorrectRecord(document, processing, k, shared.displayIndex)) {
      data::ResampleRecord(document, processing, k, shared.displayIndex);
    }
  }
  port.DrawGraph();
}

void FormContext::ShowPosition() {
  char text[48];
  std::snprintf(text, sizeof text, "%d / %d", shared.displayIndex + 1, document.recordCount[0]);
  Writer(ControlOwner::kBrowser).SetText(control::kPosition, text);
}

void FormContext::ShowRecordCount() {
  Writer(ControlOwner::kBrowser)
      .SetText(control::kRecordCount, std::to_string(document.recordCount[0]));
}

void FormContext::ShowSummaryOfSelected() {
  if (view.selectedSensor >= 0) {
    port.ShowSensorSummary(view.selectedSensor);
  } else {
    port.ShowStatusText("");
  }
}

void FormContext::ShowModeRadios() {
  const int mode = view.settings.measureMode;
  ControlWriter writer = Writer(ControlOwner::kSettings);
  writer.SetChecked(control::kLightSource, mode == data::kLightSource);
  writer.SetChecked(control::kReflectance, mode == data::kReflectance);
  writer.SetChecked(control::kTransmittance, mode == data::kTransmittance);
}

void FormContext::UpdateControlStates() {
  const bool detected = view.detected;
  const bool idle = !shared.measuring;
  const int mode = view.settings.measureMode;
  ControlWriter writer = Writer(ControlOwner::kEnableRules);
  writer.SetEnabled(control::kStartStop, detected && !view.darkRunning);
  for (int id :
       {control::kBack, control::kNext, control::kCsv, control::kClear, control::kDetect}) {
    writer.SetEnabled(id, idle);
  }
  writer.SetEnabled(control::kDark, detected && idle);
  writer.SetEnabled(control::kDarkReset, detected && idle);
  writer.SetEnabled(control::kSkyBgd, mode == data::kLightSource && detected && idle);
  writer.SetEnabled(control::kWhite, mode == data::kReflectance && detected && idle);
  writer.SetEnabled(control::kTransmission, mode == data::kTransmittance && detected && idle);
  UpdateModeEnabling();
}

void FormContext::UpdateModeEnabling() {
  ControlWriter writer = Writer(ControlOwner::kEnableRules);
  writer.SetEnabled(control::kInterval, view.intervalMode);
  writer.SetEnabled(control::kOneShot, view.detected && !view.recordMode && !view.darkRunning);
}

}  // namespace chromiva::acquisition
