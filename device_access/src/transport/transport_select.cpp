#include <atomic>

#include "env.h"
#include "transport/libusb_transport.h"
#include "transport/sim_transport.h"
#include "transport/transport.h"

namespace wrenlink {
namespace {

std::atomic<Transport*> transportOverride{nullptr};

}  // namespace

void SetTransportOverride(Transport* transport) {
  transportOverride.store(transport);
}

Transport& TransportForDetection() {
  if (Transport* chosen = transportOverride.load()) return *chosen;
  if (EnvText("WRENLINK_SIMULATOR")) return SimulatorTransport();
  return LibusbTransport();
}

}  // namespace wrenlink
