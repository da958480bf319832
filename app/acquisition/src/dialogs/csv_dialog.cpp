#include "chromiva/acquisition/dialogs/csv_dialog.h"

#include <algorithm>
#include <string_view>

#include "chromiva/acquisition/control_ids.h"
#include "chromiva/data/text_codec.h"

namespace chromiva::acquisition::dialogs {
namespace {

using namespace csv_ids;

constexpr std::size_t kLongestFolder = 259;  // characters
constexpr const char* kBusy = TR_NOOP("Form", "計測中はCSV保存できません");

constexpr int kModeRadios[] = {kFixedNameMode, kTimeNameMode, kNumberNameMode};
constexpr int kAutoControls[] = {kFixedNameMode, kTimeNameMode, kFixedName,  kNumberNameMode,
                                 kFolder,        kBrowse,       kFolderLabel};
constexpr int kHiddenBoxes[] = {kAddTemp, kAddExp, kAddWave, kVertical};

std::size_t CharacterCount(std::string_view utf8) {
  return static_cast<std::size_t>(std::count_if(utf8.begin(), utf8.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

bool IsSeparator(char c) {
  return c == '/' || c == '\\';
}

// The chosen folder without its final separator; a root ("/", "C:\") keeps it, so that the
// automatic save does not land in the current directory instead.
std::string WithoutFinalSeparator(std::string folder) {
  if (folder.empty() || !IsSeparator(folder.back())) return folder;
  std::string trimmed = folder.substr(0, folder.size() - 1);
  const bool root = trimmed.empty() || (trimmed.size() == 2 && trimmed[1] == ':');
  return root ? folder : trimmed;
}

bool HasCommittedRecords(const data::Ctintrose_mfDoc& document, int sensor) {
  return sensor >= 0 && sensor < data::kMaxSensors && document.recordCount[sensor] > 0;
}

int RecordCountOf(const data::Ctintrose_mfDoc& document, int sensor) {
  if (sensor < 0 || sensor >= data::kMaxSensors) return 0;
  return document.recordCount[sensor];
}

}  // namespace

CsvDialogOutcome ApplyCsvDialogOk(const CsvDialogFields& fields, int recordCount) {
  CsvDialogOutcome outcome;
  const int step = data::ParseDialogInteger(fields.stepNm);
  if (step < 1) {
    outcome.refusal = kStepRefusal;
    return outcome;
  }
  outcome.grid = data::ClampCsvGrid(
      {data::ParseDialogInteger(fields.startNm), data::ParseDialogInteger(fields.endNm), step});
  const int count = std::max(recordCount, 0);
  int first = std::max(data::ParseDialogInteger(fields.firstNumber), 1) - 1;
  if (first >= count) first = std::max(count - 1, 0);
  int end = data::ParseDialogInteger(fields.lastNumber);
  if (end < first) end = first;
  if (end >= count) end = count;
  outcome.range = {first, std::max(end, first)};
  outcome.fixedName = data::WithCsvSuffix(fields.fixedName);
  outcome.accepted = true;
  return outcome;
}

const char* CsvButtonCaption(bool csvAuto) {
  return csvAuto ? kButtonAuto : kButtonManual;
}

CsvDialog::CsvDialog(const data::Ctintrose_mfDoc& document, const data::CsvSettings& settings,
                     FormPort& port)
    : document_(document),
      port_(port),
      settings_(settings),
      controls_({{kOk, TR_NOOP("Form", "OK")},
                 {kCancel, TR_NOOP("Form", "キャンセル")},
                 {kAddTemp, TR_NOOP("Form", "温度データをつける")},
                 {kAddExp, TR_NOOP("Form", "露光時間データをつける")},
                 {kAddWave, TR_NOOP("Form", "波長データをつける")},
                 {kVertical, TR_NOOP("Form", "データを縦方向に保存する")},
                 {kAuto, TR_NOOP("Form", "データ取得時にファイルに保存する")},
                 {kFixedNameMode, TR_NOOP("Form", "固定ファイル名")},
                 {kTimeNameMode, TR_NOOP("Form", "時刻ファイル名")},
                 {kNumberNameMode, TR_NOOP("Form", "データ番号ファイル名")},
                 {kFolderLabel, TR_NOOP("Form", "CSVファイル保存フォルダ")},
                 {kBrowse, TR_NOOP("Form", "参照")}}),
      heldFolder_(settings.csvFolder) {
  FillControls();
  ApplyAutoState();
}

void CsvDialog::FillControls() {
  controls_.SetText(kStartNm, std::to_string(settings_.csvStartNm));
  controls_.SetText(kEndNm, std::to_string(settings_.csvEndNm));
  controls_.SetText(kStepNm, std::to_string(settings_.csvStepNm));
  controls_.SetText(kFirstNumber, "1");
  controls_.SetText(kLastNumber, std::to_string(RecordCountOf(document_, 0)));
  for (int box : kHiddenBoxes) controls_.SetVisible(box, false);
  controls_.SetChecked(kAddTemp, settings_.csvAddTemp);
  controls_.SetChecked(kAddExp, settings_.csvAddExp);
  controls_.SetChecked(kAddWave, settings_.csvAddWave);
  controls_.SetChecked(kVertical, settings_.csvVertical);
  ControlState& sensors = controls_[kSensor];
  const int sensorCount = std::clamp(document_.sensorTable.sensorCount, 0, data::kMaxSensors);
  for (int k = 0; k < sensorCount; ++k)
    sensors.items.push_back(data::DisplayText(document_.Sensor(k).serialNo));
  sensors.selection = sensorCount > 0 ? 0 : -1;
  controls_.SetText(kFolder, heldFolder_);
  controls_.SetText(kFixedName, settings_.csvFixedName);
  ControlState& targets = controls_[kTarget];
  targets.items.assign(std::begin(kTargets), std::end(kTargets));
  const bool knownTarget = settings_.csvTarget >= 0 && settings_.csvTarget < 4;
  targets.selection = knownTarget ? settings_.csvTarget : 0;
}

void CsvDialog::ApplyAutoState() {
  const bool on = settings_.csvAuto;
  controls_.SetChecked(kAuto, on);
  for (int id : kAutoControls) controls_.SetEnabled(id, on);
  controls_.SetEnabled(kFirstNumber, !on);
  controls_.SetEnabled(kLastNumber, !on);
  for (int mode = 0; mode < 3; ++mode) {
    controls_.SetChecked(kModeRadios[mode], settings_.csvAutoMode == mode);
  }
}

void CsvDialog::Clicked(int id) {
  switch (id) {
    case kAuto:
      settings_.csvAuto = !settings_.csvAuto;
      ApplyAutoState();
      break;
    case kFixedNameMode:
    case kTimeNameMode:
    case kNumberNameMode:
      settings_.csvAutoMode = id == kFixedNameMode ? 0 : id == kTimeNameMode ? 1 : 2;
      ApplyAutoState();
      break;
    case kAddTemp:
    case kAddExp:
    case kAddWave:
    case kVertical:
      controls_.SetChecked(id, !controls_.Checked(id));
      break;
    case kBrowse:
      Browse();
      break;
    default:
      break;
  }
}

void CsvDialog::Selected(int id, int index) {
  ControlState& list = controls_[id];
  if (index < 0 || index >= static_cast<int>(list.items.size())) return;
  list.selection = index;
  if (id == kSensor) sensorChoice_ = index;
}

void CsvDialog::Browse() {
  auto chosen = port_.ChooseFolder(kFolderTitle, heldFolder_);
  if (chosen && CharacterCount(*chosen) <= kLongestFolder) {
    heldFolder_ = WithoutFinalSeparator(*chosen);
  }
  controls_.SetText(kFolder, heldFolder_);
}

bool CsvDialog::Ok() {
  const CsvDialogFields fields{controls_.Text(kStartNm),    controls_.Text(kEndNm),
                               controls_.Text(kStepNm),     controls_.Text(kFirstNumber),
                               controls_.Text(kLastNumber), controls_.Text(kFixedName)};
  const CsvDialogOutcome outcome =
      ApplyCsvDialogOk(fields, RecordCountOf(document_, sensorChoice_));
  if (!outcome.accepted) {
    port_.ShowOkMessage(outcome.refusal);
    return false;
  }
  settings_.csvStartNm = outcome.grid.startNm;
  settings_.csvEndNm = outcome.grid.endNm;
  settings_.csvStepNm = outcome.grid.stepNm;
  settings_.csvVertical = controls_.Checked(kVertical);
  settings_.csvAddWave = controls_.Checked(kAddWave);
  settings_.csvAddTemp = controls_.Checked(kAddTemp);
  settings_.csvAddExp = controls_.Checked(kAddExp);
  settings_.csvFixedName = outcome.fixedName;
  settings_.csvFolder = controls_.Text(kFolder);
  settings_.csvTarget = std::max(controls_.Selection(kTarget), 0);
  settings_.csvSensor = sensorChoice_;
  range_ = outcome.range;
  accepted_ = true;
  return true;
}

bool OpenCsvDialog(const CsvDialogContext& context, const RunCsvDialog& runModal) {
  FormPort& port = context.port;
  if (context.measuring) {
    port.ShowOkMessage(kBusy);
    return false;
  }
  if (!HasCommittedRecords(context.document, context.selectedSensor)) {
    port.ShowOkMessage(kNoData);
    return false;
  }
  CsvDialog dialog(context.document, context.settings, port);
  if (!runModal(dialog) || !dialog.Accepted()) return false;
  data::CsvSettings& settings = context.settings;
  settings = dialog.settings();
  const data::CsvRange range = dialog.range();
  const bool referenceTarget = settings.csvTarget == data::kCsvWhiteReference ||
                               settings.csvTarget == data::kCsvTransmissionReference;
  const bool manualRecords = !settings.csvAuto && range.first >= 0 && range.first < range.end;
  if (!manualRecords && !referenceTarget) return true;
  auto path = port.ChooseSaveFile({kFilter, kExtension, kInitialName});
  if (!path) return true;
  const data::CsvResult written = data::WriteCsvFile(context.document, context.processing, settings,
                                                     settings.csvSensor, range, *path);
  if (!written.ok())
    port.ShowOkMessage(Translated(kSaveFailed) + "\n" + *path + "\n" + written.message);
  return true;
}

}  // namespace chromiva::acquisition::dialogs
