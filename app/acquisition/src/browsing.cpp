// Record browsing: paging and continuous playback, the display choices, data clear and the
// comparison with a second data file.
#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>

#include "chromiva/acquisition/file_messages.h"
#include "chromiva/acquisition/form_texts.h"
#include "chromiva/data/data_file.h"
#include "record_browser.h"

namespace chromiva::acquisition {
namespace {

constexpr int kPlaybackMs = 5;
constexpr int kStartupMs = 100;
constexpr int kDirectionBack = 1;
constexpr int kDirectionNext = 2;

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

RecordBrowser::RecordBrowser(FormContext& context, BrowsingFields& fields)
    : c_(context), controls_(context.Writer(ControlOwner::kBrowser)), f_(fields) {
  EnableCompareControls();
}

RecordBrowser::~RecordBrowser() = default;

// Paging reprocesses records on the window thread, which must not overlap a worker.
void RecordBrowser::Back() {
  if (!c_.Idle() || c_.shared.displayIndex <= 0) return;
  f_.playbackDirection = kDirectionBack;
  StepDisplay(-1);
}

void RecordBrowser::Next() {
  if (!c_.Idle() || c_.shared.displayIndex >= c_.document.recordCount[0] - 1) return;
  f_.playbackDirection = kDirectionNext;
  StepDisplay(+1);
}

void RecordBrowser::StepDisplay(int step) {
  c_.shared.displayIndex += step;
  c_.ShowPosition();
  c_.RefreshDisplayedRecord();
  c_.ShowSummaryOfSelected();
  if (f_.playbackOn) c_.port.ArmTimer(timer::kPlayback, kPlaybackMs);
}

void RecordBrowser::OnPlaybackTimer() {
  if (f_.playbackDirection == kDirectionBack) Back();
  if (f_.playbackDirection == kDirectionNext) Next();
}

void RecordBrowser::ShowFields() {
  controls_.SetChecked(control::kSelectedOnly, f_.selectedOnly);
  controls_.SetChecked(control::kPlayback, f_.playbackOn);
  controls_.SetSelection(control::kDisplayKind, f_.displayKind);
  c_.ShowPosition();
}

void RecordBrowser::PlaybackClicked() {
  f_.playbackOn = !f_.playbackOn;
  controls_.SetChecked(control::kPlayback, f_.playbackOn);
  c_.port.ShowMessage(f_.playbackOn ? TR_NOOP("Form", "BACK/NEXT操作を連続して行います。")
                                    : TR_NOOP("Form", "BACK/NEXT操作を解除します。"));
}

void RecordBrowser::SelectedOnlyClicked() {
  if (c_.shared.measuring || !c_.HasCommittedRecords(c_.view.selectedSensor)) return;
  f_.selectedOnly = !f_.selectedOnly;
  c_.port.ShowMessageLines(f_.selectedOnly
                               ? TR_NOOP("Form", "選択したセンサーのデータのみ表示します。")
                               : TR_NOOP("Form", "全センサーのデータを表示します。"),
                           "");
  c_.RefreshDisplayedRecord();
  c_.port.ShowSensorSummary(c_.view.selectedSensor);
}

void RecordBrowser::DisplayKindChanged() {
  const int kind = c_.controls.At(control::kDisplayKind).selection;
  if (kind != 0 && kind != 1) return;
  f_.displayKind = kind;
  c_.port.ShowMessage(
      kind == 0
          ? TR_NOOP("Form", "波長スペクトルの最大値、最小値およびその波長を表示します")
          : TR_NOOP("Form",
                    "波長スペクトルから CIE-X,Y,Zを計算、さらに、ＲＧＢに変換し表示します。"));
  c_.ShowSummaryOfSelected();
}

void RecordBrowser::ClearData() {
  if (!c_.Idle()) return;
  if (!c_.HasCommittedRecords(0)) {
    c_.port.ShowOkMessage(TR_NOOP("Form", "削除するデータはありません"));
    return;
  }
  if (!c_.port.AskOkCancel(TR_NOOP("Form", "データを削除していいですか？"))) return;
  c_.document.ClearRecords();
  for (int k = 0; k < c_.SensorCount(); ++k) {
    c_.processing.outputs[k].displaySpectrum.fill(0.0F);
  }
  c_.shared.displayIndex = 0;
  c_.ShowPosition();
  c_.ShowRecordCount();
  if (c_.session) {
    c_.session->RecordsCleared();
  } else {
    c_.document.title = data::kUntitledTitle;
  }
  c_.port.ArmTimer(timer::kStartup, kStartupMs);
}

void RecordBrowser::ShowStartupScreen() {
  c_.port.DrawGraph();
  c_.port.DrawColourBar();
  c_.port.DrawLogo();
  c_.port.ShowStatusText("");
  if (c_.HasCommittedRecords(0)) {
    c_.port.ShowMessageLines(TR_NOOP("Form", "以前取得したデータを表示します"),
                             TR_NOOP("Form", "BACK/NEXTボタンで表示できます"));
  } else if (!c_.view.detected) {
    c_.port.ShowMessage(TR_NOOP("Form", "センサーを接続して、検出ボタンを押してください"));
  }
}

void RecordBrowser::Compare() {
  const std::optional<std::string> path =
      c_.port.ChooseOpenFile({text::kCompareFilter, "trdata", "*.trdata"});
  if (!path) {
    DropComparison();
    c_.port.ArmTimer(timer::kStartup, kStartupMs);
    return;
  }
  if (!LoadComparison(*path)) return;
  controls_.SetText(control::kCompareField, FileNameOf(*path));
  f_.compareSensor = 0;
  f_.compareRecord = 0;
  EnableCompareControls();
  ShowCompareFields();
  PrepareCompareSpectrum(f_.compareSensor, f_.compareRecord);
  c_.port.ArmTimer(timer::kStartup, kStartupMs);
}

void RecordBrowser::DropComparison() {
  compareDoc_.reset();
  controls_.SetText(control::kCompareField, "");
  f_.compareSensor = 0;
  f_.compareRecord = 0;
  EnableCompareControls();
}

// A file that cannot be opened or read leaves the previous comparison as it was. Only a
// regular file is read (opened without blocking, so a FIFO or a device is refused at once).
bool RecordBrowser::LoadComparison(const std::string& path) {
  auto loaded = std::make_unique<data::Ctintrose_mfDoc>();
  const data::DataFileResult result = data::OpenDataFile(*loaded, path);
  if (result.error == data::DataFileError::kOpenFailed) {
    c_.port.ShowOkMessage(Filled(Translated(TR_NOOP("Form", "比較ファイルを開けませんでした: %1")),
                                 {result.message}));
    return false;
  }
  if (!result.ok()) {
    c_.port.ShowOkMessage(CompareRefusalMessage(result, FileNameOf(path)));
    return false;
  }
  compareDoc_ = std::move(loaded);
  return true;
}

void RecordBrowser::EnableCompareControls() {
  for (int id : kCompareControls) controls_.SetEnabled(id, compareDoc_ != nullptr);
}

void RecordBrowser::ShowCompareFields() {
  const int sensors = compareDoc_->sensorTable.sensorCount;
  controls_.SetText(control::kCompareField2, Fraction(f_.compareSensor + 1, sensors));
  if (sensors == 0) return;
  const int records = compareDoc_->recordCount[f_.compareSensor];
  controls_.SetText(control::kCompareField3, Fraction(f_.compareRecord + 1, records));
}

void RecordBrowser::PrepareCompareSpectrum(int sensor, int record) {
  if (!compareDoc_ || sensor < 0 || sensor >= data::kMaxSensors) return;
  data::GridArray& out = f_.compareSpectrum[sensor];
  if (record < 0 || record >= data::kRecordSlots || !compareDoc_->Record(sensor, record).spectra) {
    out.fill(0.0F);
    return;
  }
  const data::SensorEntry& entry = compareDoc_->Sensor(sensor);
  const auto pixels = static_cast<std::size_t>(data::UsablePixels(entry));
  const data::PixelArray& values = compareDoc_->Record(sensor, record).spectra->processedSpectrum;
  data::ResampleToGrid({entry.wavelengthTable.data(), pixels}, {values.data(), pixels}, nullptr,
                       out);
}

void RecordBrowser::ShowComparePosition() {
  ShowCompareFields();
  PrepareCompareSpectrum(f_.compareSensor, f_.compareRecord);
  c_.port.DrawGraph();
}

void RecordBrowser::CompareSensorBack() {
  if (!compareDoc_ || f_.compareSensor <= 0) return;
  --f_.compareSensor;
  ShowComparePosition();
}

void RecordBrowser::CompareSensorNext() {
  if (!compareDoc_ || f_.compareSensor >= compareDoc_->sensorTable.sensorCount - 1) return;
  ++f_.compareSensor;
  ShowComparePosition();
}

void RecordBrowser::CompareRecordBack() {
  if (!compareDoc_ || f_.compareRecord <= 0) return;
  --f_.compareRecord;
  ShowComparePosition();
}

void RecordBrowser::CompareRecordNext() {
  if (!compareDoc_) return;
  const int sensor = std::clamp(f_.compareSensor, 0, data::kMaxSensors - 1);
  if (f_.compareRecord >= compareDoc_->recordCount[sensor] - 1) return;
  ++f_.compareRecord;
  ShowComparePosition();
}

}  // namespace chromiva::acquisition
