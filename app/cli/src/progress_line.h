// The status line of a long run on standard error: redrawn in place at most ten times a second
// on a terminal; elsewhere a plain line at most once a minute.
#pragma once

#include <chrono>
#include <ctime>
#include <string>

namespace chromiva::cli {

// Seconds as h:mm:ss.
std::string FormatElapsed(long long seconds);

// "recorded C / N pass(es), h:mm:ss elapsed, R pass/s, ends about HH:MM:SS" (no total, rate
// or end that is not known yet). `now` is the wall clock, for the end.
std::string RecordingProgress(int committed, int count, double elapsedSeconds, std::time_t now);

class ProgressThrottle {
 public:
  using Clock = std::chrono::steady_clock;

  ProgressThrottle(bool terminal, Clock::time_point start) : terminal_(terminal), last_(start) {}

  // Whether a line is due at `now`; when it is, the next one is counted from `now`.
  bool Take(Clock::time_point now);
  bool terminal() const { return terminal_; }

 private:
  bool terminal_;
  bool drawn_ = false;
  Clock::time_point last_;
};

}  // namespace chromiva::cli
