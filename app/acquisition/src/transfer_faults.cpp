// Passes and dark sequences whose transfers did not arrive whole: one sensor's share of a
// pass, the end of a pass that did not complete, the dark frames and the refused dark.
#include "chromiva/acquisition/form_logic.h"
#include "wrenlink.h"

namespace chromiva::acquisition {

// Frames, temperature, exposure and processing of sensor k's working record; the first
// transfer that does not arrive whole ends it with its fault.
InstrumentFault FormLogic::MeasureSensor(int k) {
  const int record = document_.recordCount[k];
  InstrumentFault fault = AcquireAveraged(k, record, fields_.averageCount);
  if (fault.Any()) return fault;
  const int device = fields_.deviceIndex[k];
  std::int16_t tenths = 0;
  constexpr int kTemperatureBytes = static_cast<int>(sizeof tenths);
  const int received = GetDeviceTemp(device, &tenths);
  const FaultKind kind = CheckTransfer(device, received, kTemperatureBytes);
  if (kind != FaultKind::kNone) return {kind, k, record, received, kTemperatureBytes};
  data::RecordSlot& slot = document_.Record(k, record);
  slot.recordTemperature = static_cast<float>(tenths / 10.0);
  slot.recordExposureUs = document_.Sensor(k).exposureUs;
  if (data::CorrectRecord(document_, processing_, k, record)) {
    data::ResampleRecord(document_, processing_, k, record);
  }
  return {};
}

// A pass that ended early is neither saved nor committed. The measurement stops as the stop
// button stops it; every pass committed before stays; an instrument fault is told.
void FormLogic::EndFaultedPass() {
  fields_.oneShotPending = false;
  fields_.keepNext = false;
  if (fields_.measuring) StopMeasurement();
  UpdateControlStates();
  if (!lastFault_.Failed()) return;
  const std::string text = DescribeFault(lastFault_, document_.Sensor(lastFault_.sensor).serialNo);
  AppendLogLine(text + " ");
  port_.ShowOkMessage(text);
}

// Frames of every sensor into its accumulator, through its working record slot; after the
// first fault (or a stop request) of the sequence no more frames are asked for.
void FormLogic::AcquireDarkFrames(int frames) {
  for (int k = 0; k < document_.sensorTable.sensorCount && !lastFault_.Any(); ++k) {
    if (TransferStopRequested()) {
      lastFault_ = {FaultKind::kStopped, k};
    } else {
      lastFault_ = AcquireAveraged(k, document_.recordCount[k], frames);
      lastFault_.record = -1;  // no record is being filled
    }
  }
}

// Nothing of a dark sequence with a missing or short frame is kept or registered: the program
// and the instruments keep the dark tables they had.
void FormLogic::RefuseDarkRegistration() {
  for (int k = 0; k < document_.sensorTable.sensorCount; ++k) {
    document_.Sensor(k).darkTables[0] = darkStep0Before_[k];
  }
  port_.ShowMessage("ダーク計測を中止しました。ダークは登録していません");
  if (!lastFault_.Failed()) return;
  port_.ShowOkMessage(DescribeFault(lastFault_, document_.Sensor(lastFault_.sensor).serialNo) +
                      "\nダークは登録していません（装置のダークテーブルは変わっていません）");
}

}  // namespace chromiva::acquisition
