// Text relay (kind 18): sends a line of text and reads what came back.
#include <cstring>

#include "family_exchange.h"
#include "guard.h"
#include "wrenlink.h"

using namespace wrenlink;

namespace {

constexpr int kTextRelay = WRENLINK_KIND_TEXT_RELAY;
constexpr int kMaxTextOut = kMaxRequest - 2;
constexpr std::size_t kMaxTextIn = 64;

// Characters of `text` before its NUL, at most kMaxTextOut of them.
int BoundedLength(const char* text) {
  int length = 0;
  while (length < kMaxTextOut && text[length] != '\0') ++length;
  return length;
}

}  // namespace

extern "C" {

int WRENLINK_CALL SetRS(int index, const char* text) {
  return Guarded("SetRS", [&] {
    if (text == nullptr || !KindAccepted(index, {kTextRelay})) return 0;
    const int length = BoundedLength(text);
    Request request = MakeRequest(0x64, static_cast<std::uint8_t>(length), length + 2);
    PutBytes(request, 2, reinterpret_cast<const std::uint8_t*>(text), length);
    return SendAcknowledged<4>(index, request);
  });
}

int WRENLINK_CALL GetRS(int index, char* buffer65) {
  return Guarded("GetRS", [&] {
    if (buffer65 == nullptr || !KindAccepted(index, {kTextRelay})) return 0;
    const auto reply = ExchangeLocal<kMaxTextIn>(index, MakeRequest(0x44, 0x00));
    std::memcpy(buffer65, reply.bytes.data(), static_cast<std::size_t>(reply.count));
    buffer65[reply.count] = '\0';
    return reply.count;
  });
}

}  // extern "C"
