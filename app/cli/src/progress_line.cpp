#include "progress_line.h"

#include <cstdio>

namespace chromiva::cli {
namespace {

constexpr auto kTerminalPeriod = std::chrono::milliseconds(100);
constexpr auto kLogPeriod = std::chrono::minutes(1);

std::string ClockTime(std::time_t when, std::time_t now) {
  std::tm local{}, today{};
  if (localtime_r(&when, &local) == nullptr || localtime_r(&now, &today) == nullptr) return "?";
  const bool sameDay = local.tm_yday == today.tm_yday && local.tm_year == today.tm_year;
  char text[32];
  std::strftime(text, sizeof text, sameDay ? "%H:%M:%S" : "%Y-%m-%d %H:%M:%S", &local);
  return text;
}

}  // namespace

std::string FormatElapsed(long long seconds) {
  if (seconds < 0) seconds = 0;
  char text[32];
  std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", seconds / 3600, seconds / 60 % 60,
                seconds % 60);
  return text;
}

std::string RecordingProgress(int committed, int count, double elapsedSeconds, std::time_t now) {
  std::string text = "recorded " + std::to_string(committed) +
                     (count > 0 ? " / " + std::to_string(count) : "") + " pass(es), " +
                     FormatElapsed(static_cast<long long>(elapsedSeconds)) + " elapsed";
  if (committed <= 0 || elapsedSeconds <= 0) return text;
  const double rate = committed / elapsedSeconds;
  // The rate in the largest unit that still shows it: per second, minute or hour.
  char number[32];
  if (rate >= 0.1) {
    std::snprintf(number, sizeof number, "%.2f pass/s", rate);
  } else if (rate * 60 >= 0.1) {
    std::snprintf(number, sizeof number, "%.2f pass/min", rate * 60);
  } else {
    std::snprintf(number, sizeof number, "%.2f pass/h", rate * 3600);
  }
  text += std::string(", ") + number;
  if (count > committed) {
    const auto remaining = static_cast<std::time_t>((count - committed) / rate + 0.5);
    text += ", ends about " + ClockTime(now + remaining, now);
  }
  return text;
}

bool ProgressThrottle::Take(Clock::time_point now) {
  const auto period = terminal_ ? Clock::duration(kTerminalPeriod) : Clock::duration(kLogPeriod);
  // On a terminal the first line is drawn at once; a log gets its first after a minute.
  if (terminal_ && !drawn_) {
    drawn_ = true;
    last_ = now;
    return true;
  }
  if (now - last_ < period) return false;
  last_ = now;
  return true;
}

}  // namespace chromiva::cli
