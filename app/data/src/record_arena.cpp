#include "chromiva/data/record_arena.h"

#include <sys/mman.h>

#include <cstdint>
#include <new>
#include <stdexcept>
#include <utility>

#include "store_switches.h"

namespace chromiva::data {

namespace {

constexpr std::size_t kHugePageBytes = std::size_t{2} << 20;
constexpr std::size_t kArenaBytes =
    (kRecordSlots * sizeof(RecordSpectra) + kHugePageBytes - 1) / kHugePageBytes * kHugePageBytes;

void Unmap(void* at, std::size_t bytes) {
  if (bytes > 0) ::munmap(at, bytes);
}

// Reserves kArenaBytes aligned to a huge page, so that every 2 MiB of it can be one page.
std::byte* ReserveAligned() {
  const std::size_t mapped = kArenaBytes + kHugePageBytes;
  void* raw = ::mmap(nullptr, mapped, PROT_READ | PROT_WRITE,
                     MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
  if (raw == MAP_FAILED) throw std::bad_alloc();
  auto* start = static_cast<std::byte*>(raw);
  const auto address = reinterpret_cast<std::uintptr_t>(raw);
  const std::size_t lead = (kHugePageBytes - address % kHugePageBytes) % kHugePageBytes;
  Unmap(start, lead);
  Unmap(start + lead + kArenaBytes, kHugePageBytes - lead);
  std::byte* base = start + lead;
  ::madvise(base, kArenaBytes,
            detail::Switches().hugePages
                ? MADV_HUGEPAGE
                : MADV_NOHUGEPAGE);  // only advice: small pages work as well
  return base;
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
  if (base_ == nullptr) base_ = ReserveAligned();
  return reinterpret_cast<RecordSpectra*>(base_ +
                                          static_cast<std::size_t>(record) * sizeof(RecordSpectra));
}

std::span<std::byte> RecordArena::Places(int first, int end) {
  if (first < 0 || first > end || end > kRecordSlots) {
    throw std::out_of_range("record range out of range");
  }
  if (first == end) return {};
  if (base_ == nullptr) base_ = ReserveAligned();
  return {base_ + static_cast<std::size_t>(first) * sizeof(RecordSpectra),
          static_cast<std::size_t>(end - first) * sizeof(RecordSpectra)};
}

void RecordArena::Release() {
  if (base_ != nullptr) Unmap(base_, kArenaBytes);
  base_ = nullptr;
}

}  // namespace chromiva::data
