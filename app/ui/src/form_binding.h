// The one place where the window reaches the form's logic: clicks, typed text, list choices and
// timer events go in by control or timer id; the control table and the state the window needs
// come out. Nothing else in the window calls FormLogic.
#pragma once

#include <functional>
#include <string>

#include "chromiva/acquisition/document_session.h"
#include "chromiva/acquisition/form_logic.h"

namespace chromiva::ui {

class FormBinding {
 public:
  FormBinding(data::Ctintrose_mfDoc& document, acquisition::FormPort& port,
              const acquisition::FormSettings& settings);

  // A click on a button, check box or radio button. A box's new check state is given first
  // through SetControlChecked.
  void OnControlClicked(int id) { logic_.OnControlClicked(id); }
  // Text typed into an edit, check state of a box, selection in a list.
  void SetControlText(int id, std::string text) { logic_.SetControlText(id, std::move(text)); }
  void SetControlChecked(int id, bool checked) { logic_.SetControlChecked(id, checked); }
  void SelectListItem(int id, int index) { logic_.SelectListItem(id, index); }
  // A numbered window timer's event.
  void OnTimer(int timer) { logic_.OnFormTimer(timer); }
  // A worker's wake-up, delivered on the window thread.
  void OnWorkerWake(int timer) { logic_.OnWorkerWake(timer); }
  // The form's first show, and again for every new or opened document.
  void InitialUpdate() { logic_.InitialUpdate(); }

  // How the window shows the dialogs that buttons open.
  void SetDialogRunners(acquisition::DialogRunners runners) {
    logic_.SetDialogRunners(std::move(runners));
  }

  // The logic, read only (the graph is built from it).
  const acquisition::FormLogic& logic() const { return logic_; }
  acquisition::FormStatus Status() const { return logic_.Status(); }
  const acquisition::ControlTable& controls() const { return logic_.controls(); }
  const acquisition::FormFields& fields() const { return logic_.fields(); }
  bool AcquisitionBusy() const { return logic_.Status().busy; }
  // A worker thread writes into the document: a measurement pass has been launched and not yet
  // handed back, or a dark-sequence frame runs.
  bool WorkerWritesDocument() const {
    const acquisition::FormStatus status = logic_.Status();
    return status.acquisition == acquisition::AcquisitionState::kRunning || status.busy ||
           logic_.fields().darkRunning;
  }
  bool MaintenanceMode() const { return logic_.fields().maintenanceMode == 1; }
  // Maintenance on for this run only: the stored setting stays as it was.
  void SetMaintenanceForThisRun();
  // The graph's axis limits, edited on the graph.
  void SetAxisLimits(const acquisition::AxisLimits& limits);
  const acquisition::AxisLimits& axisLimits() const { return logic_.fields().axisLimits; }
  // The settings as they stand, to be stored at exit.
  acquisition::FormSettings CurrentSettings() const;

  // The document session the main frame opens and saves through; every committed pass goes to
  // its journal before it is shown.
  acquisition::DocumentSession& session() { return session_; }
  // The journal's first write failure, once; empty when there is none to tell.
  std::string TakeJournalError();

 private:
  acquisition::DocumentSession session_;  // outlives the logic, which writes to its journal
  bool journalErrorTold_ = false;
  acquisition::FormLogic logic_;
  int storedMaintenanceMode_;
};

}  // namespace chromiva::ui
