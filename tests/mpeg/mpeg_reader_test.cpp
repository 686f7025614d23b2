// Reading generated MPEG files: the PCM that Read delivers against mpg123's,
// sample for sample, positions of mono and stereo streams, seeking to the
// sample, resynchronisation after garbage, a truncated last frame, and the
// module's Test, Open and GetInfo on real files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>

#include "formats/mpeg/mpeg_file_info.h"
#include "formats/mpeg/mpeg_module.h"
#include "formats/mpeg/mpeg_reader.h"
#include "mpeg_decode_helpers.h"
#include "mpeg_test_builders.h"

namespace {

std::wstring FixturePath(const std::string& name) {
  return TestPath(TestPath(TestFolder("TPWR_FIXTURES"), "mpeg-reader"), name);
}

Bytes Fixture(const std::string& name) {
  Bytes bytes = ReadWholeFile(FixturePath(name));
  EXPECT_FALSE(bytes.empty()) << name;
  return bytes;
}

// A stream opened on bytes in memory.
struct Opened {
  Bytes bytes;
  MemorySource memory{};
  std::unique_ptr<MpegStream> stream = std::make_unique<MpegStream>();
  bool ok = false;
  explicit Opened(Bytes data) : bytes(std::move(data)) {
    ByteSource source{};
    ByteSourceOpenMemory(&source, &memory, bytes.data(), bytes.size());
    ok = MpegOpen(stream.get(), &source) != 0;
  }
  ~Opened() { MpegRelease(stream.get()); }
};

Bytes ReadAll(MpegStream* stream, uint32_t chunk = 20000) {
  Bytes pcm;
  Bytes buffer(chunk);
  for (int calls = 0; calls < 100000; ++calls) {
    uint32_t count = chunk;
    int more = MpegRead(stream, buffer.data(), &count);
    pcm.insert(pcm.end(), buffer.begin(), buffer.begin() + count);
    if (!more) break;
  }
  return pcm;
}

int16_t Sample(const Bytes& pcm, size_t index) {
  return static_cast<int16_t>(pcm[2 * index] | (pcm[2 * index + 1] << 8));
}

// RMS of the difference in LSB over the common length, b shifted by skip samples.
double RmsDifference(const Bytes& a, const Bytes& b, size_t skip) {
  size_t samples = std::min(a.size() / 2 - skip, b.size() / 2);
  double sum = 0;
  for (size_t i = 0; i < samples; ++i) sum += std::pow(Sample(b, i) - Sample(a, i + skip), 2);
  return samples ? std::sqrt(sum / double(samples)) : 1e9;
}

struct FileCase {
  const char* name;
  uint32_t sampleRate;
  uint32_t stereo;
  uint32_t bitRate;      // kbit/s of the scanned frame; 0: variable
  uint16_t channelMode;  // as the file information shows it
};
const FileCase kFiles[] = {
    {"cbr.mp3", 44100, 1, 128, 3},         {"mono.mp3", 44100, 0, 64, 1},        {"mpeg25.mp3", 8000, 0, 16, 1},
    {"layer2.mp2", 44100, 1, 192, 2},      {"speech.mp3", 22050, 0, 32, 1},      {"vbr.mp3", 44100, 1, 0, 3},
    {"lame.mp3", 44100, 1, 128, 3},        {"vbr-nolame.mp3", 44100, 1, 0, 3},   {"blip.mp3", 44100, 1, 128, 3},
    {"speech8k-32.mp3", 8000, 0, 32, 1},   {"speech8k-40.mp3", 8000, 0, 40, 1},  {"speech8k-64.mp3", 8000, 0, 64, 1},
    {"layer2-16k.mp2", 16000, 1, 96, 2},   {"layer2-22k-joint.mp2", 22050, 1, 96, 3}, {"layer2-24k-mono.mp2", 24000, 0, 48, 1},
};

// Frames whose PCM differs from mpg123's beyond rounding, for the message.
std::string DifferingFrames(const Bytes& pcm, const Bytes& reference, size_t frameValues) {
  std::string frames;
  for (size_t f = 0; (f + 1) * frameValues * 2 <= std::min(pcm.size(), reference.size()); ++f) {
    double error = 0;
    for (size_t i = f * frameValues; i < (f + 1) * frameValues; ++i) error += std::pow(Sample(pcm, i) - Sample(reference, i), 2);
    if (error > 16.0 * frameValues) {
      frames += ' ';
      frames += std::to_string(f);
    }
  }
  return frames;
}

// Format, file information, PCM and positions of each kind of file. The PCM
// is mpg123's, sample for sample: the information frame and what LAME
// recorded as delay and padding are left out, so a time here is a time
// there. Length and positions are the time of the sound, mono or not.
TEST(MpegReader, EachKindOfFileSoundsAsMpg123) {
  for (const FileCase& c : kFiles) {
    std::string name = c.name;
    Bytes file = Fixture(name);
    Opened opened(file);
    ASSERT_TRUE(opened.ok) << name;
    MpegStream* stream = opened.stream.get();
    const FormatRecord& format = stream->format;
    EXPECT_EQ(format.sampleRate, c.sampleRate) << name;
    EXPECT_EQ(format.stereo, c.stereo) << name;
    EXPECT_EQ(format.bits16, 1u) << name;
    EXPECT_TRUE(c.bitRate == 0 || format.bitRate == c.bitRate) << name;
    MemoryFile memory(file);
    FileInfo info;
    FileInfoClear(&info);
    EXPECT_TRUE(MpegReadFileInfo(&memory.source, &info));
    EXPECT_EQ(info.channelMode, c.channelMode) << name;
    // A variable bit rate shows as its negative average.
    EXPECT_TRUE(c.bitRate ? info.bitRate == int32_t(c.bitRate) : info.bitRate < 0) << name << " " << info.bitRate;
    EXPECT_EQ(info.lengthSeconds, format.lengthSeconds) << name;

    uint32_t bytesPerSecond = format.sampleRate * (format.stereo ? 4 : 2);
    auto seconds = [&](size_t bytes) { return uint32_t((bytes + bytesPerSecond / 2) / bytesPerSecond); };
    Bytes pcm;
    Bytes buffer(8192);
    for (int more = 1; more;) {
      uint32_t count = static_cast<uint32_t>(buffer.size());
      more = MpegRead(stream, buffer.data(), &count);
      pcm.insert(pcm.end(), buffer.begin(), buffer.begin() + count);
      if (pcm.size() / bytesPerSecond == 3 && count) {
        EXPECT_EQ(MpegPosition(stream), seconds(pcm.size())) << name << " halfway";
      }
    }
    EXPECT_EQ(MpegPosition(stream), seconds(pcm.size())) << name;
    EXPECT_EQ(format.lengthSeconds, seconds(pcm.size())) << name;

    std::string stem(name, 0, name.find('.'));
    Bytes reference = Fixture(stem.append(".pcm"));
    size_t frameValues = stream->pcmBytesPerFrame / 2;
    EXPECT_EQ(pcm.size(), reference.size()) << name;
    EXPECT_LT(RmsDifference(pcm, reference, 0), 1.0)
        << name << " against mpg123, frames that differ:" << DifferingFrames(pcm, reference, frameValues);
  }
}

// A seek lands on the sample: what follows is the rest of what playing from
// the start gives, and the position is that sample's second. The frames
// before it are decoded first, so the bit reservoir and the overlap are there.
TEST(MpegReader, SeekLandsOnTheSample) {
  for (const char* name : {"cbr.mp3", "lame.mp3", "vbr.mp3", "vbr-nolame.mp3", "speech8k-32.mp3", "layer2.mp2"}) {
    Opened opened(Fixture(name));
    ASSERT_TRUE(opened.ok) << name;
    MpegStream* stream = opened.stream.get();
    Bytes whole = ReadAll(stream);
    const uint32_t sampleBytes = stream->format.stereo ? 4 : 2;
    const uint64_t total = whole.size() / sampleBytes;
    EXPECT_EQ(stream->facts.soundSamples, total) << name;
    const uint32_t rate = stream->format.sampleRate;
    struct { uint32_t numerator, denominator; } cases[] = {{1, 2}, {1, 3}, {0, 1}, {999, 1000}, {7, 7}, {9, 7}};
    for (const auto& c : cases) {
      std::string at = std::string(name) + " at " + std::to_string(c.numerator) + "/" + std::to_string(c.denominator);
      ASSERT_TRUE(MpegSeek(stream, c.numerator, c.denominator)) << at;
      uint64_t target = c.numerator >= c.denominator ? total : total * c.numerator / c.denominator;
      EXPECT_EQ(MpegPosition(stream), uint32_t((target + rate / 2) / rate)) << at;
      Bytes rest = ReadAll(stream);
      Bytes expected(whole.begin() + long(target * sampleBytes), whole.end());
      ASSERT_EQ(rest.size(), expected.size()) << at;
      auto differ = std::mismatch(rest.begin(), rest.end(), expected.begin());
      EXPECT_TRUE(differ.first == rest.end()) << at << ": differs from byte " << (differ.first - rest.begin());
    }
    EXPECT_FALSE(MpegSeek(stream, 1, 0)) << name;
  }
}

// Offsets of the frames of a clean file, found by walking the headers.
std::vector<size_t> FrameStarts(const Bytes& file) {
  std::vector<size_t> starts;
  for (size_t pos = 0; pos + 4 <= file.size();) {
    MpegHeader header{};
    int size = MpegParseHeader(file.data() + pos, file.size() - pos, &header);
    if (size <= 0) break;
    starts.push_back(pos);
    pos += size_t(size) + (header.padding ? 1 : 0);
  }
  return starts;
}

TEST(MpegReader, GarbageBetweenFramesIsSkipped) {
  Bytes clean = Fixture("cbr.mp3");
  Opened reference(clean);
  ASSERT_TRUE(reference.ok);
  Bytes expected = ReadAll(reference.stream.get());
  std::vector<size_t> starts = FrameStarts(clean);
  ASSERT_GT(starts.size(), 100u);
  Bytes garbage = Join(Join(Bytes(300, 0x55), Bytes{0xFF, 0xFF, 0xFF, 0xFF}), Bytes(200, 0x55));
  Bytes spliced(clean.begin(), clean.begin() + long(starts[50]));
  spliced = Join(Join(spliced, garbage), Bytes(clean.begin() + long(starts[50]), clean.end()));
  Opened opened(spliced);
  ASSERT_TRUE(opened.ok);
  Bytes pcm = ReadAll(opened.stream.get());
  uint32_t frame = opened.stream->pcmBytesPerFrame;
  // The frame behind the garbage may lose its reservoir; nothing else is lost.
  ASSERT_GE(pcm.size() + 2 * frame, expected.size());
  ASSERT_LE(pcm.size(), expected.size());
  EXPECT_TRUE(std::equal(pcm.begin(), pcm.begin() + 48 * frame, expected.begin())) << "before the garbage";
  size_t tail = expected.size() - 56 * frame;
  EXPECT_TRUE(std::equal(pcm.end() - long(tail), pcm.end(), expected.end() - long(tail))) << "after the garbage";
}

// A file cut short plays what is there. Behind an information frame the
// counted frames are not all there: the length is that of what plays, and
// LAME's padding is no longer at the end.
TEST(MpegReader, TruncatedLastFrameEndsTheStream) {
  for (const char* name : {"cbr.mp3", "lame.mp3"}) {
    Bytes clean = Fixture(name);
    Opened reference(clean);
    Bytes expected = ReadAll(reference.stream.get());
    uint32_t frame = reference.stream->pcmBytesPerFrame;
    for (size_t cut : {size_t{1}, size_t{200}, size_t{400}, clean.size() * 2 / 5}) {
      Opened opened(Bytes(clean.begin(), clean.end() - long(cut)));
      ASSERT_TRUE(opened.ok);
      Bytes pcm = ReadAll(opened.stream.get());
      EXPECT_GE(pcm.size() + frame * (1 + cut / 400), expected.size() * (clean.size() - cut) / clean.size())
          << name << " cut " << cut;
      ASSERT_LE(pcm.size(), expected.size() + frame) << name << " cut " << cut;
      size_t common = std::min(pcm.size(), expected.size()) - frame;
      EXPECT_TRUE(std::equal(pcm.begin(), pcm.begin() + long(common), expected.begin())) << name << " cut " << cut;
      EXPECT_EQ(opened.stream->format.lengthSeconds, (pcm.size() / 4 + 22050) / 44100) << name << " cut " << cut;
      uint32_t count = frame;
      Bytes buffer(frame);
      EXPECT_FALSE(MpegRead(opened.stream.get(), buffer.data(), &count)) << "stays at its end";
      EXPECT_EQ(count, 0u);
    }
  }
  // No room for a frame: nothing is decoded, and the stream goes on.
  Bytes clean = Fixture("cbr.mp3");
  uint32_t frame = 4608;
  Opened opened(clean);
  Bytes buffer(frame);
  uint32_t count = frame - 1;
  EXPECT_TRUE(MpegRead(opened.stream.get(), buffer.data(), &count));
  EXPECT_EQ(count, 0u);
  EXPECT_EQ(opened.stream->framesDecoded, 0u);
}

// The module as the player drives it, on files.
struct Module {
  InputModule module{};
  Module() { MpegModuleSetUp(&module); }
  ~Module() { module.Release(&module); }
  Bytes ReadToEnd() {
    Bytes pcm, buffer(16384);
    for (int more = 1; more;) {
      uint32_t count = static_cast<uint32_t>(buffer.size());
      more = module.Read(&module, buffer.data(), &count);
      pcm.insert(pcm.end(), buffer.begin(), buffer.begin() + count);
    }
    return pcm;
  }
  FileInfo Info(const std::wstring& path) {
    auto block = std::make_unique<FileInfoBlock>();
    FileInfoCopyText(block->path, kMaxPathChars + 1, path.c_str());
    module.GetInfo(&module, block.get());
    return block->info;
  }
};

TEST(MpegModule, TestAcceptsByLengthAndRefusesTheRest) {
  Module m;
  struct { const char* name; int verdict; } cases[] = {{"cbr.mp3", 7}, {"text.mp3", 0}, {"blip.mp3", 1}, {"missing.mp3", 0}};
  for (const auto& c : cases) EXPECT_EQ(m.module.Test(&m.module, nullptr, FixturePath(c.name).c_str()), c.verdict) << c.name;
  EXPECT_FALSE(m.module.Open(&m.module, nullptr, FixturePath("text.mp3").c_str()));
  uint32_t count = 4608;
  Bytes buffer(count);
  EXPECT_FALSE(m.module.Read(&m.module, buffer.data(), &count)) << "nothing is open";
  EXPECT_STREQ(m.Info(FixturePath("text.mp3")).codecLabel, L"") << "no label for what is not MPEG";
}

// Files shorter than a second are played like any other: Test accepts them
// (their length rounds to 0 s), and Read delivers all of their sound. (The
// short blip.mp3 is among the files compared with mpg123 and Test's verdicts.)
TEST(MpegModule, ShortFilesOpenAndPlay) {
  // 36 frames of a Layer I conformance stream: 0.432 s at 32 kHz.
  Bytes layer1, layer1Pcm;
  ASSERT_TRUE(ReadConformanceStream("l1-fl1", &layer1, &layer1Pcm)) << "TPWR_TESTDATA";
  ASSERT_GT(layer1.size(), 36u * 576);
  ASSERT_GT(layer1Pcm.size(), 36u * 384 * 4);
  std::wstring path = FixturePath("layer1-short.mp1");
  ASSERT_TRUE(WriteWholeFile(path, Bytes(layer1.begin(), layer1.begin() + 36 * 576)));
  Module m;
  InputModule* module = &m.module;
  EXPECT_EQ(module->Test(module, nullptr, path.c_str()), 1);
  ASSERT_TRUE(module->Open(module, nullptr, path.c_str()));
  FormatRecord format{};
  module->GetFormat(module, &format);
  EXPECT_EQ(format.lengthSeconds, 0u);
  Bytes pcm = m.ReadToEnd();
  EXPECT_EQ(pcm.size(), size_t{36} * 384 * 4);
  EXPECT_LT(RmsDifference(pcm, Bytes(layer1Pcm.begin(), layer1Pcm.begin() + 36 * 384 * 4), 0), 1.0);
  module->Close(module);
}

TEST(MpegModule, TaggedFilePlaysFromItsFirstFrameAndShowsItsTags) {
  Bytes clean = Fixture("cbr.mp3");
  TagOptions padded;
  padded.padding = 20000;
  Bytes tag = Id3v2(3, {{"TIT2", TextBody(1, Utf16Le(u"Diktat \u00C4"))}}, padded);
  Bytes file = Join(Join(Join(tag, Bytes(3000, 0)), clean), Id3v1("v1 title", "Speaker", "", "", "", 2, 0));
  std::wstring path = FixturePath("tagged-scratch.mp3");
  ASSERT_TRUE(WriteWholeFile(path, file));

  Module m;
  InputModule* module = &m.module;
  EXPECT_EQ(module->Test(module, nullptr, path.c_str()), 7);
  ASSERT_TRUE(module->Open(module, nullptr, path.c_str()));
  Opened reference(clean);
  EXPECT_TRUE(m.ReadToEnd() == ReadAll(reference.stream.get())) << "the tags and the padding are not played";
  EXPECT_EQ(module->GetPosition(module), 6u);
  // The tags reach the information (which tag fills which field is the ID3
  // tests'); they count for nothing in the length.
  FileInfo info = m.Info(path);
  EXPECT_STREQ(info.codecLabel, L"MP3");
  EXPECT_STREQ(info.title, L"Diktat \u00C4");
  EXPECT_EQ(info.lengthSeconds, 6u);
  module->Close(module);
}

}  // namespace
