#pragma once

namespace wrenlink {

// Diagnostics with a module prefix. Silent unless WRENLINK_LOG is set: "1" or "stderr" writes
// to standard error, any other value names a file to append to.
void Log(const char* module, const char* format, ...) __attribute__((format(printf, 2, 3)));

// A setting the library cannot use and the value it takes instead: written to standard error
// once per distinct text (whatever WRENLINK_LOG says) and to the log.
void WarnOnce(const char* module, const char* format, ...) __attribute__((format(printf, 2, 3)));

}  // namespace wrenlink
