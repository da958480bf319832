#include "virtual_channels.h"

namespace wrenlink::sim {

std::optional<Bytes> IoPwmChannels::Handle(std::span<const std::uint8_t> request) {
  if (request.size() != 4 || request[1] != 0x02) return std::nullopt;
  const std::uint8_t letter = request[0];
  if (letter == 'X' || letter == 'Y') {
    auto& channels = letter == 'X' ? io_ : pwm_;
    return Bytes{channels[request[2]], 0, 0, 0};
  }
  if (letter == 'x' || letter == 'y') {
    auto& channels = letter == 'x' ? io_ : pwm_;
    channels[request[2]] = request[3];
    return Bytes(4, 0);
  }
  return std::nullopt;
}

}  // namespace wrenlink::sim
