#include "protocol.h"

#include <cmath>
#include <limits>

namespace wrenlink {

std::int32_t ExposureToWire(double microseconds) {
  if (std::isnan(microseconds)) return 0;
  double truncated = std::trunc(microseconds);
  if (truncated >= static_cast<double>(std::numeric_limits<std::int32_t>::max())) {
    return std::numeric_limits<std::int32_t>::max();
  }
  if (truncated <= static_cast<double>(std::numeric_limits<std::int32_t>::min())) {
    return std::numeric_limits<std::int32_t>::min();
  }
  return static_cast<std::int32_t>(truncated);
}

Request EncodeExposureRead(int channel) {
  return MakeRequest(0x45, static_cast<std::uint8_t>(channel));
}

Request EncodeExposureWrite(int channel, double microseconds) {
  Request request = MakeRequest(0x65, static_cast<std::uint8_t>(channel), 6);
  PutI32(request, 2, ExposureToWire(microseconds));
  return request;
}

Request EncodeEepromRead(std::uint8_t command, int address, int length) {
  Request request = MakeRequest(command, static_cast<std::uint8_t>(length), 4);
  PutU16(request, 2, static_cast<unsigned>(address));
  return request;
}

Request EncodeEepromWrite(std::uint8_t command, int address, const std::uint8_t* data, int length) {
  Request request = MakeRequest(command, static_cast<std::uint8_t>(length), length + 4);
  PutU16(request, 2, static_cast<unsigned>(address));
  std::memcpy(request.bytes.data() + 4, data, static_cast<std::size_t>(length));
  return request;
}

Request EncodeMirrorPosition(int position) {
  Request request = MakeRequest(0x73, 0x00, 4);
  PutU16(request, 2, static_cast<unsigned>(position) & 0xFFFF);
  return request;
}

}  // namespace wrenlink
