// The setting handlers: the mode radios and the boxes of the form, and the settings the dialogs
// and the window hand over.
#include "setting_handlers.h"

#include "chromiva/acquisition/dialogs/csv_dialog.h"

namespace chromiva::acquisition {

void SettingHandlers::Load(const FormSettings& settings) {
  f_.recordMode = settings.recordMode;
  f_.intervalMode = settings.intervalMode;
  f_.settings.waveComp = settings.waveComp;
  f_.csv = settings.csv;
  f_.axisLimits = settings.axisLimits;
  SetMaintenanceMode(settings.maintenanceMode);
  ShowFields();
  c_.UpdateModeEnabling();
}

void SettingHandlers::ShowFields() {
  c_.ShowModeRadios();
  controls_.SetChecked(control::kRecordMode, f_.recordMode);
  controls_.SetChecked(control::kIntervalMode, f_.intervalMode);
  controls_.SetChecked(control::kWaveComp, f_.settings.waveComp);
  controls_.SetChecked(control::kColourDisplay, f_.colourDisplay);
  SetCsvSettings(f_.csv);
}

void SettingHandlers::SetMeasureMode(int mode) {
  static const char* const kFirstLines[] = {
      TR_NOOP("Form", "光源を測定します"),
      TR_NOOP("Form", "反射率を測定します（ホワイト設定が必要になります）"),
      TR_NOOP("Form", "透過率を測定します（透過１００％設定が必要になります）")};
  if (mode < data::kLightSource || mode > data::kTransmittance) return;
  f_.settings.measureMode = mode;
  c_.ShowModeRadios();
  c_.port.ShowMessageLines(kFirstLines[mode],
                           mode == data::kLightSource
                               ? TR_NOOP("Form", "波長別感度補正モードで計測をします")
                               : TR_NOOP("Form", "波長別感度補正モード/補正なしを選択できます"));
  c_.UpdateControlStates();
  RefreshAfterProcessingChange();
}

void SettingHandlers::RecordModeClicked() {
  f_.recordMode = c_.controls.Checked(control::kRecordMode);
  if (f_.recordMode) {
    c_.port.ShowMessageLines(TR_NOOP("Form", "記録モードに設定しました"),
                             TR_NOOP("Form", "計測開始をすると、データを記録します"));
  } else {
    c_.port.ShowMessageLines(TR_NOOP("Form", "記録モードを解除しました"),
                             TR_NOOP("Form", "計測開始をすると、最後のデータのみ記録します"));
  }
  c_.UpdateModeEnabling();
}

void SettingHandlers::IntervalModeClicked() {
  f_.intervalMode = !f_.intervalMode;
  controls_.SetChecked(control::kIntervalMode, f_.intervalMode);
  if (f_.intervalMode) {
    c_.port.ShowMessageLines(TR_NOOP("Form", "計測を指定した間隔で実行します"),
                             TR_NOOP("Form", "間隔をｍｓで設定してください"));
  } else {
    c_.port.ShowMessageLines(TR_NOOP("Form", "計測を最短で実行します"), "");
  }
  c_.UpdateModeEnabling();
}

void SettingHandlers::WaveCompClicked() {
  bool& waveComp = f_.settings.waveComp;
  waveComp = !waveComp;
  controls_.SetChecked(control::kWaveComp, waveComp);
  c_.port.ShowMessageLines(waveComp ? TR_NOOP("Form", "波長別感度補正を設定します")
                                    : TR_NOOP("Form", "波長別感度補正を解除します"),
                           "");
  RefreshAfterProcessingChange();
}

void SettingHandlers::ColourDisplayClicked() {
  f_.colourDisplay = c_.controls.Checked(control::kColourDisplay);
  c_.port.DrawGraph();
}

// A worker may be processing; the displayed record is redone only when the form is idle.
void SettingHandlers::RefreshAfterProcessingChange() {
  if (!c_.shared.measuring && c_.HasCommittedRecords(c_.view.selectedSensor)) {
    c_.RefreshDisplayedRecord();
  }
}

void SettingHandlers::SetCsvSettings(const data::CsvSettings& csv) {
  f_.csv = csv;
  controls_.SetText(control::kCsv, dialogs::CsvButtonCaption(csv.csvAuto));
}

void SettingHandlers::SetMaintenanceMode(int mode) {
  f_.maintenanceMode = mode;
  controls_.SetVisible(control::kMaintenance, mode == 1);
}

}  // namespace chromiva::acquisition
