#pragma once

#include "transport/transport.h"

namespace wrenlink {

// The simulator: instruments listed in WRENLINK_SIMULATOR, read again at every detection so
// that changing the list models plugging and unplugging. An instrument keeps its state while
// the process runs, also across unplugging, as a real instrument keeps its memory.
Transport& SimulatorTransport();

}  // namespace wrenlink
