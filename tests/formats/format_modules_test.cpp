// The Ogg Vorbis, FLAC and WMA input modules on files made by the encoders
// (tests/formats/make-playback-fixtures.sh): what they deliver against what
// the formats' own tools decode, which files they take, damaged files,
// names outside the ANSI code page, and positions after hours and seeks.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formats/flac/flac_module.h"
#include "formats/ogg/ogg_module.h"
#include "formats/wma/wma_module.h"
#include "module_test_support.h"

namespace {

int (*SetUpFor(const std::string& name))(InputModule*) {
  if (name.ends_with(".ogg")) return OggModuleSetUp;
  if (name.ends_with(".flac")) return FlacModuleSetUp;
  return WmaModuleSetUp;
}

TEST(FormatModules, DeliverWhatTheFormatsOwnToolsDecode) {
  const PlayCase cases[] = {
      {"stereo.ogg", 1, 44100, 1, 1, 3},   {"mono.ogg", 1, 22050, 0, 1, 2},      {"short.ogg", 1, 44100, 1, 1, 0},
      {"surround.ogg", 1, 48000, 1, 1, 1}, {"id3.ogg", 1, 44100, 1, 1, 3},       {"stereo.flac", 0, 44100, 1, 1, 3},
      {"short.flac", 0, 44100, 1, 1, 0},   {"surround.flac", 0, 48000, 1, 1, 1}, {"s24.flac", 0, 44100, 1, 1, 1},
      {"mono8.flac", 0, 8000, 0, 0, 1},    {"stereo.wma", 1, 44100, 1, 1, 3},    {"mono.wma", 1, 22050, 0, 1, 2},
  };
  for (const PlayCase& c : cases) {
    SCOPED_TRACE(c.file);
    Module module(SetUpFor(c.file));
    ExpectDecodes(module, c);
  }
}

TEST(FormatModules, TestTakesWhatTheModuleCanPlay) {
  struct { const char* file; const char* as; int taken; } cases[] = {
      {"short.ogg", nullptr, 1},         {"chained.ogg", nullptr, 0},  // two songs one after the other
      {"short.flac", nullptr, 1},        {"stereo.flac", nullptr, 3},  // FLAC's verdict is its length
      {"stereo.wma", nullptr, 1},        {"stereo.flac", "x.ogg", 0},
      {"stereo.ogg", "x.flac", 0},       {"stereo.flac", "x.wma", 0},
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
  for (const char* file : {"stereo.ogg", "stereo.flac", "stereo.wma"}) ExpectPlaysUnderAWideName(file, SetUpFor(file));
}

// A file cut short, and one with a stretch of zeros, play what is intact
// before the damage and end; neither keeps the reader busy for ever.
TEST(FormatModules, DamagedFilesPlayUpToTheDamageAndEnd) {
  for (const char* file : {"stereo.ogg", "stereo.flac", "stereo.wma"}) ExpectDamagePlaysUpToItAndEnds(file, SetUpFor(file));
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

TEST(FormatModules, WmaSeeksLandWhereTheyWereSent) { ExpectSeeksLandWhereSent("long.wma", WmaModuleSetUp); }

}  // namespace
