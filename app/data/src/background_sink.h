// Passes pieces on to another sink on a helper thread, so that the code filling the next
// piece runs while the previous one is being written.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <thread>

#include "byte_io.h"

namespace chromiva::data::detail {

class BackgroundSink final : public ByteSink {
 public:
  explicit BackgroundSink(ByteSink& target);
  ~BackgroundSink();  // drains first
  BackgroundSink(const BackgroundSink&) = delete;
  BackgroundSink& operator=(const BackgroundSink&) = delete;

  // Queues the piece and returns once no more than piecesHeld() pieces are left to pass on;
  // false once the target has refused a piece (later pieces are dropped).
  bool Append(const char* data, std::size_t count) override;
  bool Drain() override;
  std::size_t piecesHeld() const override { return 1; }

 private:
  struct Piece {
    const char* data;
    std::size_t count;
  };

  void Run();

  ByteSink& target_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<Piece> pending_;  // the front one is being passed on
  bool failed_ = false;
  bool stopping_ = false;
  std::thread thread_;
};

}  // namespace chromiva::data::detail
