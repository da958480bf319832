// The one place where the window reaches the form's logic: clicks, typed text, list choices and
// timer events go in by control or timer id; the control table and the state the window needs
// come out. Nothing else in the window calls FormLogic.
#pragma once

#include <memory>
#include <string>

#include "chromiva/acquisition/form_logic.h"
#include "settings.h"

namespace chromiva::ui {

class FormBinding {
 public:
  FormBinding(data::Ctintrose_mfDoc& document, acquisition::FormPort& port,
              const StoredSettings& settings);

  // A click on a button, check box or radio button. A box's new check state is given first
  // through SetControlChecked.
  void OnControlClicked(int id);
  // Text typed into an edit, check state of a box, selection in a list.
  void SetControlText(int id, std::string text);
  void SetControlChecked(int id, bool checked);
  void SelectListItem(int id, int index);
  // A numbered window timer's event.
  void OnTimer(int timer);
  // The form's first show, and again for every new or opened document.
  void InitialUpdate();

  const acquisition::ControlTable& controls() const { return logic_.controls(); }
  const acquisition::FormFields& fields() const { return logic_.fields(); }
  bool AcquisitionBusy() const { return logic_.AcquisitionBusy(); }
  // A worker thread writes into the document: a measurement pass has been launched and not yet
  // handed back, or a dark-sequence frame runs.
  bool WorkerWritesDocument() const {
    return logic_.AcquisitionState() == 1 || logic_.AcquisitionBusy() ||
           logic_.fields().darkRunning;
  }
  bool MaintenanceMode() const { return maintenanceMode_; }
  // Maintenance on for this run only: the stored setting stays as it was.
  void SetMaintenanceForThisRun() { maintenanceMode_ = true; }
  // The graph's axis limits; the number entry on the graph changes them.
  const acquisition::AxisLimits& axisLimits() const { return axis_; }
  acquisition::AxisLimits& axisLimits() { return axis_; }
  // The settings as they stand, to be stored at exit.
  StoredSettings CurrentSettings() const;

 private:
  void OnStartupTimer();
  void FillSensorList();
  void SelectFirstSensor();
  void ShowCsvButton();

  acquisition::FormLogic logic_;
  bool maintenanceMode_;
  bool storedMaintenanceMode_;
  acquisition::AxisLimits axis_;
};

}  // namespace chromiva::ui
