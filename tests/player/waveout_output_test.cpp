// The output module driven as the player drives it, with a source that serves
// bytes from memory in chunks of chosen sizes. (Its exact bytes in the capture
// file also show that the capture sound device changes nothing.)
#include <windows.h>
#include <mmsystem.h>

#include <gtest/gtest.h>

#include <tuple>

#include "engine_test_support.h"
#include "player/waveout_output.h"
#include "test_support.h"

namespace {

// Serves data in the given chunk sizes (cycled); a chunk of 0 delivers nothing
// but goes on. failAt: Read fails once this many bytes were delivered.
struct MemoryInput {
  std::vector<uint8_t> data;
  std::vector<uint32_t> chunks{32768};
  size_t failAt = SIZE_MAX;
  size_t at = 0;
  size_t chunk = 0;
};

int MemoryRead(void* context, void* buffer, uint32_t* count) {
  auto* input = static_cast<MemoryInput*>(context);
  if (input->at >= input->failAt) {
    *count = 0;
    return 0;
  }
  size_t want = std::min<size_t>({*count, input->chunks[input->chunk++ % input->chunks.size()],
                                  input->data.size() - input->at, input->failAt - input->at});
  memcpy(buffer, input->data.data() + input->at, want);
  input->at += want;
  *count = static_cast<uint32_t>(want);
  return input->at < input->data.size() || want > 0;
}

PcmSource MemorySource(MemoryInput* input) { return PcmSource{input, MemoryRead}; }

// Never zero, so that silence the device adds can be told apart from data.
std::vector<uint8_t> Pattern(size_t bytes, uint8_t seed) {
  std::vector<uint8_t> data(bytes);
  for (size_t i = 0; i < bytes; ++i) data[i] = static_cast<uint8_t>(1 + (i * 7 + seed + (i >> 9)) % 255);
  return data;
}

// What reached the device, less the silence it plays when it runs dry.
std::vector<uint8_t> Played() { return WithoutZeroFrames(ReadCapture()); }

const FormatRecord kCdFormat{0, 0, 44100, 1, 1};

// Drives Write as the player does until the stream has ended and sounded.
bool PlayOut(OutputModule* output) {
  return WaitUntil(
      [output] {
        if (PcmSourceIsSet(output->source)) {
          output->Write(output);
          return false;
        }
        return output->IsDone(output) != 0;
      },
      60000);
}

struct OutputTest : ::testing::Test {
  OutputModule output{};
  void SetUp() override {
    DeleteCapture();
    WaveOutputInstall(&output);
  }
  void TearDown() override {
    if (output.device) output.Close(&output);
  }
};

// An 8-bit format, which no playback test plays; any non-zero stereo flag
// means two channels.
TEST(WaveFormat, EightBitMonoAndStereo) {
  struct { FormatRecord format; WORD channels, align; DWORD bytesPerSecond; } cases[] = {
      {{0, 0, 11025, 5, 0}, 2, 2, 22050},
  };
  for (const auto& c : cases) {
    WAVEFORMATEX wave;
    WaveFormatFromRecord(&c.format, &wave);
    EXPECT_EQ(std::tuple(wave.nChannels, wave.wBitsPerSample, wave.nBlockAlign, wave.nAvgBytesPerSec),
              std::tuple(c.channels, WORD{8}, c.align, c.bytesPerSecond));
  }
}

TEST_F(OutputTest, HandsTheDeviceExactlyWhatReadDelivered) {
  // Uneven chunks, reads that deliver nothing while the stream goes on, and a
  // failing Read, which ends the stream like its end.
  struct {
    size_t bytes;
    std::vector<uint32_t> chunks;
    size_t failAt;
  } cases[] = {
      {600000, {32768}, SIZE_MAX},
      {300001 * 4, {4, 0, 32768, 1000, 0, 0, 12}, SIZE_MAX},
      {4, {32768}, SIZE_MAX},
      {400000, {32768}, 100000},
  };
  for (const auto& c : cases) {
    DeleteCapture();
    MemoryInput input;
    input.data = Pattern(c.bytes, static_cast<uint8_t>(c.bytes));
    input.chunks = c.chunks;
    input.failAt = c.failAt;
    ASSERT_TRUE(output.Open(&output, &kCdFormat));
    ASSERT_NE(output.deviceEvent, nullptr);
    EXPECT_TRUE(output.IsDone(&output)) << "nothing queued yet";
    output.source = MemorySource(&input);
    ASSERT_TRUE(PlayOut(&output));
    EXPECT_FALSE(PcmSourceIsSet(output.source)) << "the source is let go at its end";
    output.Close(&output);
    EXPECT_EQ(output.device, nullptr);
    EXPECT_EQ(output.deviceEvent, nullptr);
    std::vector<uint8_t> expected(input.data.begin(), input.data.begin() + std::min(c.bytes, c.failAt));
    EXPECT_TRUE(Played() == expected) << c.bytes << " bytes";
  }
}

TEST_F(OutputTest, VolumeSetsBothChannels) {
  ASSERT_TRUE(output.Open(&output, &kCdFormat));
  struct {
    uint32_t volume;
    uint32_t word;
  } cases[] = {{255, 0xFFFFFFFFu}, {0, 0}, {128, 0x80808080u}, {0x1FF, 0xFFFFFFFFu}};
  for (const auto& c : cases) {
    output.SetVolume(&output, c.volume);
    EXPECT_EQ(output.GetVolume(&output), c.word) << c.volume;
  }
}

// A paused device holds what it was given. Resumed, it plays it; flushed, it
// returns every buffer and plays what comes next without being resumed.
TEST_F(OutputTest, PausedDataIsHeldThenResumedOrFlushed) {
  for (bool flush : {false, true}) {
    SCOPED_TRACE(flush ? "flushed" : "resumed");
    DeleteCapture();
    MemoryInput first, second;
    first.data = Pattern(200000, 1);
    second.data = Pattern(150000, 2);
    ASSERT_TRUE(output.Open(&output, &kCdFormat));
    output.Pause(&output, 1);
    output.source = MemorySource(&first);
    output.Write(&output);
    PumpFor(400);
    EXPECT_EQ(CaptureSize(), 0u);
    EXPECT_FALSE(output.IsDone(&output)) << "a paused device keeps its buffers";
    if (flush) {
      output.Flush(&output);
      EXPECT_TRUE(output.IsDone(&output)) << "every buffer returned";
      output.source = MemorySource(&second);
    } else {
      output.Pause(&output, 0);
    }
    ASSERT_TRUE(PlayOut(&output));
    output.Close(&output);
    std::vector<uint8_t> played = Played();
    const std::vector<uint8_t>& expected = flush ? second.data : first.data;
    EXPECT_TRUE(played == expected) << FirstDifference(played, expected);
  }
}

TEST_F(OutputTest, ARefusedFormatLeavesAnOutputWithoutDevice) {
  const FormatRecord refused{0, 0, 0, 1, 1};  // no sample rate
  EXPECT_FALSE(output.Open(&output, &refused));
  EXPECT_NE(output.device, nullptr) << "open in name";
  EXPECT_EQ(output.deviceEvent, nullptr);
  MemoryInput input;
  input.data = Pattern(1000, 0);
  output.source = MemorySource(&input);
  output.Write(&output);
  EXPECT_EQ(input.at, 0u) << "nothing is read without a device";
  output.Pause(&output, 1);
  output.Flush(&output);
  output.SetVolume(&output, 100);
  EXPECT_EQ(output.GetVolume(&output), 0u);
  EXPECT_TRUE(output.IsDone(&output));
  output.Close(&output);
  EXPECT_EQ(output.device, nullptr);
}

}  // namespace
