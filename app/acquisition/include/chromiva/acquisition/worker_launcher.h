// How the form starts its worker threads: one pass of the measurement cycle, or one long frame of
// the dark sequence. The form starts one worker at a time and waits for it before it reads the
// worker's results; tests replace the launcher to run the work on their own schedule.
#pragma once

#include <functional>
#include <thread>

namespace chromiva::acquisition {

class WorkerLauncher {
 public:
  virtual ~WorkerLauncher() = default;
  // Runs `work` on another thread; a previous worker has finished or is waited for first.
  virtual void Launch(std::function<void()> work) = 0;
  // Waits until the last launched work has returned.
  virtual void Join() = 0;
};

// The launcher of the program: one std::thread per worker.
class ThreadLauncher final : public WorkerLauncher {
 public:
  ~ThreadLauncher() override { Join(); }
  void Launch(std::function<void()> work) override {
    Join();
    thread_ = std::thread(std::move(work));
  }
  void Join() override {
    if (thread_.joinable()) thread_.join();
  }

 private:
  std::thread thread_;
};

}  // namespace chromiva::acquisition
