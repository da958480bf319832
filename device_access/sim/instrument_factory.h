#pragma once

#include <memory>

#include "sim_options.h"
#include "virtual_instrument.h"

namespace wrenlink::sim {

// The virtual instrument named by `spec`, or null for a name the simulator does not know (which
// is reported). Options that cannot be used are reported (ReportProblem) with what is taken
// instead: a serial longer than the EEPROM's 8 characters is cut to 8.
std::unique_ptr<VirtualInstrument> CreateInstrument(const InstrumentSpec& spec);

}  // namespace wrenlink::sim
