// The router: construction, control ids and timer numbers to the components, the views.
#include "chromiva/acquisition/form_logic.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "form_context.h"
#include "measurement_cycle.h"
#include "record_browser.h"
#include "reference_captures.h"
#include "sensor_detection.h"
#include "setting_handlers.h"

namespace chromiva::acquisition {
namespace {

constexpr int kStartupMs = 100;

Cadence CadenceFromEnvironment() {
  const char* value = std::getenv("CHROMIVA_TEN_MS_CADENCE");
  return value != nullptr && std::strcmp(value, "1") == 0 ? Cadence::kTenMsSteps
                                                          : Cadence::kInstrument;
}

}  // namespace

FormLogic::FormLogic(data::Ctintrose_mfDoc& document, FormPort& port, FormSettings settings)
    : context_(std::make_unique<FormContext>(document, port, fields_, fields_)),
      settings_(std::make_unique<SettingHandlers>(*context_, fields_)),
      detection_(std::make_unique<SensorDetection>(*context_, fields_)),
      cycle_(std::make_unique<MeasurementCycle>(*context_, fields_, *detection_)),
      references_(std::make_unique<ReferenceCaptures>(*context_, fields_, *cycle_, *settings_)),
      browser_(std::make_unique<RecordBrowser>(*context_, fields_)) {
  fields_.cadence = CadenceFromEnvironment();
  fields_.averageCount = settings.averageCount;
  fields_.intervalMs = settings.intervalMs;
  fields_.playbackOn = settings.playbackOn;
  fields_.displayKind = settings.displayKind;
  settings_->Load(settings);
  context_->SyncProcessingSettings();

  ControlTable& controls = context_->controls;
  controls.SetText(control::kAverage, std::to_string(fields_.averageCount));
  controls.SetText(control::kInterval, std::to_string(fields_.intervalMs));
  controls.SetChecked(control::kPlayback, fields_.playbackOn);
  controls[control::kDisplayKind].selection = fields_.displayKind;
  context_->ShowRecordCount();
}

FormLogic::~FormLogic() {
  context_->JoinWorker();
}

void FormLogic::OnControlClicked(int id) {
  if (!context_->controls.Enabled(id)) return;
  switch (id) {
    // clang-format off
    case control::kStartStop:     StartStopMeasurement(); break;
    case control::kDetect:        DetectSensors(); break;
    case control::kLightSource:   SetMeasureMode(data::kLightSource); break;
    case control::kReflectance:   SetMeasureMode(data::kReflectance); break;
    case control::kTransmittance: SetMeasureMode(data::kTransmittance); break;
    case control::kRecordMode:    RecordModeClicked(); break;
    case control::kIntervalMode:  IntervalModeClicked(); break;
    case control::kWaveComp:      WaveCompClicked(); break;
    case control::kSelectedOnly:  SelectedOnlyClicked(); break;
    case control::kWhite:         RegisterWhite(); break;
    case control::kTransmission:  RegisterTransmission(); break;
    case control::kOneShot:       OneShot(); break;
    case control::kColourDisplay: ColourDisplayClicked(); break;
    case control::kSkyBgd:        SkyBgdClicked(); break;
    case control::kBack:          Back(); break;
    case control::kNext:          Next(); break;
    case control::kPlayback:      PlaybackClicked(); break;
    case control::kDarkReset:     DarkReset(); break;
    case control::kClear:         ClearData(); break;
    case control::kCompare:       Compare(); break;
    case control::kCompareBack:   CompareSensorBack(); break;
    case control::kCompareNext:   CompareSensorNext(); break;
    case control::kCompareBack2:  CompareRecordBack(); break;
    case control::kCompareNext2:  CompareRecordNext(); break;
    case control::kDark:          StartDarkMeasurement(); break;
    default: break;  // static texts, and the buttons that open the window's dialogs
      // clang-format on
  }
}

void FormLogic::SetControlText(int id, std::string text) {
  context_->controls.SetText(id, std::move(text));
}

void FormLogic::SetControlChecked(int id, bool checked) {
  context_->controls.SetChecked(id, checked);
}

void FormLogic::SelectListItem(int id, int index) {
  if (id == control::kSensorList) {
    SelectSensor(index);
  } else if (id == control::kDisplayKind) {
    context_->controls[id].selection = index;
    DisplayKindChanged();
  }
}

void FormLogic::OnFormTimer(int timerId) {
  context_->port.KillTimer(timerId);
  switch (timerId) {
    case timer::kStartup:
      OnStartupTimer();
      break;
    case timer::kMeasure:
      cycle_->OnMeasureTimer();
      break;
    case timer::kPlayback:
      browser_->OnPlaybackTimer();
      break;
    case timer::kDark:
      references_->OnDarkTimer();
      break;
    case timer::kDarkFinish:
      references_->OnDarkFinishTimer();
      break;
    default:
      break;
  }
}

void FormLogic::OnWorkerWake(int timerId) {
  if (timerId == timer::kMeasure && AcquisitionState() == 2) OnFormTimer(timerId);
}

void FormLogic::OnStartupTimer() {
  browser_->ShowStartupScreen();
}

void FormLogic::InitialUpdate() {
  FormContext& c = *context_;
  ControlTable& controls = c.controls;
  // A newly opened document may hold fewer records than the one shown before.
  if (fields_.displayIndex >= std::max(c.document.recordCount[0], 1)) fields_.displayIndex = 0;
  c.ShowModeRadios();
  controls.SetText(control::kAverage, std::to_string(fields_.averageCount));
  controls.SetChecked(control::kRecordMode, fields_.recordMode);
  c.ShowRecordCount();
  controls.SetChecked(control::kIntervalMode, fields_.intervalMode);
  controls.SetText(control::kInterval, std::to_string(fields_.intervalMs));
  controls.SetEnabled(control::kInterval, fields_.intervalMode);
  controls.SetChecked(control::kWaveComp, fields_.settings.waveComp);
  controls.SetChecked(control::kSelectedOnly, fields_.selectedOnly);
  detection_->ShowKnownSensors();
  controls.SetChecked(control::kPlayback, fields_.playbackOn);
  c.ShowPosition();
  controls[control::kDisplayKind].selection = fields_.displayKind;
  controls.SetEnabled(control::kCsv, !fields_.measuring);
  settings_->SetCsvSettings(fields_.csv);
  controls.SetChecked(control::kColourDisplay, fields_.colourDisplay);
  c.UpdateControlStates();
  c.port.ArmTimer(timer::kStartup, kStartupMs);
}

// Detection and selection.
void FormLogic::DetectSensors() {
  detection_->DetectSensors();
}
void FormLogic::ReleaseSensors() {
  detection_->ReleaseSensors();
}
void FormLogic::SelectSensor(int sensor) {
  detection_->SelectSensor(sensor);
}
void FormLogic::SetAllExposures(int milliseconds) {
  detection_->SetAllExposures(milliseconds);
}
const std::vector<std::string>& FormLogic::LeftOutReports() const {
  return detection_->LeftOutReports();
}

// The measurement cycle.
void FormLogic::StartStopMeasurement() {
  cycle_->StartStopMeasurement();
}
void FormLogic::OneShot() {
  cycle_->OneShot();
}
int FormLogic::AutoSaveFailures() const {
  return cycle_->AutoSaveFailures();
}
const std::string& FormLogic::LastAutoSaveFailure() const {
  return cycle_->LastAutoSaveFailure();
}
int FormLogic::AcquisitionState() const {
  return context_->AcquisitionState();
}
bool FormLogic::AcquisitionBusy() const {
  return context_->acquisitionBusy.load(std::memory_order_acquire);
}
const InstrumentFault& FormLogic::LastFault() const {
  return context_->lastFault;
}

void FormLogic::SetWorkerLauncher(std::unique_ptr<WorkerLauncher> launcher) {
  context_->JoinWorker();
  context_->workers = launcher ? std::move(launcher) : std::make_unique<ThreadLauncher>();
}

void FormLogic::SetJournal(data::RecordJournal* journal) {
  context_->journal = journal;
}

// Settings.
void FormLogic::SetMeasureMode(int mode) {
  settings_->SetMeasureMode(mode);
}
void FormLogic::RecordModeClicked() {
  settings_->RecordModeClicked();
}
void FormLogic::IntervalModeClicked() {
  settings_->IntervalModeClicked();
}
void FormLogic::WaveCompClicked() {
  settings_->WaveCompClicked();
}
void FormLogic::ColourDisplayClicked() {
  settings_->ColourDisplayClicked();
}
void FormLogic::SetCsvSettings(const data::CsvSettings& csv) {
  settings_->SetCsvSettings(csv);
}
void FormLogic::SetAxisLimits(const AxisLimits& limits) {
  settings_->SetAxisLimits(limits);
}
void FormLogic::SetMaintenanceMode(int mode) {
  settings_->SetMaintenanceMode(mode);
}

FormSettings FormLogic::CurrentSettings() const {
  FormSettings s;
  s.averageCount = fields_.averageCount;
  s.recordMode = fields_.recordMode;
  s.intervalMode = fields_.intervalMode;
  s.intervalMs = fields_.intervalMs;
  s.waveComp = fields_.settings.waveComp;
  s.playbackOn = fields_.playbackOn;
  s.maintenanceMode = fields_.maintenanceMode;
  s.displayKind = fields_.displayKind;
  s.csv = fields_.csv;
  s.axisLimits = fields_.axisLimits;
  return s;
}

void FormLogic::UpdateControlStates() {
  context_->UpdateControlStates();
}
void FormLogic::RefreshDisplayedRecord() {
  context_->RefreshDisplayedRecord();
}

// Reference captures.
void FormLogic::StartDarkMeasurement() {
  references_->StartDarkMeasurement();
}
void FormLogic::RegisterWhite() {
  references_->RegisterWhite();
}
void FormLogic::RegisterTransmission() {
  references_->RegisterTransmission();
}
void FormLogic::DarkReset() {
  references_->DarkReset();
}
void FormLogic::SkyBgdClicked() {
  references_->SkyBgdClicked();
}
int FormLogic::DarkStep() const {
  return references_->DarkStep();
}

// Browsing and comparison.
void FormLogic::Back() {
  browser_->Back();
}
void FormLogic::Next() {
  browser_->Next();
}
void FormLogic::PlaybackClicked() {
  browser_->PlaybackClicked();
}
void FormLogic::SelectedOnlyClicked() {
  browser_->SelectedOnlyClicked();
}
void FormLogic::DisplayKindChanged() {
  browser_->DisplayKindChanged();
}
void FormLogic::ClearData() {
  browser_->ClearData();
}
void FormLogic::Compare() {
  browser_->Compare();
}
void FormLogic::CompareSensorBack() {
  browser_->CompareSensorBack();
}
void FormLogic::CompareSensorNext() {
  browser_->CompareSensorNext();
}
void FormLogic::CompareRecordBack() {
  browser_->CompareRecordBack();
}
void FormLogic::CompareRecordNext() {
  browser_->CompareRecordNext();
}
const data::Ctintrose_mfDoc* FormLogic::CompareDocument() const {
  return browser_->CompareDocument();
}

// Views.
const ControlTable& FormLogic::controls() const {
  return context_->controls;
}
const data::ProcessingState& FormLogic::processing() const {
  return context_->processing;
}
const data::Ctintrose_mfDoc& FormLogic::document() const {
  return context_->document;
}

}  // namespace chromiva::acquisition
