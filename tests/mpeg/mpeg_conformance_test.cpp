// The frame decoder against the ISO conformance streams and their reference
// PCM, at full bandwidth as the reference was decoded: within 1 LSB RMS on
// every stream (the limited accuracy allows 4.6), to catch regressions.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "mpeg_decode_helpers.h"

namespace {

TEST(MpegConformance, EveryStreamMatchesTheReference) {
  ASSERT_FALSE(TestFolder("TPWR_TESTDATA").empty()) << "TPWR_TESTDATA is not set";
  for (const char* name : kConformanceStreams) {
    std::vector<uint8_t> bits, ref;
    ASSERT_TRUE(ReadConformanceStream(name, &bits, &ref)) << name;
    DecodedStream out = DecodeWholeStream(bits, 32);
    Difference diff = Compare(out.pcm, ref, 0);
    std::printf("%-20s frames %4d values %7zu/%7zu  rms %.3f max %d LSB\n", name, out.frames, out.pcm.size(),
                ref.size() / 2, diff.rms, diff.maxAbs);
    // All of the reference (but its padding) is covered.
    EXPECT_GE(diff.count + 2304, std::min(out.pcm.size(), ref.size() / 2)) << name;
    EXPECT_LT(diff.rms, 1.0) << name;
  }
}

}  // namespace
