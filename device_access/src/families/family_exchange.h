// Request and reply helpers shared by the instrument families other than the spectrometers.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "protocol.h"
#include "slots.h"

namespace wrenlink {

// A reply read into a buffer of the library's own. The buffer starts zeroed, so values taken
// from bytes that did not arrive read as 0.
template <std::size_t N>
struct LocalReply {
  std::array<std::uint8_t, N> bytes{};
  int count = 0;
};

// Sends `request` and reads at most N reply bytes into a zeroed local buffer.
template <std::size_t N>
LocalReply<N> ExchangeLocal(int index, const Request& request) {
  LocalReply<N> reply;
  reply.count = Exchange(index, request.Span(), reply.bytes.data(), static_cast<int>(N));
  return reply;
}

// A setter: sends `request` and reads an acknowledgement of at most N bytes, which is not
// examined. Returns the acknowledgement's byte count.
template <std::size_t N>
int SendAcknowledged(int index, const Request& request) {
  return ExchangeLocal<N>(index, request).count;
}

// Sends `request` and reads at most `replyMax` bytes straight into the caller's buffer; bytes
// the reply does not reach keep their previous contents.
inline int ExchangeInto(int index, const Request& request, void* buffer, int replyMax) {
  return Exchange(index, request.Span(), static_cast<std::uint8_t*>(buffer), replyMax);
}

// Copies `count` payload bytes into the request from `offset` on.
inline void PutBytes(Request& request, int offset, const std::uint8_t* data, int count) {
  std::memcpy(request.bytes.data() + offset, data, static_cast<std::size_t>(count));
}

}  // namespace wrenlink
