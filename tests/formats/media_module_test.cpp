// The input module for phone and web recordings on files made by ffmpeg
// (tests/formats/make-playback-fixtures.sh): what it delivers against
// ffmpeg's own decode, which files it takes, their information, damaged
// files and seeks. (Wide names take the WMA module's path through the same
// demuxer opening: test_format_modules.) Runs under Wine against the program's FFmpeg
// build and on the host, under the sanitizers, against the system's.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formats/ffmpeg/media_module.h"
#include "module_test_support.h"

namespace {

TEST(MediaModule, DeliversWhatFfmpegDecodes) {
  const PlayCase cases[] = {
      {"voice.m4a", 1, 16000, 0, 1, 2},    {"stereo.m4a", 1, 44100, 1, 1, 3},    {"alac.m4a", 0, 44100, 1, 1, 3},
      {"surround.m4a", 1, 48000, 1, 1, 1}, {"voice.opus", 1, 48000, 0, 1, 2},   {"stereo.webm", 1, 48000, 1, 1, 3},
      {"stereo.aac", 1, 44100, 1, 1, 3},   {"long.mp4", 1, 44100, 1, 1, 20},
  };
  // One record for every file, as the player keeps it: a stereo file
  // follows a mono one.
  Module module(MediaModuleSetUp);
  for (const PlayCase& c : cases) {
    SCOPED_TRACE(c.file);
    ExpectDecodes(module, c);
  }
}

// Files this machine's ffmpeg may have no encoder for (the fixture script
// says which it could not make).
TEST(MediaModule, AmrAndHeAacWhereTheyCouldBeMade) {
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

// Only its demuxers and codecs: Vorbis in Ogg, WMA in ASF and FLAC are other
// modules' even under its names; an M4A whose index lay behind the cut is refused.
TEST(MediaModule, TakesItsFormatsOnly) {
  struct { const char* file; const char* as; int taken; } cases[] = {
      {"voice.m4a", nullptr, 1},   {"voice.opus", nullptr, 1},   {"stereo.aac", nullptr, 1},
      {"stereo.ogg", "x.opus", 0}, {"stereo.wma", "x.m4a", 0},   {"stereo.flac", "x.mka", 0},
      {"noindex.m4a", nullptr, 0},
  };
  Module module(MediaModuleSetUp);
  for (const auto& c : cases) {
    std::string name = c.as ? c.as : c.file;
    SCOPED_TRACE(name + " from " + c.file);
    if (c.as) {
      ASSERT_TRUE(WriteWholeFile(Fixture(c.as), ReadWholeFile(Fixture(c.file))));
    }
    EXPECT_EQ(module->Test(module.get(), nullptr, Fixture(name).c_str()) != 0, c.taken != 0);
    EXPECT_EQ(module->Open(module.get(), nullptr, Fixture(name).c_str()) != 0, c.taken != 0);
    module->Close(module.get());
  }
}

// The MP4 family's information comes from its boxes (the tag readers' test
// has the details) with the channels and rate the decoder sees, the others'
// from what FFmpeg's demuxers gathered.
TEST(MediaModule, ShowsTheRecordingsInformation) {
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
}

TEST(MediaModule, DamagedFilesPlayUpToTheDamageAndEnd) {
  for (const char* file : {"stereo.m4a", "stereo.webm"}) ExpectDamagePlaysUpToItAndEnds(file, MediaModuleSetUp);
}

TEST(MediaModule, SeeksLandWhereTheyWereSent) {
  for (const char* file : {"long.m4a", "long.webm", "long.mp4"}) ExpectSeeksLandWhereSent(file, MediaModuleSetUp);
}

}  // namespace
