#include "form_binding.h"

#include "chromiva/data/processing.h"

namespace chromiva::ui {
namespace {

namespace control = acquisition::control;
namespace timer = acquisition::timer;
constexpr int kStartupMs = 100;

}  // namespace

FormBinding::FormBinding(data::Ctintrose_mfDoc& document, acquisition::FormPort& port,
                         const StoredSettings& settings)
    : logic_(document, port, settings.form),
      maintenanceMode_(settings.maintenanceMode),
      storedMaintenanceMode_(settings.maintenanceMode),
      axis_(settings.axis) {}

void FormBinding::OnControlClicked(int id) {
  auto& logic = logic_;
  switch (id) {
    case control::kDetect:
      logic.DetectSensors();
      break;
    case control::kStartStop:
      logic.StartStopMeasurement();
      break;
    case control::kOneShot:
      logic.OneShot();
      break;
    case control::kLightSource:
      logic.SetMeasureMode(data::kLightSource);
      break;
    case control::kReflectance:
      logic.SetMeasureMode(data::kReflectance);
      break;
    case control::kTransmittance:
      logic.SetMeasureMode(data::kTransmittance);
      break;
    case control::kRecordMode:
      logic.RecordModeClicked();
      break;
    case control::kIntervalMode:
      logic.IntervalModeClicked();
      break;
    case control::kWaveComp:
      logic.WaveCompClicked();
      break;
    case control::kColourDisplay:
      logic.fields().colourDisplay = logic.controls().Checked(control::kColourDisplay);
      logic.port().DrawGraph();
      break;
    case control::kDark:
      logic.StartDarkMeasurement();
      break;
    case control::kWhite:
      logic.RegisterWhite();
      break;
    case control::kTransmission:
      logic.RegisterTransmission();
      break;
    case control::kDarkReset:
      logic.DarkReset();
      break;
    case control::kSkyBgd:
      logic.SkyBgdClicked();
      break;
    case control::kBack:
      logic.Back();
      break;
    case control::kNext:
      logic.Next();
      break;
    case control::kPlayback:
      logic.PlaybackClicked();
      break;
    case control::kSelectedOnly:
      logic.SelectedOnlyClicked();
      break;
    case control::kClear:
      logic.ClearData();
      break;
    case control::kCompare:
      logic.Compare();
      break;
    case control::kCompareBack:
      logic.CompareSensorBack();
      break;
    case control::kCompareNext:
      logic.CompareSensorNext();
      break;
    case control::kCompareBack2:
      logic.CompareRecordBack();
      break;
    case control::kCompareNext2:
      logic.CompareRecordNext();
      break;
    // The CSV dialog (1052), the operation history (1039) and the maintenance dialog (1041)
    // are opened by the router once their dialogs exist.
    default:
      break;
  }
}

void FormBinding::SetControlText(int id, std::string text) {
  logic_.controls().SetText(id, std::move(text));
}

void FormBinding::SetControlChecked(int id, bool checked) {
  logic_.controls().SetChecked(id, checked);
}

void FormBinding::SelectListItem(int id, int index) {
  if (id == control::kSensorList) {
    logic_.SelectSensor(index);
  } else if (id == control::kDisplayKind) {
    logic_.controls()[id].selection = index;
    logic_.DisplayKindChanged();
  }
}

void FormBinding::OnTimer(int timerId) {
  if (timerId == timer::kStartup) {
    logic_.port().KillTimer(timerId);
    OnStartupTimer();
  } else {
    logic_.OnFormTimer(timerId);
  }
}

void FormBinding::OnStartupTimer() {
  auto& port = logic_.port();
  port.DrawGraph();
  port.DrawColourBar();
  port.DrawLogo();
  port.ShowStatusText("");
  if (logic_.document().recordCount[0] > 0) {
    port.ShowMessageLines("以前取得したデータを表示します", "BACK/NEXTボタンで表示できます");
  } else if (!logic_.fields().detected) {
    port.ShowMessage("センサーを接続して、検出ボタンを押してください");
  }
}

void FormBinding::InitialUpdate() {
  auto& controls = logic_.controls();
  auto& fields = logic_.fields();
  const auto& document = logic_.document();
  if (fields.displayIndex >= std::max(document.recordCount[0], 1)) fields.displayIndex = 0;
  controls.SetText(control::kRecordCount, std::to_string(document.recordCount[0]));
  FillSensorList();
  logic_.ShowPosition();
  controls[control::kDisplayKind].selection = fields.displayKind;
  SelectFirstSensor();
  ShowCsvButton();
  controls.SetChecked(control::kColourDisplay, fields.colourDisplay);
  logic_.UpdateControlStates();
  logic_.port().ArmTimer(timer::kStartup, kStartupMs);
}

void FormBinding::FillSensorList() {
  auto& logic = logic_;
  auto& document = logic.document();
  auto& list = logic.controls()[control::kSensorList];
  list.items.clear();
  logic.SyncProcessingSettings();
  for (int k = 0; k < document.sensorTable.sensorCount; ++k) {
    if (document.recordCount[k] > 0 &&
        data::CorrectRecord(document, logic.processing(), k, logic.fields().displayIndex)) {
      data::ResampleRecord(document, logic.processing(), k, logic.fields().displayIndex);
    }
    const std::string& serial = document.Sensor(k).serialNo;
    list.items.push_back(logic.fields().detected ? serial : "(" + serial + ")");
  }
}

void FormBinding::SelectFirstSensor() {
  auto& fields = logic_.fields();
  auto& list = logic_.controls()[control::kSensorList];
  const auto& document = logic_.document();
  if (document.sensorTable.sensorCount <= 0 || list.items.empty()) return;
  if (fields.selectedSensor >= document.sensorTable.sensorCount) fields.selectedSensor = -1;
  if (fields.selectedSensor != -1) return;
  list.selection = 0;
  fields.selectedSensor = 0;
  logic_.controls().SetText(control::kExposure,
                            std::to_string(document.Sensor(0).exposureUs / 1000));
}

void FormBinding::ShowCsvButton() {
  auto& controls = logic_.controls();
  controls.SetEnabled(control::kCsv, !logic_.fields().measuring);
  controls.SetText(control::kCsv, logic_.fields().csv.csvAuto ? "CSV保存(AUTO)" : "CSV保存");
}

StoredSettings FormBinding::CurrentSettings() const {
  const acquisition::FormFields& fields = logic_.fields();
  StoredSettings stored;
  stored.form.averageCount = fields.averageCount;
  stored.form.recordMode = fields.recordMode;
  stored.form.intervalMode = fields.intervalMode;
  stored.form.intervalMs = fields.intervalMs;
  stored.form.waveComp = fields.settings.waveComp;
  stored.form.playbackOn = fields.playbackOn;
  stored.form.displayKind = fields.displayKind;
  stored.form.csv = fields.csv;
  stored.maintenanceMode = storedMaintenanceMode_;
  stored.axis = axis_;
  return stored;
}

}  // namespace chromiva::ui
