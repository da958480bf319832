// The plain per-sample resampling scan, kept as the oracle of the tests and the baseline of the
// processing benchmark: for every grid sample the lowest j with W[j] < b <= W[j + 1] wins.
// Samples without a pair take the nearer end pixel (the first on a tie).
#pragma once

#include <cmath>
#include <span>

#include "chromiva/data/processing.h"

namespace chromiva::data::test {

inline void LiteralResample(std::span<const float> w, std::span<const float> v, GridArray& out) {
  const std::size_t n = w.size();
  for (std::size_t i = 0; i < out.size(); ++i) {
    const auto b = static_cast<float>(kGridStartNm + static_cast<int>(i));
    std::size_t j = 0;
    while (j + 1 < n && !(w[j] < b && b <= w[j + 1])) ++j;
    if (j + 1 < n) {
      out[i] = static_cast<float>(v[j] + (b - static_cast<double>(w[j])) *
                                             (static_cast<double>(v[j + 1]) - v[j]) /
                                             (static_cast<double>(w[j + 1]) - w[j]));
    } else if (n > 0) {
      const bool last =
          std::fabs(static_cast<double>(b) - w[n - 1]) < std::fabs(static_cast<double>(b) - w[0]);
      out[i] = v[last ? n - 1 : 0];
    }
  }
}

}  // namespace chromiva::data::test
