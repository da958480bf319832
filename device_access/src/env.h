#pragma once

#include <optional>
#include <string>

namespace wrenlink {

std::optional<std::string> EnvText(const char* name);
// The environment variable as a whole number in [low, high], or `fallback` when unset or
// not a number in range (then said once on standard error).
long EnvNumber(const char* name, long fallback, long low, long high);

// Bulk transfer timeout: long enough for the longest exposure (9.5 s) plus margin.
inline constexpr int kDefaultTimeoutMs = 12000;
int TransferTimeoutMs();

// WRENLINK_TEN_MS_POLL=1: readouts poll the status every 10 ms (a benchmark baseline).
bool TenMsPollWanted();

}  // namespace wrenlink
