// Generated MP3 files opened through the real main window's player panel and
// played into the capture sound device: what reached the device is the
// reader's own output, and a mono file's length, shown time and cue marks are
// the time that was heard, not twice it.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/main_window.h"
#include "base/byte_source.h"
#include "commands/commands.h"
#include "editor/editor_view.h"
#include "engine_test_support.h"
#include "formats/mpeg/mpeg_reader.h"
#include "main_window_host.h"
#include "player/player_messages.h"
#include "player/player_panel.h"
#include "test_support.h"
#include "ui/slider.h"
#include "ui/status_bar.h"

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

int SilentMessageBox(HWND, const wchar_t*, const wchar_t*, UINT) { return IDOK; }

class PanelMpegTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    HostMainWindow(MakeTestFolder(L"tpwr-panel-mpeg-"), SilentMessageBox);
    PumpFor(200);
  }
  static void TearDownTestSuite() {
    CloseMainWindow();
    PumpFor(300);
  }
  void SetUp() override {
    ASSERT_NE(gMainWindow, nullptr);
    ASSERT_NE(Panel(), nullptr);
    DeleteCapture();
  }

  static HWND PanelWindow() { return PlayerPanelWindow(); }
  static PlayerPanel* Panel() { return PlayerPanelOf(PlayerPanelWindow()); }
  static void Command(uint16_t id) {
    SendMessageW(gMainWindow, WM_COMMAND, id, 0);
    PumpFor(50);
  }
  static bool WaitState(int state, DWORD timeoutMs = 10000) {
    return WaitUntil([&] { return Panel()->state == state; }, timeoutMs);
  }
  static std::wstring TimePane() { return gStatusBar.panes[kStatusPaneTime].text; }
  static std::wstring Time(uint32_t seconds) {
    wchar_t text[16];
    swprintf(text, 16, L"%02u:%02u", seconds / 60, seconds % 60);
    return text;
  }
  // Opens through the panel and waits for the player's file information
  // with the file's length (the first open of a run reports no state: the
  // player has no owner yet).
  static bool Open(const char* name, uint32_t length) {
    if (!PlayerPanelOpenFile(PanelWindow(), FixturePath(name).c_str())) return false;
    return WaitUntil([&] { return Panel()->file.info.lengthSeconds == length; }, 10000);
  }
  // Play pressed, then the end of the file: the panel stopped and the
  // capture no longer growing. A short file can play out between two looks
  // at the state, so "playing" need not be seen.
  static bool PlayToEnd() {
    Command(kCmdPlay);
    uint64_t last = 0;
    ULONGLONG grew = GetTickCount64();
    return WaitUntil(
        [&] {
          uint64_t size = CaptureSize();
          if (size != last) {
            last = size;
            grew = GetTickCount64();
          }
          return size > 0 && Panel()->state == kStateStopped && GetTickCount64() - grew >= 1000;
        },
        60000);
  }
};

// Stereo, mid/side, mono, and a file cut inside a frame well into the
// stream (the player must stop cleanly where the reader does).
TEST_F(PanelMpegTest, WhatReachesTheDeviceIsTheReadersOutput) {
  std::vector<uint8_t> whole = ReadWholeFile(FixturePath("cbr128.mp3"));
  ASSERT_GT(whole.size(), 40211u);
  ASSERT_TRUE(WriteWholeFile(FixturePath("cbr128-cut.mp3"), std::vector<uint8_t>(whole.begin(), whole.begin() + 40211)));
  struct { const char* file; uint32_t channels; } cases[] = {
      {"cbr128.mp3", 2}, {"joint.mp3", 2}, {"mono.mp3", 1}, {"cbr128-cut.mp3", 2}};
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
  ASSERT_EQ(EditorText(), L"she said\r\n<Sound Cue: " + Time(at) + L">");

  // Go to on the cue, then Play: the sound from there to the end is the
  // reader's output from that second on (its first frames aside, which lack
  // the bit reservoir). Capture and output are compared from their ends.
  Command(kCmdStop);
  ASSERT_TRUE(WaitState(kStateStopped));
  PumpFor(200);
  DeleteCapture();
  size_t cueLine = EditorText().find(L"<Sound Cue") + 2;
  SendMessageW(EditorWindow(), EM_SETSEL, cueLine, cueLine);
  Command(kCmdGoTo);
  EXPECT_EQ(Panel()->position, at);
  EXPECT_EQ(TimePane(), L"  " + Time(at) + L" (" + Time(length) + L")");
  Panel()->pendingCueSeconds = 0;
  ASSERT_TRUE(PlayToEnd());
  std::vector<uint8_t> played = WithoutZeroFrames(ReadCapture(), 2);
  std::vector<uint8_t> whole = WithoutZeroFrames(decoded.pcm, 2);
  size_t common = 0;
  while (common < played.size() && common < whole.size() &&
         played[played.size() - 1 - common] == whole[whole.size() - 1 - common])
    ++common;
  auto soundFrom = [&](uint64_t byte) {
    return WithoutZeroFrames(std::vector<uint8_t>(decoded.pcm.begin() + byte, decoded.pcm.end()), 2).size();
  };
  EXPECT_LE(common, soundFrom(uint64_t{at} * bytesPerSecond)) << "sound from before " << at << " s";
  EXPECT_GE(common, soundFrom(uint64_t{at} * bytesPerSecond + bytesPerSecond / 2)) << "sound from after " << at << " s";
}

}  // namespace
