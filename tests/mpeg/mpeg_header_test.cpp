// Header parsing, sync search and set-up edge cases of the frame decoder.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "formats/mpeg/mpeg_frame_decoder.h"

namespace {

TEST(MpegHeader, Mpeg1Layer3) {
  const uint8_t b[4] = {0xFF, 0xFB, 0x90, 0x64};  // 128 kbit/s, 44.1 kHz, joint stereo
  MpegHeader h;
  int32_t rate = 0;
  EXPECT_EQ(MpegParseHeaderWithBitRate(b, 4, &h, &rate), 417);
  EXPECT_EQ(rate, 128000);
  EXPECT_EQ(h.syncKind, 1);
  EXPECT_EQ(h.id, 1);
  EXPECT_EQ(h.layerCode, 1);
  EXPECT_EQ(h.protection, 1);
  EXPECT_EQ(h.mode, 1);
  EXPECT_EQ(h.modeExtension, 2);
  EXPECT_EQ(h.original, 1);
  EXPECT_EQ(MpegHeaderSampleRate(&h), 44100u);
  EXPECT_EQ(MpegHeaderSamplesPerFrame(&h), 1152u);
  EXPECT_EQ(MpegHeaderBitRate(&h), 128u);
}

TEST(MpegHeader, SyncKind2IsMpeg25WithTheMpeg2Row) {
  const uint8_t b[4] = {0xFF, 0xE2, 0x88, 0xC0};  // Layer III, 64 kbit/s, rate index 2 (8000 Hz)
  MpegHeader h;
  int size = MpegParseHeader(b, 4, &h);
  EXPECT_EQ(h.syncKind, 2);
  EXPECT_EQ(h.id, 0);
  EXPECT_EQ(h.layerCode, 1);
  EXPECT_EQ(size, 2880 * 64 / 320);
  EXPECT_EQ(MpegHeaderSampleRate(&h), 8000u);
  EXPECT_EQ(MpegHeaderSamplesPerFrame(&h), 576u);
  EXPECT_EQ(MpegHeaderChannels(&h), 1u);
}

TEST(MpegHeader, FrameSizeRules) {
  MpegHeader h;
  const uint8_t l1[4] = {0xFF, 0xFF, 0x18, 0xC4};  // Layer I, 32 kbit/s, 32 kHz
  EXPECT_EQ(MpegParseHeader(l1, 4, &h), (240 * 32 / 640) * 4);
  const uint8_t l2[4] = {0xFF, 0xFD, 0xA8, 0x00};  // Layer II, 192 kbit/s, 32 kHz
  EXPECT_EQ(MpegParseHeader(l2, 4, &h), 2880 * 192 / 640);
  const uint8_t m2[4] = {0xFF, 0xF3, 0xC0, 0xC4};  // Layer III MPEG-2, 128 kbit/s, 22.05 kHz
  EXPECT_EQ(MpegParseHeader(m2, 4, &h), 1440 * 128 / 441);
}

TEST(MpegHeader, InvalidHeadersGiveZero) {
  MpegHeader h;
  const uint8_t layer0[4] = {0xFF, 0xF9, 0x90, 0x64};
  EXPECT_EQ(MpegParseHeader(layer0, 4, &h), 0);
  const uint8_t rate3[4] = {0xFF, 0xFB, 0x9C, 0x64};
  EXPECT_EQ(MpegParseHeader(rate3, 4, &h), 0);
  const uint8_t bad15[4] = {0xFF, 0xFB, 0xF0, 0x64};
  EXPECT_EQ(MpegParseHeader(bad15, 4, &h), 0);
  const uint8_t nosync[4] = {0xFE, 0xFB, 0x90, 0x64};
  EXPECT_EQ(MpegParseHeader(nosync, 4, &h), 0);
  const uint8_t d[4] = {0xFF, 0xD3, 0x90, 0x64};
  EXPECT_EQ(MpegParseHeader(d, 4, &h), 0);
  EXPECT_EQ(MpegParseHeader(layer0, 3, &h), 0);
}

// A free-format stream of frames `size` bytes apart (no padding).
std::vector<uint8_t> FreeFormat(int size, int frames) {
  std::vector<uint8_t> s(static_cast<size_t>(size * frames), 0x00);
  for (int f = 0; f < frames; ++f) {
    uint8_t* p = s.data() + static_cast<size_t>(f) * size;
    p[0] = 0xFF;
    p[1] = 0xFB;
    p[2] = 0x00;
    p[3] = 0xC4;
  }
  return s;
}

TEST(MpegHeader, FreeFormatIsMeasured) {
  std::vector<uint8_t> s = FreeFormat(626, 6);
  MpegHeader h;
  int32_t rate = 0;
  EXPECT_EQ(MpegParseHeaderWithBitRate(s.data(), s.size(), &h, &rate), 626);
  EXPECT_EQ(h.bitRateIndex, 0);
  EXPECT_GT(rate, 190000);
  EXPECT_LT(rate, 194000);
}

TEST(MpegHeader, FreeFormatBeyond2000BytesIsNotMeasured) {
  std::vector<uint8_t> s = FreeFormat(2000, 4);
  MpegHeader h;
  EXPECT_EQ(MpegParseHeader(s.data(), s.size(), &h), 0);
  std::vector<uint8_t> t = FreeFormat(1999, 4);
  EXPECT_EQ(MpegParseHeader(t.data(), t.size(), &h), 1999);
}

TEST(MpegHeader, FindSkipsGarbage) {
  std::vector<uint8_t> s = {0x00, 0xFF, 0x12, 0xFF, 0xFB, 0x90, 0x64, 0, 0, 0};
  MpegHeader h;
  int32_t rate = 0;
  size_t skipped = 99;
  EXPECT_EQ(MpegFindHeader(s.data(), s.size(), &h, &rate, &skipped), 417);
  EXPECT_EQ(skipped, 3u);
  const uint8_t none[5] = {0, 1, 2, 0xFF, 0x00};
  EXPECT_EQ(MpegFindHeader(none, 5, &h, &rate, &skipped), 0);
}

TEST(MpegDecoder, Layer2SetUpRefusesADisallowedBitRate) {
  MpegDecoder* d = MpegDecoderCreate();
  MpegHeader h;
  const uint8_t stereo32[4] = {0xFF, 0xFD, 0x10, 0x00};  // Layer II stereo at 32 kbit/s: not allowed
  ASSERT_GT(MpegParseHeader(stereo32, 4, &h), 0);
  EXPECT_EQ(MpegDecoderSetUp(d, &h, 104, 0, 0, 0, 24000), 0);
  const uint8_t mono384[4] = {0xFF, 0xFD, 0xE0, 0xC0};  // single channel at 384: not allowed
  ASSERT_GT(MpegParseHeader(mono384, 4, &h), 0);
  EXPECT_EQ(MpegDecoderSetUp(d, &h, 1253, 0, 0, 0, 24000), 0);
  const uint8_t ok[4] = {0xFF, 0xFD, 0xA0, 0x00};  // stereo 192 kbit/s
  ASSERT_GT(MpegParseHeader(ok, 4, &h), 0);
  EXPECT_NE(MpegDecoderSetUp(d, &h, 626, 0, 0, 0, 24000), 0);
  MpegDecoderInfo info;
  MpegDecoderGetInfo(d, &info);
  EXPECT_EQ(info.channels, 2u);
  EXPECT_EQ(info.valuesPerFrame, 2304u);
  EXPECT_EQ(info.sampleRate, 44100u);
  EXPECT_EQ(info.bitsPerSample, 16u);
  EXPECT_EQ(info.frameBytes, 626u);
  EXPECT_EQ(info.reserved, 0u);
  MpegDecoderDestroy(d);
}

TEST(MpegDecoder, SetUpRefusesReservedValues) {
  MpegDecoder* d = MpegDecoderCreate();
  MpegHeader h{};
  h.syncKind = 1;
  h.id = 1;
  h.layerCode = 1;
  h.sampleRateIndex = 3;
  h.bitRateIndex = 9;
  EXPECT_EQ(MpegDecoderSetUp(d, &h, 417, 0, 0, 0, 24000), 0);
  h.sampleRateIndex = 0;
  h.layerCode = 0;
  EXPECT_EQ(MpegDecoderSetUp(d, &h, 417, 0, 0, 0, 24000), 0);
  MpegDecoderDestroy(d);
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

// A Layer I frame with full-scale values in every subband overshoots in the
// synthesis; the output clamps instead of wrapping.
TEST(MpegDecoder, FullScaleOvershootClamps) {
  MpegDecoder* d = MpegDecoderCreate();
  // Layer I, MPEG-1, 448 kbit/s, 48 kHz, single channel: 4 * (240*448/960) = 448 bytes.
  const uint8_t hb[4] = {0xFF, 0xFF, 0xE4, 0xC0};
  MpegHeader h;
  ASSERT_EQ(MpegParseHeader(hb, 4, &h), 448);
  ASSERT_NE(MpegDecoderSetUp(d, &h, 448, 0, 0, 0, 24000), 0);
  // Bit allocation 14 (15 bits) for subbands 0..7, scale factor 0 (2.0),
  // samples: maximum code, alternating with minimum so the output swings.
  std::vector<uint8_t> frame(448, 0);
  std::memcpy(frame.data(), hb, 4);
  size_t bit = 32;
  auto put = [&](uint32_t v, int n) {
    for (int i = n - 1; i >= 0; --i, ++bit)
      if ((v >> i) & 1) frame[bit / 8] |= static_cast<uint8_t>(0x80 >> (bit % 8));
  };
  for (int sb = 0; sb < 32; ++sb) put(sb < 8 ? 14 : 0, 4);
  for (int sb = 0; sb < 8; ++sb) put(0, 6);
  for (int s = 0; s < 12; ++s)
    for (int sb = 0; sb < 8; ++sb) put(((s + sb) & 1) ? 0x7FFE : 0, 15);
  std::vector<int16_t> out(kMpegMaxFrameValues);
  size_t consumed = 0, produced = 0;
  int hitMax = 0, hitMin = 0;
  for (int rep = 0; rep < 3; ++rep) {
    MpegDecodeFrame(d, frame.data(), frame.size(), out.data(), &consumed, &produced);
    ASSERT_EQ(consumed, 448u);
    ASSERT_EQ(produced, 384u * 2);
    for (size_t i = 0; i < 384; ++i) {
      hitMax += out[i] == 32767;
      hitMin += out[i] == -32768;
    }
  }
  EXPECT_GT(hitMax, 0);
  EXPECT_GT(hitMin, 0);
  MpegDecoderDestroy(d);
}

}  // namespace
