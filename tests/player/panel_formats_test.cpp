// Ogg Vorbis, FLAC, WMA and phone and web recordings (AAC in M4A, Opus in
// WebM, the sound of an MP4 video) through the real main window's player
// panel into the capture sound device: each pauses and seeks, and sounds as
// its format's own tool decodes it; Go to finds a cue's second in an M4A. (The whole file against the tool is the
// modules' test, the tags the tag readers', the position over hours the FLAC
// module's, the player's exact hand-over the player thread test's.)
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "editor/editor_view.h"
#include "panel_test_support.h"
#include "test_support.h"
#include "ui/slider.h"

namespace {

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

class PanelFormatsTest : public PanelFixture {
 protected:
  static bool WaitCapture(uint64_t bytes) { return WaitUntil([&] { return CaptureSize() >= bytes; }, 20000); }
  static void SeekBarTo(uint32_t percent) {
    SendMessageW(Panel()->seekBar, kSliderSetPosition, 0, percent);
    SendMessageW(PlayerPanelWindow(), WM_HSCROLL, SB_THUMBPOSITION, reinterpret_cast<LPARAM>(Panel()->seekBar));
  }
};

// About a second of sound, a pause, the seek bar to the middle (which
// resumes), more sound, stop: the sound before the pause is the file's
// start, and the last sound heard comes from its second half.
TEST_F(PanelFormatsTest, EachFormatPausesAndSeeks) {
  struct { const char* file; int tolerance; uint64_t rate; } cases[] = {
      {"playback\\long.ogg", 1, 44100}, {"playback\\long.flac", 0, 44100}, {"playback\\long.wma", 1, 44100},
      {"playback\\long.m4a", 1, 44100}, {"playback\\long.webm", 1, 48000}, {"playback\\long.mp4", 1, 44100}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    const uint64_t kSecond = c.rate * 4;
    const size_t eighth = size_t(c.rate / 8);
    DeleteCapture();
    std::vector<uint8_t> expected = ReadWholeFile(FixturePath((std::string(c.file) + ".pcm").c_str()));
    ASSERT_TRUE(Open(c.file, 20));
    Command(kCmdPlay);
    ASSERT_TRUE(WaitCapture(kSecond));
    EXPECT_TRUE(IsWindowEnabled(Panel()->seekBar)) << "every format seeks";
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
    EXPECT_TRUE(Matches(played, 0, WithoutNearSilence(expected), 0, c.rate, c.tolerance)) << "the start, before the pause";
    std::vector<uint8_t> secondHalf =
        WithoutNearSilence(std::vector<uint8_t>(expected.begin() + long(4 * c.rate * 99 / 10), expected.end()));
    size_t tail = played.size() / 2 - 2 * eighth;
    int found = 0;
    for (size_t at = 0; at + 2 * eighth <= secondHalf.size() / 2 && !found; at += 2)
      found = Matches(played, tail, secondHalf, at, 2 * eighth, c.tolerance);
    EXPECT_TRUE(found) << "the last eighth of a second heard is not from the second half";
  }
}

// Go to on a cue line sends an M4A recording to the cue's second: the sound
// heard next is the recording's own from there (within a tenth of a second).
TEST_F(PanelFormatsTest, GoToOnACueInAnM4aResumesAtItsSecond) {
  constexpr size_t kRate = 44100, kCompared = 4096;
  std::vector<uint8_t> expected = ReadWholeFile(FixturePath("playback\\long.m4a.pcm"));
  ASSERT_TRUE(Open("playback\\long.m4a", 20));
  SetWindowTextW(EditorWindow(), L"notes\r\n<Sound Cue: 00:12>\r\nmore");
  SendMessageW(EditorWindow(), EM_SETSEL, 10, 10);
  Command(kCmdGoTo);
  EXPECT_EQ(Panel()->position, 12u);
  Command(kCmdPlay);
  ASSERT_TRUE(WaitCapture(kRate * 4));
  Command(kCmdStop);
  ASSERT_TRUE(WaitState(kStateStopped));
  SetWindowTextW(EditorWindow(), L"");
  std::vector<uint8_t> played = ReadCapture();
  bool found = false;
  for (size_t at = 0; at + kCompared <= played.size() / 4 && !found; ++at)
    for (size_t from = 12 * kRate - kRate / 10; from <= 12 * kRate + kRate / 10 && !found; ++from)
      found = Matches(played, 2 * at, expected, 2 * from, 2 * kCompared, 1);
  EXPECT_TRUE(found) << "no sound from the twelfth second";
}

// The panel shows a voice memo's own tags, read from its MP4 boxes.
TEST_F(PanelFormatsTest, AVoiceMemoShowsItsTags) {
  ASSERT_TRUE(Open("playback\\voice.m4a", 2));
  EXPECT_STREQ(Panel()->file.info.title, L"Memo Title");
  EXPECT_STREQ(Panel()->file.info.artist, L"Speaker");
  EXPECT_EQ(Panel()->file.info.channelMode, 1);
  EXPECT_EQ(Panel()->file.info.sampleRate, 16000u);
}

}  // namespace
