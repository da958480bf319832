#include "pixel_pairs.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace chromiva::data::detail {
namespace {

// Distinct bit patterns, NaN payloads among them, so that any arithmetic on the way shows.
std::vector<char> PairBytes(std::size_t pixels) {
  std::vector<char> bytes(pixels * 8);
  for (std::size_t i = 0; i < pixels * 2; ++i) {
    const std::uint32_t bits = (i % 5 == 0) ? 0x7FC00001u + static_cast<std::uint32_t>(i)
                                            : 0x3F800000u + static_cast<std::uint32_t>(i * 977);
    std::memcpy(bytes.data() + i * 4, &bits, 4);
  }
  return bytes;
}

// Whole arrays come out as the plain split with a zero tail, whether the arrays are aligned
// (the streaming path) or not, for every remainder of four.
TEST(PixelPairs, StreamingSplitMatchesThePlainOneWithAZeroTail) {
  constexpr std::size_t kCapacity = 288;
  for (std::size_t offset : {std::size_t{0}, std::size_t{1}}) {
    for (std::size_t pixels : {0u, 1u, 3u, 4u, 5u, 286u, 287u, 288u}) {
      const std::vector<char> pairs = PairBytes(pixels);
      alignas(16) float raw[kCapacity + 4];
      alignas(16) float processed[kCapacity + 4];
      std::memset(raw, 0x5A, sizeof raw);
      std::memset(processed, 0x5A, sizeof processed);
      SplitPairsStreaming(pairs.data(), pixels, kCapacity, raw + offset, processed + offset);
      std::vector<float> rawExpected(kCapacity, 0.0f);
      std::vector<float> processedExpected(kCapacity, 0.0f);
      SplitPairs(pairs.data(), pixels, rawExpected.data(), processedExpected.data());
      EXPECT_EQ(std::memcmp(raw + offset, rawExpected.data(), kCapacity * 4), 0)
          << pixels << " pixels, offset " << offset;
      EXPECT_EQ(std::memcmp(processed + offset, processedExpected.data(), kCapacity * 4), 0)
          << pixels << " pixels, offset " << offset;
    }
  }
}

}  // namespace
}  // namespace chromiva::data::detail
