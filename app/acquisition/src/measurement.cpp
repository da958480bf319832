// The measurement cycle: start and stop, the window timer, the worker pass and commits.
#include <algorithm>
#include <cstdio>

#include "chromiva/acquisition/form_logic.h"
#include "wrenlink.h"

namespace chromiva::acquisition {
namespace {

constexpr int kPollMs = 10;

}  // namespace

void FormLogic::StartStopMeasurement() {
  if (fields_.measuring) {
    StopMeasurement();
  } else {
    StartMeasurement();
  }
}

bool FormLogic::StartMeasurement() {
  if (controls_.Integer(control::kAverage) < 1) {
    port_.ShowOkMessage(text::kAverageRefusal);
    return false;
  }
  controls_.SetText(control::kStartStop, text::kStop);
  fields_.measuring = true;
  port_.ShowMessage("停止ボタンを押すことで計測を停止します");
  const int committed = document_.recordCount[0];
  if (fields_.displayIndex < committed) fields_.displayIndex = std::max(committed - 1, 0);
  if (fields_.selectedSensor >= 0) StoreTypedExposure(fields_.selectedSensor);
  for (int k = 0; k < document_.sensorTable.sensorCount; ++k) {
    SetDeviceExposure(fields_.deviceIndex[k], document_.Sensor(k).exposureUs);
  }
  fields_.averageCount = controls_.Integer(control::kAverage);
  fields_.nextDueTick = port_.TickMs() + kPollMs;
  fields_.intervalMs = controls_.Integer(control::kInterval);
  acquisitionState_.store(0, std::memory_order_release);
  port_.ArmTimer(timer::kMeasure, kPollMs);
  document_.modified = true;
  char head[96];
  std::snprintf(head, sizeof head, "計測開始 DataNo=%d wave comp=%d ", fields_.displayIndex,
                fields_.settings.waveComp ? 1 : 0);
  AppendLogLine(head, SensorPieces("%d:serial=%s exp=%d"));
  UpdateControlStates();
  document_.NameUntitledDocument(port_.Now());
  CommonStartStopEnd();
  return true;
}

void FormLogic::StopMeasurement() {
  controls_.SetText(control::kStartStop, text::kStart);
  fields_.measuring = false;
  port_.ShowMessage("露光時間、平均回数を設定して開始ボタンを押すことで計測を開始します");
  AppendLogLine("計測終了 DataNo=" + std::to_string(fields_.displayIndex));
  controls_.SetEnabled(control::kStartStop, false);
  controls_.SetEnabled(control::kOneShot, false);
  if (fields_.intervalMode && AcquisitionState() == 0) UpdateControlStates();
  CommonStartStopEnd();
}

void FormLogic::CommonStartStopEnd() {
  SetModeRadios();
  ShowPosition();
}

void FormLogic::OneShot() {
  if (fields_.measuring) {
    fields_.keepNext = true;
    return;
  }
  fields_.oneShotPending = true;
  fields_.keepNext = true;
  if (!StartMeasurement()) {
    fields_.oneShotPending = false;
    fields_.keepNext = false;
    return;
  }
  controls_.SetEnabled(control::kStartStop, false);
  controls_.SetEnabled(control::kOneShot, false);
}

void FormLogic::OnFormTimer(int timerId) {
  port_.KillTimer(timerId);
  switch (timerId) {
    case timer::kMeasure:
      OnMeasureTimer();
      break;
    case timer::kPlayback:
      OnPlaybackTimer();
      break;
    case timer::kDark:
      OnDarkTimer();
      break;
    case timer::kDarkFinish:
      OnDarkFinishTimer();
      break;
    default:
      break;
  }
}

void FormLogic::OnMeasureTimer() {
  switch (AcquisitionState()) {
    case 0:
      if (fields_.measuring) {
        SyncProcessingSettings();
        acquisitionState_.store(1, std::memory_order_release);
        launchPass_(*this);
        port_.ArmTimer(timer::kMeasure, kPollMs);
      } else {
        UpdateControlStates();
      }
      fields_.phaseStartTick = port_.TickMs();
      fields_.shownSeconds = 0;
      break;
    case 1:
      ShowElapsedSeconds();
      port_.ArmTimer(timer::kMeasure, kPollMs);
      break;
    default:
      JoinWorker();
      acquisitionState_.store(0, std::memory_order_release);
      FinishPassOnWindowThread();
      break;
  }
}

void FormLogic::ShowElapsedSeconds() {
  const int seconds = static_cast<int>((port_.TickMs() - fields_.phaseStartTick) / 1000);
  if (seconds == fields_.shownSeconds) return;
  fields_.shownSeconds = seconds;
  char line[64];
  std::snprintf(line, sizeof line, "計測中　経過時間 %2d sec", seconds);
  port_.ShowMessage(line);
}

void FormLogic::FinishPassOnWindowThread() {
  if (fields_.csv.csvAuto) {
    SyncProcessingSettings();
    const int sensor = std::clamp(fields_.csv.csvSensor, 0, data::kMaxSensors - 1);
    auto saved = data::AutoSaveCsv(document_, processing_, fields_.csv,
                                   document_.recordCount[sensor], port_.Now());
    if (!saved.ok()) port_.ShowMessage("CSV自動保存に失敗しました: " + saved.message);
  }
  if (fields_.recordMode) {
    CommitRecord();
    fields_.displayIndex = std::max(document_.recordCount[0] - 1, 0);
  } else if (fields_.keepNext) {
    fields_.keepNext = false;
    CommitRecord();
  }
  port_.DrawGraph();
  if (fields_.selectedSensor >= 0) {
    port_.ShowSensorSummary(fields_.selectedSensor);
  } else {
    port_.ShowStatusText("");
  }
  ScheduleNextPass();
}

void FormLogic::ScheduleNextPass() {
  if (fields_.oneShotPending) {
    fields_.oneShotPending = false;
    StopMeasurement();
    UpdateControlStates();
    return;
  }
  if (!fields_.measuring) {
    UpdateControlStates();
    return;
  }
  int delay = kPollMs;
  if (fields_.intervalMode) {
    fields_.nextDueTick += static_cast<std::uint32_t>(fields_.intervalMs);
    auto remaining = static_cast<std::int32_t>(fields_.nextDueTick - port_.TickMs());
    delay = std::max<std::int32_t>(remaining, kPollMs);
  }
  port_.ArmTimer(timer::kMeasure, delay);
}

void FormLogic::CommitRecord() {
  const std::time_t now = port_.Now();
  for (int k = 0; k < document_.sensorTable.sensorCount; ++k) {
    int& count = document_.recordCount[k];
    if (count >= data::kMaxCommittedRecords) continue;
    document_.RecordTime(count) = now;
    ++count;
  }
  if (journal_) journal_->AppendCommittedPasses(document_);  // a failure is in its error()
  controls_.SetText(control::kRecordCount, std::to_string(document_.recordCount[0]));
}

void FormLogic::AcquireAveraged(int sensor, int record, int frames) {
  data::PixelArray& accumulator = fields_.accumulator[sensor];
  const int pixels = std::clamp(document_.Sensor(sensor).pixelCount, 0, data::kMaxPixels);
  std::fill(accumulator.begin(), accumulator.begin() + pixels, 0.0F);
  std::int16_t samples[data::kMaxPixels] = {};
  for (int frame = 0; frame < frames; ++frame) {
    GetDeviceData(fields_.deviceIndex[sensor], samples);
    for (int p = 0; p < pixels; ++p) accumulator[p] += static_cast<float>(samples[p]);
  }
  data::RecordSpectra& spectra = document_.EnsureSpectra(sensor, record);
  const float divisor = static_cast<float>(std::max(frames, 1));
  for (int p = 0; p < pixels; ++p) {
    accumulator[p] = accumulator[p] / divisor;
    spectra.rawSpectrum[p] = accumulator[p];
  }
}

void FormLogic::MeasureWorker() {
  acquisitionBusy_.store(true, std::memory_order_release);
  for (int k = 0; k < document_.sensorTable.sensorCount; ++k) {
    const int record = document_.recordCount[k];
    AcquireAveraged(k, record, fields_.averageCount);
    std::int16_t tenths = 0;
    GetDeviceTemp(fields_.deviceIndex[k], &tenths);
    data::RecordSlot& slot = document_.Record(k, record);
    slot.recordTemperature = static_cast<float>(tenths / 10.0);
    slot.recordExposureUs = document_.Sensor(k).exposureUs;
    if (data::CorrectRecord(document_, processing_, k, record)) {
      data::ResampleRecord(document_, processing_, k, record);
    }
  }
  acquisitionBusy_.store(false, std::memory_order_release);
  acquisitionState_.fetch_add(1, std::memory_order_release);  // the very last write
}

void FormLogic::LaunchWorkerThread() {
  JoinWorker();
  worker_ = std::thread([this] { MeasureWorker(); });
}

void FormLogic::JoinWorker() {
  if (worker_.joinable()) worker_.join();
}

}  // namespace chromiva::acquisition
