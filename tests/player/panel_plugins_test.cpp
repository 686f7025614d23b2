// Plug-ins beside the real program, through the main window's player panel
// into the capture sound device: the good plug-in's file sounds exactly as
// the plug-in wrote it, seeks where the panel says, and shows the plug-in's
// "Band - Song", or an M4A file's own tags; the misbehaving ones are refused or ended without hanging
// the player, which then plays the next file.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "panel_test_support.h"
#include "plugin_test_support.h"
#include "test_support.h"
#include "ui/slider.h"

namespace {

std::atomic<int> gBoxes{0};
int SilentMessageBox(HWND, const wchar_t*, const wchar_t*, UINT) {
  ++gBoxes;
  return IDOK;
}

constexpr uint32_t kRate = 44100;

class PanelPluginsTest : public PanelFixture {
 protected:
  static void SetUpTestSuite() {
    folder_ = MakeTestFolder(L"tpwr-panel-plugins-");
    ASSERT_TRUE(StagePlugins(folder_, {{"good", ""}, {"playfails", ""}, {"neveropens", ""}, {"stalls", ""}, {"crashes", ""}}));
    ASSERT_TRUE(WriteCountingTpcm(File("two.tpcm"), 2 * kRate));
    ASSERT_TRUE(WriteCountingTpcm(File("long.tpcm"), 20 * kRate));
    for (const char* name : {"two.tpfail", "two.tpmute", "two.tpstal", "two.tpcras"})
      ASSERT_TRUE(WriteCountingTpcm(File(name), 2 * kRate));
    SetPluginLog(folder_);
    HostMainWindow(folder_, SilentMessageBox);
    PumpFor(200);
  }
  static std::wstring File(const char* name) { return TestPath(folder_, name); }
  static bool WaitState(int state, DWORD ms = 10000) { return WaitUntil([&] { return Panel()->state == state; }, ms); }
  static bool Open(const char* name) { return PlayerPanelOpenFile(PlayerPanelWindow(), File(name).c_str()) != 0; }
  static bool WaitCapture(uint64_t bytes) { return WaitUntil([&] { return CaptureSize() >= bytes; }, 20000); }
  // Play, then the end: the frames all heard and the player stopped (a short
  // file may pass through "playing" between two looks).
  static bool PlayToEnd(uint32_t frames) {
    Command(kCmdPlay);
    return WaitUntil([&] { return CaptureSize() >= uint64_t{frames} * 4 && Panel()->state == kStateStopped; }, 20000);
  }
  // The good plug-in's file plays at all: the player took the command.
  static void PlaysTheGoodFile() {
    DeleteCapture();
    ASSERT_TRUE(Open("two.tpcm"));
    Command(kCmdPlay);
    ASSERT_TRUE(WaitCapture(kRate));
    Command(kCmdStop);
    ASSERT_TRUE(WaitState(kStateStopped));
  }
  static std::wstring folder_;
};
std::wstring PanelPluginsTest::folder_;

TEST_F(PanelPluginsTest, PlaysExactlyWhatThePluginWroteAndShowsItsTitle) {
  ASSERT_TRUE(Open("two.tpcm"));
  ASSERT_TRUE(WaitUntil([] { return wcscmp(Panel()->file.info.title, L"Song") == 0; }, 10000));
  EXPECT_STREQ(Panel()->file.info.artist, L"Band");
  EXPECT_STREQ(Panel()->file.info.codecLabel, L"TPCM plug-in");
  ASSERT_TRUE(PlayToEnd(2 * kRate));
  std::vector<FrameRun> runs = CountingRuns(ReadCapture());
  ASSERT_EQ(runs.size(), 1u) << RunsText(runs);
  EXPECT_EQ(runs[0].first, 0u);
  EXPECT_EQ(runs[0].frames, 2 * kRate);
}

// An M4A file that the plug-in plays shows the file's own tags, read by the
// program, with the plug-in's description as the codec. (Which tag fills
// which field is the tag readers' test's; the plug-in plays it as any file.)
TEST_F(PanelPluginsTest, AnM4aFileShowsItsOwnInformation) {
  ASSERT_TRUE(PlayerPanelOpenFile(PlayerPanelWindow(), TestPath(TestFolder("TPWR_FIXTURES"), "tags\\tags.m4a").c_str()));
  ASSERT_TRUE(WaitUntil([] { return wcscmp(Panel()->file.info.title, L"M4A Title") == 0; }, 10000));
  EXPECT_STREQ(Panel()->file.info.codecLabel, L"TPCM plug-in");
}

// The seek bar's middle is 10 s of 20: the plug-in flushes there and the
// sound resumes at exactly that frame.
TEST_F(PanelPluginsTest, ASeekFlushesAndResumesAtTheNewTime) {
  ASSERT_TRUE(Open("long.tpcm"));
  Command(kCmdPlay);
  ASSERT_TRUE(WaitCapture(4 * kRate));
  SendMessageW(Panel()->seekBar, kSliderSetPosition, 0, 50);
  SendMessageW(PlayerPanelWindow(), WM_HSCROLL, SB_THUMBPOSITION, reinterpret_cast<LPARAM>(Panel()->seekBar));
  ASSERT_TRUE(WaitUntil([] { return PlayerPanelPosition(PlayerPanelWindow()) >= 11; }, 10000));
  Command(kCmdStop);
  ASSERT_TRUE(WaitState(kStateStopped));
  std::vector<FrameRun> runs = CountingRuns(ReadCapture());
  ASSERT_GE(runs.size(), 2u) << RunsText(runs);
  EXPECT_EQ(runs.front().first, 0u) << RunsText(runs);
  EXPECT_EQ(runs.back().first, 10 * kRate) << RunsText(runs);
  EXPECT_GE(runs.back().frames, kRate / 2) << RunsText(runs);
}

// Play fails; GetFileInfo crashes (so Test refuses); no format ever comes
// (the sound device cannot be opened, which the user is told); the sound
// stops half-way (the read times out and the file ends). None hangs the
// player: each ends stopped and unloaded (one that crashed stays loaded, as
// it fell), and the player plays the next file.
TEST_F(PanelPluginsTest, MisbehavingPluginsNeitherHangNorCrashThePlayer) {
  enum Ending { kRefused, kNoFormat, kStalls };
  struct {
    const char* file;
    Ending ending;
    const char* unloaded;  // the plug-in's Quit, once it is done with
  } cases[] = {{"two.tpfail", kRefused, "quit in_playfails.dll"},
               {"two.tpcras", kRefused, nullptr},
               {"two.tpmute", kNoFormat, "quit in_neveropens.dll"},
               {"two.tpstal", kStalls, "quit in_stalls.dll"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    DeleteCapture();
    int boxes = gBoxes;
    ASSERT_EQ(Open(c.file), c.ending != kRefused);
    if (c.ending == kNoFormat) {
      Command(kCmdPlay);
      // The 2 s wait for the format, then a second (and one more for a loaded machine).
      ASSERT_TRUE(WaitUntil([&] { return gBoxes > boxes && Panel()->state == kStateStopped; }, 4000));
    } else if (c.ending == kStalls) {
      Command(kCmdPlay);
      ASSERT_TRUE(WaitCapture(kRate * 4 - 32768));  // all but a device buffer of the half that comes
      EXPECT_EQ(Panel()->state, kStatePlaying);
      // The 3 s read timeout, then a second (and one more for a loaded machine).
      ASSERT_TRUE(WaitState(kStateStopped, 5000));
      EXPECT_EQ(CountingRuns(ReadCapture()).size(), 1u);
    }
    if (c.unloaded) {
      EXPECT_NE(ReadPluginLog(folder_).find(c.unloaded), std::string::npos) << ReadPluginLog(folder_);
    }
    PlaysTheGoodFile();
  }
}

}  // namespace
