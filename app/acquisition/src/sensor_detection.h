// Detection and release of the instruments, and the choice of sensor.
#pragma once

#include <string>
#include <vector>

#include "form_context.h"

namespace chromiva::acquisition {

class SensorDetection {
 public:
  SensorDetection(FormContext& context, SensorFields& fields)
      : c_(context), controls_(context.Writer(ControlOwner::kDetection)), f_(fields) {}

  // The detect button: detects, or releases when detected.
  void DetectSensors();
  void ReleaseSensors();
  void SelectSensor(int sensor);
  // The exposure field's value (ms) becomes the sensor's exposure. A value outside the
  // exposure limits (or not a number) is refused with their message: false, nothing stored.
  bool StoreTypedExposure(int sensor);
  // Every sensor takes `milliseconds`, as if each were selected in turn and given the value.
  void SetAllExposures(int milliseconds);
  // The form's first showing: the sensor list from the document ("(serial)" for sensors known
  // only from a data file), their displayed records processed, the first sensor selected.
  void ShowKnownSensors();
  // The instruments the last detection left out, each with what did not arrive whole.
  const std::vector<std::string>& LeftOutReports() const { return reports_; }

 private:
  bool ConfirmClearForDetection();
  void DetectAll();
  void DetectOne(int index);
  void AddSpectrometer(int index);
  void LeaveOut(int index, const std::string& problem);
  void ShowExposureOfSelected();

  FormContext& c_;
  ControlWriter controls_;
  SensorFields& f_;
  std::vector<std::string> reports_;
};

}  // namespace chromiva::acquisition
