#include "instrument_factory.h"

#include <cstdlib>
#include <functional>
#include <map>
#include <string>

#include "virtual_data_units.h"
#include "virtual_drives.h"
#include "virtual_motor.h"
#include "virtual_sensor_board.h"
#include "virtual_simple.h"
#include "virtual_spectrometer.h"

namespace wrenlink::sim {
namespace {

using Maker = std::function<std::unique_ptr<VirtualInstrument>(const InstrumentSpec&)>;

const std::map<std::string, Maker>& Makers() {
  static const std::map<std::string, Maker> makers = {
      {"spectrometer",
       [](const InstrumentSpec& s) { return std::make_unique<VirtualSpectrometer>(s); }},
      {"mirror", [](const InstrumentSpec&) { return std::make_unique<VirtualMirror>(); }},
      {"led16", [](const InstrumentSpec&) { return std::make_unique<VirtualLedUnit>(13); }},
      {"led8", [](const InstrumentSpec&) { return std::make_unique<VirtualLedUnit>(29); }},
      {"led22", [](const InstrumentSpec&) { return std::make_unique<VirtualLedUnit>(22); }},
      {"led96", [](const InstrumentSpec&) { return std::make_unique<VirtualLedUnit>(23); }},
      {"ioboard", [](const InstrumentSpec&) { return std::make_unique<VirtualSensorBoard>(); }},
      {"loadcell",
       [](const InstrumentSpec& s) { return std::make_unique<VirtualLoadCell>(12, s); }},
      {"loadcell24",
       [](const InstrumentSpec& s) { return std::make_unique<VirtualLoadCell>(24, s); }},
      {"motor", [](const InstrumentSpec& s) { return std::make_unique<VirtualMotor>(s); }},
      {"ledpower", [](const InstrumentSpec&) { return std::make_unique<VirtualLedPower>(); }},
      {"bldc", [](const InstrumentSpec&) { return std::make_unique<VirtualBrushlessDriver>(); }},
      {"relay", [](const InstrumentSpec&) { return std::make_unique<VirtualTextRelay>(); }},
      {"gsensor", [](const InstrumentSpec&) { return std::make_unique<VirtualGSensor>(); }},
      {"sparam", [](const InstrumentSpec&) { return std::make_unique<VirtualSParameterUnit>(); }},
      {"drone", [](const InstrumentSpec&) { return std::make_unique<VirtualDroneUnit>(); }},
  };
  return makers;
}

// "kind<N>" with N from 0 to 255.
std::unique_ptr<VirtualInstrument> MakeIdentityOnly(const std::string& name) {
  if (name.size() < 5 || name.compare(0, 4, "kind") != 0) return nullptr;
  char* end = nullptr;
  long kind = std::strtol(name.c_str() + 4, &end, 10);
  if (*end != '\0' || kind < 0 || kind > 255) return nullptr;
  return std::make_unique<VirtualIdentityOnly>(static_cast<int>(kind));
}

}  // namespace

std::unique_ptr<VirtualInstrument> CreateInstrument(const InstrumentSpec& spec) {
  auto found = Makers().find(spec.name);
  if (found != Makers().end()) return found->second(spec);
  return MakeIdentityOnly(spec.name);
}

}  // namespace wrenlink::sim
