// The conformance streams and the PCM comparison shared by the decoder tests;
// the frame loop is the synthesis-window tool's.
#pragma once
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "test_support.h"
#include "tools/synthesis_window/whole_stream_decode.h"

// The ISO conformance streams (ISO/IEC 11172-4, 13818-4): layers I and II,
// then from kFirstLayer3Stream on layer III.
inline const char* const kConformanceStreams[] = {
    "l1-fl1", "l1-fl2", "l1-fl3", "l1-fl4", "l1-fl5", "l1-fl6", "l1-fl7", "l1-fl8",
    "l2-fl10", "l2-fl11", "l2-fl12", "l2-fl13", "l2-fl14", "l2-fl15", "l2-fl16",
    "l3-compl", "l3-he_32khz", "l3-he_44khz", "l3-he_48khz", "l3-he_free", "l3-he_mode", "l3-hecommon", "l3-si",
    "l3-si_block", "l3-si_huff", "l3-sin1k0db", "M2L3_bitrate_16_all", "M2L3_bitrate_22_all",
    "M2L3_bitrate_24_all", "M2L3_compl24", "M2L3_noise"};
constexpr size_t kFirstLayer3Stream = 15;

// A stream's bits and its reference PCM (s16 LE) from TPWR_TESTDATA; false
// when either is missing.
inline bool ReadConformanceStream(const char* name, std::vector<uint8_t>* bits, std::vector<uint8_t>* ref) {
  std::wstring base = TestPath(TestFolder("TPWR_TESTDATA"), std::string("mpeg-conformance/") + name);
  *bits = ReadWholeFile(base + L".bit");
  *ref = ReadWholeFile(base + L".pcm");
  return !bits->empty() && !ref->empty();
}

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
