// Generated MP3 files opened through the real main window's player panel and
// played into the capture sound device: what reached the device is the
// reader's own output, and a mono file's length, shown time and cue marks are
// the time that was heard, not twice it. (Go to on a cue is the WAV panel
// tests'; the reader's seek to the sample is the reader's tests'.)
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "base/byte_source.h"
#include "editor/editor_view.h"
#include "formats/mpeg/mpeg_reader.h"
#include "panel_test_support.h"
#include "test_support.h"
#include "ui/slider.h"

namespace {

// The MPEG reader's own output for a whole file, read in the player's buffer size.
struct Decoded {
  std::vector<uint8_t> pcm;
  uint32_t sampleRate = 0;
  uint32_t channels = 0;
  uint32_t Seconds(uint64_t bytes) const {  // to the nearest
    return static_cast<uint32_t>((bytes / (2 * channels) + sampleRate / 2) / sampleRate);
  }
};

bool DecodeWhole(const std::wstring& path, Decoded* out) {
  ByteSource source;
  auto stream = std::make_unique<MpegStream>();  // value-initialised: no decoder yet
  if (!ByteSourceOpenFile(&source, path.c_str()) || !MpegOpen(stream.get(), &source)) return false;
  out->sampleRate = stream->format.sampleRate;
  out->channels = stream->format.stereo ? 2 : 1;
  std::vector<uint8_t> buffer(32768);
  for (uint32_t count = 32768; MpegRead(stream.get(), buffer.data(), &count) && count; count = 32768)
    out->pcm.insert(out->pcm.end(), buffer.begin(), buffer.begin() + count);
  MpegRelease(stream.get());
  return !out->pcm.empty();
}

class PanelMpegTest : public PanelFixture {};

// Mono, and a file cut inside a frame well into the stream (the player must
// stop cleanly where the reader does); stereo and mid/side decoding are the
// reader's and the oracle's tests'.
TEST_F(PanelMpegTest, WhatReachesTheDeviceIsTheReadersOutput) {
  std::vector<uint8_t> whole = ReadWholeFile(FixturePath("cbr128.mp3"));
  ASSERT_GT(whole.size(), 40211u);
  ASSERT_TRUE(WriteWholeFile(FixturePath("cbr128-cut.mp3"), std::vector<uint8_t>(whole.begin(), whole.begin() + 40211)));
  struct { const char* file; uint32_t channels; } cases[] = {{"mono.mp3", 1}, {"cbr128-cut.mp3", 2}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    DeleteCapture();
    Decoded decoded;
    ASSERT_TRUE(DecodeWhole(FixturePath(c.file), &decoded));
    ASSERT_EQ(decoded.channels, c.channels);
    ASSERT_TRUE(Open(c.file, decoded.Seconds(decoded.pcm.size())));
    ASSERT_TRUE(PlayToEnd());
    std::vector<uint8_t> played = WithoutZeroFrames(ReadCapture(), 2 * c.channels);
    std::vector<uint8_t> expected = WithoutZeroFrames(decoded.pcm, 2 * c.channels);
    // Nearly all of it is sound: a comparison of two empty streams proves nothing.
    EXPECT_GT(expected.size(), decoded.pcm.size() / 2);
    EXPECT_TRUE(played == expected) << FirstDifference(played, expected);
  }
}

TEST_F(PanelMpegTest, AMonoCueNamesTheTimeThatWasHeard) {
  Decoded decoded;
  ASSERT_TRUE(DecodeWhole(FixturePath("mono.mp3"), &decoded));
  ASSERT_EQ(decoded.channels, 1u);
  const uint32_t bytesPerSecond = 2 * decoded.sampleRate;
  const uint32_t length = decoded.Seconds(decoded.pcm.size());
  ASSERT_GE(length, 8u) << "long enough to tell a time from twice it";
  ASSERT_TRUE(Open("mono.mp3", length)) << "the heard length, not twice it: " << Panel()->file.info.lengthSeconds;
  EXPECT_EQ(TimePane(), L"  00:00 (" + Time(length) + L")");

  // Two seconds of sound, then the seek bar to 40 %: the panel takes the
  // position from the player (it sets none itself for the bar), so what it
  // shows is the reader's reckoning of the place it went to.
  Command(kCmdPlay);
  ASSERT_TRUE(WaitState(kStatePlaying));
  ASSERT_TRUE(WaitUntil([&] { return CaptureSize() >= 2 * bytesPerSecond; }, 10000));
  const uint32_t target = static_cast<uint32_t>(decoded.pcm.size() * 40 / 100 / bytesPerSecond);
  ASSERT_GE(target, 3u);
  SendMessageW(Panel()->seekBar, kSliderSetPosition, 0, 40);
  SendMessageW(PanelWindow(), WM_HSCROLL, SB_THUMBPOSITION, reinterpret_cast<LPARAM>(Panel()->seekBar));
  ASSERT_TRUE(WaitUntil([&] { return Panel()->position >= target; }, 10000)) << Panel()->position;
  Command(kCmdPause);
  ASSERT_TRUE(WaitState(kStatePaused));
  PumpFor(300);
  const uint32_t at = PlayerPanelPosition(PanelWindow());
  ASSERT_GE(at, target);
  ASSERT_LE(at, target + 1) << "not twice the time";
  EXPECT_EQ(TimePane(), L"  " + Time(at) + L" (" + Time(length) + L")");
  SetWindowTextW(EditorWindow(), L"she said");
  SendMessageW(EditorWindow(), EM_SETSEL, 8, 8);
  Command(kCmdInsSndCue);
  EXPECT_EQ(EditorText(), L"she said\r\n<Sound Cue: " + Time(at) + L">");
  Command(kCmdStop);
  ASSERT_TRUE(WaitState(kStateStopped));
}

}  // namespace
