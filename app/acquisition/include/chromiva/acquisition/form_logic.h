// The main form's behaviour without widgets. FormLogic is the router: it takes the window's
// clicks, edits, list selections and timer events by control id and timer number and hands them
// to the form's components (detection, the measurement cycle, reference captures, browsing and
// comparison, the setting handlers), which share the document, the port, the control table and
// the device indices. Outside this library the form's state is read through the const views
// below and changed only by control id, timer number and the few operations that are not
// controls.
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
#include "chromiva/acquisition/hand_shake.h"
#include "chromiva/acquisition/instrument_fault.h"
#include "chromiva/acquisition/worker_launcher.h"
#include "chromiva/data/csv.h"
#include "chromiva/data/document.h"
#include "chromiva/data/processing.h"

namespace chromiva::acquisition {

namespace dialogs {
class CsvDialog;
class HistoryDialog;
class MaintenanceDialog;
class DialogTimers;
}  // namespace dialogs

class DocumentSession;
struct FormContext;
class SensorDetection;
class MeasurementCycle;
class ReferenceCaptures;
class RecordBrowser;
class SettingHandlers;

// What the front ends read besides the fields and the control table.
struct FormStatus {
  AcquisitionState acquisition = AcquisitionState::kIdle;  // the measurement pass
  bool busy = false;                                       // a worker talks to the instruments
  DarkStep darkStep = DarkStep::kFirstFrame;
  // Why the last pass, dark sequence or table write ended early (kind kNone when it completed).
  // A worker writes it before its last hand-shake write: read it only after that.
  const InstrumentFault* lastFault = nullptr;
  // The automatic CSV saves that failed since the last start, and the last reason.
  int autoSaveFailures = 0;
  std::string lastAutoSaveFailure;
  // The instruments the last detection left out (identity or tables short, or no answer).
  std::vector<std::string> leftOutReports;
  const data::Ctintrose_mfDoc* compareDocument = nullptr;  // the loaded comparison file
  // The mirror unit found by the last detection while the sensors are detected, or -1.
  int mirrorDeviceIndex = -1;
};

// Each shows its dialog until it ends; the maintenance dialog's timers are made before it.
struct DialogRunners {
  std::function<bool(dialogs::CsvDialog&)> csv;
  std::function<void(dialogs::HistoryDialog&)> history;
  std::function<std::unique_ptr<dialogs::DialogTimers>()> maintenanceTimers;
  std::function<void(dialogs::MaintenanceDialog&, dialogs::DialogTimers&)> maintenance;
};

class FormLogic {
 public:
  FormLogic(data::Ctintrose_mfDoc& document, FormPort& port, FormSettings settings = {});
  ~FormLogic();  // waits for a running worker
  FormLogic(const FormLogic&) = delete;
  FormLogic& operator=(const FormLogic&) = delete;

  // --- The way in: control ids and timer numbers ---
  // A click on a button, check box or radio of the form, by control id; a disabled control does
  // nothing. For a check box the caller has set its new state with SetControlChecked first. The
  // history (1039), maintenance (1041) and CSV (1052) buttons open dialogs through the runners.
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
  // The form's first showing (and after a document was opened): fills the controls from the
  // fields and the document, selects the first known sensor and arms timer 1.
  void InitialUpdate();

  // --- The few operations that are not controls ---
  // Every sensor takes the exposure, as if each were selected in turn and given the value.
  void SetAllExposures(int milliseconds);
  // The settings that no control of the form shows take these values: the CSV options, the
  // axis limits and the maintenance mode. The others change through their controls.
  void ApplySettings(const FormSettings& settings);
  // The settings to write back at exit.
  FormSettings CurrentSettings() const;
  // How the cycle waits for its passes; the start value is kTenMsSteps when the environment
  // sets CHROMIVA_TEN_MS_CADENCE=1 (a benchmark baseline), else kInstrument.
  void SetCadence(Cadence cadence) { fields_.cadence = cadence; }
  // Replaces how worker threads are started (nullptr: one std::thread per worker).
  void SetWorkerLauncher(std::unique_ptr<WorkerLauncher> launcher);
  // The front end's document session over the same document, none by default: every committed
  // pass goes to its journal before it is shown, and a data clear leaves it untitled.
  void SetSession(DocumentSession* session);
  // How the front end shows the dialogs that the buttons 1052 (and command 32774), 1039 and
  // 1041 open; without them those buttons do nothing.
  void SetDialogRunners(DialogRunners runners);

  // --- Read-only views ---
  const FormFields& fields() const { return fields_; }
  const ControlTable& controls() const;
  const data::ProcessingState& processing() const;
  const data::Ctintrose_mfDoc& document() const;
  FormStatus Status() const;

 private:
  friend struct FormLogicTestAccess;  // the tests' way to set up states directly
  FormFields& MutableFields() { return fields_; }
  void RefreshDisplayedRecord();  // after a test changed the fields
  void OpenCsvDialog();
  void OpenHistoryDialog();
  void OpenMaintenanceDialog();

  FormFields fields_;
  std::unique_ptr<FormContext> context_;
  std::unique_ptr<SettingHandlers> settings_;
  std::unique_ptr<SensorDetection> detection_;
  std::unique_ptr<MeasurementCycle> cycle_;
  std::unique_ptr<ReferenceCaptures> references_;
  std::unique_ptr<RecordBrowser> browser_;
  DialogRunners dialogRunners_;
};

}  // namespace chromiva::acquisition
