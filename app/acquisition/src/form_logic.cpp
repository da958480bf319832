// Construction, the enable rules, the position field, redisplay and the setting handlers.
#include "chromiva/acquisition/form_logic.h"

#include <algorithm>
#include <cstdio>

#include "chromiva/acquisition/history.h"

namespace chromiva::acquisition {

FormLogic::FormLogic(data::Ctintrose_mfDoc& document, FormPort& port, FormSettings settings)
    : document_(document), port_(port) {
  fields_.averageCount = settings.averageCount;
  fields_.recordMode = settings.recordMode;
  fields_.intervalMode = settings.intervalMode;
  fields_.intervalMs = settings.intervalMs;
  fields_.playbackOn = settings.playbackOn;
  fields_.displayKind = settings.displayKind;
  fields_.csv = settings.csv;
  fields_.settings.waveComp = settings.waveComp;
  SyncProcessingSettings();
  fields_.deviceIndex.fill(-1);

  controls_.SetText(control::kAverage, std::to_string(fields_.averageCount));
  controls_.SetChecked(control::kRecordMode, fields_.recordMode);
  controls_.SetChecked(control::kIntervalMode, fields_.intervalMode);
  controls_.SetText(control::kInterval, std::to_string(fields_.intervalMs));
  controls_.SetEnabled(control::kInterval, fields_.intervalMode);
  controls_.SetChecked(control::kWaveComp, settings.waveComp);
  controls_.SetChecked(control::kPlayback, fields_.playbackOn);
  controls_.SetText(control::kRecordCount, std::to_string(document_.recordCount[0]));
  controls_[control::kDisplayKind].selection = fields_.displayKind;
  SetModeRadios();
  EnableCompareControls();
  launchPass_ = [](FormLogic& form) { form.LaunchWorkerThread(); };
}

FormLogic::~FormLogic() {
  JoinWorker();
}

void FormLogic::UpdateControlStates() {
  const bool detected = fields_.detected;
  const bool idle = !fields_.measuring;
  const int mode = fields_.settings.measureMode;
  controls_.SetEnabled(control::kStartStop, detected);
  for (int id :
       {control::kBack, control::kNext, control::kCsv, control::kClear, control::kDetect}) {
    controls_.SetEnabled(id, idle);
  }
  controls_.SetEnabled(control::kDark, detected && idle);
  controls_.SetEnabled(control::kDarkReset, detected && idle);
  controls_.SetEnabled(control::kOneShot, detected && !fields_.recordMode && !fields_.darkRunning);
  controls_.SetEnabled(control::kSkyBgd, mode == data::kLightSource && detected && idle);
  controls_.SetEnabled(control::kWhite, mode == data::kReflectance && detected && idle);
  controls_.SetEnabled(control::kTransmission, mode == data::kTransmittance && detected && idle);
}

void FormLogic::ShowPosition() {
  char text[48];
  std::snprintf(text, sizeof text, "%d / %d", fields_.displayIndex + 1, document_.recordCount[0]);
  controls_.SetText(control::kPosition, text);
}

void FormLogic::RefreshDisplayedRecord() {
  SyncProcessingSettings();
  for (int k = 0; k < document_.sensorTable.sensorCount; ++k) {
    if (data::CorrectRecord(document_, processing_, k, fields_.displayIndex)) {
      data::ResampleRecord(document_, processing_, k, fields_.displayIndex);
    }
  }
  port_.DrawGraph();
}

bool FormLogic::HasCommittedRecords(int sensor) const {
  return sensor >= 0 && sensor < data::kMaxSensors && document_.recordCount[sensor] > 0;
}

void FormLogic::SetModeRadios() {
  const int mode = fields_.settings.measureMode;
  controls_.SetChecked(control::kLightSource, mode == data::kLightSource);
  controls_.SetChecked(control::kReflectance, mode == data::kReflectance);
  controls_.SetChecked(control::kTransmittance, mode == data::kTransmittance);
}

void FormLogic::SetMeasureMode(int mode) {
  static const char* const kFirstLines[] = {
      "光源を測定します", "反射率を測定します（ホワイト設定が必要になります）",
      "透過率を測定します（透過１００％設定が必要になります）"};
  if (mode < data::kLightSource || mode > data::kTransmittance) return;
  fields_.settings.measureMode = mode;
  SetModeRadios();
  port_.ShowMessageLines(kFirstLines[mode], mode == data::kLightSource
                                                ? "波長別感度補正モードで計測をします"
                                                : "波長別感度補正モード/補正なしを選択できます");
  UpdateControlStates();
  if (!fields_.measuring && HasCommittedRecords(fields_.selectedSensor)) RefreshDisplayedRecord();
}

void FormLogic::RecordModeClicked() {
  fields_.recordMode = controls_.Checked(control::kRecordMode);
  if (fields_.recordMode) {
    port_.ShowMessageLines("記録モードに設定しました", "計測開始をすると、データを記録します");
  } else {
    port_.ShowMessageLines("記録モードを解除しました",
                           "計測開始をすると、最後のデータのみ記録します");
  }
  controls_.SetEnabled(control::kOneShot, fields_.detected && !fields_.recordMode);
}

void FormLogic::IntervalModeClicked() {
  fields_.intervalMode = !fields_.intervalMode;
  controls_.SetChecked(control::kIntervalMode, fields_.intervalMode);
  if (fields_.intervalMode) {
    port_.ShowMessageLines("計測を指定した間隔で実行します", "間隔をｍｓで設定してください");
  } else {
    port_.ShowMessageLines("計測を最短で実行します", "");
  }
  controls_.SetEnabled(control::kInterval, fields_.intervalMode);
}

void FormLogic::WaveCompClicked() {
  bool& waveComp = fields_.settings.waveComp;
  waveComp = !waveComp;
  controls_.SetChecked(control::kWaveComp, waveComp);
  port_.ShowMessageLines(waveComp ? "波長別感度補正を設定します" : "波長別感度補正を解除します",
                         "");
  if (!fields_.measuring && HasCommittedRecords(fields_.selectedSensor)) RefreshDisplayedRecord();
}

void FormLogic::AppendLogLine(const std::string& text, const std::string& storedBytes) {
  AppendLog(document_, port_.Now(), text, storedBytes);
}

std::string FormLogic::SensorPieces(const char* format) const {
  std::string pieces;
  for (int k = 0; k < document_.sensorTable.sensorCount; ++k) {
    const data::SensorEntry& sensor = document_.Sensor(k);
    char piece[96];
    std::snprintf(piece, sizeof piece, format, k + 1, sensor.serialNo.c_str(),
                  sensor.exposureUs / 1000);
    pieces += piece;
  }
  return pieces;
}

}  // namespace chromiva::acquisition
