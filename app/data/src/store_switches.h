// Switches that turn the speed mechanisms of the save and load off, so that
// `bench_data_store --ablate` can measure what each one still buys. All on in use.
#pragma once

namespace chromiva::data::detail {

struct StoreSwitches {
  bool prefault = true;           // the load commits record memory ahead on a helper thread
  bool dropReplacedCache = true;  // the save drops the cached pages of the file it replaces
  bool detachedClose = true;      // the replaced file is let go on a helper thread
};

inline StoreSwitches& Switches() {
  static StoreSwitches switches;
  return switches;
}

}  // namespace chromiva::data::detail
