// A virtual instrument as seen from the bus: it takes bulk OUT requests, queues its replies
// for bulk IN reads, and can misbehave on purpose (fault options of the instrument list):
//   noreply[=N]    answers the first N requests (default 0), then never again
//   short=N        cuts every reply to at most N bytes
//   disconnect=N   drops off the bus after N requests
// It is safe to use from the transport's threads.
#pragma once

#include <array>
#include <deque>
#include <memory>
#include <mutex>

#include "sim_options.h"
#include "virtual_instrument.h"

namespace wrenlink::sim {

struct FaultOptions {
  long answerLimit = -1;      // requests answered before falling silent; -1 = always
  long shortReply = -1;       // most bytes of a reply; -1 = whole
  long disconnectAfter = -1;  // requests before dropping off the bus; -1 = never

  static FaultOptions FromSpec(const InstrumentSpec& spec);
};

class SimDevice {
 public:
  SimDevice(std::unique_ptr<VirtualInstrument> instrument, FaultOptions faults);

  bool Connected() const;
  // Plugged in or out by the instrument list.
  void SetPresent(bool present);
  // Takes one request; false when the device is no longer on the bus.
  bool Receive(const std::uint8_t* data, std::size_t length);
  // The next queued reply; false when there is none (a read would time out) or the device is
  // gone. `gone` tells the two apart.
  bool TakeReply(Bytes& reply, bool& gone);
  std::array<std::uint8_t, 18> Descriptor() const;
  int Kind() const { return instrument_->Kind(); }
  double ExposureSpeed() const { return instrument_->ExposureSpeed(); }  // fixed at creation

 private:
  mutable std::mutex mutex_;
  std::unique_ptr<VirtualInstrument> instrument_;
  FaultOptions faults_;
  long requests_ = 0;
  bool disconnected_ = false;
  bool present_ = true;
  std::deque<Bytes> replies_;
};

}  // namespace wrenlink::sim
