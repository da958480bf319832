#pragma once

#include <memory>

#include "sim_options.h"
#include "virtual_instrument.h"

namespace wrenlink::sim {

// The virtual instrument named by `spec`, or null for a name the simulator does not know.
std::unique_ptr<VirtualInstrument> CreateInstrument(const InstrumentSpec& spec);

}  // namespace wrenlink::sim
