#include "console_port.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "chromiva/acquisition/texts.h"
#include "signals.h"

namespace chromiva::cli {
namespace {

constexpr int kLongestSleepMs = 50;

}  // namespace

void ConsolePort::CatchInterrupts() {
  CatchStopSignals();
}

bool ConsolePort::Interrupted() {
  return StopSignalCount() > 0;
}

void ConsolePort::PrintLine(const std::string& line) {
  if (progressShown_) {
    std::fputs("\r\033[K", stderr);
    progressShown_ = false;
  }
  std::fprintf(stderr, "%s\n", line.c_str());
}

void ConsolePort::StartProgress() {
  progressStart_ = ProgressThrottle::Clock::now();
  progress_ = ProgressThrottle(isatty(STDERR_FILENO) != 0, progressStart_);
}

void ConsolePort::UpdateProgress(const std::function<std::string(double)>& text, bool last) {
  const auto now = ProgressThrottle::Clock::now();
  if (!progress_.Take(now) && !(last && progress_.terminal())) return;
  const std::string line = text(std::chrono::duration<double>(now - progressStart_).count());
  if (!progress_.terminal()) {
    std::fprintf(stderr, "%s\n", line.c_str());
    return;
  }
  std::fprintf(stderr, "\r\033[K%s", line.c_str());
  std::fflush(stderr);
  progressShown_ = true;
}

// The form's texts are printed in the chosen language, as the window shows them.
void ConsolePort::ShowMessage(const std::string& line) {
  if (!quiet_) PrintLine(acquisition::Translated(line));
}

void ConsolePort::ShowMessageLines(const std::string& first, const std::string& second) {
  if (quiet_) return;
  PrintLine(acquisition::Translated(first));
  if (!second.empty()) PrintLine(acquisition::Translated(second));
}

void ConsolePort::ForwardMessage(const std::string& line) {
  std::lock_guard<std::mutex> lock(workerMutex_);
  forwarded_.push_back(line);
}

void ConsolePort::WakeFromWorker(int timer) {
  {
    std::lock_guard<std::mutex> lock(workerMutex_);
    wakes_.push_back(timer);
  }
  woken_.notify_one();
}

std::optional<int> ConsolePort::TakeWake(int milliseconds) {
  std::unique_lock<std::mutex> lock(workerMutex_);
  if (milliseconds > 0) {
    woken_.wait_for(lock, std::chrono::milliseconds(milliseconds),
                    [this] { return !wakes_.empty(); });
  }
  if (wakes_.empty()) return std::nullopt;
  const int timer = wakes_.front();
  wakes_.erase(wakes_.begin());
  return timer;
}

void ConsolePort::DeliverForwarded() {
  std::vector<std::string> lines;
  {
    std::lock_guard<std::mutex> lock(workerMutex_);
    lines.swap(forwarded_);
  }
  if (quiet_) return;
  for (const auto& line : lines) PrintLine(acquisition::Translated(line));
}

bool ConsolePort::AskOkCancel(const std::string& question) {
  PrintLine(acquisition::Translated(question) +
            (answerYes_ ? " -> OK (--yes)" : " -> Cancel (no --yes)"));
  return answerYes_;
}

void ConsolePort::ShowOkMessage(const std::string& message) {
  PrintLine(acquisition::Translated(message));
}

void ConsolePort::ArmTimer(int timer, int milliseconds) {
  timers_.Arm(timer, TickMs() + static_cast<std::uint32_t>(std::max(milliseconds, 0)));
}

std::uint32_t ConsolePort::TickMs() {
  auto elapsed = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<std::uint32_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}

std::time_t ConsolePort::Now() {
  return std::time(nullptr);
}

void ConsolePort::Run(acquisition::FormLogic& form, const std::function<bool()>& done,
                      const std::function<void()>& afterEvent,
                      const std::function<void()>& onInterrupt) {
  bool interruptHandled = false;
  int signalsSeen = StopSignalCount();
  while (!done() && !timers_.empty()) {
    DeliverForwarded();
    if (Interrupted() && !interruptHandled) {
      interruptHandled = true;
      signalsSeen = StopSignalCount();
      onInterrupt();
      continue;
    }
    if (StopSignalCount() != signalsSeen) {  // the second: handled now, not at the next event
      signalsSeen = StopSignalCount();
      afterEvent();
      continue;
    }
    const acquisition::TimerQueue::Due next = *timers_.Earliest();
    const auto wait = static_cast<std::int32_t>(next.tick - TickMs());
    if (const std::optional<int> woken = TakeWake(std::clamp(wait, 0, kLongestSleepMs))) {
      DeliverForwarded();  // the lines the worker forwarded before its wake-up come first
      form.OnWorkerWake(*woken);
      afterEvent();
    } else if (wait <= 0) {
      form.OnFormTimer(next.timer);
      afterEvent();
    }
  }
  DeliverForwarded();
  if (progressShown_) {  // the last status stays on its own line
    std::fputc('\n', stderr);
    progressShown_ = false;
  }
}

}  // namespace chromiva::cli
