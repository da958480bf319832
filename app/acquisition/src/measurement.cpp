// The measurement cycle: start and stop, the window timer, the worker pass and commits.
#include <algorithm>
#include <cstdio>

#include "chromiva/acquisition/exposure_limits.h"
#include "chromiva/acquisition/form_texts.h"
#include "measurement_cycle.h"
#include "sensor_detection.h"
#include "wrenlink.h"

namespace chromiva::acquisition {
namespace {

// The first pass starts this long after the start button, and an interval schedule that has
// fallen behind leaves at least this much between passes.
constexpr int kStartDelayMs = 10;
// The step of the ten-millisecond cadence: how often the window thread looks at a running pass
// and how long after a pass the next one starts.
constexpr int kTenMsStep = 10;

}  // namespace

void MeasurementCycle::StartStopMeasurement() {
  if (c_.shared.measuring) {
    StopMeasurement();
  } else {
    StartMeasurement();
  }
}

void MeasurementCycle::ShowFields() {
  controls_.SetText(control::kAverage, std::to_string(f_.averageCount));
  controls_.SetText(control::kInterval, std::to_string(f_.intervalMs));
}

bool MeasurementCycle::StartMeasurement() {
  if (c_.controls.Integer(control::kAverage) < 1) {
    c_.port.ShowOkMessage(text::kAverageRefusal);
    return false;
  }
  if (!StoreExposures()) return false;
  ClearTransferStop();
  controls_.SetText(control::kStartStop, text::kStop);
  c_.shared.measuring = true;
  c_.port.ShowMessage(TR_NOOP("Form", "停止ボタンを押すことで計測を停止します"));
  const int committed = c_.document.recordCount[0];
  int& displayIndex = c_.shared.displayIndex;
  if (displayIndex < committed) displayIndex = std::max(committed - 1, 0);
  for (int k = 0; k < c_.SensorCount(); ++k) {
    SetDeviceExposure(c_.DeviceOf(k), c_.document.Sensor(k).exposureUs);
  }
  f_.averageCount = c_.controls.Integer(control::kAverage);
  f_.nextDueTick = c_.port.TickMs() + kStartDelayMs;
  f_.intervalMs = c_.controls.Integer(control::kInterval);
  autoSaveFailures_ = 0;
  c_.acquisitionState.store(AcquisitionState::kIdle, std::memory_order_release);
  c_.port.ArmTimer(timer::kMeasure, kStartDelayMs);
  c_.document.modified = true;
  char head[96];
  std::snprintf(head, sizeof head, "計測開始 DataNo=%d wave comp=%d ", displayIndex,
                c_.view.settings.waveComp ? 1 : 0);
  c_.AppendLogLine(head, c_.SensorPieces("%d:serial=%s exp=%d"));
  c_.UpdateControlStates();
  c_.document.NameUntitledDocument(c_.port.Now());
  CommonStartStopEnd();
  return true;
}

// The typed exposure goes to the selected sensor; every sensor's exposure must be one the
// instruments take (one read from a data file may not be).
bool MeasurementCycle::StoreExposures() {
  if (c_.view.selectedSensor >= 0 && !detection_.StoreTypedExposure(c_.view.selectedSensor)) {
    return false;
  }
  for (int k = 0; k < c_.SensorCount(); ++k) {
    if (!ExposureUsInLimits(c_.document.Sensor(k).exposureUs)) {
      c_.port.ShowOkMessage(text::kExposureRefusal);
      return false;
    }
  }
  return true;
}

void MeasurementCycle::StopMeasurement() {
  if (c_.AcquisitionState() == AcquisitionState::kRunning)
    RequestTransferStop();  // the pass ends before its next frame
  controls_.SetText(control::kStartStop, text::kStart);
  c_.shared.measuring = false;
  c_.port.ShowMessage(
      TR_NOOP("Form", "露光時間、平均回数を設定して開始ボタンを押すことで計測を開始します"));
  c_.AppendLogLine("計測終了 DataNo=" + std::to_string(c_.shared.displayIndex));
  controls_.SetEnabled(control::kStartStop, false);
  controls_.SetEnabled(control::kOneShot, false);
  if (c_.view.intervalMode && c_.AcquisitionState() == AcquisitionState::kIdle) {
    c_.UpdateControlStates();
  }
  CommonStartStopEnd();
}

void MeasurementCycle::CommonStartStopEnd() {
  c_.ShowModeRadios();
  c_.ShowPosition();
}

void MeasurementCycle::OneShot() {
  if (c_.shared.measuring) {
    f_.keepNext = true;
    return;
  }
  f_.oneShotPending = true;
  f_.keepNext = true;
  if (!StartMeasurement()) {
    f_.oneShotPending = false;
    f_.keepNext = false;
    return;
  }
  controls_.SetEnabled(control::kStartStop, false);
  controls_.SetEnabled(control::kOneShot, false);
}

void MeasurementCycle::OnMeasureTimer() {
  switch (c_.AcquisitionState()) {
    case AcquisitionState::kIdle:
      c_.elapsed.Start(c_.port.TickMs());
      if (c_.shared.measuring) {
        c_.SyncProcessingSettings();
        c_.acquisitionState.store(AcquisitionState::kRunning, std::memory_order_release);
        const bool wake = f_.cadence == Cadence::kInstrument;
        c_.LaunchWorker([this, wake] { MeasureWorker(wake); });
        ArmRunningPassTimer();
      } else {
        c_.UpdateControlStates();
      }
      break;
    case AcquisitionState::kRunning:
      c_.elapsed.Show(c_.port, TR_NOOP("Form", "計測中　経過時間 %1 sec"));
      ArmRunningPassTimer();
      break;
    case AcquisitionState::kFinished:
      c_.JoinWorker();
      ClearTransferStop();  // a stop asked of this pass is answered
      c_.acquisitionState.store(AcquisitionState::kIdle, std::memory_order_release);
      FinishPassOnWindowThread();
      break;
  }
}

// While a pass runs the timer shows the elapsed seconds; the worker's wake takes the pass as it
// ends. In the ten-millisecond cadence the timer looks at the pass every 10 ms instead.
void MeasurementCycle::ArmRunningPassTimer() {
  const bool tenMs = f_.cadence == Cadence::kTenMsSteps;
  c_.port.ArmTimer(timer::kMeasure,
                   tenMs ? kTenMsStep : c_.elapsed.MsToNextSecond(c_.port.TickMs()));
}

void MeasurementCycle::FinishPassOnWindowThread() {
  if (c_.lastFault.Any()) {
    EndFaultedPass();  // nothing of an incomplete pass is saved or committed
    return;
  }
  if (c_.view.csv.csvAuto) AutoSaveCsv();
  if (c_.view.recordMode) {
    CommitRecord();
    c_.shared.displayIndex = std::max(c_.document.recordCount[0] - 1, 0);
    c_.ShowPosition();  // the count grew: also after a stop, when the last pass lands
  } else if (f_.keepNext) {
    f_.keepNext = false;
    CommitRecord();
    c_.ShowPosition();
  }
  c_.port.DrawGraph();
  c_.ShowSummaryOfSelected();
  ScheduleNextPass();
}

// The automatic save shows nothing: the first failure of a measurement goes to the operation
// history, later ones are only counted.
void MeasurementCycle::AutoSaveCsv() {
  c_.SyncProcessingSettings();
  const data::CsvSettings& csv = c_.view.csv;
  const int sensor = std::clamp(csv.csvSensor, 0, data::kMaxSensors - 1);
  auto saved = data::AutoSaveCsv(c_.document, c_.processing, csv, c_.document.recordCount[sensor],
                                 c_.port.Now());
  if (saved.ok()) return;
  lastAutoSaveFailure_ = saved.message;
  if (autoSaveFailures_++ == 0) c_.AppendLogLine("CSV自動保存に失敗しました: " + saved.message);
}

void MeasurementCycle::ScheduleNextPass() {
  if (f_.oneShotPending) {
    f_.oneShotPending = false;
    StopMeasurement();
    c_.UpdateControlStates();
    return;
  }
  if (!c_.shared.measuring) {
    c_.UpdateControlStates();
    return;
  }
  int delay = f_.cadence == Cadence::kTenMsSteps ? kTenMsStep : 0;
  if (c_.view.intervalMode) {
    f_.nextDueTick += static_cast<std::uint32_t>(f_.intervalMs);
    auto remaining = static_cast<std::int32_t>(f_.nextDueTick - c_.port.TickMs());
    delay = std::max<std::int32_t>(remaining, kStartDelayMs);
  }
  c_.port.ArmTimer(timer::kMeasure, delay);
}

void MeasurementCycle::CommitRecord() {
  const std::time_t now = c_.port.Now();
  for (int k = 0; k < c_.SensorCount(); ++k) {
    int& count = c_.document.recordCount[k];
    if (count >= data::kMaxCommittedRecords) continue;
    c_.document.RecordTime(count) = now;
    ++count;
  }
  // A failure is in the journal's error().
  if (c_.session) c_.session->journal().AppendCommittedPasses(c_.document);
  c_.ShowRecordCount();
}

InstrumentFault MeasurementCycle::AcquireAveraged(int sensor, int record, int frames) {
  data::PixelArray& accumulator = f_.accumulator[sensor];
  const int pixels = data::UsablePixels(c_.document.Sensor(sensor));
  std::fill(accumulator.begin(), accumulator.begin() + pixels, 0.0F);
  std::int16_t samples[data::kMaxPixels] = {};
  const int device = c_.DeviceOf(sensor);
  constexpr int kFrameBytes = static_cast<int>(sizeof samples);
  for (int frame = 0; frame < frames; ++frame) {
    if (frame > 0 && TransferStopRequested()) return {FaultKind::kStopped, sensor, record};
    const int received = GetDeviceData(device, samples);
    const FaultKind fault = CheckTransfer(device, received, kFrameBytes);
    if (fault != FaultKind::kNone) return {fault, sensor, record, received, kFrameBytes};
    for (int p = 0; p < pixels; ++p) accumulator[p] += static_cast<float>(samples[p]);
  }
  data::RecordSpectra& spectra = c_.document.EnsureSpectra(sensor, record);
  const float divisor = static_cast<float>(std::max(frames, 1));
  for (int p = 0; p < pixels; ++p) {
    accumulator[p] = accumulator[p] / divisor;
    spectra.rawSpectrum[p] = accumulator[p];
  }
  return {};
}

void MeasurementCycle::MeasureWorker(bool wake) {
  c_.acquisitionBusy.store(true, std::memory_order_release);
  InstrumentFault& fault = c_.lastFault;
  fault = {};
  for (int k = 0; k < c_.SensorCount() && !fault.Any(); ++k) {
    if (k > 0 && TransferStopRequested()) {
      fault = {FaultKind::kStopped, k, c_.document.recordCount[k]};
    } else {
      fault = MeasureSensor(k);
    }
  }
  c_.acquisitionBusy.store(false, std::memory_order_release);
  // The very last write.
  c_.acquisitionState.store(AcquisitionState::kFinished, std::memory_order_release);
  if (wake) c_.port.WakeFromWorker(timer::kMeasure);
}

}  // namespace chromiva::acquisition
