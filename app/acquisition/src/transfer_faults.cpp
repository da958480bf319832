// Passes and dark sequences whose transfers did not arrive whole: one sensor's share of a
// pass, the end of a pass that did not complete, the dark frames and the refused dark.
#include "chromiva/data/text_codec.h"
#include "measurement_cycle.h"
#include "reference_captures.h"
#include "wrenlink.h"

namespace chromiva::acquisition {

// Frames, temperature, exposure and processing of sensor k's working record; the first
// transfer that does not arrive whole ends it with its fault.
InstrumentFault MeasurementCycle::MeasureSensor(int k) {
  const int record = c_.document.recordCount[k];
  InstrumentFault fault = AcquireAveraged(k, record, f_.averageCount);
  if (fault.Any()) return fault;
  const int device = c_.DeviceOf(k);
  std::int16_t tenths = 0;
  constexpr int kTemperatureBytes = static_cast<int>(sizeof tenths);
  const int received = GetDeviceTemp(device, &tenths);
  const FaultKind kind = CheckTransfer(device, received, kTemperatureBytes);
  if (kind != FaultKind::kNone) return {kind, k, record, received, kTemperatureBytes};
  data::RecordSlot& slot = c_.document.Record(k, record);
  slot.recordTemperature = static_cast<float>(tenths / 10.0);
  slot.recordExposureUs = c_.document.Sensor(k).exposureUs;
  if (data::CorrectRecord(c_.document, c_.processing, k, record)) {
    data::ResampleRecord(c_.document, c_.processing, k, record);
  }
  return {};
}

// A pass that ended early is neither saved nor committed. The measurement stops as the stop
// button stops it; every pass committed before stays; an instrument fault is told.
void MeasurementCycle::EndFaultedPass() {
  f_.oneShotPending = false;
  f_.keepNext = false;
  if (c_.shared.measuring) StopMeasurement();
  c_.UpdateControlStates();
  const InstrumentFault& fault = c_.lastFault;
  if (!fault.Failed()) return;
  const std::string serial = data::DisplayText(c_.document.Sensor(fault.sensor).serialNo);
  c_.AppendLogLine(DescribeFault(fault, serial, &AsWritten) + " ");
  c_.port.ShowOkMessage(DescribeFault(fault, serial));
}

// Frames of every sensor into its accumulator, through its working record slot; after the
// first fault (or a stop request) of the sequence no more frames are asked for.
void ReferenceCaptures::AcquireDarkFrames(int frames) {
  InstrumentFault& fault = c_.lastFault;
  for (int k = 0; k < c_.SensorCount() && !fault.Any(); ++k) {
    if (TransferStopRequested()) {
      fault = {FaultKind::kStopped, k};
    } else {
      fault = cycle_.AcquireAveraged(k, c_.document.recordCount[k], frames);
      fault.record = -1;  // no record is being filled
    }
  }
}

// Nothing of a dark sequence with a missing or short frame is kept or registered: the program
// and the instruments keep the dark tables they had.
void ReferenceCaptures::RefuseDarkRegistration() {
  for (int k = 0; k < c_.SensorCount(); ++k) {
    c_.document.Sensor(k).darkTables[0] = darkStep0Before_[static_cast<std::size_t>(k)];
  }
  c_.port.ShowMessage(TR_NOOP("Form", "ダーク計測を中止しました。ダークは登録していません"));
  const InstrumentFault& fault = c_.lastFault;
  if (!fault.Failed()) return;
  c_.port.ShowOkMessage(
      DescribeFault(fault, data::DisplayText(c_.document.Sensor(fault.sensor).serialNo)) + "\n" +
      Translated(
          TR_NOOP("Form", "ダークは登録していません（装置のダークテーブルは変わっていません）")));
}

}  // namespace chromiva::acquisition
