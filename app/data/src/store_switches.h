// Switches that turn each speed mechanism of the save and load off, for measuring what each
// one buys (bench_data_store --ablate). All on, except writing past the page cache.
#pragma once

namespace chromiva::data::detail {

struct StoreSwitches {
  bool hugePages = true;
  bool prefault = true;
  bool bigBlocks = true;
  bool pairPacking = true;
  bool dropReplacedCache = true;
  bool direct = false;
  bool backgroundSink = true;
  bool detachedClose = true;
};

inline StoreSwitches& Switches() {
  static StoreSwitches switches;
  return switches;
}

}  // namespace chromiva::data::detail
