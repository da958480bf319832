#include "chromiva/data/record_arena.h"

#include <sys/mman.h>

#include <new>
#include <stdexcept>
#include <utility>

namespace chromiva::data {

namespace {

constexpr std::size_t kArenaBytes = kRecordSlots * sizeof(RecordSpectra);

// Address space only: pages are committed when first written.
std::byte* Reserve() {
  void* raw = ::mmap(nullptr, kArenaBytes, PROT_READ | PROT_WRITE,
                     MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
  if (raw == MAP_FAILED) throw std::bad_alloc();
  return static_cast<std::byte*>(raw);
}

}  // namespace

RecordArena::~RecordArena() {
  Release();
}

RecordArena::RecordArena(RecordArena&& other) noexcept
    : base_(std::exchange(other.base_, nullptr)) {}

RecordArena& RecordArena::operator=(RecordArena&& other) noexcept {
  if (this != &other) {
    Release();
    base_ = std::exchange(other.base_, nullptr);
  }
  return *this;
}

RecordSpectra* RecordArena::Place(int record) {
  if (record < 0 || record >= kRecordSlots) throw std::out_of_range("record number out of range");
  if (base_ == nullptr) base_ = Reserve();
  return reinterpret_cast<RecordSpectra*>(base_ +
                                          static_cast<std::size_t>(record) * sizeof(RecordSpectra));
}

std::span<std::byte> RecordArena::Places(int first, int end) {
  if (first < 0 || first > end || end > kRecordSlots) {
    throw std::out_of_range("record range out of range");
  }
  if (first == end) return {};
  if (base_ == nullptr) base_ = Reserve();
  return {base_ + static_cast<std::size_t>(first) * sizeof(RecordSpectra),
          static_cast<std::size_t>(end - first) * sizeof(RecordSpectra)};
}

void RecordArena::Release() {
  if (base_ != nullptr) ::munmap(base_, kArenaBytes);
  base_ = nullptr;
}

}  // namespace chromiva::data
