// The numbered window timers of a port that runs its own event loop (the console, the tests):
// when each armed timer is due on a wrapping 32-bit millisecond clock.
#pragma once

#include <cstdint>
#include <map>
#include <optional>

namespace chromiva::acquisition {

class TimerQueue {
 public:
  struct Due {
    int timer;
    std::uint32_t tick;
  };

  // Arming again replaces the timer's due tick.
  void Arm(int timer, std::uint32_t dueTick) { due_[timer] = dueTick; }
  void Kill(int timer) { due_.erase(timer); }
  bool empty() const { return due_.empty(); }
  std::size_t count(int timer) const { return due_.count(timer); }
  // The due tick of an armed timer.
  std::uint32_t DueTick(int timer) const { return due_.at(timer); }
  // The timer due first, comparing ticks across the clock's wrap; none when nothing is armed.
  std::optional<Due> Earliest() const {
    std::optional<Due> first;
    for (const auto& [timer, tick] : due_) {
      if (!first || static_cast<std::int32_t>(tick - first->tick) < 0) first = Due{timer, tick};
    }
    return first;
  }

 private:
  std::map<int, std::uint32_t> due_;
};

}  // namespace chromiva::acquisition
