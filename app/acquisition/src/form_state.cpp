#include "chromiva/acquisition/form_state.h"

#include <stdexcept>

#include "chromiva/acquisition/control_ids.h"
#include "chromiva/acquisition/texts.h"
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
    {control::kStartStop, TR_NOOP("Form", "開始"), true},
    {control::kDetect, TR_NOOP("Form", "検出"), true},
    {control::kSensorList, "", false},
    {control::kDeviceList, "", false},
    {control::kExposure, "", true},
    {control::kExposureLabel, TR_NOOP("Form", "露光時間(ms)"), true},
    {control::kModeLabel, TR_NOOP("Form", "計測モード"), true},
    {control::kLightSource, TR_NOOP("Form", "光源"), true},
    {control::kReflectance, TR_NOOP("Form", "反射"), true},
    {control::kTransmittance, TR_NOOP("Form", "透過"), true},
    {control::kAverageLabel, TR_NOOP("Form", "平均回数"), true},
    {control::kAverage, "", true},
    {control::kSensorLabel, TR_NOOP("Form", "センサー"), false},
    {control::kRecordMode, TR_NOOP("Form", "記録保存"), true},
    {control::kRecordCount, "", true},
    {control::kIntervalMode, TR_NOOP("Form", "計測間隔(ms)"), true},
    {control::kInterval, "", true},
    {control::kWaveComp, TR_NOOP("Form", "波長感度補正"), true},
    {control::kSelectedOnly, TR_NOOP("Form", "選択した分光器のみ表示"), false},
    {control::kWhite, TR_NOOP("Form", "ホワイト設定"), true},
    {control::kTransmission, TR_NOOP("Form", "100%透過設定"), true},
    {control::kCompareField, "", false},
    {control::kOneShot, TR_NOOP("Form", "ワンショット"), true},
    {control::kColourDisplay, TR_NOOP("Form", "カラー表示"), true},
    {control::kSkyBgd, TR_NOOP("Form", "SkyBGD設定"), true},
    {control::kBack, TR_NOOP("Form", "BACK"), true},
    {control::kNext, TR_NOOP("Form", "NEXT"), true},
    {control::kPlayback, TR_NOOP("Form", "連続再生"), true},
    {control::kPosition, "", true},
    {control::kHistory, TR_NOOP("Form", "操作履歴表示"), true},
    {control::kDarkReset, TR_NOOP("Form", "ダーク再設定"), false},
    {control::kMaintenance, TR_NOOP("Form", "メンテナンス作業"), false},
    {control::kClear, TR_NOOP("Form", "データクリア"), true},
    {control::kCompare, TR_NOOP("Form", "比較"), false},
    {control::kCompareBack, TR_NOOP("Form", "BACK"), false},
    {control::kCompareNext, TR_NOOP("Form", "NEXT"), false},
    {control::kCompareField2, "", false},
    {control::kDisplayKind, "", false},
    {control::kDisplayKindLabel, TR_NOOP("Form", "表示データ"), false},
    {control::kCompareBack2, TR_NOOP("Form", "BACK"), false},
    {control::kCompareNext2, TR_NOOP("Form", "NEXT"), false},
    {control::kCompareField3, "", false},
    {control::kCsv, TR_NOOP("Form", "ＣＳＶ保存"), true},
    {control::kDark, TR_NOOP("Form", "ダーク計測"), true},
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
  controls_[control::kDisplayKind].items = {TR_NOOP("Form", "最大/最小/温度"),
                                            TR_NOOP("Form", "ＣＩＥデータ")};
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
