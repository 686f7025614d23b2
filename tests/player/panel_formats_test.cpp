// Ogg Vorbis, FLAC and WMA files through the real main window's player
// panel into the capture sound device: each plays to its end as its format's
// own tool decodes it and shows its tags; each pauses and seeks; and a seek
// into the middle of a three-hour recording sounds from the right second.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "commands/commands.h"
#include "engine_test_support.h"
#include "main_window_host.h"
#include "player/player_messages.h"
#include "player/player_panel.h"
#include "test_support.h"
#include "ui/slider.h"

namespace {

int SilentMessageBox(HWND, const wchar_t*, const wchar_t*, UINT) { return IDOK; }

int16_t Sample(const std::vector<uint8_t>& pcm, size_t index) {
  return static_cast<int16_t>(pcm[2 * index] | (pcm[2 * index + 1] << 8));
}

// 16-bit stereo without the frames near silence: the device's own silence
// when it runs dry goes, and a frame that one decoder rounds to zero and
// another to one LSB goes from both.
std::vector<uint8_t> WithoutNearSilence(const std::vector<uint8_t>& pcm) {
  std::vector<uint8_t> kept;
  for (size_t frame = 0; frame + 1 < pcm.size() / 2; frame += 2)
    if (std::abs(Sample(pcm, frame)) > 1 || std::abs(Sample(pcm, frame + 1)) > 1)
      kept.insert(kept.end(), pcm.begin() + long(2 * frame), pcm.begin() + long(2 * frame + 4));
  return kept;
}

bool Matches(const std::vector<uint8_t>& a, size_t aFrom, const std::vector<uint8_t>& b, size_t bFrom, size_t samples, int tolerance) {
  if ((aFrom + samples) * 2 > a.size() || (bFrom + samples) * 2 > b.size()) return false;
  for (size_t i = 0; i < samples; ++i)
    if (std::abs(Sample(a, aFrom + i) - Sample(b, bFrom + i)) > tolerance) return false;
  return true;
}

class PanelFormatsTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    HostMainWindow(MakeTestFolder(L"tpwr-panel-formats-"), SilentMessageBox);
    PumpFor(200);
  }
  static void TearDownTestSuite() {
    CloseMainWindow();
    PumpFor(300);
  }
  void SetUp() override {
    ASSERT_NE(Panel(), nullptr);
    DeleteCapture();
  }
  static PlayerPanel* Panel() { return PlayerPanelOf(PlayerPanelWindow()); }
  static void Command(uint16_t id) {
    SendMessageW(gMainWindow, WM_COMMAND, id, 0);
    PumpFor(50);
  }
  static bool WaitState(int state) { return WaitUntil([&] { return Panel()->state == state; }, 10000); }
  static bool Open(const char* name, uint32_t length) {
    if (!PlayerPanelOpenFile(PlayerPanelWindow(), FixturePath(name).c_str())) return false;
    return WaitUntil([&] { return Panel()->file.info.lengthSeconds == length; }, 10000);
  }
  static bool WaitCapture(uint64_t bytes) { return WaitUntil([&] { return CaptureSize() >= bytes; }, 20000); }
  static void SeekBarTo(uint32_t percent) {
    SendMessageW(Panel()->seekBar, kSliderSetPosition, 0, percent);
    SendMessageW(PlayerPanelWindow(), WM_HSCROLL, SB_THUMBPOSITION, reinterpret_cast<LPARAM>(Panel()->seekBar));
  }
  // Play, then the end of the file: stopped, and the capture no longer growing.
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

TEST_F(PanelFormatsTest, EachFormatPlaysAsItsToolDecodesAndShowsItsTags) {
  struct {
    const char* file;
    const wchar_t *codec, *title, *artist;
    uint16_t year, track;
    int tolerance;
  } cases[] = {
      {"tags\\tags.ogg", L"Ogg Vorbis", L"Lower Title", L"Band", 2005, 3, 1},
      {"tags\\tags.flac", L"FLAC", L"Lower Title", L"Bad\xFFFD\xFFFD", 2005, 3, 0},
      {"tags\\tags.wma", L"WMA", L"Spoken Title", L"Speaker", 2005, 1, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    DeleteCapture();
    ASSERT_TRUE(Open(c.file, 2));
    const FileInfo& info = Panel()->file.info;
    EXPECT_STREQ(info.codecLabel, c.codec);
    EXPECT_STREQ(info.title, c.title);
    EXPECT_STREQ(info.artist, c.artist);
    EXPECT_EQ(info.year, c.year);
    EXPECT_EQ(info.track, c.track);
    ASSERT_TRUE(PlayToEnd());
    EXPECT_TRUE(IsWindowEnabled(Panel()->seekBar)) << "every format seeks";
    std::vector<uint8_t> played = WithoutNearSilence(ReadCapture());
    std::vector<uint8_t> expected = WithoutNearSilence(ReadWholeFile(FixturePath((std::string(c.file) + ".pcm").c_str())));
    ASSERT_GT(expected.size(), 2 * 44100 * 4 * 9 / 10);
    ASSERT_EQ(played.size(), expected.size());
    EXPECT_TRUE(Matches(played, 0, expected, 0, expected.size() / 2, c.tolerance));
  }
}

// About a second of sound, a pause, the seek bar to the middle (which
// resumes), more sound, stop: the sound before the pause is the file's
// start, and the last sound heard comes from its second half.
TEST_F(PanelFormatsTest, EachFormatPausesAndSeeks) {
  struct { const char* file; int tolerance; } cases[] = {
      {"playback\\long.ogg", 1}, {"playback\\long.flac", 0}, {"playback\\long.wma", 1}};
  constexpr uint64_t kSecond = 44100 * 4;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    DeleteCapture();
    std::vector<uint8_t> expected = ReadWholeFile(FixturePath((std::string(c.file) + ".pcm").c_str()));
    ASSERT_TRUE(Open(c.file, 20));
    Command(kCmdPlay);
    ASSERT_TRUE(WaitCapture(kSecond));
    Command(kCmdPause);
    ASSERT_TRUE(WaitState(kStatePaused));
    uint64_t beforeSeek = CaptureSize();
    SeekBarTo(50);
    ASSERT_TRUE(WaitState(kStatePlaying));
    ASSERT_TRUE(WaitUntil([] { return PlayerPanelPosition(PlayerPanelWindow()) >= 10; }, 10000));
    ASSERT_TRUE(WaitCapture(beforeSeek + kSecond));
    Command(kCmdStop);
    ASSERT_TRUE(WaitState(kStateStopped));
    // The device's silence, where it ran dry, is no part of the sound.
    std::vector<uint8_t> played = WithoutNearSilence(ReadCapture());
    EXPECT_TRUE(Matches(played, 0, WithoutNearSilence(expected), 0, 2 * 22050, c.tolerance)) << "the start, before the pause";
    std::vector<uint8_t> secondHalf =
        WithoutNearSilence(std::vector<uint8_t>(expected.begin() + 4 * 44100 * 99 / 10, expected.end()));
    size_t tail = played.size() / 2 - 2 * 5512;
    int found = 0;
    for (size_t at = 0; at + 2 * 5512 <= secondHalf.size() / 2 && !found; at += 2)
      found = Matches(played, tail, secondHalf, at, 2 * 5512, c.tolerance);
    EXPECT_TRUE(found) << "the last eighth of a second heard is not from the second half";
  }
}

// Every sample of the file holds the number of its second (11025 Hz mono).
TEST_F(PanelFormatsTest, ASeekIntoThreeHoursSoundsFromTheRightSecond) {
  ASSERT_TRUE(Open("playback\\three-hours.flac", 10800));
  Command(kCmdPlay);
  ASSERT_TRUE(WaitState(kStatePlaying));
  ASSERT_TRUE(WaitCapture(11025));
  SeekBarTo(50);
  ASSERT_TRUE(WaitUntil([] { return PlayerPanelPosition(PlayerPanelWindow()) >= 5400; }, 10000));
  ASSERT_TRUE(WaitUntil([] {
    std::vector<uint8_t> played = ReadCapture();
    return played.size() >= 4 && Sample(played, played.size() / 2 - 1) != 0;
  }, 10000));
  Command(kCmdPause);
  ASSERT_TRUE(WaitState(kStatePaused));
  EXPECT_LE(PlayerPanelPosition(PlayerPanelWindow()), 5410u);
  std::vector<uint8_t> played = ReadCapture();
  size_t first = 0;
  while (first < played.size() / 2 && Sample(played, first) == 0) ++first;
  ASSERT_LT(first, played.size() / 2);
  EXPECT_EQ(Sample(played, first), 5400);  // 1:30:00 exactly, not a second before or after
  // From there on the sound goes on second by second (zeros: the device ran dry).
  for (size_t i = first + 1; i < played.size() / 2; ++i) {
    int16_t second = Sample(played, i);
    if (second) {
      ASSERT_TRUE(second >= Sample(played, i - 1) && second <= 5410) << i << ": " << second;
    }
  }
  Command(kCmdStop);
  ASSERT_TRUE(WaitState(kStateStopped));
}

}  // namespace
