// The motor controller's text replies.
#pragma once

#include <cstddef>
#include <cstdint>

namespace wrenlink {

// Characters of a reply that ParseReplyNumber examines.
inline constexpr std::size_t kReplyNumberSpan = 12;

// The number at the start of `text`: blanks and plus signs are skipped, a minus sign makes the
// result negative, digits accumulate, and any other character (NUL included) ends the scan.
// At most kReplyNumberSpan characters, and never more than `available`, are examined. A value
// beyond the 32-bit range saturates at its nearest limit.
std::int32_t ParseReplyNumber(const std::uint8_t* text, std::size_t available);

}  // namespace wrenlink
