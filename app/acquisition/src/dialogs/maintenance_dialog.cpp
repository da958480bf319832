#include "chromiva/acquisition/dialogs/maintenance_dialog.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "chromiva/acquisition/calibration_io.h"
#include "chromiva/acquisition/exposure_limits.h"
#include "chromiva/acquisition/instrument_fault.h"
#include "chromiva/data/text_codec.h"
#include "wrenlink.h"

namespace chromiva::acquisition::dialogs {

using namespace maintenance_ids;

namespace {

constexpr double kFirstDarkExposureUs = 265.0;
constexpr double kDarkExposureStepUs = 50000.0;
static_assert(ExposureUsInLimits((data::kDarkSteps - 1) * kDarkExposureStepUs));
constexpr int kDarkFramesPerStep = 3;
constexpr int kGainFrames = 10;
constexpr int kMeasuringButtons[] = {kInitialise, kSet, kDark, kGain};

int PixelsOf(const data::SensorEntry& sensor) {
  return std::clamp(sensor.pixelCount, 0, data::kMaxPixels);
}

// One table write that the instrument did not acknowledge in full, after the marked
// kWriteIncomplete line; `table` is a marked table name.
std::string WriteIncompleteReport(int sensor, const std::string& serial, const char* table,
                                  const TableWrite& write) {
  return Translated(kWriteIncomplete) + "\n" +
         Filled(Translated(TR_NOOP("Form", "センサー%1 (%2) %3: 応答 %4 / %5 バイト")),
                {std::to_string(sensor + 1), data::DisplayText(serial), Translated(table),
                 std::to_string(write.acknowledged), std::to_string(write.expected)});
}

}  // namespace

MaintenanceDialog::MaintenanceDialog(const MaintenanceContext& context)
    : document_(context.document),
      port_(context.port),
      timers_(context.timers),
      sensor_(context.selectedSensor),
      deviceIndex_(context.deviceIndex),
      graphMax_(context.graphMax),
      controls_({{kFile, TR_NOOP("Form", "ファイル")},
                 {kSet, TR_NOOP("Form", "設定")},
                 {kInitialise, TR_NOOP("Form", "初期化")},
                 {kDark, TR_NOOP("Form", "ダーク計測")},
                 {kGain, TR_NOOP("Form", "ゲイン設定")},
                 {kWrite, TR_NOOP("Form", "装置へ書き込む")}}) {
  controls_[kTableList];
  controls_[kSerialList];
}

MaintenanceDialog::~MaintenanceDialog() {
  StopDarkSequence();
  JoinWorker();
}

bool MaintenanceDialog::SensorValid() const {
  return sensor_ >= 0 && sensor_ < std::min(document_.sensorTable.sensorCount, data::kMaxSensors);
}

data::SensorEntry& MaintenanceDialog::Sensor() {
  return document_.Sensor(sensor_);
}

int MaintenanceDialog::Device() const {
  return deviceIndex_[static_cast<std::size_t>(sensor_)];
}

void MaintenanceDialog::Open() {
  listPath_ = port_.Settings().ReadText(kListSection, kListEntry, "");
  if (SensorValid()) {
    RefillTableList();
    curves_ = ComputeReferenceCurves(Sensor(), graphMax_);
  }
  UpdateButtons();
  if (!listPath_.empty()) LoadCalibrationList();
}

void MaintenanceDialog::Close() {
  StopDarkSequence();
  port_.Settings().WriteText(kListSection, kListEntry, listPath_);
}

void MaintenanceDialog::StopDarkSequence() {
  timers_.Kill(kTimer);
  if (reading_ != Read::kNone) {
    JoinWorker();
    // A dark frame that has arrived is a measured value and stays; a gain read is dropped.
    if (reading_ == Read::kDarkFrame) ApplyDarkFrame();
    reading_ = Read::kNone;
  }
  darkRunning_ = false;
}

// Without a sensor the measuring buttons stay disabled; while a frame is read nothing may change
// the tables; while the dark sequence runs only "ダーク計測" (restart) and "ファイル" stay.
void MaintenanceDialog::UpdateButtons() {
  const bool idle = reading_ == Read::kNone;
  for (int id : kMeasuringButtons) {
    controls_.SetEnabled(id, SensorValid() && idle && (!darkRunning_ || id == kDark));
  }
  controls_.SetEnabled(kWrite, idle && !darkRunning_);
  controls_.SetEnabled(kSerialList, idle && !darkRunning_);
  controls_.SetEnabled(kFile, idle);
}

void MaintenanceDialog::RefillTableList() {
  ControlState& list = controls_[kTableList];
  list.items = SensorValid() ? TableListLines(Sensor()) : std::vector<std::string>{};
}

void MaintenanceDialog::Clicked(int id) {
  auto control = controls_.All().find(id);
  if (control == controls_.All().end() || !control->second.enabled) return;
  switch (id) {
    case kFile:
      ChooseCalibrationList();
      break;
    case kSet:
      WriteSerialAndComp();
      break;
    case kInitialise:
      Initialise();
      break;
    case kDark:
      StartDarkSequence();
      break;
    case kGain:
      StartGain();
      break;
    case kWrite:
      WriteToInstrument();
      break;
    default:
      break;
  }
}

bool MaintenanceDialog::RefuseWithoutSensor() {
  if (SensorValid()) return false;
  port_.ShowOkMessage(kNoSensor);
  return true;
}

void MaintenanceDialog::ChooseCalibrationList() {
  auto path = port_.ChooseOpenFile({kListFilter, kListExtension, kListInitialName});
  if (!path) return;
  listPath_ = *path;
  LoadCalibrationList();
}

void MaintenanceDialog::LoadCalibrationList() {
  ControlState& list = controls_[kSerialList];
  list.items.clear();
  list.selection = -1;
  CalibrationList loaded = ReadCalibrationList(listPath_);
  if (!loaded.error.empty()) port_.ShowOkMessage(Translated(kListUnreadable) + loaded.error);
  rows_.clear();
  std::string refused;
  for (CalibrationRow& row : loaded.rows) {
    const std::string problem = WavelengthPolynomialProblem(row.coefficients, data::kMaxPixels);
    if (!problem.empty()) {
      refused += "\n" + data::DisplayText(row.serial) + ": " + problem;
      continue;
    }
    list.items.push_back(data::DisplayText(row.serial));
    rows_.push_back(std::move(row));
  }
  if (!refused.empty()) port_.ShowOkMessage(Translated(kRowRefused) + refused);
  if (loaded.truncated) port_.ShowOkMessage(kListTooLong);
}

void MaintenanceDialog::Selected(int id, int index) {
  if (id != kSerialList || !controls_.Enabled(id)) return;
  if (index < 0 || index >= static_cast<int>(rows_.size())) return;
  controls_[kSerialList].selection = index;
  SelectSerial(index);
}

void MaintenanceDialog::SelectSerial(int row) {
  if (RefuseWithoutSensor()) return;
  data::SensorEntry& sensor = Sensor();
  const CalibrationRow& chosen = rows_[static_cast<std::size_t>(row)];
  const std::string problem = WavelengthPolynomialProblem(chosen.coefficients, sensor.pixelCount);
  if (!problem.empty()) {
    port_.ShowOkMessage(Translated(kRowRefused) + data::DisplayText(chosen.serial) + ": " +
                        problem);
    return;
  }
  sensor.serialNo = chosen.serial;
  sensor.compBlock = chosen.coefficients;
  ApplyWavelengthPolynomial(sensor, chosen.coefficients);
  RefillTableList();
}

void MaintenanceDialog::WriteSerialAndComp() {
  if (RefuseWithoutSensor()) return;
  data::SensorEntry& sensor = Sensor();
  if (!WriteSerialNo(Device(), sensor.serialNo)) {
    port_.ShowOkMessage(kSerialTooShort);
    return;
  }
  WriteCompBlock();
}

// The wavelength polynomial into the instrument's EEPROM; false, told, when it was not taken.
bool MaintenanceDialog::WriteCompBlock() {
  const data::SensorEntry& sensor = Sensor();
  unsigned char block[sizeof sensor.compBlock];
  std::memcpy(block, sensor.compBlock.data(), sizeof block);
  if (SetDeviceComp(Device(), block) > 0) return true;
  port_.ShowOkMessage(
      WriteIncompleteReport(sensor_, sensor.serialNo, TR_NOOP("Form", "係数"), TableWrite{0, 1}));
  return false;
}

void MaintenanceDialog::Initialise() {
  if (RefuseWithoutSensor()) return;
  InitialiseTables(Sensor(), graphMax_);
  RefillTableList();
}

void MaintenanceDialog::StartDarkSequence() {
  if (RefuseWithoutSensor() || reading_ != Read::kNone) return;
  data::SensorEntry& sensor = Sensor();
  step_ = 0;
  frame_ = 0;
  for (data::PixelArray& step : sensor.darkTables) {
    std::fill_n(step.begin(), PixelsOf(sensor), static_cast<float>(graphMax_));
  }
  SetDeviceExposure(Device(), kFirstDarkExposureUs);
  darkRunning_ = true;
  UpdateButtons();
  timers_.Arm(kTimer, kTickMs);
}

void MaintenanceDialog::OnTimer(int timer) {
  if (timer != kTimer) return;
  timers_.Kill(kTimer);
  if (reading_ != Read::kNone) {
    if (readDone_.load(std::memory_order_acquire)) {
      FinishRead();
    } else {
      timers_.Arm(kTimer, kPollMs);
    }
    return;
  }
  if (darkRunning_) DarkTick();
}

void MaintenanceDialog::DarkTick() {
  if (frame_ < kDarkFramesPerStep) {
    ++frame_;
    StartRead(Read::kDarkFrame, 1);
    return;
  }
  frame_ = 0;
  ++step_;
  RefillTableList();
  if (step_ < data::kDarkSteps) {
    SetDeviceExposure(Device(), step_ * kDarkExposureStepUs);
    timers_.Arm(kTimer, kTickMs);
    return;
  }
  darkRunning_ = false;
  UpdateButtons();
  port_.ShowOkMessage(kDarkFinished);
}

// The running minimum of the step's frames.
void MaintenanceDialog::ApplyDarkFrame() {
  data::SensorEntry& sensor = Sensor();
  data::PixelArray& dark = sensor.darkTables[static_cast<std::size_t>(std::min(step_, 20))];
  for (int j = 0; j < PixelsOf(sensor); ++j) {
    if (readFrame_[j] < dark[j]) dark[j] = readFrame_[j];
  }
}

void MaintenanceDialog::StartGain() {
  if (RefuseWithoutSensor() || reading_ != Read::kNone || darkRunning_) return;
  if (!ExposureUsInLimits(Sensor().exposureUs)) {
    port_.ShowOkMessage(text::kExposureRefusal);
    return;
  }
  SetDeviceExposure(Device(), static_cast<double>(Sensor().exposureUs));
  StartRead(Read::kGain, kGainFrames);
}

void MaintenanceDialog::FinishGain() {
  data::SensorEntry& sensor = Sensor();
  const GainResult gain = ComputeSensitivity(sensor, readFrame_, curves_);
  if (!gain.ok) {
    port_.ShowOkMessage(gain.refusal);
    return;
  }
  std::copy_n(gain.sensitivity.begin(), PixelsOf(sensor) + 1, sensor.sensitivityTable.begin());
  RefillTableList();
  port_.ShowOkMessage(kGainMeasured);
}

void MaintenanceDialog::StartRead(Read kind, int frames) {
  JoinWorker();
  reading_ = kind;
  readDone_.store(false, std::memory_order_release);
  UpdateButtons();
  const int device = Device();
  const int pixels = PixelsOf(Sensor());
  auto work = [this, device, pixels, frames] {
    readFrame_ = ReadAveragedFrame(device, pixels, frames);
    readDone_.store(true, std::memory_order_release);  // the worker's last write
  };
  if (launch_) {
    launch_(work);
  } else {
    worker_ = std::thread(work);
  }
  if (readDone_.load(std::memory_order_acquire)) {
    FinishRead();
  } else {
    timers_.Arm(kTimer, kPollMs);
  }
}

void MaintenanceDialog::FinishRead() {
  JoinWorker();
  const Read kind = reading_;
  reading_ = Read::kNone;
  UpdateButtons();
  if (kind == Read::kDarkFrame) {
    ApplyDarkFrame();
    timers_.Arm(kTimer, kTickMs);
  } else if (kind == Read::kGain) {
    FinishGain();
  }
}

void MaintenanceDialog::JoinWorker() {
  if (worker_.joinable()) worker_.join();
}

// Dark steps, wavelength, white, transmission and sensitivity tables, then the coefficients; the
// completion is shown only when every request was acknowledged. The first table that is not
// acknowledged in full ends the write: the instrument is silent or gone, or a stop was asked.
void MaintenanceDialog::WriteToInstrument() {
  if (RefuseWithoutSensor()) return;
  ClearTransferStop();
  const data::SensorEntry& sensor = Sensor();
  if (const std::string problem = TablesProblem(sensor); !problem.empty()) {
    port_.ShowOkMessage(Translated(kTablesRefused) + problem);
    return;
  }
  struct TableKind {
    const char* name;
    TableWrite (*write)(const data::SensorEntry&, int);
  };
  const TableKind tables[] = {
      {TR_NOOP("Form", "ダークテーブル"), &WriteDarkSteps},
      {TR_NOOP("Form", "波長テーブル"), &WriteWavelengthTable},
      {TR_NOOP("Form", "ホワイトテーブル"), &WriteWhiteTable},
      {TR_NOOP("Form", "透過テーブル"), &WriteTransmissionTable},
      {TR_NOOP("Form", "感度テーブル"), &WriteSensitivityTable},
  };
  for (const TableKind& table : tables) {
    const TableWrite write = table.write(sensor, Device());
    if (!write.ok()) {
      port_.ShowOkMessage(WriteIncompleteReport(sensor_, sensor.serialNo, table.name, write));
      return;
    }
  }
  if (!WriteCompBlock()) return;
  port_.ShowOkMessage(kWriteCompleted);
}

bool OpenMaintenanceDialog(const MaintenanceContext& context, bool measuring,
                           const RunMaintenanceDialog& runModal) {
  if (measuring) {
    context.port.ShowOkMessage(kMeasuring);
    return false;
  }
  MaintenanceDialog dialog(context);
  dialog.Open();
  runModal(dialog);
  dialog.Close();
  return true;
}

}  // namespace chromiva::acquisition::dialogs
