// A switch that turns the load's commit-ahead helper thread off, so that
// `bench_data_store --ablate` can measure what it still buys. On in use.
#pragma once

namespace chromiva::data::detail {

struct StoreSwitches {
  bool prefault = true;  // the load commits record memory ahead on a helper thread
};

inline StoreSwitches& Switches() {
  static StoreSwitches switches;
  return switches;
}

}  // namespace chromiva::data::detail
