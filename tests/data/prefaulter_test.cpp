#include "prefaulter.h"

#include <gtest/gtest.h>
#include <sys/mman.h>

#include <chrono>
#include <cstring>
#include <stdexcept>
#include <thread>

#include "chromiva/data/record_arena.h"

namespace chromiva::data {
namespace {

using detail::Prefaulter;

class Mapping {
 public:
  explicit Mapping(std::size_t bytes)
      : bytes_(bytes),
        at_(static_cast<std::byte*>(::mmap(nullptr, bytes, PROT_READ | PROT_WRITE,
                                           MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0))) {}
  ~Mapping() { ::munmap(at_, bytes_); }
  Mapping(const Mapping&) = delete;
  Mapping& operator=(const Mapping&) = delete;
  std::span<std::byte> span() const { return {at_, bytes_}; }

 private:
  std::size_t bytes_;
  std::byte* at_;
};

bool WaitForCommitted(const Prefaulter& prefaulter, std::size_t bytes) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (prefaulter.committedBytes() < bytes) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

constexpr std::size_t kMiB = std::size_t{1} << 20;

TEST(Prefaulter, CommitsQueuedRangesWithoutTouchingWrittenBytes) {
  const Mapping mapping(12 * kMiB);
  const std::span<std::byte> all = mapping.span();
  std::memset(all.data() + 5 * kMiB + 3, 0x5A, 100);
  Prefaulter prefaulter;
  prefaulter.Add(all.first(6 * kMiB));
  prefaulter.Add(all.subspan(6 * kMiB));
  ASSERT_TRUE(WaitForCommitted(prefaulter, all.size()));
  prefaulter.Stop();
  EXPECT_EQ(all[5 * kMiB + 2], std::byte{0});
  EXPECT_EQ(all[5 * kMiB + 3], std::byte{0x5A});
  EXPECT_EQ(all[5 * kMiB + 102], std::byte{0x5A});
  EXPECT_EQ(all[5 * kMiB + 103], std::byte{0});
}

TEST(Prefaulter, WidensUnalignedRangesToWholePages) {
  const Mapping mapping(2 * kMiB);
  Prefaulter prefaulter;
  prefaulter.Add(mapping.span().subspan(10, 5000));  // touches two pages of 4 KiB
  prefaulter.Add(mapping.span().subspan(10, 0));     // nothing
  ASSERT_TRUE(WaitForCommitted(prefaulter, 8192));
  prefaulter.Stop();
  EXPECT_EQ(prefaulter.committedBytes() % 4096, 0u);
}

// Stop() must return with work still queued, after which the memory may be unmapped; ranges
// added afterwards are ignored.
TEST(Prefaulter, StopsWithWorkPendingAndIgnoresLaterRanges) {
  auto mapping = std::make_unique<Mapping>(1024 * kMiB);
  Prefaulter prefaulter;
  prefaulter.Add(mapping->span());
  prefaulter.Stop();
  const std::size_t committed = prefaulter.committedBytes();
  mapping.reset();
  const Mapping other(4 * kMiB);
  prefaulter.Add(other.span());
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_EQ(prefaulter.committedBytes(), committed);
}

TEST(Prefaulter, DestroyingWithoutStopJoinsTheHelper) {
  const Mapping mapping(64 * kMiB);
  {
    Prefaulter prefaulter;
    prefaulter.Add(mapping.span());
  }
  SUCCEED();
}

TEST(RecordArenaPlaces, CoverTheRecordsPlacesAndCheckBounds) {
  RecordArena arena;
  EXPECT_TRUE(arena.Places(5, 5).empty());
  EXPECT_FALSE(arena.reserved());
  const std::span<std::byte> places = arena.Places(2, 5);
  EXPECT_TRUE(arena.reserved());
  EXPECT_EQ(places.data(), reinterpret_cast<std::byte*>(arena.Place(2)));
  EXPECT_EQ(places.size(), 3 * sizeof(RecordSpectra));
  EXPECT_EQ(arena.Places(0, kRecordSlots).size(), kRecordSlots * sizeof(RecordSpectra));
  EXPECT_THROW(arena.Places(-1, 2), std::out_of_range);
  EXPECT_THROW(arena.Places(3, 2), std::out_of_range);
  EXPECT_THROW(arena.Places(0, kRecordSlots + 1), std::out_of_range);
}

}  // namespace
}  // namespace chromiva::data
