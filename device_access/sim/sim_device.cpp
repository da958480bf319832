#include "sim_device.h"

namespace wrenlink::sim {

FaultOptions FaultOptions::FromSpec(const InstrumentSpec& spec) {
  FaultOptions faults;
  constexpr long kMost = 2147483647L;
  if (spec.HasOption("noreply")) faults.answerLimit = spec.NumberOption("noreply", 0, 0, kMost);
  if (spec.HasOption("short")) faults.shortReply = spec.NumberOption("short", 0, 0, kMost);
  if (spec.HasOption("disconnect")) {
    faults.disconnectAfter = spec.NumberOption("disconnect", 0, 0, kMost);
  }
  return faults;
}

SimDevice::SimDevice(std::unique_ptr<VirtualInstrument> instrument, FaultOptions faults)
    : instrument_(std::move(instrument)), faults_(faults) {}

bool SimDevice::Connected() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return present_ && !disconnected_;
}

void SimDevice::SetPresent(bool present) {
  std::lock_guard<std::mutex> lock(mutex_);
  present_ = present;
  if (!present) replies_.clear();
}

bool SimDevice::Receive(const std::uint8_t* data, std::size_t length) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (disconnected_ || !present_) return false;
  if (faults_.disconnectAfter >= 0 && requests_ >= faults_.disconnectAfter) {
    disconnected_ = true;
    replies_.clear();
    return false;
  }
  ++requests_;
  auto reply = instrument_->HandleRequest({data, length});
  bool silent = faults_.answerLimit >= 0 && requests_ > faults_.answerLimit;
  if (!reply || silent) return true;
  if (faults_.shortReply >= 0 && reply->size() > static_cast<std::size_t>(faults_.shortReply)) {
    reply->resize(static_cast<std::size_t>(faults_.shortReply));
  }
  replies_.push_back(std::move(*reply));
  return true;
}

bool SimDevice::TakeReply(Bytes& reply, bool& gone) {
  std::lock_guard<std::mutex> lock(mutex_);
  gone = disconnected_ || !present_;
  if (gone || replies_.empty()) return false;
  reply = std::move(replies_.front());
  replies_.pop_front();
  return true;
}

std::array<std::uint8_t, 18> SimDevice::Descriptor() const {
  return instrument_->DeviceDescriptor();
}

}  // namespace wrenlink::sim
