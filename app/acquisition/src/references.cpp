// Reference captures: the dark sequence with its two worker threads, the white and 100 %
// transmission registrations, dark re-registration and the sky background.
#include <algorithm>
#include <cstdio>

#include "chromiva/acquisition/calibration_io.h"
#include "chromiva/acquisition/exposure_limits.h"
#include "chromiva/acquisition/form_texts.h"
#include "chromiva/data/text_codec.h"
#include "measurement_cycle.h"
#include "reference_captures.h"
#include "setting_handlers.h"
#include "wrenlink.h"

namespace chromiva::acquisition {
namespace {

constexpr double kShortestExposureUs = 265.0;
static_assert(ExposureUsInLimits(kShortestExposureUs));
constexpr int kDarkPollMs = 10;
constexpr int kDarkFinishMs = 1000;
constexpr double kLongStep = data::kDarkLongStep;

constexpr const char* kRegisterDisplayed =
    TR_NOOP("Form", "選択したセンサー、現在表示データを登録します。");
constexpr const char* kIncompleteDisplayed = TR_NOOP(
    "Form",
    "表示中のデータは装置から完全に届かなかったため、登録できません。計測し直してください。");
constexpr const char* kDarkWouldChangeRecords =
    TR_NOOP("Form",
            "ダーク計測をすると以前のデータが変わってしまいます。先にデータを保存し、データクリアを"
            "してください");
constexpr const char* kShadeForDark = TR_NOOP(
    "Form", "ティントローズを遮光してください。ダーク計測には３０秒かかります。よろしいですか?");

// Steps 1 to 20 (except the measured step 19) on the straight line from step 0 to step 19.
void InterpolateDarkSteps(data::SensorEntry& sensor) {
  const data::PixelArray& first = sensor.darkTables[0];
  const data::PixelArray& last = sensor.darkTables[data::kDarkLongStep];
  for (int step = 1; step < data::kDarkSteps; ++step) {
    if (step == data::kDarkLongStep) continue;
    data::PixelArray& target = sensor.darkTables[step];
    for (int p = 0; p < data::UsablePixels(sensor); ++p) {
      const double rise = static_cast<double>(last[p]) - first[p];
      target[p] = static_cast<float>(rise * step / kLongStep + first[p]);
    }
  }
}

// Tells the operator about a table write that was not acknowledged in full; its fault (none
// when the write succeeded).
InstrumentFault CheckWrite(FormPort& port, int sensor, const std::string& serial, const char* table,
                           const TableWrite& write) {
  if (write.ok()) return {};
  port.ShowOkMessage(DescribeFailedWrite(sensor, data::DisplayText(serial), table, write));
  const FaultKind kind = TransferStopRequested() ? FaultKind::kStopped : FaultKind::kNoAnswer;
  return {kind, sensor, -1, write.acknowledged, write.expected};
}

}  // namespace

// What distinguishes the white from the 100 % transmission registration.
struct ReferenceCaptures::ReferenceKind {
  const char* firstLine;
  const char* question;
  const char* tableName;
  data::PixelTable data::SensorEntry::*table;
  TableWrite (*write)(const data::SensorEntry&, int);
};

void ReferenceCaptures::StartDarkMeasurement() {
  if (!c_.Idle()) return;
  if (c_.HasCommittedRecords(0)) {
    c_.port.ShowOkMessage(kDarkWouldChangeRecords);
    return;
  }
  if (!c_.port.AskOkCancel(kShadeForDark)) {
    return;
  }
  ClearTransferStop();
  c_.lastFault = {};
  for (int k = 0; k < c_.SensorCount(); ++k) {
    darkStep0Before_[static_cast<std::size_t>(k)] = c_.document.Sensor(k).darkTables[0];
    SetDeviceExposure(c_.DeviceOf(k), kShortestExposureUs);
  }
  darkStep_.store(DarkStep::kFirstFrame, std::memory_order_release);
  c_.shared.measuring = true;
  f_.darkRunning = true;
  c_.UpdateControlStates();
  c_.port.ArmTimer(timer::kDark, kDarkPollMs);
}

void ReferenceCaptures::OnDarkTimer() {
  switch (Step()) {
    case DarkStep::kFirstFrame:
      AcquireDarkFrames(1);  // first frame at 265 us: not used
      darkStep_.store(DarkStep::kShortFrames, std::memory_order_release);
      break;
    case DarkStep::kShortFrames:
      AcquireDarkShortFrames();
      StartLongDarkFrame(LongFrame::kBlank);
      break;
    case DarkStep::kBlankFrame:
      c_.elapsed.Show(c_.port, TR_NOOP("Form", "空計測中　経過時間 %1 sec"));
      break;
    case DarkStep::kBlankDone:
      StartLongDarkFrame(LongFrame::kDark);
      break;
    case DarkStep::kDarkFrame:
      c_.elapsed.Show(c_.port, TR_NOOP("Form", "ダーク計測中　経過時間 %1 sec"));
      break;
    case DarkStep::kDone:
      break;
  }
  if (Step() != DarkStep::kDone) {
    c_.port.ArmTimer(timer::kDark, kDarkPollMs);
  } else {
    c_.port.ArmTimer(timer::kDarkFinish, kDarkFinishMs);
  }
}

void ReferenceCaptures::AcquireDarkShortFrames() {
  AcquireDarkFrames(2);
  for (int k = 0; k < c_.SensorCount() && !c_.lastFault.Any(); ++k) {
    data::SensorEntry& sensor = c_.document.Sensor(k);
    std::copy_n(c_.view.accumulator[k].begin(), data::UsablePixels(sensor),
                sensor.darkTables[0].begin());
  }
  // After a fault or a stop request no new transfer starts: the sequence ends instead.
  for (int k = 0; k < c_.SensorCount() && !c_.lastFault.Any() && !TransferStopRequested(); ++k) {
    SetDeviceExposure(c_.DeviceOf(k), kLongestExposureUs);
  }
}

// Short frames -> blank frame, blank done -> dark frame: the step moves on before the worker
// starts, so that the worker's own step is the last write. The blank frame, the first at 9.5 s, is
// not used.
void ReferenceCaptures::StartLongDarkFrame(LongFrame frame) {
  c_.elapsed.Start(c_.port.TickMs());
  if (frame == LongFrame::kBlank) {
    darkStep_.store(DarkStep::kBlankFrame, std::memory_order_release);
    c_.LaunchWorker([this] {
      RunLongDarkFrame(TR_NOOP("Form", "空の１０秒計測を実施します"),
                       TR_NOOP("Form", "空の１０秒計測を実施しました"), DarkStep::kBlankDone);
    });
  } else {
    darkStep_.store(DarkStep::kDarkFrame, std::memory_order_release);
    c_.LaunchWorker([this] {
      RunLongDarkFrame(TR_NOOP("Form", "ダークの１０秒計測を実施します"),
                       TR_NOOP("Form", "ダークの１０秒計測を終了しました"), DarkStep::kDone);
    });
  }
}

void ReferenceCaptures::RunLongDarkFrame(const char* before, const char* after, DarkStep done) {
  c_.port.ForwardMessage(before);
  c_.acquisitionBusy.store(true, std::memory_order_release);
  AcquireDarkFrames(1);
  c_.acquisitionBusy.store(false, std::memory_order_release);
  c_.port.ForwardMessage(after);
  darkStep_.store(done, std::memory_order_release);  // the very last write
}

void ReferenceCaptures::OnDarkFinishTimer() {
  if (!f_.darkRunning || Step() != DarkStep::kDone) return;
  c_.JoinWorker();
  if (c_.lastFault.Any()) {
    RefuseDarkRegistration();
  } else {
    FinishDarkSteps();
    const bool confirmed =
        c_.port.AskOkCancel(TR_NOOP("Form", "ダーク計測を終了しました。装置へ登録しますか?"));
    if (!confirmed || RegisterDarkInInstruments()) {
      c_.port.ShowMessage(TR_NOOP("Form", "装置への登録を終了しました。計測が可能です"));
    } else {
      c_.port.ShowMessage(TR_NOOP("Form", "装置への登録に失敗しました"));
    }
  }
  c_.shared.measuring = false;
  f_.darkRunning = false;
  c_.UpdateControlStates();
}

void ReferenceCaptures::FinishDarkSteps() {
  for (int k = 0; k < c_.SensorCount(); ++k) {
    data::SensorEntry& sensor = c_.document.Sensor(k);
    std::copy_n(c_.view.accumulator[k].begin(), data::UsablePixels(sensor),
                sensor.darkTables[data::kDarkLongStep].begin());
    InterpolateDarkSteps(sensor);
    data::UpdateDarkModel(sensor, c_.processing.dark[k]);
  }
}

// Writes every sensor's dark steps; the first write that is not acknowledged in full is told
// and ends the registration.
bool ReferenceCaptures::RegisterDarkInInstruments() {
  c_.port.ShowMessage(TR_NOOP("Form", "ダーク登録中"));
  for (int k = 0; k < c_.SensorCount(); ++k) {
    const data::SensorEntry& sensor = c_.document.Sensor(k);
    const TableWrite write = WriteDarkSteps(sensor, c_.DeviceOf(k));
    c_.lastFault =
        CheckWrite(c_.port, k, sensor.serialNo, TR_NOOP("Form", "ダークテーブル"), write);
    if (c_.lastFault.Any()) return false;
  }
  return true;
}

void ReferenceCaptures::RegisterWhite() {
  static const ReferenceKind kWhite{
      TR_NOOP("Form", "反射率測定のための白色板での測定値を登録します。"),
      TR_NOOP("Form", "白色板での測定値を登録しますか"), TR_NOOP("Form", "ホワイトテーブル"),
      &data::SensorEntry::whiteTable, &WriteWhiteTable};
  RegisterReference(kWhite);
}

void ReferenceCaptures::RegisterTransmission() {
  static const ReferenceKind kTransmission{
      TR_NOOP("Form", "透過率測定のための透明状態での測定値を登録します。"),
      TR_NOOP("Form", "透過１００％での測定値を登録しますか"), TR_NOOP("Form", "透過テーブル"),
      &data::SensorEntry::transmissionTable, &WriteTransmissionTable};
  RegisterReference(kTransmission);
}

bool ReferenceCaptures::DisplayedRecordHasSpectrum(int sensor) const {
  if (sensor < 0 || sensor >= c_.SensorCount()) return false;
  const int record = c_.shared.displayIndex;
  if (record < 0 || record >= data::kRecordSlots) return false;
  return c_.document.Record(sensor, record).spectra != nullptr;
}

// Copies the selected sensor's displayed record into the reference table, its exposure after
// the pixels, and writes the table to the instrument.
void ReferenceCaptures::RegisterReference(const ReferenceKind& kind) {
  if (!c_.Idle()) return;
  const int sensor = c_.view.selectedSensor;
  if (!DisplayedRecordHasSpectrum(sensor)) {
    c_.port.ShowOkMessage(text::kNothingToRegister);
    return;
  }
  const int displayed = c_.shared.displayIndex;
  const bool workingSlot = displayed >= c_.document.recordCount[sensor];
  if (workingSlot && c_.lastFault.Any() && c_.lastFault.record == displayed) {
    c_.port.ShowOkMessage(kIncompleteDisplayed);  // the working slot of a pass that failed
    return;
  }
  c_.port.ShowMessageLines(kind.firstLine, kRegisterDisplayed);
  if (!c_.port.AskOkCancel(kind.question)) return;
  ClearTransferStop();
  data::SensorEntry& entry = c_.document.Sensor(sensor);
  const data::RecordSlot& slot = c_.document.Record(sensor, c_.shared.displayIndex);
  data::PixelTable& table = entry.*kind.table;
  const int pixels = data::UsablePixels(entry);
  std::copy_n(slot.spectra->processedSpectrum.begin(), pixels, table.begin());
  table[pixels] = static_cast<float>(slot.recordExposureUs);
  c_.lastFault = CheckWrite(c_.port, sensor, entry.serialNo, kind.tableName,
                            kind.write(entry, c_.DeviceOf(sensor)));
}

void ReferenceCaptures::DarkReset() {
  c_.port.ShowMessageLines(TR_NOOP("Form", "光のないときのデータ（ダーク）を登録します。"),
                           kRegisterDisplayed);
  c_.port.AskOkCancel(TR_NOOP("Form", "光のない測定値（ダーク）を登録しますか"));
}

void ReferenceCaptures::SkyBgdClicked() {
  if (!c_.Idle()) return;
  if (c_.view.settings.skyBgdOn) {
    ClearSkyBgd();
  } else {
    RegisterSkyBgd();
  }
}

void ReferenceCaptures::RegisterSkyBgd() {
  const int sensors = c_.SensorCount();
  bool complete = sensors > 0;
  for (int k = 0; k < sensors; ++k) complete = complete && DisplayedRecordHasSpectrum(k);
  if (!complete) {
    c_.port.ShowOkMessage(text::kNothingToRegister);
    return;
  }
  controls_.SetText(control::kSkyBgd, TR_NOOP("Form", "SkyBGD解除"));
  settings_.SetSkyBgdOn(true);
  for (int k = 0; k < sensors; ++k) {
    const data::RecordSlot& slot = c_.document.Record(k, c_.shared.displayIndex);
    std::copy_n(slot.spectra->processedSpectrum.begin(), data::UsablePixels(c_.document.Sensor(k)),
                c_.document.skyBgdTable[k].begin());
  }
  char line[96];
  std::snprintf(line, sizeof line, "%d データをSkyBGDに登録しました ", c_.shared.displayIndex + 1);
  c_.AppendLogLine(line);
}

void ReferenceCaptures::ClearSkyBgd() {
  controls_.SetText(control::kSkyBgd, TR_NOOP("Form", "SkyBGD設定"));
  settings_.SetSkyBgdOn(false);
  c_.AppendLogLine("SkyBGDを解除しました ");
}

}  // namespace chromiva::acquisition
