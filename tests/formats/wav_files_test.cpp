// WAV files written by sox: the reader must deliver exactly the samples sox
// says they hold (16-bit, first two channels, where the file is wider); and a
// file that grows while it plays.
#include <gtest/gtest.h>

#include <cstdio>

#include "formats/wav/wav_reader.h"
#include "test_support.h"
#include "wav_builder.h"

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

bool AppendToFile(const std::wstring& path, const std::vector<uint8_t>& bytes) {
#ifdef _WIN32
  FILE* file = _wfopen(path.c_str(), L"ab");
#else
  FILE* file = fopen(std::string(path.begin(), path.end()).c_str(), "ab");
#endif
  if (!file) return false;
  bool ok = fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return fclose(file) == 0 && ok;
}

// A recorder still writing: the header's data size is 0, and the file grows
// while it plays. Each time Read meets the end it knows, it measures the
// file again and plays on, whole frames only.
TEST(WavFiles, GrowingFilePlaysToItsCurrentEnd) {
  std::wstring folder = TestFolder("TPWR_FIXTURES");
  ASSERT_FALSE(folder.empty()) << "TPWR_FIXTURES is not set";
  std::wstring path = TestPath(TestPath(folder, "wav"), "growing-scratch.wav");
  auto sound = WavBuilder::Counting16(2 * 1600);  // 1600 stereo frames
  auto header = WavBuilder().Riff().Chunk("fmt ", WavBuilder::Fmt(1, 2, 8000, 16)).Chunk("data", {}, 0).bytes;
  auto part = [&](size_t from, size_t to) { return std::vector<uint8_t>(sound.begin() + long(from), sound.begin() + long(to)); };
  auto first = header;
  first.insert(first.end(), sound.begin(), sound.begin() + 4000);  // 1000 frames
  ASSERT_TRUE(WriteWholeFile(path, first));

  WavStream stream{};
  ByteSource source{};
  ASSERT_TRUE(ByteSourceOpenFile(&source, path.c_str()));
  ASSERT_TRUE(WavOpen(&stream, &source));
  std::vector<uint8_t> played, buffer(4096);
  auto readToEnd = [&] {
    uint32_t count = 4096;
    while (WavRead(&stream, buffer.data(), &count)) {
      played.insert(played.end(), buffer.begin(), buffer.begin() + count);
      count = 4096;
    }
  };
  uint32_t count = 1600;
  ASSERT_TRUE(WavRead(&stream, buffer.data(), &count));
  played.assign(buffer.begin(), buffer.begin() + count);
  ASSERT_TRUE(AppendToFile(path, part(4000, 6002)));  // 500 frames and half of one
  readToEnd();
  EXPECT_TRUE(played == part(0, 6000)) << played.size() << " bytes played of 6000";
  ASSERT_TRUE(AppendToFile(path, part(6002, 6400)));  // the rest of that frame and 99 more
  readToEnd();
  EXPECT_TRUE(played == part(0, 6400)) << played.size() << " bytes played of 6400";
  WavClose(&stream);
}

TEST(WavFiles, MissingFileDoesNotOpen) {
  WavStream stream{};
  std::wstring folder = TestFolder("TPWR_FIXTURES");
  EXPECT_TRUE(DecodeFile(TestPath(folder, "no-such-file.wav"), 4096, &stream).empty());
  EXPECT_FALSE(ByteSourceIsOpen(&stream.source));
}

}  // namespace
