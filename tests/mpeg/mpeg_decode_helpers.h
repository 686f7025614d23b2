// PCM comparison shared by the decoder tests; the frame loop is the
// synthesis-window tool's.
#pragma once
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "tools/synthesis_window/whole_stream_decode.h"

struct Difference {
  double rms = 0;
  int maxAbs = 0;
  size_t count = 0;
};

// Compares decoded values with reference bytes (s16 LE), the reference
// shifted by `offset` values, over the common length.
inline Difference Compare(const std::vector<int16_t>& pcm, const std::vector<uint8_t>& ref, long offset) {
  Difference d;
  size_t refValues = ref.size() / 2;
  double sum = 0;
  for (size_t i = 0; i < pcm.size(); ++i) {
    long j = static_cast<long>(i) + offset;
    if (j < 0) continue;
    if (static_cast<size_t>(j) >= refValues) break;
    int r = static_cast<int16_t>(ref[2 * j] | (ref[2 * j + 1] << 8));
    int e = pcm[i] - r;
    sum += static_cast<double>(e) * e;
    if (std::abs(e) > d.maxAbs) d.maxAbs = std::abs(e);
    ++d.count;
  }
  d.rms = d.count ? std::sqrt(sum / static_cast<double>(d.count)) : 1e9;
  return d;
}
