// Reference captures: the dark sequence with its two worker threads, the white and 100 %
// transmission registrations, dark re-registration and the sky background.
#include <algorithm>
#include <cstdio>

#include "chromiva/acquisition/calibration_io.h"
#include "chromiva/acquisition/form_logic.h"
#include "chromiva/acquisition/history.h"
#include "chromiva/data/text_codec.h"
#include "wrenlink.h"

namespace chromiva::acquisition {
namespace {

constexpr double kShortestExposureUs = 265.0;
constexpr double kLongestExposureUs = 9500000.0;
constexpr int kDarkPollMs = 10;
constexpr int kDarkFinishMs = 1000;
constexpr int kDarkStepsDone = 5;
constexpr double kLongStep = data::kDarkLongStep;

constexpr const char* kRegisterDisplayed = "選択したセンサー、現在表示データを登録します。";

int PixelsOf(const data::SensorEntry& sensor) {
  return std::clamp(sensor.pixelCount, 0, data::kMaxPixels);
}

// Steps 1 to 20 (except the measured step 19) on the straight line from step 0 to step 19.
void InterpolateDarkSteps(data::SensorEntry& sensor) {
  const data::PixelArray& first = sensor.darkTables[0];
  const data::PixelArray& last = sensor.darkTables[data::kDarkLongStep];
  for (int step = 1; step < data::kDarkSteps; ++step) {
    if (step == data::kDarkLongStep) continue;
    data::PixelArray& target = sensor.darkTables[step];
    for (int p = 0; p < PixelsOf(sensor); ++p) {
      const double rise = static_cast<double>(last[p]) - first[p];
      target[p] = static_cast<float>(rise * step / kLongStep + first[p]);
    }
  }
}

}  // namespace

// What distinguishes the white from the 100 % transmission registration.
struct FormLogic::ReferenceKind {
  const char* firstLine;
  const char* question;
  const char* tableName;
  data::PixelTable data::SensorEntry::*table;
  int (*write)(const data::SensorEntry&, int);
};

void FormLogic::StartDarkMeasurement() {
  if (fields_.measuring || AcquisitionState() != 0) return;
  if (HasCommittedRecords(0)) {
    port_.ShowOkMessage(
        "ダーク計測をすると以前のデータが変わってしまいます。先にデータを保存し、データクリアを"
        "してください");
    return;
  }
  if (!port_.AskOkCancel("ティントローズを遮光してください。ダーク計測には３０秒かかります。"
                         "よろしいですか?")) {
    return;
  }
  for (int k = 0; k < document_.sensorTable.sensorCount; ++k) {
    SetDeviceExposure(fields_.deviceIndex[k], kShortestExposureUs);
  }
  darkStep_.store(0, std::memory_order_release);
  fields_.measuring = true;
  fields_.darkRunning = true;
  UpdateControlStates();
  controls_.SetEnabled(control::kStartStop, false);
  port_.ArmTimer(timer::kDark, kDarkPollMs);
}

void FormLogic::OnDarkTimer() {
  switch (DarkStep()) {
    case 0:
      for (int k = 0; k < document_.sensorTable.sensorCount; ++k) {
        AcquireAveraged(k, document_.recordCount[k], 1);  // first frame at 265 us: not used
      }
      darkStep_.store(1, std::memory_order_release);
      break;
    case 1:
      AcquireDarkShortFrames();
      StartLongDarkFrame(DarkWorkerKind::kBlank);
      break;
    case 2:
      ShowDarkElapsedSeconds("空計測中　経過時間 %2d sec");
      break;
    case 3:
      StartLongDarkFrame(DarkWorkerKind::kDark);
      break;
    case 4:
      ShowDarkElapsedSeconds("ダーク計測中　経過時間 %2d sec");
      break;
    default:
      break;
  }
  if (DarkStep() < kDarkStepsDone) {
    port_.ArmTimer(timer::kDark, kDarkPollMs);
  } else {
    port_.ArmTimer(timer::kDarkFinish, kDarkFinishMs);
  }
}

void FormLogic::AcquireDarkShortFrames() {
  for (int k = 0; k < document_.sensorTable.sensorCount; ++k) {
    AcquireAveraged(k, document_.recordCount[k], 2);
    data::SensorEntry& sensor = document_.Sensor(k);
    std::copy_n(fields_.accumulator[k].begin(), PixelsOf(sensor), sensor.darkTables[0].begin());
  }
  for (int k = 0; k < document_.sensorTable.sensorCount; ++k) {
    SetDeviceExposure(fields_.deviceIndex[k], kLongestExposureUs);
  }
}

// Steps 1 -> 2 (blank) and 3 -> 4 (dark): the step moves on before the worker starts, so that
// the worker's own step is the last write.
void FormLogic::StartLongDarkFrame(DarkWorkerKind kind) {
  fields_.phaseStartTick = port_.TickMs();
  fields_.shownSeconds = 0;
  darkStep_.store(kind == DarkWorkerKind::kBlank ? 2 : 4, std::memory_order_release);
  if (launchDarkWorker_) {
    launchDarkWorker_(*this, kind);
  } else {
    LaunchDarkWorkerThread(kind);
  }
}

void FormLogic::LaunchDarkWorkerThread(DarkWorkerKind kind) {
  JoinWorker();
  if (kind == DarkWorkerKind::kBlank) {
    worker_ = std::thread([this] { BlankWorker(); });
  } else {
    worker_ = std::thread([this] { DarkWorker(); });
  }
}

void FormLogic::BlankWorker() {
  RunLongDarkFrame("空の１０秒計測を実施します", "空の１０秒計測を実施しました");
}

void FormLogic::DarkWorker() {
  RunLongDarkFrame("ダークの１０秒計測を実施します", "ダークの１０秒計測を終了しました");
}

void FormLogic::RunLongDarkFrame(const char* before, const char* after) {
  port_.ForwardMessage(before);
  acquisitionBusy_.store(true, std::memory_order_release);
  for (int k = 0; k < document_.sensorTable.sensorCount; ++k) {
    AcquireAveraged(k, document_.recordCount[k], 1);
  }
  acquisitionBusy_.store(false, std::memory_order_release);
  port_.ForwardMessage(after);
  darkStep_.fetch_add(1, std::memory_order_release);  // the very last write
}

void FormLogic::ShowDarkElapsedSeconds(const char* format) {
  const int seconds = static_cast<int>((port_.TickMs() - fields_.phaseStartTick) / 1000);
  if (seconds == fields_.shownSeconds) return;
  fields_.shownSeconds = seconds;
  char line[96];
  std::snprintf(line, sizeof line, format, seconds);
  port_.ShowMessage(line);
}

void FormLogic::OnDarkFinishTimer() {
  if (!fields_.darkRunning || DarkStep() < kDarkStepsDone) return;
  JoinWorker();
  FinishDarkSteps();
  if (port_.AskOkCancel("ダーク計測を終了しました。装置へ登録しますか?")) {
    RegisterDarkInInstruments();
  }
  port_.ShowMessage("装置への登録を終了しました。計測が可能です");
  fields_.measuring = false;
  fields_.darkRunning = false;
  UpdateControlStates();
}

void FormLogic::FinishDarkSteps() {
  for (int k = 0; k < document_.sensorTable.sensorCount; ++k) {
    data::SensorEntry& sensor = document_.Sensor(k);
    std::copy_n(fields_.accumulator[k].begin(), PixelsOf(sensor),
                sensor.darkTables[data::kDarkLongStep].begin());
    InterpolateDarkSteps(sensor);
    data::UpdateDarkModel(sensor, processing_.dark[k]);
  }
}

void FormLogic::RegisterDarkInInstruments() {
  port_.ShowMessage("ダーク登録中");
  for (int k = 0; k < document_.sensorTable.sensorCount; ++k) {
    ReportUnacknowledged(k, "ダークテーブル",
                         WriteDarkSteps(document_.Sensor(k), fields_.deviceIndex[k]));
  }
}

void FormLogic::ReportUnacknowledged(int sensor, const char* table, int missing) {
  if (missing == 0) return;
  char text[256];
  std::snprintf(
      text, sizeof text, "センサー%d (%s) への%sの登録で、%d 件の書き込みに応答がありませんでした",
      sensor + 1, data::DisplayText(document_.Sensor(sensor).serialNo).c_str(), table, missing);
  port_.ShowOkMessage(text);
}

void FormLogic::RegisterWhite() {
  static const ReferenceKind kWhite{"反射率測定のための白色板での測定値を登録します。",
                                    "白色板での測定値を登録しますか", "ホワイトテーブル",
                                    &data::SensorEntry::whiteTable, &WriteWhiteTable};
  RegisterReference(kWhite);
}

void FormLogic::RegisterTransmission() {
  static const ReferenceKind kTransmission{
      "透過率測定のための透明状態での測定値を登録します。", "透過１００％での測定値を登録しますか",
      "透過テーブル", &data::SensorEntry::transmissionTable, &WriteTransmissionTable};
  RegisterReference(kTransmission);
}

bool FormLogic::DisplayedRecordHasSpectrum(int sensor) const {
  if (sensor < 0 || sensor >= document_.sensorTable.sensorCount) return false;
  const int record = fields_.displayIndex;
  if (record < 0 || record >= data::kRecordSlots) return false;
  return document_.Record(sensor, record).spectra != nullptr;
}

// Copies the selected sensor's displayed record into the reference table, its exposure after
// the pixels, and writes the table to the instrument.
void FormLogic::RegisterReference(const ReferenceKind& kind) {
  if (fields_.measuring || AcquisitionState() != 0) return;
  const int sensor = fields_.selectedSensor;
  if (!DisplayedRecordHasSpectrum(sensor)) {
    port_.ShowOkMessage(text::kNothingToRegister);
    return;
  }
  port_.ShowMessageLines(kind.firstLine, kRegisterDisplayed);
  if (!port_.AskOkCancel(kind.question)) return;
  data::SensorEntry& entry = document_.Sensor(sensor);
  const data::RecordSlot& slot = document_.Record(sensor, fields_.displayIndex);
  data::PixelTable& table = entry.*kind.table;
  const int pixels = PixelsOf(entry);
  std::copy_n(slot.spectra->processedSpectrum.begin(), pixels, table.begin());
  table[pixels] = static_cast<float>(slot.recordExposureUs);
  ReportUnacknowledged(sensor, kind.tableName, kind.write(entry, fields_.deviceIndex[sensor]));
}

void FormLogic::DarkReset() {
  port_.ShowMessageLines("光のないときのデータ（ダーク）を登録します。", kRegisterDisplayed);
  port_.AskOkCancel("光のない測定値（ダーク）を登録しますか");
}

void FormLogic::SkyBgdClicked() {
  if (fields_.measuring || AcquisitionState() != 0) return;
  if (fields_.settings.skyBgdOn) {
    ClearSkyBgd();
  } else {
    RegisterSkyBgd();
  }
}

void FormLogic::RegisterSkyBgd() {
  const int sensors = document_.sensorTable.sensorCount;
  bool complete = sensors > 0;
  for (int k = 0; k < sensors; ++k) complete = complete && DisplayedRecordHasSpectrum(k);
  if (!complete) {
    port_.ShowOkMessage(text::kNothingToRegister);
    return;
  }
  controls_.SetText(control::kSkyBgd, "SkyBGD解除");
  fields_.settings.skyBgdOn = true;
  for (int k = 0; k < sensors; ++k) {
    const data::RecordSlot& slot = document_.Record(k, fields_.displayIndex);
    std::copy_n(slot.spectra->processedSpectrum.begin(), PixelsOf(document_.Sensor(k)),
                document_.skyBgdTable[k].begin());
  }
  char line[96];
  std::snprintf(line, sizeof line, "%d データをSkyBGDに登録しました ", fields_.displayIndex + 1);
  AppendLogLine(line);
}

void FormLogic::ClearSkyBgd() {
  controls_.SetText(control::kSkyBgd, "SkyBGD設定");
  fields_.settings.skyBgdOn = false;
  AppendLogLine("SkyBGDを解除しました ");
}

}  // namespace chromiva::acquisition
