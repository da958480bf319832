// Reference captures: the dark sequence with its two long frames on worker threads, the white
// and 100 % transmission registrations, dark re-registration and the sky background.
#pragma once

#include <array>
#include <atomic>

#include "form_context.h"

namespace chromiva::acquisition {

class MeasurementCycle;
class SettingHandlers;

class ReferenceCaptures {
 public:
  ReferenceCaptures(FormContext& context, ReferenceFields& fields, MeasurementCycle& cycle,
                    SettingHandlers& settings)
      : c_(context),
        controls_(context.Writer(ControlOwner::kReferences)),
        f_(fields),
        cycle_(cycle),
        settings_(settings) {}

  void StartDarkMeasurement();
  void OnDarkTimer();
  void OnDarkFinishTimer();
  void RegisterWhite();
  void RegisterTransmission();
  void DarkReset();
  void SkyBgdClicked();
  DarkStep Step() const { return darkStep_.load(std::memory_order_acquire); }

 private:
  struct ReferenceKind;
  enum class LongFrame { kBlank, kDark };
  void AcquireDarkShortFrames();
  void StartLongDarkFrame(LongFrame frame);
  void RunLongDarkFrame(const char* before, const char* after, DarkStep done);
  void FinishDarkSteps();
  bool RegisterDarkInInstruments();
  void AcquireDarkFrames(int frames);
  void RefuseDarkRegistration();
  void RegisterReference(const ReferenceKind& kind);
  bool DisplayedRecordHasSpectrum(int sensor) const;
  void RegisterSkyBgd();
  void ClearSkyBgd();

  FormContext& c_;
  ControlWriter controls_;
  ReferenceFields& f_;
  MeasurementCycle& cycle_;
  SettingHandlers& settings_;
  std::atomic<DarkStep> darkStep_{DarkStep::kFirstFrame};
  // Dark step 0 of every sensor as it was before the dark sequence, for a refused sequence.
  std::array<data::PixelArray, data::kMaxSensors> darkStep0Before_{};
};

}  // namespace chromiva::acquisition
