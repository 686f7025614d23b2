// The Ogg Vorbis, FLAC, WMA and FFmpeg input modules on files made by the encoders
// (tests/formats/make-playback-fixtures.sh): what they deliver against what
// the formats' own tools decode, which files they take, damaged files,
// names outside the ANSI code page, and positions after hours and seeks.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "formats/ffmpeg/media_module.h"
#include "formats/flac/flac_module.h"
#include "formats/ogg/ogg_module.h"
#include "formats/wma/wma_module.h"
#include "test_support.h"

namespace {

constexpr uint32_t kBuffer = 32768;  // what the output module asks for

struct Module {
  InputModule record{};
  explicit Module(int (*setUp)(InputModule*)) { EXPECT_TRUE(setUp(&record)); }
  ~Module() { record.Release(&record); }
  InputModule* operator->() { return &record; }
  InputModule* get() { return &record; }
};

int (*SetUpFor(const std::string& name))(InputModule*) {
  if (name.ends_with(".ogg")) return OggModuleSetUp;
  if (name.ends_with(".flac")) return FlacModuleSetUp;
  if (name.ends_with(".wma")) return WmaModuleSetUp;
  return MediaModuleSetUp;
}

std::wstring Fixture(const std::string& name) { return TestPath(TestFolder("TPWR_FIXTURES"), "playback") + L"\\" + std::wstring(name.begin(), name.end()); }

// Reads until the module says the stream has ended; fails the test if it
// never does.
std::vector<uint8_t> ReadToEnd(InputModule* module, uint32_t bufferSize = kBuffer) {
  std::vector<uint8_t> out, buffer(bufferSize);
  for (int calls = 0; calls < 200000; ++calls) {
    uint32_t count = bufferSize;
    int more = module->Read(module, buffer.data(), &count);
    EXPECT_LE(count, bufferSize);
    out.insert(out.end(), buffer.begin(), buffer.begin() + count);
    if (!more) return out;
  }
  ADD_FAILURE() << "the stream never ended";
  return out;
}

int16_t Sample(const std::vector<uint8_t>& pcm, size_t index) {
  return static_cast<int16_t>(pcm[2 * index] | (pcm[2 * index + 1] << 8));
}

// The first 16-bit sample (from `from`) that differs from the reference by more than tolerance, or -1.
long FirstDifference(const std::vector<uint8_t>& got, const std::vector<uint8_t>& want, int tolerance, size_t samples, size_t from = 0) {
  for (size_t i = from; i < samples; ++i)
    if (std::abs(Sample(got, i) - Sample(want, i)) > tolerance) return static_cast<long>(i);
  return -1;
}

struct PlayCase {
  const char* file;
  int tolerance;  // LSB: libvorbis and FFmpeg are built apart from the tools that made the reference
  uint32_t rate, stereo, bits16, length;
};

// Plays the file twice (whole output buffers, and an odd size that splits
// frames) and compares with what the format's own tool decoded.
void ExpectDecodes(Module& module, const PlayCase& c) {
  std::vector<uint8_t> want = ReadWholeFile(Fixture(std::string(c.file) + ".pcm"));
  ASSERT_FALSE(want.empty());
  for (uint32_t bufferSize : {kBuffer, 4099u}) {
    ASSERT_TRUE(module->Open(module.get(), nullptr, Fixture(c.file).c_str()));
    FormatRecord format{};
    module->GetFormat(module.get(), &format);
    EXPECT_EQ(format.sampleRate, c.rate);
    EXPECT_EQ(format.stereo, c.stereo);
    EXPECT_EQ(format.bits16, c.bits16);
    EXPECT_EQ(format.lengthSeconds, c.length);
    std::vector<uint8_t> got = ReadToEnd(module.get(), bufferSize);
    module->Close(module.get());
    ASSERT_EQ(got.size(), want.size()) << bufferSize;
    if (c.bits16) {
      EXPECT_EQ(FirstDifference(got, want, c.tolerance, got.size() / 2), -1) << bufferSize;
    } else {
      EXPECT_TRUE(got == want);
    }
  }
}

TEST(FormatModules, DeliverWhatTheFormatsOwnToolsDecode) {
  const PlayCase cases[] = {
      {"stereo.ogg", 1, 44100, 1, 1, 3},   {"mono.ogg", 1, 22050, 0, 1, 2},      {"short.ogg", 1, 44100, 1, 1, 0},
      {"surround.ogg", 1, 48000, 1, 1, 1}, {"id3.ogg", 1, 44100, 1, 1, 3},       {"stereo.flac", 0, 44100, 1, 1, 3},
      {"short.flac", 0, 44100, 1, 1, 0},   {"surround.flac", 0, 48000, 1, 1, 1}, {"s24.flac", 0, 44100, 1, 1, 1},
      {"mono8.flac", 0, 8000, 0, 0, 1},    {"stereo.wma", 1, 44100, 1, 1, 3},    {"mono.wma", 1, 22050, 0, 1, 2},
      {"voice.m4a", 1, 16000, 0, 1, 2},    {"stereo.m4a", 1, 44100, 1, 1, 3},    {"alac.m4a", 0, 44100, 1, 1, 3},
      {"surround.m4a", 1, 48000, 1, 1, 1}, {"voice.opus", 1, 48000, 0, 1, 2},   {"stereo.webm", 1, 48000, 1, 1, 3},
      {"stereo.aac", 1, 44100, 1, 1, 3},   {"long.mp4", 1, 44100, 1, 1, 20},
  };
  // One record per module for all its files, as the player keeps them: a
  // stereo file follows a mono one.
  std::map<int (*)(InputModule*), std::unique_ptr<Module>> modules;
  for (const PlayCase& c : cases) {
    SCOPED_TRACE(c.file);
    std::unique_ptr<Module>& kept = modules[SetUpFor(c.file)];
    if (!kept) kept = std::make_unique<Module>(SetUpFor(c.file));
    ExpectDecodes(*kept, c);
  }
}

// Files this machine's ffmpeg may have no encoder for (the fixture script
// says which it could not make).
TEST(FormatModules, AmrAndHeAacWhereTheyCouldBeMade) {
  const PlayCase cases[] = {{"voice.amr", 1, 8000, 0, 1, 2}, {"he.m4a", 1, 44100, 1, 1, 3}};
  int made = 0;
  for (const PlayCase& c : cases) {
    if (ReadWholeFile(Fixture(c.file)).empty()) continue;
    SCOPED_TRACE(c.file);
    ++made;
    Module module(MediaModuleSetUp);
    ExpectDecodes(module, c);
  }
  if (!made) GTEST_SKIP() << "this ffmpeg has no AMR and no HE-AAC encoder";
}

TEST(FormatModules, TestTakesWhatTheModuleCanPlay) {
  struct { const char* file; const char* as; int taken; } cases[] = {
      {"short.ogg", nullptr, 1},         {"chained.ogg", nullptr, 0},  // two songs one after the other
      {"short.flac", nullptr, 1},        {"stereo.flac", nullptr, 3},  // FLAC's verdict is its length
      {"stereo.wma", nullptr, 1},        {"stereo.flac", "x.ogg", 0},
      {"stereo.ogg", "x.flac", 0},       {"stereo.flac", "x.wma", 0},
      {"voice.m4a", nullptr, 1},         {"voice.opus", nullptr, 1},
      {"stereo.ogg", "x.opus", 0},  // Vorbis: the Ogg module's
      {"stereo.wma", "x.m4a", 0},   {"stereo.flac", "x.mka", 0},  {"noindex.m4a", nullptr, 0},
  };
  for (const auto& c : cases) {
    std::string name = c.as ? c.as : c.file;
    SCOPED_TRACE(name + " from " + c.file);
    if (c.as) {
      ASSERT_TRUE(WriteWholeFile(Fixture(c.as), ReadWholeFile(Fixture(c.file))));
    }
    Module module(SetUpFor(name));
    int verdict = module->Test(module.get(), nullptr, Fixture(name).c_str());
    EXPECT_EQ(c.taken > 1 ? verdict : verdict != 0, c.taken);
    EXPECT_EQ(module->Open(module.get(), nullptr, Fixture(name).c_str()) != 0, c.taken != 0);
    module->Close(module.get());
  }
}

TEST(FormatModules, NamesOutsideTheAnsiCodePage) {
  for (const char* file : {"stereo.ogg", "stereo.flac", "stereo.wma", "stereo.m4a", "stereo.webm"}) {
    SCOPED_TRACE(file);
    std::string extension = std::string(file).substr(6);
    std::wstring path = TestPath(TestFolder("TPWR_FIXTURES"), "playback") + L"\\\x0437\x0430\x043F\x0438\x0441\x044C \x9332\x97F3" +
                        std::wstring(extension.begin(), extension.end());
    ASSERT_TRUE(WriteWholeFile(path, ReadWholeFile(Fixture(file))));
    Module module(SetUpFor(file));
    EXPECT_TRUE(module->Test(module.get(), nullptr, path.c_str()));
    ASSERT_TRUE(module->Open(module.get(), nullptr, path.c_str()));
    EXPECT_EQ(ReadToEnd(module.get()).size(), ReadWholeFile(Fixture(std::string(file) + ".pcm")).size());
    module->Close(module.get());
    FileInfoBlock block{};
    CopyTextBounded(block.path, kMaxPathChars + 1, path.c_str());
    module->GetInfo(module.get(), &block);
    EXPECT_EQ(block.info.lengthSeconds, 3u);
  }
}

// The MP4 family's information comes from its boxes (the tag readers' test
// has the details), the others' from what FFmpeg's demuxers gathered.
TEST(FormatModules, PhoneRecordingsShowTheirInformation) {
  struct {
    const char* file;
    const wchar_t *codec, *title;
    uint32_t rate, length;
    uint16_t channels;
  } cases[] = {
      // (ffmpeg writes the template's two channels into a mono M4A's sample entry.)
      {"voice.m4a", L"M4A", L"Memo Title", 16000, 2, 1},   {"voice.opus", L"Opus", L"Voice Message", 48000, 2, 1},
      {"stereo.webm", L"Opus", L"", 48000, 3, 2},         {"long.mp4", L"M4A", L"", 44100, 20, 2},
      {"stereo.aac", L"AAC", L"", 44100, 3, 2},
  };
  Module module(MediaModuleSetUp);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    FileInfoBlock block{};
    CopyTextBounded(block.path, kMaxPathChars + 1, Fixture(c.file).c_str());
    module->GetInfo(module.get(), &block);
    EXPECT_STREQ(block.info.codecLabel, c.codec);
    EXPECT_STREQ(block.info.title, c.title);
    EXPECT_EQ(block.info.sampleRate, c.rate);
    EXPECT_EQ(block.info.lengthSeconds, c.length);
    EXPECT_EQ(block.info.channelMode, c.channels);
  }
  FileInfoBlock memo{};
  CopyTextBounded(memo.path, kMaxPathChars + 1, Fixture("voice.m4a").c_str());
  module->GetInfo(module.get(), &memo);
  EXPECT_STREQ(memo.info.artist, L"Speaker");
  EXPECT_STREQ(memo.info.album, L"Memos");
  EXPECT_EQ(memo.info.year, 2026);
  EXPECT_EQ(memo.info.track, 2);
  EXPECT_EQ(memo.info.trackTotal, 5);
}

// A file cut short, and one with a stretch of zeros, play what is intact
// before the damage and end; neither keeps the reader busy for ever. (An
// M4A whose index came after the cut is refused: TestTakesWhatTheModuleCanPlay.)
TEST(FormatModules, DamagedFilesPlayUpToTheDamageAndEnd) {
  for (const char* file : {"stereo.ogg", "stereo.flac", "stereo.wma", "stereo.m4a", "stereo.webm"}) {
    std::vector<uint8_t> whole = ReadWholeFile(Fixture(file));
    std::vector<uint8_t> want = ReadWholeFile(Fixture(std::string(file) + ".pcm"));
    std::vector<uint8_t> cut(whole.begin(), whole.begin() + whole.size() * 6 / 10);
    std::vector<uint8_t> holed = whole;
    for (size_t i = whole.size() * 4 / 10; i < whole.size() * 5 / 10; ++i) holed[i] = 0;
    for (const auto& damaged : {cut, holed}) {
      SCOPED_TRACE(std::string(file) + (damaged.size() < whole.size() ? " cut" : " holed"));
      std::string name = std::string("damaged") + (file + 6);
      ASSERT_TRUE(WriteWholeFile(Fixture(name), damaged));
      Module module(SetUpFor(name));
      ASSERT_TRUE(module->Open(module.get(), nullptr, Fixture(name).c_str()));
      std::vector<uint8_t> got = ReadToEnd(module.get());
      module->Close(module.get());
      ASSERT_GT(got.size(), want.size() / 3);
      EXPECT_LE(got.size(), want.size() + kBuffer);
      // (Ogg loses the whole page the damage begins in.)
      EXPECT_EQ(FirstDifference(got, want, 1, want.size() / 2 / 4), -1);
    }
  }
}

// Every sample of the file holds the number of its second: the position the
// module reports must be the second of the next sample it delivers, after
// three hours of reading as after any seek.
TEST(FormatModules, FlacPositionIsTheSoundsOwnSecondOverHours) {
  Module module(FlacModuleSetUp);
  ASSERT_TRUE(module->Open(module.get(), nullptr, Fixture("three-hours.flac").c_str()));
  FormatRecord format{};
  module->GetFormat(module.get(), &format);
  ASSERT_EQ(format.lengthSeconds, 10800u);
  std::vector<uint8_t> buffer(kBuffer);
  uint32_t reads = 0;
  for (;; ++reads) {
    uint32_t position = module->GetPosition(module.get());
    uint32_t count = kBuffer;
    int more = module->Read(module.get(), buffer.data(), &count);
    if (count) {
      ASSERT_EQ(uint32_t(Sample(buffer, 0)), position) << "after " << reads << " reads";
    }
    if (!more) break;
  }
  EXPECT_EQ(module->GetPosition(module.get()), 10800u);
  struct { uint32_t numerator, denominator, second; } seeks[] = {
      {1, 2, 5400}, {7201, 10800, 7201}, {0, 1, 0}, {10799, 10800, 10799}, {1, 1, 10800}, {1, 4, 2700},
  };
  for (const auto& s : seeks) {
    SCOPED_TRACE(s.second);
    EXPECT_TRUE(module->Seek(module.get(), s.numerator, s.denominator));
    EXPECT_EQ(module->GetPosition(module.get()), s.second);
    uint32_t count = kBuffer;
    module->Read(module.get(), buffer.data(), &count);
    ASSERT_EQ(count != 0, s.second < 10800);
    if (count) {
      EXPECT_EQ(uint32_t(Sample(buffer, 0)), s.second);
    }
  }
  module->Close(module.get());
}

// After a seek the sound starts within a tenth of a second of the point
// sought, settled as if it had played through, and the second the module
// reports turns over exactly where the sound says it should.
TEST(FormatModules, FfmpegSeeksLandWhereTheyWereSent) {
  for (const char* file : {"long.wma", "long.m4a", "long.webm", "long.mp4"}) {
    SCOPED_TRACE(file);
    std::vector<uint8_t> want = ReadWholeFile(Fixture(std::string(file) + ".pcm"));
    Module module(SetUpFor(file));
    ASSERT_TRUE(module->Open(module.get(), nullptr, Fixture(file).c_str()));
    FormatRecord format{};
    module->GetFormat(module.get(), &format);
    ASSERT_EQ(format.lengthSeconds, 20u);
    const long rate = long(format.sampleRate);
    std::vector<uint8_t> buffer(kBuffer);
    uint32_t count = kBuffer;
    ASSERT_TRUE(module->Read(module.get(), buffer.data(), &count));
    for (uint32_t numerator : {50u, 5u, 0u, 73u}) {
      SCOPED_TRACE(numerator);
      ASSERT_TRUE(module->Seek(module.get(), numerator, 100));
      uint32_t reached = module->GetPosition(module.get());
      EXPECT_LE(reached, 20 * numerator / 100);
      EXPECT_GE(reached + 1, 20 * numerator / 100);
      // Small reads until the reported second turns over: there the sound is
      // at a whole second, to within one read and the millisecond of the
      // packets' time stamps.
      std::vector<uint8_t> played;
      long frames = 0;
      while (module->GetPosition(module.get()) == reached) {
        count = 256;
        ASSERT_TRUE(module->Read(module.get(), buffer.data(), &count));
        played.insert(played.end(), buffer.begin(), buffer.begin() + count);
        frames += long(count / 4);
      }
      long startFrame = long(reached + 1) * rate - frames;
      count = kBuffer;
      ASSERT_TRUE(module->Read(module.get(), buffer.data(), &count));
      played.insert(played.end(), buffer.begin(), buffer.begin() + count);
      // The decoder's first frames after a flush lack their overlap; compare after them.
      size_t from = 4096;
      long best = -1;
      for (long frame = startFrame < 128 ? 0 : startFrame - 128; frame <= startFrame + 128; ++frame) {
        std::vector<uint8_t> reference(want.begin() + frame * 4, want.begin() + frame * 4 + long(played.size()));
        if (FirstDifference(played, reference, 1, played.size() / 2, 2 * from) == -1) best = frame;
      }
      EXPECT_NE(best, -1) << "the sound after the seek is not the sound at " << startFrame;
      // The decoder runs in from before the point and leaves out what lies before it.
      EXPECT_LE(std::abs(best - rate * 20 * long(numerator) / 100), rate / 10);
    }
    module->Close(module.get());
  }
}

}  // namespace
