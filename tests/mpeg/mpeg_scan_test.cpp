// Finding the stream without a decoder: the ID3v2 skip with its padding
// rules, the first-frame analysis with the Xing header, the three-header
// scan and the totals that Test decides on.
#include <gtest/gtest.h>

#include <tuple>

#include "formats/mpeg/mpeg_reader.h"
#include "formats/mpeg/mpeg_scan.h"
#include "mpeg_test_builders.h"

namespace {

// One row per way the fields are reckoned: MPEG-1 Layer III with padding,
// Layer I, the half-rate tables, MPEG 2.5, and free format (no length).
TEST(MpegFirstFrame, HeaderFieldsOfEachVersionAndLayer) {
  struct {
    const char* what;
    Bytes header;
    uint32_t version, layerCode, bitRate, sampleRate, mode, frameLength, samples;
  } cases[] = {
      {"MPEG-1 III 128k 44.1k padded", {0xFF, 0xFB, 0x92, 0x44}, 3, 1, 128000, 44100, 1, 418, 1152},
      {"MPEG-1 I 448k 44.1k", {0xFF, 0xFF, 0xE0, 0x80}, 3, 3, 448000, 44100, 2, 484, 384},
      {"MPEG-2 II 160k 16k", {0xFF, 0xF5, 0xE8, 0x00}, 2, 2, 160000, 16000, 0, 1440, 1152},
      {"MPEG-2.5 III 16k 8k", {0xFF, 0xE3, 0x28, 0xC0}, 0, 1, 16000, 8000, 3, 144, 576},
      {"free format", {0xFF, 0xFB, 0x00, 0x00}, 3, 1, 0, 44100, 0, 0, 1152},
  };
  for (const auto& c : cases) {
    Bytes bytes = Join(c.header, Bytes(100, 0));
    MpegFirstFrame f;
    ASSERT_TRUE(MpegAnalyseFirstFrame(bytes.data(), static_cast<uint32_t>(bytes.size()), 100000, &f)) << c.what;
    EXPECT_EQ(std::tuple(f.version, f.layerCode, f.bitRate, f.sampleRate, f.channelMode, f.frameLength, f.samplesPerFrame),
              std::tuple(c.version, c.layerCode, c.bitRate, c.sampleRate, c.mode, c.frameLength, c.samples))
        << c.what;
    EXPECT_EQ(f.lengthSeconds, c.bitRate ? (100000u * 8 + c.bitRate / 2) / c.bitRate : 0u) << c.what;
  }
}

TEST(MpegFirstFrame, RefusedHeaders) {
  struct { const char* what; Bytes bytes; } cases[] = {
      {"reserved version", {0xFF, 0xEB, 0x90, 0x00, 0}},
      {"layer 0", {0xFF, 0xF9, 0x90, 0x00, 0}},
      {"bit-rate index 15", {0xFF, 0xFB, 0xF0, 0x00, 0}},
      {"sample-rate index 3", {0xFF, 0xFB, 0x9C, 0x00, 0}},
      {"11-bit sync missing", {0xFF, 0xC3, 0x90, 0x00, 0}},
      {"four bytes only", {0xFF, 0xFB, 0x90, 0x00}},
  };
  for (const auto& c : cases) {
    MpegFirstFrame frame;
    EXPECT_FALSE(MpegAnalyseFirstFrame(c.bytes.data(), static_cast<uint32_t>(c.bytes.size()), 1000, &frame)) << c.what;
  }
}

TEST(MpegFirstFrame, XingHeaderAtEachOffsetGivesTheAverageRateAndLength) {
  struct {
    const char* what;
    FrameKind kind;
    uint32_t offset;
    uint32_t frames, bytes;
    uint32_t average;
  } cases[] = {
      // 1000 frames of 24 ms in 384 000 bytes: 128 kbit/s for 24 s.
      {"MPEG-1 stereo", kMpeg1L3Stereo, 36, 1000, 384000, 128000},
      {"MPEG-1 mono", kMpeg1L3Mono, 21, 1000, 384000, 128000},
      // 576 samples at 24 kHz per frame: 1000 frames are 24 s in 192 000 bytes.
      {"MPEG-2 mono", kMpeg2L3Mono, 13, 1000, 192000, 64000},
      // The average is kept in whole kbit/s: 127 999.x becomes 127 000.
      {"rounded down", kMpeg1L3Stereo, 36, 1000, 383999, 127000},
      // The length is the frames' time, not the bytes over the average.
      {"few bytes", kMpeg1L3Stereo, 36, 1000, 1500, 0},
  };
  for (const auto& c : cases) {
    Bytes frame = XingFrame(c.kind, c.offset, c.frames, c.bytes);
    MpegFirstFrame f;
    ASSERT_TRUE(MpegAnalyseFirstFrame(frame.data(), static_cast<uint32_t>(frame.size()), c.bytes, &f)) << c.what;
    EXPECT_EQ(std::tuple(f.xing.present, f.xing.frames, f.xing.bytes, f.averageBitRate, f.lengthSeconds),
              std::tuple(1u, c.frames, c.bytes, c.average, 24u))
        << c.what;
  }
}

TEST(MpegFirstFrame, XingFieldsAreReadOnlyAsFarAsTheBytesReach) {
  Bytes frame = XingFrame(kMpeg1L3Stereo, 36, 500, 192000);
  struct { uint32_t count; uint32_t flags; uint32_t frames; } cases[] = {
      {44, 0x0, 0}, {48, 0x1, 500}, {52, 0x3, 500}, {151, 0x3, 500}, {152, 0x7, 500},
  };
  for (const auto& c : cases) {
    MpegFirstFrame info;
    ASSERT_TRUE(MpegAnalyseFirstFrame(frame.data(), c.count, 192000, &info));
    EXPECT_EQ(info.xing.flags, c.flags) << c.count;
    EXPECT_EQ(info.xing.frames, c.frames) << c.count;
  }
  // Without a byte count the audio size stands in; a tiny audio size hides the header.
  Bytes framesOnly = XingFrame(kMpeg1L3Stereo, 36, 1000, 0, 0x1);
  MpegFirstFrame info;
  MpegAnalyseFirstFrame(framesOnly.data(), static_cast<uint32_t>(framesOnly.size()), 384000, &info);
  EXPECT_EQ(info.averageBitRate, 128000u);
  MpegAnalyseFirstFrame(framesOnly.data(), static_cast<uint32_t>(framesOnly.size()), 43, &info);
  EXPECT_FALSE(info.xing.present);
  EXPECT_EQ(info.lengthSeconds, 0u) << "less than one frame of audio has no length";
}

struct ScanCase {
  const char* what;
  Bytes file;
  bool accepted;
  uint32_t dataStart;
  uint32_t frameBytes;
  uint32_t frameTotal;
  bool consistent;
};

Bytes TagWithPadding(uint32_t padding) {
  TagOptions options;
  options.padding = padding;
  return Id3v2(3, {{"TIT2", {0, 'x'}}}, options);
}

TEST(MpegScan, LocatesTheStreamAndCountsItsFrames) {
  Bytes tag = TagWithPadding(3000);
  Bytes garbage(5000, 0x20);
  TagOptions huge;
  huge.sizeOverride = 0x0FFFFFFF;
  Bytes liar = Join(Id3v2(3, {{"TIT2", {0, 'x'}}}, huge), Frames(kMpeg1L3Stereo, 50));
  Bytes alternating;
  for (int i = 0; i < 200; ++i) alternating = Join(alternating, Frame(i % 2 ? kMpeg1L3Mono : kMpeg1L3Stereo));
  ScanCase cases[] = {
      {"plain stream", Frames(kMpeg1L3Stereo, 250), true, 0, 384, 250, true},
      {"tag, zeros behind it, a lone FF 00 00 00, zeros", Join(Join(tag, Join(Bytes(7000, 0), Join({0xFF, 0, 0, 0}, Bytes(900, 0)))),
                                                               Frames(kMpeg1L3Stereo, 100)),
       true, uint32_t(tag.size() + 7904), 384, 100, true},
      {"tag, then text up to the first FF", Join(Join(tag, Ascii("junk")), Frames(kMpeg1L3Stereo, 100)), true,
       uint32_t(tag.size() + 4), 384, 100, true},
      {"ID3v1 at the end is not audio", Join(Frames(kMpeg1L3Stereo, 100), Id3v1("t", "a", "b", "", "", 1, 1)), true, 0,
       384, 100, true},
      {"garbage in front", Join(garbage, Frames(kMpeg1L3Stereo, 100)), true, 0, 384, 113, true},
      {"Layer I never passes, but plays", Frames(kMpeg1L1, 2000), true, 0, 128, 2000, false},
      {"text", Ascii(std::string(20000, 'a')), false, 0, 0, 0, false},
      {"empty", Bytes{}, false, 0, 0, 0, false},
      {"tag only", tag, false, uint32_t(tag.size()), 0, 0, false},
      {"tag larger than the file", liar, false, uint32_t(liar.size()), 0, 0, false},
      {"mode changes: never three in a row, still counted", alternating, true, 0, 384, 200, false},
  };
  for (const ScanCase& c : cases) {
    MemoryFile file(c.file);
    MpegStreamFacts f;
    ASSERT_EQ(MpegAnalyseStream(&file.source, &f) != 0, c.accepted) << c.what;
    EXPECT_EQ(std::tuple(f.layout.dataStart, f.frameBytes, f.frameTotal, f.consistent != 0),
              std::tuple(c.dataStart, c.frameBytes, c.frameTotal, c.consistent))
        << c.what;
  }
}

// The information frame is no sound. Behind it, LAME's extension (when its
// CRC holds, or LAME or FFmpeg named themselves) records the samples the
// encoder put before and after the sound; with the synthesis delay they are
// left out. 150 frames of 1152 samples follow it.
TEST(MpegScan, InformationFrameAndLameDelayAndPadding) {
  struct {
    const char* what;
    const char* tag;  // Xing or Info
    const char* encoder;
    bool rightCrc;
    uint32_t delay, padding;
    uint32_t skip;    // 0: nothing recorded
    uint64_t sound;   // samples per channel
    bool trimmed;
  } cases[] = {
      {"LAME", "Xing", "LAME3.100", true, 576, 1000, 1105, 172800 - 1576, true},
      {"LAME, constant bit rate", "Info", "LAME3.100", true, 576, 1000, 1105, 172800 - 1576, true},
      {"FFmpeg, CRC wrong", "Info", "Lavc59.37", false, 1105, 3000, 1634, 172800 - 4105, true},
      {"another encoder, CRC right", "Xing", "Other1.0", true, 100, 200, 629, 172800 - 300, true},
      {"another encoder, CRC wrong", "Xing", "Other1.0", false, 576, 1000, 0, 172800, false},
      {"no extension", "Xing", "", false, 0, 0, 0, 172800, false},
  };
  for (const auto& c : cases) {
    Bytes first = XingFrame(kMpeg1L3Stereo, 36, 150, 151 * 384);
    std::copy(c.tag, c.tag + 4, first.begin() + 36);
    if (*c.encoder) PutLameExtension(&first, 36 + 8 + 4 + 4 + 100, c.encoder, c.delay, c.padding, c.rightCrc);
    MemoryFile file(Join(first, Frames(kMpeg1L3Stereo, 150)));
    MpegStreamFacts facts;
    ASSERT_TRUE(MpegAnalyseStream(&file.source, &facts)) << c.what;
    EXPECT_EQ(facts.audioStart, 384u) << c.what;
    EXPECT_EQ(facts.frameTotal, 150u) << c.what;
    EXPECT_EQ(facts.variableBitRate != 0, c.tag[0] == 'X') << c.what;
    EXPECT_EQ(facts.skipSamples, c.skip) << c.what;
    EXPECT_EQ(facts.soundSamples, c.sound) << c.what;
    EXPECT_EQ(facts.trimmed != 0, c.trimmed) << c.what;
    EXPECT_EQ(facts.lengthSeconds, uint32_t((c.sound + 24000) / 48000)) << c.what;
  }
  // Delay and padding longer than the frames: not believed, nothing is left out.
  Bytes first = XingFrame(kMpeg1L3Stereo, 36, 2, 3 * 384);
  PutLameExtension(&first, 152, "LAME3.100", 2000, 1000);
  MemoryFile file(Join(first, Frames(kMpeg1L3Stereo, 2)));
  MpegStreamFacts facts;
  ASSERT_TRUE(MpegAnalyseStream(&file.source, &facts));
  EXPECT_FALSE(facts.trimmed);
  EXPECT_EQ(facts.skipSamples, 0u);
  EXPECT_EQ(facts.soundSamples, 2304u);
}

// A source that claims a size and reads nothing.
uint32_t NoRead(void*, void*, uint32_t) { return 0; }
int AnySeek(void*, uint64_t) { return 1; }
uint64_t AtZero(void*) { return 0; }
uint64_t TwoGiB(void*) { return 0x80000000u; }
void NoClose(void*) {}

TEST(MpegScan, FilesOfTwoGiBAreRefused) {
  int dummy = 0;
  ByteSource large = {&dummy, NoRead, AnySeek, AtZero, TwoGiB, NoClose};
  MpegStreamFacts facts;
  EXPECT_FALSE(MpegAnalyseStream(&large, &facts));
  EXPECT_FALSE(MpegTestSource(&large));
}

TEST(MpegScan, ResyncFindsTheNextSyncAcrossBlocks) {
  Bytes bytes(5000, 0x11);
  bytes[1440] = 0xFF;  // the last byte of the first block; its partner begins the next
  bytes[1441] = 0xE2;
  MemoryFile file(bytes);
  uint32_t offset = 0;
  ASSERT_TRUE(MpegResync(&file.source, 0, 5000, &offset));
  EXPECT_EQ(offset, 1440u);
  EXPECT_FALSE(MpegResync(&file.source, 1441, 5000, &offset));
  EXPECT_FALSE(MpegResync(&file.source, 0, 1441, &offset)) << "the partner lies beyond the end";
}

TEST(MpegTest, VerdictIsTheLengthPlusOneAndMonoIsNotCountedTwice) {
  struct { const char* what; Bytes file; int verdict; } cases[] = {
      // 250 frames of 1152 samples at 48 kHz: 6 s, whatever the channels.
      {"stereo", Frames(kMpeg1L3Stereo, 250), 7},
      {"mono", Frames(kMpeg1L3Mono, 250), 7},
      {"21 frames: 0.504 s", Frames(kMpeg1L3Stereo, 21), 2},
      // Shorter files are accepted with a length of 0 s.
      {"20 frames: 0.48 s", Frames(kMpeg1L3Stereo, 20), 1},
      {"Layer I, 54 frames: 0.432 s", Frames(kMpeg1L1, 54), 1},
  };
  for (const auto& c : cases) {
    MemoryFile file(c.file);
    EXPECT_EQ(MpegTestSource(&file.source), c.verdict) << c.what;
  }
}

TEST(MpegTest, FramesToSecondsRoundsWithoutDrift) {
  EXPECT_EQ(MpegFramesToSeconds(19, 1152, 44100), 0u);         // 0.496 s
  EXPECT_EQ(MpegFramesToSeconds(138000, 1152, 44100), 3605u);  // an hour: no drift from whole milliseconds
}

}  // namespace
