#include "form_layout.h"

#include "chromiva/acquisition/control_ids.h"

namespace chromiva::ui {
namespace {

namespace c = acquisition::control;
using K = ControlKind;

constexpr int kGraphFrameMargin = 35;

const ControlSpec kControls[] = {
    {c::kGraphFrame, K::kGraphFrame, {5, 30, 600, 0}},
    {c::kLogoArea, K::kOwnerDrawn, {617, 7, 160, 80}},
    {c::kTitle, K::kTitle, {24, 5, 173, 32}},
    {c::kDetect, K::kButton, {615, 92, 160, 28}},
    {c::kModeLabel, K::kStatic, {615, 127, 75, 20}},
    {c::kDark, K::kButton, {700, 124, 80, 20}},
    {c::kLightSource, K::kRadio, {625, 147, 60, 20}},
    {c::kSkyBgd, K::kButton, {680, 147, 100, 20}},
    {c::kReflectance, K::kRadio, {625, 167, 60, 20}},
    {c::kWhite, K::kButton, {680, 167, 100, 20}},
    {c::kTransmittance, K::kRadio, {625, 187, 60, 20}},
    {c::kTransmission, K::kButton, {680, 187, 100, 20}},
    {c::kStartStop, K::kButton, {615, 212, 70, 28}},
    {c::kOneShot, K::kButton, {695, 212, 100, 28}},
    {c::kExposureLabel, K::kStatic, {615, 250, 90, 20}},
    {c::kExposure, K::kEdit, {730, 247, 60, 20}},
    {c::kAverageLabel, K::kStatic, {615, 275, 90, 20}},
    {c::kAverage, K::kEdit, {730, 272, 60, 20}},
    {c::kRecordMode, K::kCheckBox, {615, 300, 90, 20}},
    {c::kRecordCount, K::kReadOnlyEdit, {730, 300, 60, 20}},
    {c::kIntervalMode, K::kCheckBox, {615, 325, 110, 20}},
    {c::kInterval, K::kEdit, {730, 325, 60, 20}},
    {c::kWaveComp, K::kCheckBox, {615, 347, 120, 20}},
    {c::kColourDisplay, K::kCheckBox, {615, 372, 180, 20}},
    {c::kBack, K::kButton, {615, 397, 40, 20}},
    {c::kPosition, K::kReadOnlyEdit, {660, 397, 80, 20}},
    {c::kNext, K::kButton, {745, 397, 40, 20}},
    {c::kPlayback, K::kCheckBox, {665, 417, 120, 20}},
    {c::kClear, K::kButton, {615, 437, 160, 25}},
    {c::kCsv, K::kButton, {615, 467, 160, 25}},
    {c::kHistory, K::kButton, {615, 497, 160, 25}},
    {c::kMaintenance, K::kButton, {615, 527, 160, 28}},
    // Kept hidden for the whole run; their places are those of the form's template.
    {c::kSensorLabel, K::kStatic, {615, 565, 60, 20}},
    {c::kSensorList, K::kListBox, {615, 585, 160, 60}},
    {c::kDeviceList, K::kListBox, {615, 650, 160, 40}},
    {c::kDarkReset, K::kButton, {680, 565, 100, 20}},
    {c::kSelectedOnly, K::kCheckBox, {615, 695, 180, 20}},
    {c::kDisplayKindLabel, K::kStatic, {615, 720, 80, 20}},
    {c::kDisplayKind, K::kDropDownList, {700, 718, 90, 60}},
    {c::kCompare, K::kButton, {615, 745, 50, 20}},
    {c::kCompareBack, K::kButton, {615, 770, 40, 20}},
    {c::kCompareField, K::kReadOnlyEdit, {660, 770, 80, 20}},
    {c::kCompareNext, K::kButton, {745, 770, 40, 20}},
    {c::kCompareBack2, K::kButton, {615, 795, 40, 20}},
    {c::kCompareField2, K::kReadOnlyEdit, {660, 795, 80, 20}},
    {c::kCompareNext2, K::kButton, {745, 795, 40, 20}},
    {c::kCompareField3, K::kReadOnlyEdit, {660, 820, 80, 20}},
};

}  // namespace

std::span<const ControlSpec> FormControls() {
  return kControls;
}

QRect ControlPlace(int id, int clientHeight) {
  for (const ControlSpec& spec : kControls) {
    if (spec.id != id) continue;
    QRect place = spec.place;
    if (spec.kind == ControlKind::kGraphFrame) place.setHeight(clientHeight - kGraphFrameMargin);
    return place;
  }
  return {};
}

}  // namespace chromiva::ui
