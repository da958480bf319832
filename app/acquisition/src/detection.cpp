// Detection and release of the instruments, and the choice of sensor.
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>

#include "chromiva/acquisition/calibration_io.h"
#include "chromiva/acquisition/form_logic.h"
#include "chromiva/data/text_codec.h"
#include "wrenlink.h"

namespace chromiva::acquisition {
namespace {

constexpr int kDeviceIndices = 10;
constexpr int kSpectrometerKind = 33;
constexpr int kSerialLength = 8;

std::string ReadSerial(int device) {
  unsigned char buffer[65] = {};
  GetDeviceSerialNo(device, buffer, 64);
  std::string serial(reinterpret_cast<char*>(buffer));  // up to the NUL
  return serial.substr(0, kSerialLength);
}

std::string DescribeShortTables(int sensor, const std::string& serial,
                                const std::vector<ShortTable>& tables) {
  std::string text;
  for (const ShortTable& table : tables) {
    text += "センサー" + std::to_string(sensor + 1) + " (" + serial + ") の" + table.table +
            "が途中までしか読めませんでした（" + std::to_string(table.received) + " / " +
            std::to_string(table.expected) + " バイト）\n";
  }
  return text;
}

}  // namespace

void FormLogic::DetectSensors() {
  if (fields_.detected) {
    ReleaseSensors();
    return;
  }
  if (!ConfirmClearForDetection()) return;
  DetectAll();
  data::SensorTable& table = document_.sensorTable;
  if (table.sensorCount > 0) {
    if (fields_.selectedSensor < 0) fields_.selectedSensor = 0;
    controls_[control::kSensorList].selection = fields_.selectedSensor;
    ShowExposureOfSelected();
    port_.ShowMessageLines("計測モードを選択してください",
                           "検出したセンサーを選択すると、露光時間を変更できます");
    AppendLogLine("センサー検出 ", SensorPieces("%d:serial=%s exp=%d  "));
    controls_.SetText(control::kDetect, text::kRelease);
    fields_.detected = true;
  }
  UpdateControlStates();
  if (!shortTables_.empty()) {
    std::string report;
    for (const std::string& line : shortTables_) report += line;
    port_.ShowOkMessage(report);
  }
}

bool FormLogic::ConfirmClearForDetection() {
  if (document_.recordCount[0] < 1) return true;
  if (!port_.AskOkCancel("取り込み済みのデータはクリアされますが、よろしかったでしょうか")) {
    return false;
  }
  document_.ClearRecords();
  if (journal_) journal_->Finish();
  fields_.displayIndex = 0;
  return true;
}

void FormLogic::DetectAll() {
  data::SensorTable& table = document_.sensorTable;
  table.sensorCount = 0;
  table.ledCount = 0;
  table.mirrorCount = 0;
  controls_[control::kSensorList].items.clear();
  controls_[control::kDeviceList].items.clear();
  shortTables_.clear();
  for (int index = 0; index < kDeviceIndices; ++index) DetectOne(index);
}

void FormLogic::DetectOne(int index) {
  if (DetectDevice(index) != 1) return;
  unsigned char text[34];
  GetDeviceName(index, text, sizeof text);
  GetDeviceVersion(index, text, sizeof text);
  data::SensorTable& table = document_.sensorTable;
  std::vector<std::string>& devices = controls_[control::kDeviceList].items;
  const int kind = GetDeviceKind(index);
  switch (kind) {
    case kSpectrometerKind:
      if (table.sensorCount < data::kMaxSensors) AddSpectrometer(index);
      break;
    case 13:
    case 29:
      if (table.ledCount < data::kMaxLedUnits) {
        table.ledChannels[table.ledCount++] = kind == 13 ? 16 : 8;
        devices.push_back(kind == 13 ? "LED16ch" : "LED8ch");
      }
      break;
    case 34:
      devices.push_back("M-MIRROR");
      ++table.mirrorCount;
      fields_.mirrorDeviceIndex = index;
      break;
    default:
      break;  // other kinds are left open and not recorded
  }
}

void FormLogic::AddSpectrometer(int index) {
  data::SensorTable& table = document_.sensorTable;
  const int k = table.sensorCount++;
  data::SensorEntry& sensor = table.sensors[k];
  sensor.kindName = "C12880MA";
  sensor.serialNo = ReadSerial(index);
  controls_[control::kSensorList].items.push_back(data::DisplayText(sensor.serialNo));
  sensor.pixelCount = data::kMaxPixels;
  unsigned char comp[48] = {};
  GetDeviceComp(index, comp);
  std::memcpy(sensor.compBlock.data(), comp, sizeof comp);
  fields_.deviceIndex[k] = index;
  double exposure = 0.0;
  GetDeviceExposure(index, &exposure);
  sensor.exposureUs = std::isnan(exposure)
                          ? 0
                          : static_cast<int32_t>(std::clamp(exposure, -2147483648.0, 2147483647.0));
  auto shortTables = ReadCalibrationTables(
      sensor, index, [&] { data::UpdateDarkModel(sensor, processing_.dark[k]); });
  if (!shortTables.empty()) {
    shortTables_.push_back(DescribeShortTables(k, data::DisplayText(sensor.serialNo), shortTables));
  }
}

void FormLogic::ShowExposureOfSelected() {
  const data::SensorEntry& sensor = document_.Sensor(fields_.selectedSensor);
  controls_.SetText(control::kExposure, std::to_string(sensor.exposureUs / 1000));
}

void FormLogic::StoreTypedExposure(int sensor) {
  if (sensor < 0 || sensor >= data::kMaxSensors) return;
  long long typed = static_cast<long long>(controls_.Integer(control::kExposure)) * 1000;
  document_.Sensor(sensor).exposureUs =
      static_cast<int32_t>(std::clamp<long long>(typed, INT32_MIN, INT32_MAX));
}

void FormLogic::ReleaseSensors() {
  controls_.SetText(control::kDetect, text::kDetect);
  fields_.detected = false;
  controls_[control::kSensorList].items.clear();
  controls_[control::kDeviceList].items.clear();
  for (int k = 0; k < document_.sensorTable.sensorCount; ++k) {
    CloseDevice(fields_.deviceIndex[k]);
  }
  port_.ShowMessage("センサーを接続して検出ボタンを押してください");
  controls_.SetText(control::kStartStop, text::kStart);
  fields_.measuring = false;
  AppendLogLine("センサー解除 ");
  UpdateControlStates();
}

void FormLogic::SelectSensor(int sensor) {
  if (sensor == fields_.selectedSensor) return;
  if (sensor < 0 || sensor >= std::max(document_.sensorTable.sensorCount, 1)) return;
  // A running pass reads the exposures; the typed value is taken at the next start instead.
  if (fields_.selectedSensor >= 0 && AcquisitionState() == 0) {
    StoreTypedExposure(fields_.selectedSensor);
  }
  fields_.selectedSensor = sensor;
  controls_[control::kSensorList].selection = sensor;
  ShowExposureOfSelected();
  controls_.SetText(control::kRecordCount, std::to_string(document_.recordCount[0]));
  if (fields_.detected) {
    port_.ShowMessage("露光時間を変更して開始ボタンを押すことで計測を開始します");
  } else if (HasCommittedRecords(0)) {
    port_.ShowMessage("以前取得したデータを BACK/NEXTボタンで表示することができます");
  }
  if (!fields_.measuring) {
    if (HasCommittedRecords(sensor)) RefreshDisplayedRecord();
    port_.ShowSensorSummary(sensor);
  }
}

}  // namespace chromiva::acquisition
