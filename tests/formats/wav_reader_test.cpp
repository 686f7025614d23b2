// WAV reading over memory: chunk layouts, refusals, positions and seeking.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <iterator>
#include <limits>

#include "formats/wav/wav_reader.h"
#include "wav_builder.h"

namespace {

struct OpenedWav {
  std::vector<uint8_t> file;
  MemorySource memory{};
  WavStream stream{};
  int opened = 0;

  explicit OpenedWav(std::vector<uint8_t> bytes) : file(std::move(bytes)) {
    ByteSource source{};
    ByteSourceOpenMemory(&source, &memory, file.data(), file.size());
    opened = WavOpen(&stream, &source);
  }
  ~OpenedWav() { WavClose(&stream); }

  std::vector<uint8_t> ReadAll(uint32_t bufferSize = 32768) {
    std::vector<uint8_t> out, buffer(bufferSize);
    uint32_t count = bufferSize;
    while (WavRead(&stream, buffer.data(), &count)) {
      EXPECT_GT(count, 0u);
      EXPECT_LE(count, bufferSize);
      out.insert(out.end(), buffer.begin(), buffer.begin() + count);
      count = bufferSize;
    }
    return out;
  }
};

std::vector<uint8_t> Stereo16File(uint32_t rate, uint32_t frames) {
  return WavBuilder().Riff().Chunk("fmt ", WavBuilder::Fmt(1, 2, rate, 16)).Chunk("data", WavBuilder::Counting16(frames * 2)).bytes;
}

std::vector<uint8_t> WithBlockAlign(std::vector<uint8_t> fmt, uint16_t blockAlign) {
  fmt[12] = uint8_t(blockAlign);
  fmt[13] = uint8_t(blockAlign >> 8);
  return fmt;
}

TEST(WavLayout, AcceptsAndRefusesByStructure) {
  auto fmt = WavBuilder::Fmt(1, 1, 8000, 16);
  auto data = WavBuilder::Counting16(100);
  auto plain = WavBuilder().Riff().Chunk("fmt ", fmt).Chunk("data", data).bytes;
  std::vector<uint8_t> tagged(10 + 133 + plain.size(), 0xAA);  // a tag of 128 + 5 bytes after its header
  const uint8_t header[10] = {'I', 'D', '3', 3, 0, 0, 0, 0, 1, 5};
  std::copy(header, header + 10, tagged.begin());
  std::copy(plain.begin(), plain.end(), tagged.begin() + 10 + 133);
  struct Case {
    const char* name;
    std::vector<uint8_t> file;
    int opens;
  } cases[] = {
      {"plain", plain, 1},
      {"ID3v2 tag in front", tagged, 1},
      {"chunks after the data chunk are not sound", WavBuilder().Riff().Chunk("fmt ", fmt).Chunk("data", data)
           .Chunk("LIST", std::vector<uint8_t>(200, 0x7F)).Chunk("id3 ", std::vector<uint8_t>(31, 0x55)).bytes, 1},
      {"fmt of 18 bytes", WavBuilder().Riff().Chunk("fmt ", WavBuilder::Fmt(1, 1, 8000, 16, 18)).Chunk("data", data).bytes, 1},
      {"odd chunk with pad byte", WavBuilder().Riff().Chunk("fmt ", fmt).Chunk("junk", {1, 2, 3}).Chunk("data", data).bytes, 1},
      {"data before fmt", WavBuilder().Riff().Chunk("data", data).Chunk("fmt ", fmt).bytes, 0},
      {"no data", WavBuilder().Riff().Chunk("fmt ", fmt).bytes, 0},
      {"short fmt", WavBuilder().Riff().Chunk("fmt ", std::vector<uint8_t>(fmt.begin(), fmt.begin() + 14)).Chunk("data", data).bytes, 0},
      {"compressed", WavBuilder().Riff().Chunk("fmt ", WavBuilder::Fmt(2, 1, 8000, 4)).Chunk("data", data).bytes, 0},
      {"no channels", WavBuilder().Riff().Chunk("fmt ", WavBuilder::Fmt(1, 0, 8000, 16)).Chunk("data", data).bytes, 0},
      // Channels x bytes per sample no longer fits the 16-bit block align.
      {"32768 channels of 16 bits: block align 0", WavBuilder().Riff().Chunk("fmt ", WavBuilder::Fmt(1, 32768, 8000, 16)).Chunk("data", data).bytes, 0},
      {"257 channels", WavBuilder().Riff().Chunk("fmt ", WavBuilder::Fmt(1, 257, 8000, 16)).Chunk("data", data).bytes, 0},
      {"block align not channels x bytes", WavBuilder().Riff().Chunk("fmt ", WithBlockAlign(fmt, 4)).Chunk("data", data).bytes, 0},
      {"rate beyond 768 kHz", WavBuilder().Riff().Chunk("fmt ", WavBuilder::Fmt(1, 1, 800000, 16)).Chunk("data", data).bytes, 0},
      {"rate zero", WavBuilder().Riff().Chunk("fmt ", WavBuilder::Fmt(1, 1, 0, 16)).Chunk("data", data).bytes, 0},
      {"float of 16 bits", WavBuilder().Riff().Chunk("fmt ", WavBuilder::Fmt(3, 1, 8000, 16)).Chunk("data", data).bytes, 0},
      {"not RIFF", {'R', 'I', 'F', 'X', 0, 0, 0, 0, 'W', 'A', 'V', 'E'}, 0},
      {"header cut short", {'R', 'I', 'F', 'F', 0, 0}, 0},
  };
  for (auto& c : cases) {
    OpenedWav wav(c.file);
    EXPECT_EQ(wav.opened, c.opens) << c.name;
    if (c.opens) {
      EXPECT_EQ(wav.ReadAll(7), data) << c.name;
    }
  }
}

TEST(WavLayout, TruncatedFileDeliversTheWholeFramesPresent) {
  auto file = Stereo16File(8000, 1000);
  file.resize(file.size() - 1001);  // claims 1000 frames, holds 749.75
  OpenedWav wav(file);
  ASSERT_TRUE(wav.opened);
  EXPECT_EQ(wav.stream.dataSize, 749u * 4);
  auto pcm = wav.ReadAll();
  ASSERT_EQ(pcm.size(), 749u * 4);
  EXPECT_EQ(std::vector<uint8_t>(file.begin() + 44, file.begin() + 44 + 749 * 4), pcm);
}

// A data size that tells nothing (0 or all ones, left by an interrupted
// recorder) or more than the file holds: the sound is the rest of the
// file, whole frames of it.
TEST(WavLayout, DataSizeThatTellsNothingMeansToTheEnd) {
  auto fmt = WavBuilder::Fmt(1, 2, 8000, 16);
  auto data = WavBuilder::Counting16(2 * 300);
  struct Case {
    const char* name;
    int64_t declared;
    size_t extra;  // bytes behind the frames: part of a frame
    bool openEnded;
  } cases[] = {
      {"zero", 0, 0, true},
      {"all ones", 0xFFFFFFFF, 0, true},
      {"beyond the file", 1200 + 4000, 0, true},
      {"zero, half a frame behind", 0, 2, true},
      {"the size of the sound", 1200, 0, false},
  };
  for (const auto& c : cases) {
    auto payload = data;
    payload.insert(payload.end(), c.extra, 0x7F);
    OpenedWav wav(WavBuilder().Riff().Chunk("fmt ", fmt).Chunk("data", payload, c.declared).bytes);
    ASSERT_TRUE(wav.opened) << c.name;
    EXPECT_EQ(wav.stream.openEnded != 0, c.openEnded) << c.name;
    EXPECT_EQ(wav.stream.dataSize, 1200u) << c.name;
    EXPECT_EQ(wav.ReadAll(101), data) << c.name;
  }
}

// Wider samples and more channels than two; the 8- and 16-bit mono and stereo
// files are the sox files' rows.
TEST(WavFormat, DescribesWhatReadDelivers) {
  struct Case {
    uint16_t tag, channels, bits;
    uint32_t rate;
    uint32_t stereo, bits16, bytesPerSecond;
  } cases[] = {
      {1, 2, 24, 48000, 1, 1, 192000},    {1, 6, 16, 48000, 1, 1, 192000},
      {3, 1, 32, 16000, 0, 1, 32000},     {1, 3, 8, 8000, 1, 1, 32000},
      {3, 256, 64, 100, 1, 1, 400},  // the most channels, the widest samples: 2048-byte frames
  };
  for (const auto& c : cases) {
    auto file = WavBuilder().Riff().Chunk("fmt ", WavBuilder::Fmt(c.tag, c.channels, c.rate, c.bits))
                    .Chunk("data", std::vector<uint8_t>(size_t(c.rate) * c.channels * ((c.bits + 7) / 8) * 3 / 2)).bytes;
    OpenedWav wav(file);
    ASSERT_TRUE(wav.opened) << c.channels << "x" << c.bits;
    EXPECT_EQ(wav.stream.format.stereo, c.stereo) << c.channels << "x" << c.bits;
    EXPECT_EQ(wav.stream.format.bits16, c.bits16) << c.channels << "x" << c.bits;
    EXPECT_EQ(wav.stream.bytesPerSecond, c.bytesPerSecond) << c.channels << "x" << c.bits;
    EXPECT_EQ(wav.stream.format.lengthSeconds, 1u) << "a second and a half is one whole second";
    EXPECT_EQ(wav.stream.format.sampleRate, c.rate);
  }
  OpenedWav shortFile(Stereo16File(8000, 7999));
  EXPECT_EQ(shortFile.stream.format.lengthSeconds, 0u);
}

TEST(WavPosition, CountsEveryWholeSecondWhateverTheBufferSize) {
  for (uint32_t bufferSize : {4000u, 32000u, 96000u, 100004u}) {
    OpenedWav wav(Stereo16File(8000, 8000 * 5));  // 32000 bytes a second
    std::vector<uint8_t> buffer(bufferSize);
    uint64_t delivered = 0;
    uint32_t count = bufferSize;
    while (WavRead(&wav.stream, buffer.data(), &count)) {
      delivered += count;
      EXPECT_EQ(wav.stream.secondsPlayed, delivered / 32000) << bufferSize;
      count = bufferSize;
    }
    EXPECT_EQ(delivered, 160000u);
    EXPECT_EQ(wav.stream.secondsPlayed, 5u);
  }
}

TEST(WavSeek, LandsOnFramesAndReportsItsSecond) {
  OpenedWav wav(Stereo16File(8000, 8000 * 4 + 3));  // data size 128012
  ASSERT_TRUE(wav.opened);
  EXPECT_TRUE(WavSeek(&wav.stream, 1, 2));
  // 64006 rounded down to a multiple of 4: frame 16001, whose left sample counts 32002.
  uint8_t sample[4];
  uint32_t count = 4;
  ASSERT_TRUE(WavRead(&wav.stream, sample, &count));
  EXPECT_EQ(sample[0] | (sample[1] << 8), 32002);
  EXPECT_EQ(wav.stream.secondsPlayed, 2u);

  struct Case { uint32_t numerator, denominator, expectedOffset; } cases[] = {
      {0, 100, 0}, {100, 100, 128012}, {250, 100, 128012}, {1, 3, 42668}, {99, 100, 126728},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(WavSeek(&wav.stream, c.numerator, c.denominator));
    EXPECT_EQ(wav.stream.dataSize - wav.stream.dataLeft, c.expectedOffset) << c.numerator << "/" << c.denominator;
    EXPECT_EQ(wav.stream.secondsPlayed, c.expectedOffset / 32000);
  }
  EXPECT_FALSE(WavSeek(&wav.stream, 1, 0));
}

TEST(WavSeek, WideSamplesLandOnWholeStoredFrames) {
  // 24-bit stereo: 6-byte frames, seeks land on multiples of 12.
  auto file = WavBuilder().Riff().Chunk("fmt ", WavBuilder::Fmt(1, 2, 1000, 24)).Chunk("data", std::vector<uint8_t>(6 * 1000)).bytes;
  OpenedWav wav(file);
  ASSERT_TRUE(wav.opened);
  for (uint32_t n : {1u, 7u, 13u, 50u, 99u}) {
    ASSERT_TRUE(WavSeek(&wav.stream, n, 100));
    uint32_t offset = wav.stream.dataSize - wav.stream.dataLeft;
    EXPECT_EQ(offset % 12, 0u);
    EXPECT_LE(offset, 6000u * n / 100);
    EXPECT_GT(offset + 12, 6000u * n / 100);
    EXPECT_EQ(wav.stream.secondsPlayed, offset / 6 / 1000);
  }
}

// Float samples beyond full scale, infinite or NaN, as a damaged file may hold them.
TEST(WavRead, FloatSamplesAreClampedToSixteenBits) {
  const float inf = std::numeric_limits<float>::infinity();
  struct { float in; int16_t out; } cases[] = {
      {0.5f, 16384}, {-0.25f, -8192}, {1.0f, 32767}, {-1.0f, -32768}, {3e9f, 32767},
      {-1e30f, -32768}, {inf, 32767}, {-inf, -32768}, {std::nanf(""), 0},
  };
  std::vector<uint8_t> data;
  for (const auto& c : cases) {
    uint32_t bits;
    std::memcpy(&bits, &c.in, sizeof bits);
    WavBuilder::Put32(data, bits);
  }
  OpenedWav wav(WavBuilder().Riff().Chunk("fmt ", WavBuilder::Fmt(3, 1, 8000, 32)).Chunk("data", data).bytes);
  ASSERT_TRUE(wav.opened);
  auto pcm = wav.ReadAll();
  ASSERT_EQ(pcm.size(), 2 * std::size(cases));
  for (size_t i = 0; i < std::size(cases); ++i)
    EXPECT_EQ(int16_t(pcm[2 * i] | (pcm[2 * i + 1] << 8)), cases[i].out) << cases[i].in;
}

TEST(WavRead, ClosedOrExhaustedStreamDeliversNothing) {
  WavStream closed{};
  uint8_t buffer[16];
  uint32_t count = sizeof buffer;
  EXPECT_FALSE(WavRead(&closed, buffer, &count));
  EXPECT_EQ(count, 0u) << "the end delivers no bytes";
  OpenedWav wav(Stereo16File(8000, 2));
  count = sizeof buffer;
  ASSERT_TRUE(WavRead(&wav.stream, buffer, &count));
  EXPECT_EQ(count, 8u);
  EXPECT_FALSE(WavRead(&wav.stream, buffer, &count));
}

}  // namespace
