// Building blocks of the byte-coded requests: a fixed 64-byte request buffer, little-endian
// integer encoders and the request encoders shared by the command families.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <span>

namespace wrenlink {

inline constexpr int kMaxRequest = 64;

// A request as it goes on the wire: bytes [0, length) are sent; the rest stay zero.
struct Request {
  std::array<std::uint8_t, kMaxRequest> bytes{};
  int length = 0;

  std::span<const std::uint8_t> Span() const {
    return {bytes.data(), static_cast<std::size_t>(length)};
  }
};

inline Request MakeRequest(std::uint8_t command, std::uint8_t parameter, int length = 2) {
  Request request;
  request.bytes[0] = command;
  request.bytes[1] = parameter;
  request.length = length;
  return request;
}

inline void PutU16(Request& request, int offset, unsigned value) {
  request.bytes[offset] = static_cast<std::uint8_t>(value % 256);
  request.bytes[offset + 1] = static_cast<std::uint8_t>((value / 256) % 256);
}

inline void PutI32(Request& request, int offset, std::int32_t value) {
  auto bits = static_cast<std::uint32_t>(value);
  for (int i = 0; i < 4; ++i)
    request.bytes[offset + i] = static_cast<std::uint8_t>(bits >> (8 * i));
}

inline void PutF32(Request& request, int offset, float value) {
  std::uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  PutI32(request, offset, static_cast<std::int32_t>(bits));
}

inline std::int32_t GetI32(const std::uint8_t* bytes) {
  std::uint32_t bits = 0;
  for (int i = 0; i < 4; ++i) bits |= static_cast<std::uint32_t>(bytes[i]) << (8 * i);
  return static_cast<std::int32_t>(bits);
}

inline std::int16_t GetI16(const std::uint8_t* bytes) {
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8)));
}

inline std::uint16_t GetU16(const std::uint8_t* bytes) {
  return static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8));
}

// Exposure in microseconds as sent: the double truncated toward zero, saturated to int32.
std::int32_t ExposureToWire(double microseconds);

// Request encoders of the spectrometer family.
Request EncodeExposureRead(int channel);
Request EncodeExposureWrite(int channel, double microseconds);
Request EncodeEepromRead(std::uint8_t command, int address, int length);
Request EncodeEepromWrite(std::uint8_t command, int address, const std::uint8_t* data, int length);
Request EncodeMirrorPosition(int position);

}  // namespace wrenlink
