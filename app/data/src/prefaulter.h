// Commits memory on a helper thread ahead of the code that fills it, so that the kernel's
// clearing of fresh pages runs beside the filling instead of inside its page faults.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <span>
#include <thread>

namespace chromiva::data::detail {

class Prefaulter {
 public:
  Prefaulter();
  ~Prefaulter();  // stops first
  Prefaulter(const Prefaulter&) = delete;
  Prefaulter& operator=(const Prefaulter&) = delete;

  // Queues a range of private anonymous memory to commit after the ranges queued before it.
  // Committing never changes the contents of pages already written. The range must stay
  // mapped until Stop() returns.
  void Add(std::span<std::byte> range);

  // Returns once the helper no longer touches any queued range; later Add() calls are ignored.
  void Stop();

  // The number of bytes committed so far (for tests).
  std::size_t committedBytes() const;

 private:
  void Run();
  bool NextChunk(std::span<std::byte>& chunk);

  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<std::span<std::byte>> pending_;
  std::size_t committed_ = 0;
  bool stopping_ = false;
  std::thread thread_;
};

}  // namespace chromiva::data::detail
