// The main form's behaviour without widgets. FormLogic is the router: it takes the window's
// clicks, edits, list selections and timer events by control id and timer number and hands them
// to the form's components (detection, the measurement cycle, reference captures, browsing and
// comparison, the setting handlers), which share the document, the port, the control table and
// the device indices. Outside this library the form's state is read through the const views
// below and changed only through the named operations.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "chromiva/acquisition/axis_limits.h"
#include "chromiva/acquisition/control_ids.h"
#include "chromiva/acquisition/form_fields.h"
#include "chromiva/acquisition/form_port.h"
#include "chromiva/acquisition/form_settings.h"
#include "chromiva/acquisition/form_state.h"
#include "chromiva/acquisition/form_texts.h"
#include "chromiva/acquisition/instrument_fault.h"
#include "chromiva/acquisition/worker_launcher.h"
#include "chromiva/data/csv.h"
#include "chromiva/data/document.h"
#include "chromiva/data/journal.h"
#include "chromiva/data/processing.h"

namespace chromiva::acquisition {

namespace dialogs {
class CsvDialog;
class HistoryDialog;
class MaintenanceDialog;
class DialogTimers;
}  // namespace dialogs

struct FormContext;
class SensorDetection;
class MeasurementCycle;
class ReferenceCaptures;
class RecordBrowser;
class SettingHandlers;

class FormLogic {
 public:
  FormLogic(data::Ctintrose_mfDoc& document, FormPort& port, FormSettings settings = {});
  ~FormLogic();  // waits for a running worker
  FormLogic(const FormLogic&) = delete;
  FormLogic& operator=(const FormLogic&) = delete;

  // --- Routing from the window ---
  // A click on a button, check box or radio of the form, by control id; a disabled control does
  // nothing. For a check box the caller has set its new state with SetControlChecked first. The
  // history (1039), maintenance (1041) and CSV (1052) buttons open dialogs of the window.
  void OnControlClicked(int id);
  // Mirror an edit of a widget into the control table; no handler runs.
  void SetControlText(int id, std::string text);
  void SetControlChecked(int id, bool checked);
  // Selects line `index` of a list and runs its handler (1003 sensor list, 1047 display kind).
  void SelectListItem(int id, int index);
  // A window timer's event: kills the timer and runs its handler.
  void OnFormTimer(int timer);
  // A worker's wake-up (FormPort::WakeFromWorker), on the window thread: when the measurement
  // pass has ended, the measurement timer's event runs now instead of at its next turn; a wake
  // that comes after the pass was already taken does nothing.
  void OnWorkerWake(int timer);
  // Timer 1: redraws graph, colour bar and logo, clears the status line, shows the guidance.
  void OnStartupTimer();
  // The form's first showing (and after a document was opened): fills the controls from the
  // fields and the document, selects the first known sensor and arms timer 1.
  void InitialUpdate();

  // --- Detection (1002) and sensor selection (1003) ---
  void DetectSensors();
  void ReleaseSensors();
  void SelectSensor(int sensor);
  // Every sensor takes the exposure, as if each were selected in turn and given the value.
  void SetAllExposures(int milliseconds);
  // The instruments the last detection left out (identity or tables short, or no answer).
  const std::vector<std::string>& LeftOutReports() const;

  // --- The measurement cycle: 1001, 1023 ---
  void StartStopMeasurement();
  void OneShot();
  // The automatic CSV saves that failed since the last start, and the last reason.
  int AutoSaveFailures() const;
  const std::string& LastAutoSaveFailure() const;
  // The hand-shake words shared with the worker threads.
  int AcquisitionState() const;
  bool AcquisitionBusy() const;
  // Why the last pass, dark sequence or table write ended early (kind kNone when it completed).
  const InstrumentFault& LastFault() const;
  // How the cycle waits for its passes; the start value is kTenMsSteps when the environment
  // sets CHROMIVA_TEN_MS_CADENCE=1 (a benchmark baseline), else kInstrument.
  void SetCadence(Cadence cadence) { fields_.cadence = cadence; }
  // Replaces how worker threads are started (nullptr: one std::thread per worker).
  void SetWorkerLauncher(std::unique_ptr<WorkerLauncher> launcher);
  // The journal that every committed pass is appended to before it is shown, and that a data
  // clear ends; none by default. The front end owns it and ends it after a save.
  void SetJournal(data::RecordJournal* journal);

  // --- Settings ---
  void SetMeasureMode(int mode);  // radio buttons 1008, 1009, 1010
  void RecordModeClicked();       // box 1014: reads its check state
  void IntervalModeClicked();     // box 1016: toggles
  void WaveCompClicked();         // box 1018: toggles
  void ColourDisplayClicked();    // box 1024: reads its check state
  void SetCsvSettings(const data::CsvSettings& csv);
  void SetAxisLimits(const AxisLimits& limits);
  void SetMaintenanceMode(int mode);
  const AxisLimits& axisLimits() const { return fields_.axisLimits; }
  int maintenanceMode() const { return fields_.maintenanceMode; }
  // The settings to write back at exit.
  FormSettings CurrentSettings() const;

  void UpdateControlStates();
  void RefreshDisplayedRecord();

  // --- Reference captures: 1053 (timers 4, 5), 1020, 1021, 1040, 1025 ---
  void StartDarkMeasurement();
  void RegisterWhite();
  void RegisterTransmission();
  void DarkReset();
  void SkyBgdClicked();
  int DarkStep() const;

  // --- Browsing: 1035, 1036, 1037 (timer 3), 1019, 1047, 1042; comparison: 1043, 1044, 1045,
  // 1049, 1050 ---
  void Back();
  void Next();
  void PlaybackClicked();
  void SelectedOnlyClicked();
  void DisplayKindChanged();
  void ClearData();
  void Compare();
  void CompareSensorBack();
  void CompareSensorNext();
  void CompareRecordBack();
  void CompareRecordNext();
  const data::Ctintrose_mfDoc* CompareDocument() const;

  // --- The dialogs the form opens; `runModal` shows the dialog until it ends ---
  // Button 1052 and command 32774: the CSV export dialog.
  bool OpenCsvDialog(const std::function<bool(dialogs::CsvDialog&)>& runModal);
  // Button 1039: the operation history.
  bool OpenHistoryDialog(const std::function<void(dialogs::HistoryDialog&)>& runModal);
  // Button 1041: the maintenance dialog, whose timer runs on `timers`.
  bool OpenMaintenanceDialog(dialogs::DialogTimers& timers,
                             const std::function<void(dialogs::MaintenanceDialog&)>& runModal);
  // The mirror unit found by the last detection while the sensors are detected, or -1: the
  // mirror dialog's instrument.
  int MirrorDeviceIndex() const {
    const bool present = fields_.detected && document().sensorTable.mirrorCount > 0;
    return present ? fields_.mirrorDeviceIndex : -1;
  }

  // --- Read-only views ---
  const FormFields& fields() const { return fields_; }
  const ControlTable& controls() const;
  const data::ProcessingState& processing() const;
  const data::Ctintrose_mfDoc& document() const;

 private:
  friend struct FormLogicTestAccess;  // the tests' way to set up states directly
  FormFields& MutableFields() { return fields_; }

  FormFields fields_;
  std::unique_ptr<FormContext> context_;
  std::unique_ptr<SettingHandlers> settings_;
  std::unique_ptr<SensorDetection> detection_;
  std::unique_ptr<MeasurementCycle> cycle_;
  std::unique_ptr<ReferenceCaptures> references_;
  std::unique_ptr<RecordBrowser> browser_;
};

}  // namespace chromiva::acquisition
