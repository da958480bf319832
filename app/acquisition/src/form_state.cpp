#include "chromiva/acquisition/form_state.h"

#include <stdexcept>

#include "chromiva/acquisition/control_ids.h"
#include "chromiva/data/csv.h"

namespace chromiva::acquisition {
namespace {

struct InitialControl {
  int id;
  const char* caption;
  bool visible;
};

// Captions of the form's controls; the ones a layout keeps hidden start invisible.
constexpr InitialControl kInitialControls[] = {
    {control::kGraphFrame, "", true},
    {control::kStartStop, "開始", true},
    {control::kDetect, "検出", true},
    {control::kSensorList, "", false},
    {control::kDeviceList, "", false},
    {control::kExposure, "", true},
    {control::kExposureLabel, "露光時間(ms)", true},
    {control::kModeLabel, "計測モード", true},
    {control::kLightSource, "光源", true},
    {control::kReflectance, "反射", true},
    {control::kTransmittance, "透過", true},
    {control::kAverageLabel, "平均回数", true},
    {control::kAverage, "", true},
    {control::kSensorLabel, "センサー", false},
    {control::kRecordMode, "記録保存", true},
    {control::kRecordCount, "", true},
    {control::kIntervalMode, "計測間隔(ms)", true},
    {control::kInterval, "", true},
    {control::kWaveComp, "波長感度補正", true},
    {control::kSelectedOnly, "選択した分光器のみ表示", false},
    {control::kWhite, "ホワイト設定", true},
    {control::kTransmission, "100%透過設定", true},
    {control::kCompareField, "", false},
    {control::kOneShot, "ワンショット", true},
    {control::kColourDisplay, "カラー表示", true},
    {control::kSkyBgd, "SkyBGD設定", true},
    {control::kBack, "BACK", true},
    {control::kNext, "NEXT", true},
    {control::kPlayback, "連続再生", true},
    {control::kPosition, "", true},
    {control::kHistory, "操作履歴表示", true},
    {control::kDarkReset, "ダーク再設定", false},
    {control::kMaintenance, "メンテナンス作業", false},
    {control::kClear, "データクリア", true},
    {control::kCompare, "比較", false},
    {control::kCompareBack, "BACK", false},
    {control::kCompareNext, "NEXT", false},
    {control::kCompareField2, "", false},
    {control::kDisplayKind, "", false},
    {control::kDisplayKindLabel, "表示データ", false},
    {control::kCompareBack2, "BACK", false},
    {control::kCompareNext2, "NEXT", false},
    {control::kCompareField3, "", false},
    {control::kCsv, "ＣＳＶ保存", true},
    {control::kDark, "ダーク計測", true},
    {control::kLogoArea, "", true},
    {control::kTitle, "Chromiva", true},
};

}  // namespace

ControlTable::ControlTable() {
  for (const InitialControl& initial : kInitialControls) {
    ControlState& state = controls_[initial.id];
    state.text = initial.caption;
    state.visible = initial.visible;
  }
  controls_[control::kDisplayKind].items = {"最大/最小/温度", "ＣＩＥデータ"};
}

ControlTable::ControlTable(std::initializer_list<InitialCaption> captions) {
  for (const InitialCaption& initial : captions) controls_[initial.id].text = initial.caption;
}

const ControlState& ControlTable::At(int id) const {
  auto found = controls_.find(id);
  if (found == controls_.end()) throw std::out_of_range("no control " + std::to_string(id));
  return found->second;
}

int ControlTable::Integer(int id) const {
  return data::ParseDialogInteger(Text(id));
}

}  // namespace chromiva::acquisition
