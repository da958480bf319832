// A form port for tests: a hand-driven clock and timers, scripted answers to questions, and a
// record of everything shown.
#pragma once

#include <chrono>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "chromiva/acquisition/form_logic.h"
#include "chromiva/acquisition/timer_queue.h"

namespace chromiva::acquisition::testing {

class TestPort : public FormPort {
 public:
  std::vector<std::string> messages;  // guidance lines; two lines are joined by " | "
  std::vector<std::string> questions;
  std::deque<bool> answers;  // answers to questions in order; Cancel when none is left
  std::vector<std::string> okMessages;
  std::vector<std::string> statusTexts;
  std::vector<int> summaries;
  int graphDraws = 0;
  int colourBarDraws = 0;
  int logoDraws = 0;
  TimerQueue timers;                                   // armed timers and when they are due
  std::vector<std::pair<int, std::uint32_t>> armings;  // every arming: timer, delay
  std::uint32_t tick = 100000;
  std::time_t now = 1557464602;  // 2019-05-10 05:03:22 UTC

  void ShowMessage(const std::string& line) override { messages.push_back(line); }
  void ShowMessageLines(const std::string& first, const std::string& second) override {
    messages.push_back(first + " | " + second);
  }
  void ForwardMessage(const std::string& line) override {
    std::lock_guard<std::mutex> lock(mutex_);
    forwarded_.push_back(line);
  }
  void WakeFromWorker(int timer) override {
    std::lock_guard<std::mutex> lock(mutex_);
    wakes_.push_back(timer);
  }
  void ShowStatusText(const std::string& text) override { statusTexts.push_back(text); }
  void DrawGraph() override { ++graphDraws; }
  void DrawColourBar() override { ++colourBarDraws; }
  void DrawLogo() override { ++logoDraws; }
  void ShowSensorSummary(int sensor) override { summaries.push_back(sensor); }
  bool AskOkCancel(const std::string& question) override {
    questions.push_back(question);
    if (answers.empty()) return false;
    bool answer = answers.front();
    answers.pop_front();
    return answer;
  }
  void ShowOkMessage(const std::string& message) override { okMessages.push_back(message); }
  std::optional<std::string> ChooseSaveFile(const FileChoice& choice) override {
    choices.push_back(choice);
    return saveFile;
  }
  std::optional<std::string> ChooseOpenFile(const FileChoice& choice) override {
    choices.push_back(choice);
    return openFile;
  }
  std::optional<std::string> ChooseFolder(const std::string&, const std::string&) override {
    return folder;
  }
  std::optional<std::string> EnterNumber(const std::string& label,
                                         const std::string& shown) override {
    numberPrompts.emplace_back(label, shown);
    return typedNumber;
  }
  SettingsStore& Settings() override { return settings; }
  void ArmTimer(int timer, int milliseconds) override {
    timers.Arm(timer, tick + static_cast<std::uint32_t>(milliseconds));
    armings.emplace_back(timer, milliseconds);
  }
  void KillTimer(int timer) override { timers.Kill(timer); }
  std::uint32_t TickMs() override { return tick; }
  std::time_t Now() override { return now; }

  std::optional<std::string> saveFile;
  std::optional<std::string> openFile;
  std::optional<std::string> folder;
  std::optional<std::string> typedNumber;
  std::vector<FileChoice> choices;                                 // every chooser opened
  std::vector<std::pair<std::string, std::string>> numberPrompts;  // label, shown text
  MemorySettingsStore settings;

  // Delivers the lines forwarded by worker threads, as the window thread would.
  void DeliverForwarded() {
    std::lock_guard<std::mutex> lock(mutex_);
    for (auto& line : forwarded_) messages.push_back(line);
    forwarded_.clear();
  }

  // Hands a worker's wake-up to the form when one has come; otherwise advances the clock to the
  // earliest armed timer and fires it. False when neither is there.
  bool FireNext(FormLogic& form) {
    if (const std::optional<int> woken = TakeWake()) {
      DeliverForwarded();
      form.OnWorkerWake(*woken);
      return true;
    }
    const std::optional<TimerQueue::Due> next = timers.Earliest();
    if (!next) return false;
    tick = next->tick;
    form.OnFormTimer(next->timer);
    return true;
  }

  // Waits in real time until a running worker has finished its pass and, unless the form looks
  // every 10 ms, has sent its wake-up.
  void Settle(FormLogic& form) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    auto waiting = [&] {
      if (form.Status().acquisition == AcquisitionState::kRunning) return true;
      if (form.Status().acquisition == AcquisitionState::kIdle ||
          form.fields().cadence == Cadence::kTenMsSteps) {
        return false;
      }
      std::lock_guard<std::mutex> lock(mutex_);
      return wakes_.empty();
    };
    while (waiting() && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
  }

  // Fires timers, letting each real pass finish before the next event, until none is armed
  // or `limit` events have fired.
  int RunTimers(FormLogic& form, int limit = 100000) {
    int fired = 0;
    while (fired < limit && FireNext(form)) {
      ++fired;
      Settle(form);
      DeliverForwarded();
    }
    return fired;
  }

 private:
  std::optional<int> TakeWake() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (wakes_.empty()) return std::nullopt;
    const int timer = wakes_.front();
    wakes_.erase(wakes_.begin());
    return timer;
  }

  std::mutex mutex_;
  std::vector<std::string> forwarded_;
  std::vector<int> wakes_;
};

// A worker launcher that hands the work to the test instead of starting a thread.
class ScriptedLauncher : public WorkerLauncher {
 public:
  using OnLaunch = std::function<void(std::function<void()>)>;
  explicit ScriptedLauncher(OnLaunch onLaunch) : onLaunch_(std::move(onLaunch)) {}
  void Launch(std::function<void()> work) override { onLaunch_(std::move(work)); }
  void Join() override {}

 private:
  OnLaunch onLaunch_;
};

}  // namespace chromiva::acquisition::testing

namespace chromiva::acquisition {

// The tests' way to put the form into states that only a long run would reach.
struct FormLogicTestAccess {
  static FormFields& Fields(FormLogic& form) { return form.MutableFields(); }
  static void Refresh(FormLogic& form) { form.RefreshDisplayedRecord(); }
};

namespace testing {
inline FormFields& Writable(FormLogic& form) {
  return FormLogicTestAccess::Fields(form);
}
inline void Refresh(FormLogic& form) {
  FormLogicTestAccess::Refresh(form);
}
}  // namespace testing

}  // namespace chromiva::acquisition
