#include "prefaulter.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>

namespace chromiva::data::detail {

namespace {

// Small enough that Stop() returns promptly.
constexpr std::size_t kChunkBytes = std::size_t{4} << 20;

std::size_t PageBytes() {
  static const std::size_t bytes = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
  return bytes;
}

// Widens `range` to whole pages; madvise works on page-aligned ranges.
std::span<std::byte> PageAligned(std::span<std::byte> range) {
  const std::size_t page = PageBytes();
  const auto begin = reinterpret_cast<std::uintptr_t>(range.data()) / page * page;
  const auto end =
      (reinterpret_cast<std::uintptr_t>(range.data()) + range.size() + page - 1) / page * page;
  return {reinterpret_cast<std::byte*>(begin), end - begin};
}

// False when the kernel cannot commit ahead (MADV_POPULATE_WRITE came with Linux 5.14) or is
// short of memory; the filling code then commits its pages itself as it writes them.
bool Commit(std::span<std::byte> chunk) {
  return ::madvise(chunk.data(), chunk.size(), MADV_POPULATE_WRITE) == 0;
}

}  // namespace

Prefaulter::Prefaulter() : thread_([this] { Run(); }) {}

Prefaulter::~Prefaulter() {
  Stop();
}

void Prefaulter::Add(std::span<std::byte> range) {
  if (range.empty()) return;
  const std::lock_guard lock(mutex_);
  if (!stopping_) pending_.push_back(PageAligned(range));
  wake_.notify_one();
}

void Prefaulter::Stop() {
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
    pending_.clear();
  }
  wake_.notify_one();
  if (thread_.joinable()) thread_.join();
}

std::size_t Prefaulter::committedBytes() const {
  const std::lock_guard lock(mutex_);
  return committed_;
}

// Takes the next chunk off the queue, waiting for one; false when stopping.
bool Prefaulter::NextChunk(std::span<std::byte>& chunk) {
  std::unique_lock lock(mutex_);
  wake_.wait(lock, [this] { return stopping_ || !pending_.empty(); });
  if (stopping_) return false;
  std::span<std::byte>& front = pending_.front();
  chunk = front.first(std::min(front.size(), kChunkBytes));
  front = front.subspan(chunk.size());
  if (front.empty()) pending_.pop_front();
  return true;
}

void Prefaulter::Run() {
  std::span<std::byte> chunk;
  while (NextChunk(chunk)) {
    if (!Commit(chunk)) return;  // the reader commits its own pages as it writes them
    const std::lock_guard lock(mutex_);
    committed_ += chunk.size();
  }
}

}  // namespace chromiva::data::detail
