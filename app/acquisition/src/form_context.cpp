#include "form_context.h"

#include <cstdio>

#include "chromiva/acquisition/history.h"

namespace chromiva::acquisition {

void ElapsedSeconds::Show(FormPort& port, const char* format) {
  const int seconds = static_cast<int>((port.TickMs() - startTick_) / 1000);
  if (seconds == shown_) return;
  shown_ = seconds;
  char line[96];
  std::snprintf(line, sizeof line, format, seconds);
  port.ShowMessage(line);
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
  controls.SetText(control::kPosition, text);
}

void FormContext::ShowRecordCount() {
  controls.SetText(control::kRecordCount, std::to_string(document.recordCount[0]));
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
  controls.SetChecked(control::kLightSource, mode == data::kLightSource);
  controls.SetChecked(control::kReflectance, mode == data::kReflectance);
  controls.SetChecked(control::kTransmittance, mode == data::kTransmittance);
}

void FormContext::UpdateControlStates() {
  const bool detected = view.detected;
  const bool idle = !shared.measuring;
  const int mode = view.settings.measureMode;
  controls.SetEnabled(control::kStartStop, detected);
  for (int id :
       {control::kBack, control::kNext, control::kCsv, control::kClear, control::kDetect}) {
    controls.SetEnabled(id, idle);
  }
  controls.SetEnabled(control::kDark, detected && idle);
  controls.SetEnabled(control::kDarkReset, detected && idle);
  controls.SetEnabled(control::kOneShot, detected && !view.recordMode && !view.darkRunning);
  controls.SetEnabled(control::kSkyBgd, mode == data::kLightSource && detected && idle);
  controls.SetEnabled(control::kWhite, mode == data::kReflectance && detected && idle);
  controls.SetEnabled(control::kTransmission, mode == data::kTransmittance && detected && idle);
}

}  // namespace chromiva::acquisition
