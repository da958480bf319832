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

  cycle_->ShowFields();
  browser_->ShowFields();
  context_->ShowRecordCount();
}

FormLogic::~FormLogic() {
  context_->JoinWorker();
}

void FormLogic::OnControlClicked(int id) {
  if (!context_->controls.Enabled(id)) return;
  switch (id) {
    // clang-format off
    case control::kStartStop:     cycle_->StartStopMeasurement(); break;
    case control::kOneShot:       cycle_->OneShot(); break;
    case control::kDetect:        detection_->DetectSensors(); break;
    case control::kLightSource:   settings_->SetMeasureMode(data::kLightSource); break;
    case control::kReflectance:   settings_->SetMeasureMode(data::kReflectance); break;
    case control::kTransmittance: settings_->SetMeasureMode(data::kTransmittance); break;
    case control::kRecordMode:    settings_->RecordModeClicked(); break;
    case control::kIntervalMode:  settings_->IntervalModeClicked(); break;
    case control::kWaveComp:      settings_->WaveCompClicked(); break;
    case control::kColourDisplay: settings_->ColourDisplayClicked(); break;
    case control::kWhite:         references_->RegisterWhite(); break;
    case control::kTransmission:  references_->RegisterTransmission(); break;
    case control::kSkyBgd:        references_->SkyBgdClicked(); break;
    case control::kDarkReset:     references_->DarkReset(); break;
    case control::kDark:          references_->StartDarkMeasurement(); break;
    case control::kSelectedOnly:  browser_->SelectedOnlyClicked(); break;
    case control::kBack:          browser_->Back(); break;
    case control::kNext:          browser_->Next(); break;
    case control::kPlayback:      browser_->PlaybackClicked(); break;
    case control::kClear:         browser_->ClearData(); break;
    case control::kCompare:       browser_->Compare(); break;
    case control::kCompareBack:   browser_->CompareSensorBack(); break;
    case control::kCompareNext:   browser_->CompareSensorNext(); break;
    case control::kCompareBack2:  browser_->CompareRecordBack(); break;
    case control::kCompareNext2:  browser_->CompareRecordNext(); break;
    case control::kCsv:           OpenCsvDialog(); break;
    case control::kHistory:       OpenHistoryDialog(); break;
    case control::kMaintenance:   OpenMaintenanceDialog(); break;
    default: break;  // static texts
      // clang-format on
  }
}

void FormLogic::SetControlText(int id, std::string text) {
  context_->Writer(ControlOwner::kOperator).SetText(id, std::move(text));
}

void FormLogic::SetControlChecked(int id, bool checked) {
  context_->Writer(ControlOwner::kOperator).SetChecked(id, checked);
}

void FormLogic::SelectListItem(int id, int index) {
  if (id == control::kSensorList) {
    detection_->SelectSensor(index);
  } else if (id == control::kDisplayKind) {
    context_->Writer(ControlOwner::kOperator).SetSelection(id, index);
    browser_->DisplayKindChanged();
  }
}

void FormLogic::OnFormTimer(int timerId) {
  context_->port.KillTimer(timerId);
  switch (timerId) {
    case timer::kStartup:
      browser_->ShowStartupScreen();
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
  if (timerId == timer::kMeasure && context_->AcquisitionState() == AcquisitionState::kFinished) {
    OnFormTimer(timerId);
  }
}

void FormLogic::InitialUpdate() {
  FormContext& c = *context_;
  // A newly opened document may hold fewer records than the one shown before.
  if (fields_.displayIndex >= std::max(c.document.recordCount[0], 1)) fields_.displayIndex = 0;
  settings_->ShowFields();
  cycle_->ShowFields();
  c.ShowRecordCount();
  detection_->ShowKnownSensors();
  browser_->ShowFields();
  c.UpdateControlStates();
  c.port.ArmTimer(timer::kStartup, kStartupMs);
}

void FormLogic::SetAllExposures(int milliseconds) {
  detection_->SetAllExposures(milliseconds);
}

void FormLogic::ApplySettings(const FormSettings& settings) {
  settings_->SetCsvSettings(settings.csv);
  settings_->SetAxisLimits(settings.axisLimits);
  settings_->SetMaintenanceMode(settings.maintenanceMode);
}

void FormLogic::SetWorkerLauncher(std::unique_ptr<WorkerLauncher> launcher) {
  context_->JoinWorker();
  context_->workers = launcher ? std::move(launcher) : std::make_unique<ThreadLauncher>();
}

void FormLogic::SetSession(DocumentSession* session) {
  context_->session = session;
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

void FormLogic::RefreshDisplayedRecord() {
  context_->RefreshDisplayedRecord();
}

FormStatus FormLogic::Status() const {
  FormStatus status;
  status.acquisition = context_->AcquisitionState();
  status.busy = context_->acquisitionBusy.load(std::memory_order_acquire);
  status.darkStep = references_->Step();
  status.lastFault = &context_->lastFault;
  status.autoSaveFailures = cycle_->AutoSaveFailures();
  status.lastAutoSaveFailure = cycle_->LastAutoSaveFailure();
  status.leftOutReports = detection_->LeftOutReports();
  status.compareDocument = browser_->CompareDocument();
  const bool mirror = fields_.detected && context_->document.sensorTable.mirrorCount > 0;
  status.mirrorDeviceIndex = mirror ? fields_.mirrorDeviceIndex : -1;
  return status;
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
