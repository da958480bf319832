// Detection and release of the instruments, and the choice of sensor.
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <optional>

#include "chromiva/acquisition/calibration_io.h"
#include "chromiva/acquisition/exposure_limits.h"
#include "chromiva/acquisition/form_texts.h"
#include "chromiva/acquisition/instrument_identity.h"
#include "chromiva/data/text_codec.h"
#include "sensor_detection.h"
#include "wrenlink.h"

namespace chromiva::acquisition {
namespace {

constexpr int kDeviceIndices = 10;

constexpr const char* kShortTableLine =
    TR_NOOP("Form", "センサー%1 (%2) の%3が途中までしか読めませんでした（%4 / %5 バイト）");
constexpr const char* kShortTablesLeftOut =
    TR_NOOP("Form", "このセンサーは計測に使いません (left out: its tables did not arrive whole)");
constexpr const char* kLeftOutAtIndex =
    TR_NOOP("Form",
            "インデックス %1 の装置が正しく応答しないため、検出から外しました (left out at index "
            "%1: %2)");

std::string DescribeShortTables(int sensor, const std::string& serial,
                                const std::vector<ShortTable>& tables) {
  std::string text;
  for (const ShortTable& table : tables) {
    text += Filled(Translated(kShortTableLine),
                   {std::to_string(sensor + 1), serial, ShortTableName(table),
                    std::to_string(table.received), std::to_string(table.expected)}) +
            "\n";
  }
  return text;
}

}  // namespace

void SensorDetection::DetectSensors() {
  if (f_.detected) {
    ReleaseSensors();
    return;
  }
  if (!ConfirmClearForDetection()) return;
  ClearTransferStop();
  DetectAll();
  data::SensorTable& table = c_.document.sensorTable;
  if (table.sensorCount > 0) {
    if (f_.selectedSensor < 0) f_.selectedSensor = 0;
    controls_.SetSelection(control::kSensorList, f_.selectedSensor);
    ShowExposureOfSelected();
    c_.port.ShowMessageLines(
        TR_NOOP("Form", "計測モードを選択してください"),
        TR_NOOP("Form", "検出したセンサーを選択すると、露光時間を変更できます"));
    c_.AppendLogLine("センサー検出 ", c_.SensorPieces("%d:serial=%s exp=%d  "));
    controls_.SetText(control::kDetect, text::kRelease);
    f_.detected = true;
  }
  c_.UpdateControlStates();
  if (!reports_.empty()) {
    std::string report;
    for (const std::string& line : reports_) report += line;
    c_.port.ShowOkMessage(report);
  }
}

bool SensorDetection::ConfirmClearForDetection() {
  if (c_.document.recordCount[0] < 1) return true;
  if (!c_.port.AskOkCancel(
          TR_NOOP("Form", "取り込み済みのデータはクリアされますが、よろしかったでしょうか"))) {
    return false;
  }
  c_.document.ClearRecords();
  if (c_.session) c_.session->journal().Finish();
  c_.shared.displayIndex = 0;
  return true;
}

void SensorDetection::DetectAll() {
  data::SensorTable& table = c_.document.sensorTable;
  table.sensorCount = 0;
  table.ledCount = 0;
  table.mirrorCount = 0;
  controls_.Items(control::kSensorList).clear();
  controls_.Items(control::kDeviceList).clear();
  reports_.clear();
  for (int index = 0; index < kDeviceIndices && !TransferStopRequested(); ++index) {
    DetectOne(index);
  }
}

void SensorDetection::DetectOne(int index) {
  if (DetectDevice(index) != 1) return;
  const InstrumentIdentity identity = ReadIdentity(index);
  if (!identity.ok()) {
    LeaveOut(index, identity.problem);
    return;
  }
  data::SensorTable& table = c_.document.sensorTable;
  std::vector<std::string>& devices = controls_.Items(control::kDeviceList);
  const int kind = identity.kind;
  switch (kind) {
    case WRENLINK_KIND_C12880MA:
      if (table.sensorCount < data::kMaxSensors) AddSpectrometer(index);
      break;
    case WRENLINK_KIND_LED_16CH:
    case WRENLINK_KIND_LED_8CH:
      if (table.ledCount < data::kMaxLedUnits) {
        const bool sixteen = kind == WRENLINK_KIND_LED_16CH;
        table.ledChannels[table.ledCount++] = sixteen ? 16 : 8;
        devices.push_back(sixteen ? "LED16ch" : "LED8ch");
      }
      break;
    case WRENLINK_KIND_MIRROR:
      devices.push_back("M-MIRROR");
      ++table.mirrorCount;
      f_.mirrorDeviceIndex = index;
      break;
    default:
      break;  // other kinds are left open and not recorded
  }
}

// Records the spectrometer at `index` in the next sensor slot. Left out, closed and reported
// when its identity or one of its tables did not arrive whole: it is not measured with tables
// that are partly missing. A silent instrument is given up on at its first unanswered
// exchange instead of waiting out the timeout of every remaining table request.
void SensorDetection::AddSpectrometer(int index) {
  data::SensorTable& table = c_.document.sensorTable;
  const int k = table.sensorCount;
  data::SensorEntry& sensor = table.sensors[k];
  const SpectrometerIdentity identity = ReadSpectrometerIdentity(index);
  if (!identity.ok()) {
    LeaveOut(index, identity.problem);
    return;
  }
  sensor.kindName = "C12880MA";
  sensor.serialNo = identity.serial;
  sensor.pixelCount = data::kMaxPixels;
  std::memcpy(sensor.compBlock.data(), identity.comp.data(), identity.comp.size());
  f_.deviceIndex[k] = index;
  const double exposure = identity.exposureUs;
  sensor.exposureUs = std::isnan(exposure)
                          ? 0
                          : static_cast<int32_t>(std::clamp(exposure, -2147483648.0, 2147483647.0));
  auto reading = ReadCalibrationTables(
      sensor, index, [&] { data::UpdateDarkModel(sensor, c_.processing.dark[k]); });
  if (reading.unanswered || reading.stopped) {
    LeaveOut(index, "no answer");
    return;
  }
  if (!reading.shortTables.empty()) {
    CloseDevice(index);
    reports_.push_back(
        DescribeShortTables(k, data::DisplayText(sensor.serialNo), reading.shortTables) +
        Translated(kShortTablesLeftOut) + "\n");
    return;
  }
  table.sensorCount = k + 1;
  controls_.Items(control::kSensorList).push_back(data::DisplayText(sensor.serialNo));
}

// An instrument that stopped answering or answered short during detection is closed, left out
// and reported.
void SensorDetection::LeaveOut(int index, const std::string& problem) {
  CloseDevice(index);
  if (TransferStopRequested()) return;
  reports_.push_back(Filled(Translated(kLeftOutAtIndex), {std::to_string(index), problem}) + "\n");
}

void SensorDetection::ShowExposureOfSelected() {
  const data::SensorEntry& sensor = c_.document.Sensor(f_.selectedSensor);
  controls_.SetText(control::kExposure, std::to_string(sensor.exposureUs / 1000));
}

bool SensorDetection::StoreTypedExposure(int sensor) {
  if (sensor < 0 || sensor >= data::kMaxSensors) return true;
  const std::optional<int> typed = ParseExposureMs(c_.controls.Text(control::kExposure));
  if (!typed) {
    c_.port.ShowOkMessage(text::kExposureRefusal);
    return false;
  }
  c_.document.Sensor(sensor).exposureUs = *typed * 1000;
  return true;
}

void SensorDetection::ShowKnownSensors() {
  c_.SyncProcessingSettings();
  std::vector<std::string>& lines = controls_.Items(control::kSensorList);
  lines.clear();
  for (int k = 0; k < c_.SensorCount(); ++k) {
    const int record = c_.shared.displayIndex;
    if (c_.HasCommittedRecords(k) && data::CorrectRecord(c_.document, c_.processing, k, record)) {
      data::ResampleRecord(c_.document, c_.processing, k, record);
    }
    const std::string serial = data::DisplayText(c_.document.Sensor(k).serialNo);
    lines.push_back(f_.detected ? serial : "(" + serial + ")");
  }
  if (c_.SensorCount() > 0 && f_.selectedSensor < 0) {
    f_.selectedSensor = 0;
    controls_.SetSelection(control::kSensorList, 0);
    ShowExposureOfSelected();
  }
}

void SensorDetection::SetAllExposures(int milliseconds) {
  controls_.SetText(control::kExposure, std::to_string(milliseconds));
  for (int k = 0; k < c_.SensorCount(); ++k) {
    if (!StoreTypedExposure(k)) return;
  }
}

void SensorDetection::ReleaseSensors() {
  controls_.SetText(control::kDetect, text::kDetect);
  f_.detected = false;
  controls_.Items(control::kSensorList).clear();
  controls_.Items(control::kDeviceList).clear();
  for (int k = 0; k < c_.document.sensorTable.sensorCount; ++k) {
    CloseDevice(f_.deviceIndex[k]);
  }
  c_.port.ShowMessage(TR_NOOP("Form", "センサーを接続して検出ボタンを押してください"));
  c_.AppendLogLine("センサー解除 ");
  c_.UpdateControlStates();
}

void SensorDetection::SelectSensor(int sensor) {
  if (sensor == f_.selectedSensor) return;
  if (sensor < 0 || sensor >= std::max(c_.document.sensorTable.sensorCount, 1)) return;
  // A running pass reads the exposures; the typed value is taken at the next start instead.
  if (f_.selectedSensor >= 0 && c_.AcquisitionState() == AcquisitionState::kIdle) {
    StoreTypedExposure(f_.selectedSensor);
  }
  f_.selectedSensor = sensor;
  controls_.SetSelection(control::kSensorList, sensor);
  ShowExposureOfSelected();
  c_.ShowRecordCount();
  if (f_.detected) {
    c_.port.ShowMessage(
        TR_NOOP("Form", "露光時間を変更して開始ボタンを押すことで計測を開始します"));
  } else if (c_.HasCommittedRecords(0)) {
    c_.port.ShowMessage(
        TR_NOOP("Form", "以前取得したデータを BACK/NEXTボタンで表示することができます"));
  }
  if (!c_.shared.measuring) {
    if (c_.HasCommittedRecords(sensor)) c_.RefreshDisplayedRecord();
    c_.port.ShowSensorSummary(sensor);
  }
}

}  // namespace chromiva::acquisition
