// Record browsing: paging and continuous playback, the display choices, data clear and the
// comparison with a second data file.
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <memory>
#include <optional>

#include "chromiva/acquisition/form_logic.h"
#include "chromiva/data/data_file.h"

namespace chromiva::acquisition {
namespace {

constexpr int kPlaybackMs = 5;
constexpr int kStartupMs = 100;
constexpr int kDirectionBack = 1;
constexpr int kDirectionNext = 2;
constexpr std::size_t kCompareReadBuffer = 4096;

constexpr int kCompareControls[] = {control::kCompareBack,   control::kCompareNext,
                                    control::kCompareField2, control::kCompareBack2,
                                    control::kCompareNext2,  control::kCompareField3};

std::string FileNameOf(const std::string& path) {
  const std::size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string Fraction(int position, int count) {
  char text[48];
  std::snprintf(text, sizeof text, "%d / %d", position, count);
  return text;
}

}  // namespace

// Paging reprocesses records on the window thread, which must not overlap a worker.
bool FormLogic::IdleForRecordChanges() const {
  return !fields_.measuring && AcquisitionState() == 0;
}

void FormLogic::Back() {
  if (!IdleForRecordChanges() || fields_.displayIndex <= 0) return;
  fields_.playbackDirection = kDirectionBack;
  StepDisplay(-1);
}

void FormLogic::Next() {
  if (!IdleForRecordChanges() || fields_.displayIndex >= document_.recordCount[0] - 1) return;
  fields_.playbackDirection = kDirectionNext;
  StepDisplay(+1);
}

void FormLogic::StepDisplay(int step) {
  fields_.displayIndex += step;
  ShowPosition();
  RefreshDisplayedRecord();
  ShowSummaryOfSelected();
  if (fields_.playbackOn) port_.ArmTimer(timer::kPlayback, kPlaybackMs);
}

void FormLogic::ShowSummaryOfSelected() {
  if (fields_.selectedSensor >= 0) {
    port_.ShowSensorSummary(fields_.selectedSensor);
  } else {
    port_.ShowStatusText("");
  }
}

void FormLogic::OnPlaybackTimer() {
  if (fields_.playbackDirection == kDirectionBack) Back();
  if (fields_.playbackDirection == kDirectionNext) Next();
}

void FormLogic::PlaybackClicked() {
  fields_.playbackOn = !fields_.playbackOn;
  controls_.SetChecked(control::kPlayback, fields_.playbackOn);
  port_.ShowMessage(fields_.playbackOn ? "BACK/NEXT操作を連続して行います。"
                                       : "BACK/NEXT操作を解除します。");
}

void FormLogic::SelectedOnlyClicked() {
  if (fields_.measuring || !HasCommittedRecords(fields_.selectedSensor)) return;
  fields_.selectedOnly = !fields_.selectedOnly;
  port_.ShowMessageLines(fields_.selectedOnly ? "選択したセンサーのデータのみ表示します。"
                                              : "全センサーのデータを表示します。",
                         "");
  RefreshDisplayedRecord();
  port_.ShowSensorSummary(fields_.selectedSensor);
}

void FormLogic::DisplayKindChanged() {
  const int kind = controls_.At(control::kDisplayKind).selection;
  if (kind != 0 && kind != 1) return;
  fields_.displayKind = kind;
  port_.ShowMessage(kind == 0
                        ? "波長スペクトルの最大値、最小値およびその波長を表示します"
                        : "波長スペクトルから CIE-X,Y,Zを計算、さらに、ＲＧＢに変換し表示します。");
  ShowSummaryOfSelected();
}

void FormLogic::ClearData() {
  if (!IdleForRecordChanges()) return;
  if (!HasCommittedRecords(0)) {
    port_.ShowOkMessage("削除するデータはありません");
    return;
  }
  if (!port_.AskOkCancel("データを削除していいですか？")) return;
  document_.ClearRecords();
  if (journal_) journal_->Finish();
  for (int k = 0; k < document_.sensorTable.sensorCount; ++k) {
    processing_.outputs[k].displaySpectrum.fill(0.0F);
  }
  fields_.displayIndex = 0;
  ShowPosition();
  controls_.SetText(control::kRecordCount, std::to_string(document_.recordCount[0]));
  document_.title = data::kUntitledTitle;
  port_.ArmTimer(timer::kStartup, kStartupMs);
}

void FormLogic::Compare() {
  const std::optional<std::string> path = port_.ChooseOpenFile(
      {text::kCompareFilter, "trdata", "*.trdata"});
  if (!path) {
    DropComparison();
    port_.ArmTimer(timer::kStartup, kStartupMs);
    return;
  }
  if (!LoadComparison(*path)) return;
  controls_.SetText(control::kCompareField, FileNameOf(*path));
  fields_.compareSensor = 0;
  fields_.compareRecord = 0;
  EnableCompareControls();
  ShowCompareFields();
  PrepareCompareSpectrum(fields_.compareSensor, fields_.compareRecord);
  port_.ArmTimer(timer::kStartup, kStartupMs);
}

void FormLogic::DropComparison() {
  compareDoc_.reset();
  controls_.SetText(control::kCompareField, "");
  fields_.compareSensor = 0;
  fields_.compareRecord = 0;
  EnableCompareControls();
}

// A file that cannot be opened or read leaves the previous comparison as it was.
bool FormLogic::LoadComparison(const std::string& path) {
  std::vector<char> buffer(kCompareReadBuffer);
  std::ifstream in;
  in.rdbuf()->pubsetbuf(buffer.data(), static_cast<std::streamsize>(buffer.size()));
  in.open(path, std::ios::binary);
  if (!in) {
    port_.ShowOkMessage("比較ファイルを開けませんでした: " + path);
    return false;
  }
  auto loaded = std::make_unique<data::Ctintrose_mfDoc>();
  const data::DataFileResult result = data::LoadDataFile(*loaded, in);
  if (!result.ok()) {
    port_.ShowOkMessage("比較ファイルを読み込めませんでした: " + FileNameOf(path) + "\n" +
                        result.message);
    return false;
  }
  compareDoc_ = std::move(loaded);
  return true;
}

void FormLogic::EnableCompareControls() {
  for (int id : kCompareControls) controls_.SetEnabled(id, compareDoc_ != nullptr);
}

void FormLogic::ShowCompareFields() {
  const int sensors = compareDoc_->sensorTable.sensorCount;
  controls_.SetText(control::kCompareField2, Fraction(fields_.compareSensor + 1, sensors));
  if (sensors == 0) return;
  const int records = compareDoc_->recordCount[fields_.compareSensor];
  controls_.SetText(control::kCompareField3, Fraction(fields_.compareRecord + 1, records));
}

void FormLogic::PrepareCompareSpectrum(int sensor, int record) {
  if (!compareDoc_ || sensor < 0 || sensor >= data::kMaxSensors) return;
  data::GridArray& out = fields_.compareSpectrum[sensor];
  if (record < 0 || record >= data::kRecordSlots || !compareDoc_->Record(sensor, record).spectra) {
    out.fill(0.0F);
    return;
  }
  const data::SensorEntry& entry = compareDoc_->Sensor(sensor);
  const auto pixels = static_cast<std::size_t>(std::clamp(entry.pixelCount, 0, data::kMaxPixels));
  const data::PixelArray& values = compareDoc_->Record(sensor, record).spectra->processedSpectrum;
  data::ResampleToGrid({entry.wavelengthTable.data(), pixels}, {values.data(), pixels}, nullptr,
                       out);
}

void FormLogic::ShowComparePosition() {
  ShowCompareFields();
  PrepareCompareSpectrum(fields_.compareSensor, fields_.compareRecord);
  port_.DrawGraph();
}

void FormLogic::CompareSensorBack() {
  if (!compareDoc_ || fields_.compareSensor <= 0) return;
  --fields_.compareSensor;
  ShowComparePosition();
}

void FormLogic::CompareSensorNext() {
  if (!compareDoc_ || fields_.compareSensor >= compareDoc_->sensorTable.sensorCount - 1) return;
  ++fields_.compareSensor;
  ShowComparePosition();
}

void FormLogic::CompareRecordBack() {
  if (!compareDoc_ || fields_.compareRecord <= 0) return;
  --fields_.compareRecord;
  ShowComparePosition();
}

void FormLogic::CompareRecordNext() {
  if (!compareDoc_) return;
  const int sensor = std::clamp(fields_.compareSensor, 0, data::kMaxSensors - 1);
  if (fields_.compareRecord >= compareDoc_->recordCount[sensor] - 1) return;
  ++fields_.compareRecord;
  ShowComparePosition();
}

}  // namespace chromiva::acquisition
