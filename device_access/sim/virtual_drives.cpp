#include "virtual_drives.h"

#include <algorithm>

namespace wrenlink::sim {
namespace {

constexpr std::int32_t kRpmPerPwmStep = 3;

bool IsRequest(std::span<const std::uint8_t> request, std::uint8_t letter, std::uint8_t parameter,
               std::size_t size) {
  return request.size() == size && request[0] == letter && request[1] == parameter;
}

}  // namespace

std::optional<Bytes> VirtualLedPower::HandleCommand(std::span<const std::uint8_t> request) {
  if (IsRequest(request, 'd', 0x20, currents_.size() + 2)) {
    std::copy(request.begin() + 2, request.end(), currents_.begin());
    return Acknowledge(4);
  }
  if (IsRequest(request, 's', 0x04, 6)) {
    onOff_ = ReadI32(request.data() + 2);
    return Acknowledge(4);
  }
  if (IsRequest(request, 'D', 0x20, 2)) return Bytes(currents_.begin(), currents_.end());
  if (IsRequest(request, 'S', 0x04, 2)) {
    Bytes reply;
    AppendI32(reply, onOff_);
    return reply;
  }
  return std::nullopt;
}

std::optional<Bytes> VirtualBrushlessDriver::HandleCommand(std::span<const std::uint8_t> request) {
  if (IsRequest(request, 'd', 0x04, 6)) {
    pwm_ = static_cast<std::uint16_t>(ReadU16(request.data() + 2));
    return Acknowledge(4);
  }
  Bytes reply;
  if (IsRequest(request, 'D', 0x00, 2)) {
    AppendI32(reply, pwm_);
  } else if (IsRequest(request, 'F', 0x00, 2)) {
    AppendI32(reply, pwm_ * kRpmPerPwmStep);
  } else {
    return std::nullopt;
  }
  return reply;
}

// The line as a reply. An empty line is a zero-length packet; it still gets a buffer, so that
// copying its zero bytes never sees a null pointer.
Bytes VirtualTextRelay::LineReply() const {
  Bytes reply;
  reply.reserve(std::max<std::size_t>(line_.size(), 1));
  reply.assign(line_.begin(), line_.end());
  return reply;
}

std::optional<Bytes> VirtualTextRelay::HandleCommand(std::span<const std::uint8_t> request) {
  if (request[0] == 'd' && request.size() >= 2 && request.size() == request[1] + 2u) {
    line_.assign(request.begin() + 2, request.end());
    return Acknowledge(4);
  }
  if (IsRequest(request, 'D', 0x00, 2)) return LineReply();
  return std::nullopt;
}

}  // namespace wrenlink::sim
