// The frame decoder against mpg123 on files that lame and twolame made from
// synthetic speech (make-mpeg-fixtures.sh): after lining the two outputs up,
// the differences must stay at rounding level. A decoding fault (a wrong
// table entry, a stereo or block-switching slip) shows as hundreds of LSB.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "mpeg_decode_helpers.h"

namespace {

struct OracleCase {
  const char* file;
  int channels;  // in the file (a Layer III stream is decoded to stereo, mono frames written as such)
  int sampleRate;
};

const OracleCase kCases[] = {
    {"cbr128.mp3", 2, 44100}, {"vbr.mp3", 2, 44100},   {"mono.mp3", 1, 44100},
    {"mpeg25.mp3", 1, 8000},  {"joint.mp3", 2, 44100}, {"layer2.mp2", 2, 44100},
    // MPEG-2 Layer II: the low sampling frequencies share one allocation table.
    {"layer2-16000-stereo.mp2", 2, 16000}, {"layer2-16000-mono.mp2", 1, 16000},
    {"layer2-22050-stereo.mp2", 2, 22050}, {"layer2-22050-mono.mp2", 1, 22050},
    {"layer2-24000-stereo.mp2", 2, 24000}, {"layer2-24000-mono.mp2", 1, 24000},
};

// mpg123 drops the Info/Xing frame and the encoder delay that the LAME tag
// names, and may drop the padding at the end; the frame decoder outputs all
// of it. So ours runs ahead by up to a few thousand samples.
constexpr long kMaxShiftSamples = 3000;
// Differences allowed after alignment: both round to 16 bits, from
// different float arithmetic and rounding rules.
constexpr double kMaxRms = 1.0;
constexpr int kMaxAbs = 3;

std::vector<uint8_t> Fixture(const std::string& name) {
  std::wstring folder = TestFolder("TPWR_FIXTURES");
  return ReadWholeFile(TestPath(folder, "mpeg-oracle/" + name));
}

int16_t RefAt(const std::vector<uint8_t>& ref, size_t i) {
  return static_cast<int16_t>(ref[2 * i] | (ref[2 * i + 1] << 8));
}

// The offset (in values, a multiple of channels) at which the reference best
// matches ours, judged on a stretch from the middle of the reference.
long BestOffset(const std::vector<int16_t>& pcm, const std::vector<uint8_t>& ref, int channels) {
  const long refValues = static_cast<long>(ref.size() / 2);
  const long probe = 4096;
  const long start = refValues / 2;
  long best = 0;
  double bestSum = -1;
  for (long shift = -kMaxShiftSamples; shift <= kMaxShiftSamples; ++shift) {
    long offset = shift * channels;  // pcm[i] against ref[i + offset]
    double sum = 0;
    for (long j = start; j < start + probe && j < refValues; ++j) {
      long i = j - offset;
      if (i < 0 || i >= static_cast<long>(pcm.size())) {
        sum += 1e12;
        break;
      }
      double e = pcm[static_cast<size_t>(i)] - RefAt(ref, static_cast<size_t>(j));
      sum += e * e;
      if (bestSum >= 0 && sum >= bestSum) break;
    }
    if (bestSum < 0 || sum < bestSum) {
      bestSum = sum;
      best = offset;
    }
  }
  return best;
}

TEST(MpegOracle, EveryFileMatchesMpg123) {
  ASSERT_FALSE(TestFolder("TPWR_FIXTURES").empty()) << "TPWR_FIXTURES is not set";
  for (const OracleCase& c : kCases) {
    std::vector<uint8_t> bits = Fixture(c.file);
    std::vector<uint8_t> ref = Fixture(std::string(c.file) + ".pcm");
    ASSERT_FALSE(bits.empty()) << c.file << " is missing";
    ASSERT_GT(ref.size(), 20000u) << c.file << ".pcm is missing or short";
    DecodedStream out = DecodeWholeStream(bits, 32);
    EXPECT_EQ(c.sampleRate, out.sampleRate) << c.file;
    long offset = BestOffset(out.pcm, ref, c.channels);
    Difference diff = Compare(out.pcm, ref, offset);
    std::printf("%-24s frames %4d values %7zu/%7zu  offset %5ld  rms %.3f max %d LSB\n", c.file, out.frames,
                out.pcm.size(), ref.size() / 2, offset / c.channels, diff.rms, diff.maxAbs);
    // Nearly all of mpg123's output is covered.
    EXPECT_GE(diff.count + 2304, ref.size() / 2) << c.file;
    EXPECT_LT(diff.rms, kMaxRms) << c.file;
    EXPECT_LE(diff.maxAbs, kMaxAbs) << c.file;
  }
}

// Damaged bytes in the middle of a file disturb a few frames around them;
// the decoder finds its way back and the rest matches again.
TEST(MpegOracle, DamagedBytesStayLocal) {
  ASSERT_FALSE(TestFolder("TPWR_FIXTURES").empty()) << "TPWR_FIXTURES is not set";
  for (const char* name : {"cbr128.mp3", "layer2.mp2"}) {
    std::vector<uint8_t> bits = Fixture(name);
    ASSERT_GT(bits.size(), 4000u) << name;
    DecodedStream whole = DecodeWholeStream(bits, 32);
    std::vector<uint8_t> damaged(bits);
    for (size_t i = bits.size() / 2; i < bits.size() / 2 + 300; ++i) damaged[i] = static_cast<uint8_t>(i * 7);
    DecodedStream out = DecodeWholeStream(damaged, 32);
    ASSERT_GT(out.pcm.size(), whole.pcm.size() / 2) << name;
    // The last second is the same (aligned at the end).
    const size_t tail = 2 * 44100;
    ASSERT_GT(out.pcm.size(), tail);
    EXPECT_TRUE(std::equal(out.pcm.end() - static_cast<std::ptrdiff_t>(tail), out.pcm.end(),
                           whole.pcm.end() - static_cast<std::ptrdiff_t>(tail)))
        << name;
  }
}

}  // namespace
