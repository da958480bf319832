#include "instrument_factory.h"

#include <cstdlib>
#include <functional>
#include <map>
#include <set>
#include <string>

#include "virtual_data_units.h"
#include "virtual_drives.h"
#include "virtual_motor.h"
#include "virtual_sensor_board.h"
#include "virtual_simple.h"
#include "virtual_spectrometer.h"

namespace wrenlink::sim {
namespace {

// The kinds here are written out on purpose, not taken from wrenlink.h: the simulator is an
// independent account of the instruments against which the library's own tables are checked.
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

// Options every instrument takes, and those only some take.
const std::set<std::string> kCommonOptions = {"serial", "noreply", "short", "disconnect"};
const std::map<std::string, std::set<std::string>> kOwnOptions = {
    {"spectrometer", {"light", "exposure"}},
    {"loadcell", {"raw"}},
    {"loadcell24", {"raw"}},
    {"motor", {"opswitch"}},
};
constexpr std::size_t kSerialCapacity = 8;  // bytes of the serial number in the EEPROM

void Report(const InstrumentSpec& spec, const std::string& text) {
  ReportProblem("WRENLINK_SIMULATOR: " + spec.name + " " + text);
}

// Reports the options that cannot be used and gives the instrument entry with the values taken
// instead.
InstrumentSpec UsableOptions(const InstrumentSpec& spec) {
  InstrumentSpec usable = spec;
  auto own = kOwnOptions.find(spec.name);
  for (const auto& [key, value] : spec.options) {
    bool known =
        kCommonOptions.count(key) != 0 || (own != kOwnOptions.end() && own->second.count(key) != 0);
    if (!known) Report(spec, "option '" + key + "' is not known; ignored");
  }
  std::string light = spec.Option("light", "on");
  if (spec.name == "spectrometer" && light != "on" && light != "off") {
    Report(spec, "option light='" + light + "' is neither on nor off; using on");
  }
  std::string serial = spec.Option("serial");
  if (serial.size() > kSerialCapacity) {
    usable.options["serial"] = serial.substr(0, kSerialCapacity);
    Report(spec, "serial='" + serial + "' is longer than 8 characters; using '" +
                     usable.options["serial"] + "'");
  }
  return usable;
}

}  // namespace

std::unique_ptr<VirtualInstrument> CreateInstrument(const InstrumentSpec& spec) {
  auto found = Makers().find(spec.name);
  std::unique_ptr<VirtualInstrument> instrument;
  if (found != Makers().end()) {
    instrument = found->second(UsableOptions(spec));
  } else if ((instrument = MakeIdentityOnly(spec.name))) {
    UsableOptions(spec);
  } else {
    ReportProblem("WRENLINK_SIMULATOR: unknown instrument '" + spec.name + "'; left out");
  }
  return instrument;
}

}  // namespace wrenlink::sim
