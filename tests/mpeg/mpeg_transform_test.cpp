// The decoder's fast transforms against their defining sums (computed in
// double): the synthesis matrixing, the Layer III IMDCT with its windows,
// overlap and frequency inversion; the two widths of the window loop; the
// bit reader at the edge of its data.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#include "formats/mpeg/mpeg_bitstream.h"
#include "formats/mpeg/mpeg_internal.h"

namespace {

constexpr double kPiD = 3.14159265358979323846;

// Largest |a - b| relative to the largest |b| (at least 1).
double RelativeError(const double* want, const float* got, int n) {
  double worst = 0, scale = 1;
  for (int i = 0; i < n; ++i) scale = std::fmax(scale, std::fabs(want[i]));
  for (int i = 0; i < n; ++i) worst = std::fmax(worst, std::fabs(want[i] - got[i]));
  return worst / scale;
}

TEST(MpegSynthesis, MatrixingMatchesTheDefiningSum) {
  std::mt19937 rng(7);
  std::uniform_real_distribution<float> dist(-1.0f, 1.0f);
  // Random blocks, then single subbands alone (each column of N).
  for (int round = 0; round < 20 + 32; ++round) {
    alignas(16) float s[32];
    for (int k = 0; k < 32; ++k) s[k] = round < 20 ? dist(rng) : (k == round - 20 ? 1.0f : 0.0f);
    alignas(16) float v[64], copy[64];
    mpeg::SynthMatrix(s, v, copy);
    double want[64];
    for (int i = 0; i < 64; ++i) {
      want[i] = 0;
      for (int k = 0; k < 32; ++k) want[i] += std::cos((16 + i) * (2 * k + 1) * kPiD / 64.0) * s[k];
    }
    EXPECT_LT(RelativeError(want, v, 64), 2e-6) << "round " << round;
    EXPECT_EQ(0, std::memcmp(v, copy, sizeof(v))) << "round " << round;
  }
}

// Both widths of the window loop, over loud and quiet blocks, give the same
// values: the lanes do the same arithmetic.
TEST(MpegSynthesis, WideAndNarrowWindowLoopsAgree) {
  std::mt19937 rng(11);
  std::uniform_real_distribution<float> dist(-1.0f, 1.0f);
  const float levels[] = {0.001f, 0.2f, 1.0f, 40.0f};  // the last one clips
  static mpeg::SynthState wide[2], narrow[2];
  mpeg::SynthReset(&wide[0]);
  mpeg::SynthReset(&wide[1]);
  mpeg::SynthReset(&narrow[0]);
  mpeg::SynthReset(&narrow[1]);
  int clipped = 0;
  for (int block = 0; block < 64; ++block) {
    alignas(16) float l[32], r[32];
    float level = levels[block / 16];
    for (int k = 0; k < 32; ++k) {
      l[k] = dist(rng) * level;
      r[k] = dist(rng) * level;
    }
    int16_t a[64], b[64];
    mpeg::SynthAllowWideVectors(1);
    mpeg::SynthBlockStereo(wide, l, r, a);
    mpeg::SynthAllowWideVectors(0);
    mpeg::SynthBlockStereo(narrow, l, r, b);
    mpeg::SynthAllowWideVectors(1);
    ASSERT_EQ(0, std::memcmp(a, b, sizeof(a))) << "block " << block;
    for (int16_t x : a) clipped += x == 32767 || x == -32768;
  }
  EXPECT_GT(clipped, 0);
}

// The single-channel entry point writes with a stride and matches the pair.
TEST(MpegSynthesis, StridedOutputMatchesInterleaved) {
  static mpeg::SynthState pair[2], single;
  mpeg::SynthReset(&pair[0]);
  mpeg::SynthReset(&pair[1]);
  mpeg::SynthReset(&single);
  for (int block = 0; block < 20; ++block) {
    alignas(16) float l[32], r[32];
    for (int k = 0; k < 32; ++k) {
      l[k] = static_cast<float>(std::sin(block * 0.7 + k));
      r[k] = -l[k];
    }
    int16_t both[64], left[64];
    std::memset(left, 0x55, sizeof(left));
    mpeg::SynthBlockStereo(pair, l, r, both);
    mpeg::SynthBlock(&single, l, left, 2);
    for (int j = 0; j < 32; ++j) {
      ASSERT_EQ(both[2 * j], left[2 * j]) << block << " " << j;
      ASSERT_EQ(0x5555, static_cast<uint16_t>(left[2 * j + 1]));  // the other channel untouched
    }
  }
}

// ---- IMDCT ----

double LongWindow(int blockType, int i) {
  double s36 = std::sin(kPiD / 36.0 * (i + 0.5));
  if (blockType == 0) return s36;
  if (blockType == 1) return i < 18 ? s36 : i < 24 ? 1.0 : i < 30 ? std::sin(kPiD / 12.0 * (i - 18 + 0.5)) : 0.0;
  return i < 6 ? 0.0 : i < 12 ? std::sin(kPiD / 12.0 * (i - 6 + 0.5)) : i < 18 ? 1.0 : s36;
}

// The 36 windowed time values of one subband, straight from the sums.
void ReferenceSubband(const float* X, int blockType, double* x) {
  for (int i = 0; i < 36; ++i) x[i] = 0;
  if (blockType != 2) {
    for (int i = 0; i < 36; ++i) {
      double s = 0;
      for (int k = 0; k < 18; ++k) s += X[k] * std::cos(kPiD / 72.0 * (2 * i + 1 + 18) * (2 * k + 1));
      x[i] = s * LongWindow(blockType, i);
    }
    return;
  }
  for (int w = 0; w < 3; ++w)
    for (int i = 0; i < 12; ++i) {
      double s = 0;
      for (int k = 0; k < 6; ++k) s += X[3 * k + w] * std::cos(kPiD / 24.0 * (2 * i + 1 + 6) * (2 * k + 1));
      x[6 + 6 * w + i] += s * std::sin(kPiD / 12.0 * (i + 0.5));
    }
}

struct ImdctCase {
  const char* name;
  int blockType, mixed, subbands;
};

TEST(MpegImdct, EveryBlockKindMatchesTheDefiningSums) {
  const ImdctCase cases[] = {
      {"long", 0, 0, 32},          {"start", 1, 0, 32},       {"short", 2, 0, 32},
      {"stop", 3, 0, 32},          {"mixed short", 2, 1, 32}, {"mixed flag on a start block", 1, 1, 32},
      {"long, 13 subbands", 0, 0, 13}, {"short, 5 subbands", 2, 0, 5}, {"nothing coded", 0, 0, 0},
  };
  std::mt19937 rng(3);
  std::uniform_real_distribution<float> dist(-1.0f, 1.0f);
  for (const ImdctCase& c : cases) {
    static mpeg::Layer3Channel st;
    std::memset(&st, 0, sizeof(st));
    // Two granules, so that the second one adds the first one's overlap.
    double previous[32][18] = {};
    for (int granule = 0; granule < 2; ++granule) {
      alignas(16) float xr[576];
      for (int i = 0; i < 576; ++i) xr[i] = i < 18 * c.subbands ? dist(rng) : 0.0f;
      alignas(16) float samples[18][32];
      mpeg::Layer3Imdct(xr, c.blockType, c.mixed, c.subbands, &st, samples);
      double worst = 0;
      for (int sb = 0; sb < 32; ++sb) {
        double x[36] = {};
        int kind = c.mixed && sb < 2 ? 0 : c.blockType;
        if (sb < c.subbands) ReferenceSubband(xr + 18 * sb, kind, x);
        for (int i = 0; i < 18; ++i) {
          double out = x[i] + previous[sb][i];
          if ((sb & 1) && (i & 1)) out = -out;
          worst = std::fmax(worst, std::fabs(out - samples[i][sb]));
          worst = std::fmax(worst, std::fabs(x[18 + i] - st.overlap[sb / 4][i][sb % 4]));
          previous[sb][i] = x[18 + i];
        }
      }
      EXPECT_LT(worst, 2e-5) << c.name << ", granule " << granule;
    }
  }
}

TEST(MpegImdct, AliasReductionMatchesTheButterflies) {
  const double c[8] = {-0.6, -0.535, -0.33, -0.185, -0.095, -0.041, -0.0142, -0.0037};
  std::mt19937 rng(5);
  std::uniform_real_distribution<float> dist(-1.0f, 1.0f);
  for (int subbands : {1, 2, 7, 32}) {
    alignas(16) float xr[576];
    double want[576];
    for (int i = 0; i < 576; ++i) want[i] = xr[i] = dist(rng);
    for (int sb = 1; sb < subbands; ++sb)
      for (int i = 0; i < 8; ++i) {
        double cs = 1 / std::sqrt(1 + c[i] * c[i]), ca = c[i] * cs;
        double lower = want[18 * sb - 1 - i], upper = want[18 * sb + i];
        want[18 * sb - 1 - i] = lower * cs - upper * ca;
        want[18 * sb + i] = upper * cs + lower * ca;
      }
    mpeg::Layer3AliasReduce(xr, subbands);
    EXPECT_LT(RelativeError(want, xr, 576), 1e-6) << subbands << " subbands";
    // Lines beyond the last boundary are untouched.
    for (int i = 18 * subbands; i < 576; ++i) ASSERT_EQ(static_cast<float>(want[i]), xr[i]) << i;
  }
}

// ---- Bit reader ----

// Bit n of data, most significant first; 0 past the end.
uint32_t BitAt(const std::vector<uint8_t>& data, size_t n) {
  return n / 8 < data.size() ? (data[n / 8] >> (7 - n % 8)) & 1 : 0;
}

TEST(MpegBitReader, ReadsMatchTheBitsAcrossTheEndOfTheData) {
  // Sizes below, at and above the eight bytes of a whole-word refill.
  for (size_t size : {0u, 1u, 7u, 8u, 9u, 15u, 16u, 17u, 40u}) {
    std::vector<uint8_t> data(size);
    for (size_t i = 0; i < size; ++i) data[i] = static_cast<uint8_t>(i * 37 + 11);
    // Own copy, exactly sized: a read past the end shows under ASan.
    std::vector<uint8_t> exact(data);
    mpeg::BitReader br(exact.data(), exact.size());
    size_t pos = 0;
    const int widths[] = {1, 3, 8, 13, 32, 0, 5, 17, 2, 24, 31, 7};
    for (int round = 0; round < 30; ++round) {
      int n = widths[round % 12];
      uint32_t want = 0;
      for (int b = 0; b < n; ++b) want = (want << 1) | BitAt(data, pos + static_cast<size_t>(b));
      if (round % 3 == 0) {
        ASSERT_EQ(want, br.Peek(n)) << size << " " << round;
      }
      ASSERT_EQ(want, br.Get(n)) << "size " << size << " round " << round;
      pos += static_cast<size_t>(n);
      ASSERT_EQ(pos, br.Position());
    }
    // Seeking back to any bit restarts there.
    for (size_t bit : {size_t{0}, size_t{5}, size * 8 / 2, size * 8 + 3}) {
      br.Seek(bit);
      uint32_t want = 0;
      for (int b = 0; b < 20; ++b) want = (want << 1) | BitAt(data, bit + static_cast<size_t>(b));
      EXPECT_EQ(want, br.Get(20)) << size << " seek " << bit;
    }
  }
}

}  // namespace
