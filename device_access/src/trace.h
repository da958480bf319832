#pragma once

#include <cstdint>

namespace wrenlink {

// With WRENLINK_TRACE=<file>, one line per bulk transfer is appended to the file:
// "OUT <index> <hex>" for a write (the bytes sent) and "IN <index> <max> <hex>" for a read
// (the bytes received). Lines are written whole and flushed at once.
void TraceWrite(int index, const std::uint8_t* data, int sent);
void TraceRead(int index, int maxLength, const std::uint8_t* data, int received);

}  // namespace wrenlink
