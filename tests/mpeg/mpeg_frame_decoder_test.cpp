// The frame decoder where no conformance stream or generated file goes:
// headers and set-ups it refuses, free-format frames of 2000 bytes, frames it
// must not decode, the window loop of the width the processor does not take,
// and the bit reader at the edge of its data.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "formats/mpeg/mpeg_bitstream.h"
#include "formats/mpeg/mpeg_frame_decoder.h"
#include "formats/mpeg/mpeg_internal.h"

namespace {

TEST(MpegHeader, InvalidHeadersGiveZero) {
  struct { const char* what; std::vector<uint8_t> bytes; } cases[] = {
      {"layer 0", {0xFF, 0xF9, 0x90, 0x64}},           {"sample-rate index 3", {0xFF, 0xFB, 0x9C, 0x64}},
      {"bit-rate index 15", {0xFF, 0xFB, 0xF0, 0x64}}, {"no sync", {0xFE, 0xFB, 0x90, 0x64}},
      {"11-bit sync missing", {0xFF, 0xD3, 0x90, 0x64}}, {"three bytes", {0xFF, 0xFB, 0x90}},
  };
  MpegHeader h;
  for (const auto& c : cases) EXPECT_EQ(MpegParseHeader(c.bytes.data(), c.bytes.size(), &h), 0) << c.what;
}

// Free-format frames are measured from the next header, up to 1999 bytes.
TEST(MpegHeader, FreeFormatFramesAreMeasuredUpTo1999Bytes) {
  for (int size : {626, 1999, 2000}) {
    std::vector<uint8_t> stream(static_cast<size_t>(size) * 4, 0x00);
    for (size_t at = 0; at < stream.size(); at += static_cast<size_t>(size)) {
      const uint8_t header[4] = {0xFF, 0xFB, 0x00, 0xC4};
      std::memcpy(&stream[at], header, 4);
    }
    MpegHeader h;
    EXPECT_EQ(MpegParseHeader(stream.data(), stream.size(), &h), size < 2000 ? size : 0) << size;
  }
}

MpegHeader Parsed(std::vector<uint8_t> bytes) {
  MpegHeader h{};
  MpegParseHeader(bytes.data(), bytes.size(), &h);
  return h;
}

MpegHeader Reserved(int layerCode, int sampleRateIndex) {
  MpegHeader h{};
  h.syncKind = 1;
  h.id = 1;
  h.layerCode = layerCode;
  h.sampleRateIndex = sampleRateIndex;
  h.bitRateIndex = 9;
  return h;
}

TEST(MpegDecoder, SetUpRefusesReservedValuesAndDisallowedLayer2Rates) {
  struct { const char* what; MpegHeader header; int frameBytes; bool accepted; } cases[] = {
      {"sample-rate index 3", Reserved(1, 3), 417, false},
      {"layer 0", Reserved(0, 0), 417, false},
      {"Layer II stereo at 32 kbit/s", Parsed({0xFF, 0xFD, 0x10, 0x00}), 104, false},
      {"Layer II single channel at 384 kbit/s", Parsed({0xFF, 0xFD, 0xE0, 0xC0}), 1253, false},
      {"Layer II stereo at 192 kbit/s", Parsed({0xFF, 0xFD, 0xA0, 0x00}), 626, true},
  };
  for (const auto& c : cases) {
    MpegDecoder* d = MpegDecoderCreate();
    EXPECT_EQ(MpegDecoderSetUp(d, &c.header, c.frameBytes, 0, 0, 0, 24000) != 0, c.accepted) << c.what;
    MpegDecoderDestroy(d);
  }
}

TEST(MpegDecoder, GarbageConsumesNothing) {
  MpegDecoder* d = MpegDecoderCreate();
  const uint8_t hb[4] = {0xFF, 0xFB, 0x90, 0x64};
  MpegHeader h;
  ASSERT_GT(MpegParseHeader(hb, 4, &h), 0);
  ASSERT_NE(MpegDecoderSetUp(d, &h, 417, 0, 0, 0, 24000), 0);
  std::vector<uint8_t> garbage(1000, 0x55);
  std::vector<int16_t> out(kMpegMaxFrameValues, 7);
  size_t consumed = 9, produced = 9;
  MpegDecodeFrame(d, garbage.data(), garbage.size(), out.data(), &consumed, &produced);
  EXPECT_EQ(consumed, 0u);
  EXPECT_EQ(produced, 0u);
  // A valid header of another layer is not a frame of this stream either.
  std::vector<uint8_t> l2(1000, 0);
  l2[0] = 0xFF;
  l2[1] = 0xFD;
  l2[2] = 0xA0;
  MpegDecodeFrame(d, l2.data(), l2.size(), out.data(), &consumed, &produced);
  EXPECT_EQ(consumed, 0u);
  // A frame whose main data lie before the stream start is consumed, safely,
  // and yields no output (it only feeds the reservoir).
  std::vector<uint8_t> frame(417, 0);
  std::memcpy(frame.data(), hb, 4);
  frame[4] = 0xFF;  // main_data_begin = 511
  frame[5] = 0x80;
  MpegDecodeFrame(d, frame.data(), frame.size(), out.data(), &consumed, &produced);
  EXPECT_EQ(consumed, 417u);
  EXPECT_EQ(produced, 0u);
  // The next frame with main_data_begin 0 decodes (all-zero data: silence).
  frame[4] = 0;
  frame[5] = 0;
  MpegDecodeFrame(d, frame.data(), frame.size(), out.data(), &consumed, &produced);
  EXPECT_EQ(consumed, 417u);
  EXPECT_EQ(produced, 2304u * 2);
  for (size_t i = 0; i < 2304; ++i) ASSERT_EQ(out[i], 0) << i;
  MpegDecoderDestroy(d);
}

// The conformance streams run the window loop of the width this processor
// takes; the other one must give the same values, clipping included.
TEST(MpegSynthesis, WideAndNarrowWindowLoopsAgree) {
  std::mt19937 rng(11);
  std::uniform_real_distribution<float> dist(-1.0f, 1.0f);
  const float levels[] = {0.001f, 0.2f, 1.0f, 40.0f};  // the last one clips
  static mpeg::SynthState wide[2], narrow[2];
  for (mpeg::SynthState* s : {&wide[0], &wide[1], &narrow[0], &narrow[1]}) mpeg::SynthReset(s);
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

// Bit n of data, most significant first; 0 past the end.
uint32_t BitAt(const std::vector<uint8_t>& data, size_t n) {
  return n / 8 < data.size() ? (data[n / 8] >> (7 - n % 8)) & 1 : 0;
}

uint32_t BitsAt(const std::vector<uint8_t>& data, size_t from, int n) {
  uint32_t bits = 0;
  for (int b = 0; b < n; ++b) bits = (bits << 1) | BitAt(data, from + static_cast<size_t>(b));
  return bits;
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
      if (round % 3 == 0) {
        ASSERT_EQ(BitsAt(data, pos, n), br.Peek(n)) << "size " << size << " round " << round;
      }
      ASSERT_EQ(BitsAt(data, pos, n), br.Get(n)) << "size " << size << " round " << round;
      pos += static_cast<size_t>(n);
      ASSERT_EQ(pos, br.Position());
    }
    // Seeking back to any bit restarts there.
    for (size_t bit : {size_t{0}, size_t{5}, size * 8 / 2, size * 8 + 3}) {
      br.Seek(bit);
      EXPECT_EQ(BitsAt(data, bit, 20), br.Get(20)) << size << " seek " << bit;
    }
  }
}

}  // namespace
