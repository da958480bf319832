#include "chromiva/acquisition/control_owners.h"

#include <atomic>
#include <cstdio>

#include "chromiva/acquisition/control_ids.h"

namespace chromiva::acquisition {
namespace {

struct Owned {
  int id;
  ControlOwner owner;
};

// The owner of every control a component writes.
constexpr Owned kOwners[] = {
    {control::kDetect, ControlOwner::kDetection},
    {control::kSensorList, ControlOwner::kDetection},
    {control::kDeviceList, ControlOwner::kDetection},
    {control::kExposure, ControlOwner::kDetection},
    {control::kStartStop, ControlOwner::kMeasurement},
    {control::kOneShot, ControlOwner::kMeasurement},
    {control::kDark, ControlOwner::kReferences},
    {control::kDarkReset, ControlOwner::kReferences},
    {control::kWhite, ControlOwner::kReferences},
    {control::kTransmission, ControlOwner::kReferences},
    {control::kSkyBgd, ControlOwner::kReferences},
    {control::kBack, ControlOwner::kBrowser},
    {control::kNext, ControlOwner::kBrowser},
    {control::kPlayback, ControlOwner::kBrowser},
    {control::kPosition, ControlOwner::kBrowser},
    {control::kRecordCount, ControlOwner::kBrowser},
    {control::kClear, ControlOwner::kBrowser},
    {control::kSelectedOnly, ControlOwner::kBrowser},
    {control::kDisplayKind, ControlOwner::kBrowser},
    {control::kCompare, ControlOwner::kBrowser},
    {control::kCompareField, ControlOwner::kBrowser},
    {control::kCompareBack, ControlOwner::kBrowser},
    {control::kCompareNext, ControlOwner::kBrowser},
    {control::kCompareField2, ControlOwner::kBrowser},
    {control::kCompareBack2, ControlOwner::kBrowser},
    {control::kCompareNext2, ControlOwner::kBrowser},
    {control::kCompareField3, ControlOwner::kBrowser},
    {control::kLightSource, ControlOwner::kSettings},
    {control::kReflectance, ControlOwner::kSettings},
    {control::kTransmittance, ControlOwner::kSettings},
    {control::kAverage, ControlOwner::kMeasurement},
    {control::kRecordMode, ControlOwner::kSettings},
    {control::kIntervalMode, ControlOwner::kSettings},
    {control::kInterval, ControlOwner::kMeasurement},
    {control::kWaveComp, ControlOwner::kSettings},
    {control::kColourDisplay, ControlOwner::kSettings},
    {control::kCsv, ControlOwner::kSettings},
    {control::kMaintenance, ControlOwner::kSettings},
};

// The controls whose enabling the shared rules derive from the fields.
constexpr int kDerivedEnabling[] = {
    control::kStartStop, control::kOneShot, control::kDetect,       control::kDark,
    control::kDarkReset, control::kWhite,   control::kTransmission, control::kSkyBgd,
    control::kBack,      control::kNext,    control::kClear,        control::kCsv,
    control::kInterval,
};

}  // namespace

ControlOwner OwnerOf(int id) {
  for (const Owned& owned : kOwners) {
    if (owned.id == id) return owned.owner;
  }
  return ControlOwner::kNobody;
}

bool EnablingDerived(int id) {
  for (int derived : kDerivedEnabling) {
    if (derived == id) return true;
  }
  return false;
}

namespace {
std::atomic<int> refusedWrites{0};
}  // namespace

int TakeRefusedControlWrites() {
  return refusedWrites.exchange(0);
}

ControlState& ControlWriter::Own(int id, Aspect aspect) {
  const bool allowed = owner_ == ControlOwner::kOperator ? aspect == kValue
                       : owner_ == ControlOwner::kEnableRules
                           ? aspect == kEnabling && EnablingDerived(id)
                           : owner_ == OwnerOf(id) && owner_ != ControlOwner::kNobody;
  if (allowed) return table_[id];
  ++refusedWrites;
  std::fprintf(stderr, "chromiva: control %d written by a component that does not own it\n", id);
  thread_local ControlState discarded;
  discarded = {};
  return discarded;
}

}  // namespace chromiva::acquisition
