#pragma once

#include <exception>

#include "log.h"

namespace wrenlink {

// Runs the body of an exported operation; no exception crosses the C interface, a failure
// answers `failure` (0 unless stated otherwise).
template <typename Body>
int Guarded(const char* operation, Body&& body, int failure = 0) noexcept {
  try {
    return body();
  } catch (const std::exception& error) {
    Log("export", "%s failed: %s", operation, error.what());
  } catch (...) {
    Log("export", "%s failed", operation);
  }
  return failure;
}

}  // namespace wrenlink
