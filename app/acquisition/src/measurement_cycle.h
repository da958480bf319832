// The measurement cycle: start and stop, one-shot, the measurement timer with its worker pass and
// hand-shake, the schedule of passes, the automatic CSV save and the commit of records.
#pragma once

#include <string>

#include "form_context.h"

namespace chromiva::acquisition {

class SensorDetection;

class MeasurementCycle {
 public:
  MeasurementCycle(FormContext& context, CycleFields& fields, SensorDetection& detection)
      : c_(context),
        controls_(context.Writer(ControlOwner::kMeasurement)),
        f_(fields),
        detection_(detection) {}

  void StartStopMeasurement();
  // Shows the average count and the interval in their edits.
  void ShowFields();
  void OneShot();
  void OnMeasureTimer();
  // Mean of `frames` frames of sensor k's device into its accumulator and record r's raw
  // spectrum, in single precision. Runs on a worker thread or, briefly, the window thread.
  // A frame that does not arrive whole ends it with that fault (the accumulator and the raw
  // spectrum are then not data); so does a stop request before any frame but the first.
  InstrumentFault AcquireAveraged(int sensor, int record, int frames);
  void CommitRecord();

  // The automatic CSV saves that failed since the last start, and the reason of the last one.
  int AutoSaveFailures() const { return autoSaveFailures_; }
  const std::string& LastAutoSaveFailure() const { return lastAutoSaveFailure_; }

 private:
  bool StartMeasurement();
  bool StoreExposures();
  void StopMeasurement();
  void CommonStartStopEnd();
  void FinishPassOnWindowThread();
  void EndFaultedPass();
  InstrumentFault MeasureSensor(int sensor);
  void AutoSaveCsv();
  void ScheduleNextPass();
  void ArmRunningPassTimer();
  // One pass over every sensor; `wake` wakes the window thread after the hand-shake step.
  void MeasureWorker(bool wake);

  FormContext& c_;
  ControlWriter controls_;
  CycleFields& f_;
  SensorDetection& detection_;
  int autoSaveFailures_ = 0;
  std::string lastAutoSaveFailure_;
};

}  // namespace chromiva::acquisition
