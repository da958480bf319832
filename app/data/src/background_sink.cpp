#include "background_sink.h"

namespace chromiva::data::detail {

BackgroundSink::BackgroundSink(ByteSink& target) : target_(target), thread_([this] { Run(); }) {}

BackgroundSink::~BackgroundSink() {
  Drain();
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  thread_.join();
}

bool BackgroundSink::Append(const char* data, std::size_t count) {
  std::unique_lock lock(mutex_);
  if (failed_) return false;
  pending_.push_back({data, count});
  changed_.notify_all();
  changed_.wait(lock, [this] { return failed_ || pending_.size() <= piecesHeld(); });
  return !failed_;
}

bool BackgroundSink::Drain() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return pending_.empty(); });
  return !failed_;
}

void BackgroundSink::Run() {
  std::unique_lock lock(mutex_);
  for (;;) {
    changed_.wait(lock, [this] { return stopping_ || !pending_.empty(); });
    if (pending_.empty()) return;
    const Piece piece = pending_.front();
    bool taken = false;
    if (!failed_) {
      lock.unlock();
      taken = target_.Append(piece.data, piece.count);
      lock.lock();
    }
    if (!taken) failed_ = true;
    pending_.pop_front();
    changed_.notify_all();
  }
}

}  // namespace chromiva::data::detail
