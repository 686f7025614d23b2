// WAV files written by sox: the reader must deliver exactly the samples sox
// says they hold (16-bit, first two channels, where the file is wider).
#include <gtest/gtest.h>

#include "formats/wav/wav_reader.h"
#include "test_support.h"

namespace {

struct FileCase {
  const char* name;
  uint32_t rate, stereo, bits16, lengthSeconds;
};

const FileCase kFiles[] = {
    {"mono8", 8000, 0, 0, 1},      {"stereo8", 11025, 1, 0, 0},   {"mono16", 22050, 0, 1, 0},
    {"stereo16", 44100, 1, 1, 2},  {"s24", 44100, 1, 1, 2},       {"s32", 44100, 1, 1, 2},
    {"f32", 44100, 1, 1, 2},       {"s24ext", 44100, 1, 1, 2},    {"f64mono", 22050, 0, 1, 0},
    {"quad24ext", 48000, 1, 1, 1},
};

std::vector<uint8_t> DecodeFile(const std::wstring& path, uint32_t bufferSize, WavStream* stream) {
  std::vector<uint8_t> out, buffer(bufferSize);
  ByteSource source{};
  if (!ByteSourceOpenFile(&source, path.c_str()) || !WavOpen(stream, &source)) return out;
  uint32_t count = bufferSize;
  while (WavRead(stream, buffer.data(), &count)) {
    out.insert(out.end(), buffer.begin(), buffer.begin() + count);
    count = bufferSize;
  }
  return out;
}

TEST(WavFiles, DeliverExactlyTheStoredSamples) {
  std::wstring folder = TestFolder("TPWR_FIXTURES");
  ASSERT_FALSE(folder.empty()) << "TPWR_FIXTURES is not set";
  folder = TestPath(folder, "wav");
  for (const auto& file : kFiles) {
    auto expected = ReadWholeFile(TestPath(folder, std::string(file.name) + ".pcm"));
    ASSERT_FALSE(expected.empty()) << file.name;
    // Whole buffers, an odd size, and less than a converted pass.
    for (uint32_t bufferSize : {32768u, 4099u, 6u}) {
      WavStream stream{};
      auto pcm = DecodeFile(TestPath(folder, std::string(file.name) + ".wav"), bufferSize, &stream);
      EXPECT_EQ(stream.format.sampleRate, file.rate) << file.name;
      EXPECT_EQ(stream.format.stereo, file.stereo) << file.name;
      EXPECT_EQ(stream.format.bits16, file.bits16) << file.name;
      EXPECT_EQ(stream.format.lengthSeconds, file.lengthSeconds) << file.name;
      ASSERT_EQ(pcm.size(), expected.size()) << file.name << " buffer " << bufferSize;
      EXPECT_TRUE(pcm == expected) << file.name << " buffer " << bufferSize;
      WavClose(&stream);
    }
  }
}

TEST(WavFiles, MissingFileDoesNotOpen) {
  WavStream stream{};
  std::wstring folder = TestFolder("TPWR_FIXTURES");
  EXPECT_TRUE(DecodeFile(TestPath(folder, "no-such-file.wav"), 4096, &stream).empty());
  EXPECT_FALSE(ByteSourceIsOpen(&stream.source));
}

}  // namespace
