// A record's pixels are stored as (raw, processed) float pairs; in memory they are two arrays.
// These move the bits unchanged (no arithmetic, so NaN payloads survive).
#pragma once

#include <cstddef>
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

}  // namespace chromiva::data::detail
