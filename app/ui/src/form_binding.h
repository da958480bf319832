// The one place where the window reaches the form's logic: clicks, typed text, list choices and
// timer events go in by control or timer id; the control table and the state the window needs
// come out. Nothing else in the window calls FormLogic.
#pragma once

#include <string>

#include "chromiva/acquisition/form_logic.h"
#include "chromiva/data/journal.h"

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

  acquisition::FormLogic& logic() { return logic_; }
  const acquisition::FormLogic& logic() const { return logic_; }
  const acquisition::ControlTable& controls() const { return logic_.controls(); }
  const acquisition::FormFields& fields() const { return logic_.fields(); }
  bool AcquisitionBusy() const { return logic_.AcquisitionBusy(); }
  // A worker thread writes into the document: a measurement pass has been launched and not yet
  // handed back, or a dark-sequence frame runs.
  bool WorkerWritesDocument() const {
    return logic_.AcquisitionState() == 1 || logic_.AcquisitionBusy() ||
           logic_.fields().darkRunning;
  }
  bool MaintenanceMode() const { return logic_.maintenanceMode() == 1; }
  // Maintenance on for this run only: the stored setting stays as it was.
  void SetMaintenanceForThisRun() { logic_.SetMaintenanceMode(1); }
  const acquisition::AxisLimits& axisLimits() const { return logic_.axisLimits(); }
  // The settings as they stand, to be stored at exit.
  acquisition::FormSettings CurrentSettings() const;

  // Every committed pass goes to the journal before it is shown; a save, a new or an opened
  // document ends it.
  void FinishJournal() { journal_.Finish(); }
  // The journal's first write failure, once; empty when there is none to tell.
  std::string TakeJournalError();

 private:
  data::RecordJournal journal_;  // outlives the logic, which writes to it
  bool journalErrorTold_ = false;
  acquisition::FormLogic logic_;
  int storedMaintenanceMode_;
};

}  // namespace chromiva::ui
