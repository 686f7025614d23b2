// Ogg Vorbis, FLAC and WMA files through the real main window's player
// panel into the capture sound device: each pauses and seeks, and sounds as
// its format's own tool decodes it. (The whole file against the tool is the
// modules' test, the tags the tag readers', the position over hours the FLAC
// module's, the player's exact hand-over the player thread test's.)
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

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

}  // namespace
