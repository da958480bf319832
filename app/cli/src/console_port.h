// The form port of the command-line front end: guidance lines on standard error (none with
// --quiet), a status line kept up to date, questions answered OK by --yes and Cancel otherwise, and
// window timers run by a small event loop on the real clock, which a worker's wake-up interrupts.
#pragma once

#include <condition_variable>
#include <csignal>
#include <functional>
#include <mutex>
#include <vector>

#include "chromiva/acquisition/form_logic.h"
#include "chromiva/acquisition/timer_queue.h"
#include "progress_line.h"

namespace chromiva::cli {

class ConsolePort : public acquisition::FormPort {
 public:
  explicit ConsolePort(bool answerYes, bool quiet = false) : answerYes_(answerYes), quiet_(quiet) {}

  void ShowMessage(const std::string& line) override;
  void ShowMessageLines(const std::string& first, const std::string& second) override;
  void ForwardMessage(const std::string& line) override;
  void WakeFromWorker(int timer) override;
  void ShowStatusText(const std::string&) override {}
  void DrawGraph() override {}
  void DrawColourBar() override {}
  void DrawLogo() override {}
  void ShowSensorSummary(int) override {}
  bool AskOkCancel(const std::string& question) override;
  void ShowOkMessage(const std::string& message) override;
  // The console chooses no files or folders and enters no numbers: the command's options do.
  std::optional<std::string> ChooseSaveFile(const acquisition::FileChoice&) override {
    return std::nullopt;
  }
  std::optional<std::string> ChooseOpenFile(const acquisition::FileChoice&) override {
    return std::nullopt;
  }
  std::optional<std::string> ChooseFolder(const std::string&, const std::string&) override {
    return std::nullopt;
  }
  std::optional<std::string> EnterNumber(const std::string&, const std::string&) override {
    return std::nullopt;
  }
  acquisition::SettingsStore& Settings() override { return settings_; }
  void ArmTimer(int timer, int milliseconds) override;
  void KillTimer(int timer) override { timers_.Kill(timer); }
  std::uint32_t TickMs() override;
  std::time_t Now() override;

  // Runs the armed timers on the real clock until `done` holds or none is armed, and hands the
  // workers' wake-ups to the form as they come. After every timer event or wake-up `afterEvent`
  // runs. A Ctrl-C calls `onInterrupt` once; a second one calls `afterEvent` at once (a running
  // pass may leave the timers quiet for a second).
  void Run(acquisition::FormLogic& form, const std::function<bool()>& done,
           const std::function<void()>& afterEvent, const std::function<void()>& onInterrupt);

  // A line of ours (not the form's guidance) on standard error, shown even with --quiet.
  void PrintLine(const std::string& line);

  // Starts the status line's clock: elapsed times count from here.
  void StartProgress();
  // Shows `text(elapsed seconds)` as the status line when one is due; the text is composed
  // only then; `last` draws it in any case (on a terminal). On a terminal later lines
  // overwrite it.
  void UpdateProgress(const std::function<std::string(double)>& text, bool last = false);

  // Installs the Ctrl-C handler used by Run.
  static void CatchInterrupts();
  static bool Interrupted();

 private:
  void DeliverForwarded();
  // Waits up to `milliseconds` for a worker's wake-up; the woken timer, or none.
  std::optional<int> TakeWake(int milliseconds);

  bool answerYes_;
  bool quiet_;
  ProgressThrottle progress_{false, ProgressThrottle::Clock::now()};
  ProgressThrottle::Clock::time_point progressStart_ = ProgressThrottle::Clock::now();
  acquisition::MemorySettingsStore settings_;
  bool progressShown_ = false;
  acquisition::TimerQueue timers_;
  std::mutex workerMutex_;  // guards what workers hand over: lines and wake-ups
  std::condition_variable woken_;
  std::vector<std::string> forwarded_;
  std::vector<int> wakes_;
};

}  // namespace chromiva::cli
