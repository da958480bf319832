// A record's pixels are stored as (raw, processed) float pairs; in memory they are two arrays.
// These move the bits unchanged (no arithmetic, so NaN payloads survive).
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace chromiva::data::detail {

// pairs[2p] = raw[p], pairs[2p + 1] = processed[p] for p < pixels; `pairs` need not be aligned.
inline void JoinPairs(const float* raw, const float* processed, std::size_t pixels, char* pairs) {
  std::size_t p = 0;
#if defined(__SSE2__)
  for (; p + 4 <= pixels; p += 4) {
    const __m128 r = _mm_loadu_ps(raw + p);
    const __m128 q = _mm_loadu_ps(processed + p);
    _mm_storeu_ps(reinterpret_cast<float*>(pairs + p * 8), _mm_unpacklo_ps(r, q));
    _mm_storeu_ps(reinterpret_cast<float*>(pairs + p * 8 + 16), _mm_unpackhi_ps(r, q));
  }
#endif
  for (; p < pixels; ++p) {
    std::memcpy(pairs + p * 8, raw + p, 4);
    std::memcpy(pairs + p * 8 + 4, processed + p, 4);
  }
}

// The reverse of JoinPairs.
inline void SplitPairs(const char* pairs, std::size_t pixels, float* raw, float* processed) {
  std::size_t p = 0;
#if defined(__SSE2__)
  for (; p + 4 <= pixels; p += 4) {
    const __m128 a = _mm_loadu_ps(reinterpret_cast<const float*>(pairs + p * 8));
    const __m128 b = _mm_loadu_ps(reinterpret_cast<const float*>(pairs + p * 8 + 16));
    _mm_storeu_ps(raw + p, _mm_shuffle_ps(a, b, _MM_SHUFFLE(2, 0, 2, 0)));
    _mm_storeu_ps(processed + p, _mm_shuffle_ps(a, b, _MM_SHUFFLE(3, 1, 3, 1)));
  }
#endif
  for (; p < pixels; ++p) {
    std::memcpy(raw + p, pairs + p * 8, 4);
    std::memcpy(processed + p, pairs + p * 8 + 4, 4);
  }
}

// SplitPairs into whole arrays of `capacity` floats, zero beyond `pixels`, that are not read
// again soon (a load of many records): where both arrays are 16-byte aligned, as the record
// arena's are, the stores bypass the caches instead of first reading each line they fill.
inline void SplitPairsStreaming(const char* pairs, std::size_t pixels, std::size_t capacity,
                                float* raw, float* processed) {
#if defined(__SSE2__)
  const auto aligned = [](const float* at) {
    return reinterpret_cast<std::uintptr_t>(at) % 16 == 0;
  };
  if (aligned(raw) && aligned(processed) && capacity % 4 == 0 && pixels <= capacity) {
    const std::size_t whole = pixels - pixels % 4;
    std::size_t p = 0;
    for (; p < whole; p += 4) {
      const __m128 a = _mm_loadu_ps(reinterpret_cast<const float*>(pairs + p * 8));
      const __m128 b = _mm_loadu_ps(reinterpret_cast<const float*>(pairs + p * 8 + 16));
      _mm_stream_ps(raw + p, _mm_shuffle_ps(a, b, _MM_SHUFFLE(2, 0, 2, 0)));
      _mm_stream_ps(processed + p, _mm_shuffle_ps(a, b, _MM_SHUFFLE(3, 1, 3, 1)));
    }
    if (p < pixels) {  // one to three pixels left, padded with zero to a group of four
      alignas(16) float rawLeft[4] = {};
      alignas(16) float processedLeft[4] = {};
      SplitPairs(pairs + p * 8, pixels - p, rawLeft, processedLeft);
      _mm_stream_ps(raw + p, _mm_load_ps(rawLeft));
      _mm_stream_ps(processed + p, _mm_load_ps(processedLeft));
      p += 4;
    }
    for (; p < capacity; p += 4) {
      _mm_stream_ps(raw + p, _mm_setzero_ps());
      _mm_stream_ps(processed + p, _mm_setzero_ps());
    }
    _mm_sfence();  // the record is complete before anything written after it
    return;
  }
#endif
  SplitPairs(pairs, pixels, raw, processed);
  std::fill(raw + pixels, raw + capacity, 0.0f);
  std::fill(processed + pixels, processed + capacity, 0.0f);
}

}  // namespace chromiva::data::detail
