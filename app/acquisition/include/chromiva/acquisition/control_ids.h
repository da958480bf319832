// Numeric ids of the form's controls and window timers.
#pragma once

namespace chromiva::acquisition {

namespace control {
inline constexpr int kGraphFrame = 1000;
inline constexpr int kStartStop = 1001;
inline constexpr int kDetect = 1002;
inline constexpr int kSensorList = 1003;
inline constexpr int kDeviceList = 1004;
inline constexpr int kExposure = 1005;
inline constexpr int kExposureLabel = 1006;
inline constexpr int kModeLabel = 1007;
inline constexpr int kLightSource = 1008;
inline constexpr int kReflectance = 1009;
inline constexpr int kTransmittance = 1010;
// The radio button of measurement mode 0, 1 or 2 (light source, reflectance, transmittance).
constexpr int ModeRadio(int mode) {
  return kLightSource + mode;
}
inline constexpr int kAverageLabel = 1011;
inline constexpr int kAverage = 1012;
inline constexpr int kSensorLabel = 1013;
inline constexpr int kRecordMode = 1014;
inline constexpr int kRecordCount = 1015;
inline constexpr int kIntervalMode = 1016;
inline constexpr int kInterval = 1017;
inline constexpr int kWaveComp = 1018;
inline constexpr int kSelectedOnly = 1019;
inline constexpr int kWhite = 1020;
inline constexpr int kTransmission = 1021;
inline constexpr int kCompareField = 1022;
inline constexpr int kOneShot = 1023;
inline constexpr int kColourDisplay = 1024;
inline constexpr int kSkyBgd = 1025;
inline constexpr int kBack = 1035;
inline constexpr int kNext = 1036;
inline constexpr int kPlayback = 1037;
inline constexpr int kPosition = 1038;
inline constexpr int kHistory = 1039;
inline constexpr int kDarkReset = 1040;
inline constexpr int kMaintenance = 1041;
inline constexpr int kClear = 1042;
inline constexpr int kCompare = 1043;
inline constexpr int kCompareBack = 1044;
inline constexpr int kCompareNext = 1045;
inline constexpr int kCompareField2 = 1046;
inline constexpr int kDisplayKind = 1047;
inline constexpr int kDisplayKindLabel = 1048;
inline constexpr int kCompareBack2 = 1049;
inline constexpr int kCompareNext2 = 1050;
inline constexpr int kCompareField3 = 1051;
inline constexpr int kCsv = 1052;
inline constexpr int kDark = 1053;
inline constexpr int kLogoArea = 1071;
inline constexpr int kTitle = 1072;
}  // namespace control

namespace timer {
inline constexpr int kStartup = 1;
inline constexpr int kMeasure = 2;
inline constexpr int kPlayback = 3;
inline constexpr int kDark = 4;
inline constexpr int kDarkFinish = 5;
}  // namespace timer

}  // namespace chromiva::acquisition
