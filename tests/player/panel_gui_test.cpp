// The typist's loop on the real main window hosted in this process: open a
// recording through the panel, play it into the capture sound device, drop cue
// and sound marks into the editor, and Go to them again. The recordings'
// frames count themselves, so where the sound resumes is read from its content.
// Every test starts from the same state: the talk file open and stopped, the
// editor empty.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "app/config_dialog.h"
#include "app/main_window.h"
#include "editor/document.h"
#include "editor/editor_view.h"
#include "panel_test_support.h"
#include "player/player_thread.h"
#include "settings/settings_store.h"
#include "test_support.h"
#include "ui/slider.h"

namespace {

constexpr uint32_t kRate = 8000;
constexpr uint32_t kTalkSeconds = 100;
constexpr uint32_t kLongSeconds = 700;

std::vector<std::wstring> gShown;
int RecordMessageBox(HWND, const wchar_t* text, const wchar_t*, UINT) {
  gShown.push_back(text);
  return IDOK;
}

class PanelTest : public PanelFixture {
 protected:
  static std::wstring gFolder, gTalk, gLong, gBroken;

  static void SetUpTestSuite() {
    // The talk is a counting file of 100 s at 8 kHz, under a name with spaces.
    gFolder = MakeTestFolder(L"tpwr-panel-");
    CreateDirectoryW((gFolder + L"\\sound files").c_str(), nullptr);
    gTalk = gFolder + L"\\sound files\\talk one.wav";
    CopyFileW(FixturePath("count8k-100s.wav").c_str(), gTalk.c_str(), FALSE);
    gLong = FixturePath("silence8k-700s.wav");
    gBroken = FixturePath("broken.wav");
    HostMainWindow(gFolder, RecordMessageBox);
    PumpFor(200);
  }
  void SetUp() override {
    ASSERT_NE(gMainWindow, nullptr);
    ASSERT_NE(Panel(), nullptr);
    StopAndForget();
    ASSERT_TRUE(Open(gTalk, kTalkSeconds));
    SetEditor(L"", 0);
    SendMessageW(EditorWindow(), EM_SETMODIFY, FALSE, 0);
    PlayerPanelSetStepLengths(PanelWindow(), 5, 5);
    gShown.clear();
  }

  static void SetEditor(const std::wstring& text, size_t caret) {
    SetWindowTextW(EditorWindow(), text.c_str());
    SendMessageW(EditorWindow(), EM_SETSEL, caret, caret);
  }
  static void CaretOn(const std::wstring& what) {
    size_t at = EditorText().find(what);
    ASSERT_NE(at, std::wstring::npos) << "no line with this text";
    SendMessageW(EditorWindow(), EM_SETSEL, at + 2, at + 2);
  }
  // Opens through the panel and waits for the player's file information.
  static bool Open(const std::wstring& path, uint32_t length) {
    if (!PlayerPanelOpenFile(PanelWindow(), path.c_str())) return false;
    // The very first open of a run reports no state: its Stop went out before
    // the panel became the player's owner.
    return WaitUntil(
        [&] {
          int state = Panel()->state;
          return Panel()->file.info.lengthSeconds == length && (state == kStateStopped || state == 0);
        },
        10000);
  }
  // Playing, with the ticker's first report (position 0) taken in, so that a
  // later seek to time is not overwritten by it.
  static bool PlayAndSettle() {
    Command(kCmdPlay);
    if (!WaitState(kStatePlaying)) return false;
    PumpFor(300);
    return true;
  }
  static void StopAndForget() {
    Command(kCmdStop);
    WaitUntil([] { return Panel()->state == kStateStopped || !gPlayerThread; }, 10000);
    PumpFor(200);
    DeleteCapture();
    Panel()->pendingCueSeconds = 0;
  }
  // Plays, moves to seconds and pauses there; the position the panel then shows.
  static uint32_t PauseAt(uint32_t seconds) {
    if (!PlayAndSettle()) return 0;
    PlayerPanelSeekToTime(PanelWindow(), seconds);
    Command(kCmdPause);
    if (!WaitState(kStatePaused)) return 0;
    PumpFor(300);
    return PlayerPanelPosition(PanelWindow());
  }
  // A run of the capture that starts exactly at the frame of that second.
  static bool WaitSoundFrom(uint32_t seconds, size_t from = 0) {
    return WaitUntil(
        [&] {
          for (const FrameRun& run : CountingRuns(ReadCapture(), from))
            if (run.first == seconds * kRate) return true;
          return false;
        },
        10000);
  }
};
std::wstring PanelTest::gFolder, PanelTest::gTalk, PanelTest::gLong, PanelTest::gBroken;

// The speed shows beside the time only when it is not 100 %, even without a file.
TEST(PlayerTime, TheSpeedWhenNotNormal) {
  struct { uint32_t position, length, speed; const wchar_t* text; } cases[] = {
      {75, 3725, 100, L"  01:15 (1:02:05)"}, {60, 100, 70, L"  01:00 (01:40)  70 %"}, {0, 0, 150, L"  150 %"},
  };
  for (const auto& c : cases) {
    wchar_t text[64] = L"stale";
    FormatPlayerStatus(c.position, c.length, c.speed, text, 64);
    EXPECT_STREQ(text, c.text);
  }
}

// Each player command has a button with an icon on the strip, and the panel
// answers the tooltip request for it with a text.
TEST_F(PanelTest, EachPlayerCommandHasAButtonWithATip) {
  HWND toolbar = Panel()->toolbar;
  for (uint16_t command : {kCmdRew, kCmdPlay, kCmdPause, kCmdStop, kCmdFF}) {
    LRESULT index = SendMessageW(toolbar, TB_COMMANDTOINDEX, command, 0);
    ASSERT_GE(index, 0) << command;
    TBBUTTON button{};
    SendMessageW(toolbar, TB_GETBUTTON, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&button));
    EXPECT_GE(button.iBitmap, 0) << command;
    NMTTDISPINFOW info{};
    info.hdr = {toolbar, command, static_cast<UINT>(TTN_GETDISPINFOW)};
    SendMessageW(PanelWindow(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_TRUE(info.lpszText && *info.lpszText) << command;
  }
}

TEST_F(PanelTest, OpenedFilePlaysIntoTheDevice) {
  EXPECT_EQ(TimePane(), L"  00:00 (01:40)");
  wchar_t path[kMaxPathChars + 1];
  PlayerPanelSoundPath(PanelWindow(), path, kMaxPathChars + 1);
  EXPECT_EQ(std::wstring(path), gTalk);
  Command(kCmdPlay);
  ASSERT_TRUE(WaitState(kStatePlaying));
  EXPECT_EQ(gStatusBar.panes[kStatusPaneState].icon, Panel()->playIcon);
  ASSERT_TRUE(WaitUntil([] { return CaptureSize() >= 4 * kRate; }, 10000));
  auto runs = CountingRuns(ReadCapture());
  ASSERT_FALSE(runs.empty());
  EXPECT_EQ(runs[0].first, 0u) << RunsText(runs);
  Command(kCmdPause);
  ASSERT_TRUE(WaitState(kStatePaused));
  EXPECT_EQ(gStatusBar.panes[kStatusPaneState].icon, Panel()->pauseIcon);
  StopAndForget();
  EXPECT_EQ(Panel()->position, 0u);
  EXPECT_EQ(gStatusBar.panes[kStatusPaneState].icon, nullptr);
}

TEST_F(PanelTest, SoundCueTakesThePlayingPositionOnANewLine) {
  uint32_t at = PauseAt(42);
  ASSERT_GE(at, 42u);
  ASSERT_LE(at, 44u);
  EXPECT_EQ(TimePane(), L"  " + Time(at) + L" (01:40)");
  SetEditor(L"first line\r\nsecond line", 3);  // the caret inside the first line
  Command(kCmdInsSndCue);
  EXPECT_EQ(EditorText(), L"first line\r\n<Sound Cue: " + Time(at) + L">\r\nsecond line");
  SendMessageW(EditorWindow(), EM_SETSEL, 0, -1);  // a selection is kept, not replaced
  SendMessageW(EditorWindow(), EM_SETSEL, EditorText().size(), EditorText().size());
  Command(kCmdInsSndCue);
  EXPECT_EQ(EditorText(), L"first line\r\n<Sound Cue: " + Time(at) + L">\r\nsecond line\r\n<Sound Cue: " + Time(at) + L">");
  std::wstring marked = EditorText();
  Command(kCmdUndo);
  EXPECT_EQ(EditorText(), marked) << "marks are inserted without undo";
}

TEST_F(PanelTest, GoToOnTheCueLineResumesTheSoundThere) {
  uint32_t at = PauseAt(42);
  ASSERT_GE(at, 42u);
  SetEditor(L"first line\r\nsecond line", 3);
  Command(kCmdInsSndCue);
  StopAndForget();
  EXPECT_EQ(TimePane(), L"  00:00 (01:40)");
  CaretOn(L"<Sound Cue");
  Command(kCmdGoTo);
  EXPECT_EQ(Panel()->position, at);
  EXPECT_EQ(TimePane(), L"  " + Time(at) + L" (01:40)");
  EXPECT_EQ(Panel()->seekBarPosition, at) << "100 s: seconds are percent";
  EXPECT_EQ(Panel()->pendingCueSeconds, at) << "kept for the next opened file";
  Panel()->pendingCueSeconds = 0;
  Command(kCmdPlay);
  ASSERT_TRUE(WaitSoundFrom(at)) << RunsText(CountingRuns(ReadCapture()));
  StopAndForget();
}

// The panel knows whole seconds; a seek to 90 s of a 100.9 s file taken as
// 90/100 of it would sound from 90.8 s.
TEST_F(PanelTest, ATimeIsFoundThroughTheExactLength) {
  ASSERT_TRUE(Open(FixturePath("count8k-tail.wav"), 100));
  ASSERT_TRUE(PlayAndSettle());
  PlayerPanelSeekToTime(PanelWindow(), 90);
  EXPECT_TRUE(WaitSoundFrom(90)) << RunsText(CountingRuns(ReadCapture()));
  StopAndForget();
}

TEST_F(PanelTest, VerboseMarksCarryQuotedPathSizeDateAndPosition) {
  std::wstring transcript = gFolder + L"\\transcript.txt";
  ASSERT_TRUE(WriteWholeFile(transcript, {'x'}));
  ASSERT_TRUE(DocumentOpenFile(gMainWindow, transcript.c_str()));
  Command(kCmdPause);  // paused from stopped: the position can be set without sound
  ASSERT_TRUE(WaitState(kStatePaused));
  PlayerPanelSeekToTime(PanelWindow(), 75);
  SetEditor(L"notes", 0);
  Command(kCmdInsSndVerb);
  std::wstring text = EditorText();
  std::wstring head = L"notes\r\n<Sound File: \"" + gTalk + L"\" " + std::to_wstring(44 + kRate * 4 * kTalkSeconds) + L" ";
  ASSERT_EQ(text.substr(0, head.size()), head) << std::string(text.begin(), text.end());
  std::wstring date = text.substr(head.size(), 19);
  EXPECT_EQ(date[2], L'.');
  EXPECT_EQ(date[5], L'.');
  EXPECT_EQ(date[10], L' ');
  EXPECT_GE(std::stoi(date.substr(6, 4)), 2020) << "a fresh file has a real date";
  EXPECT_EQ(text.substr(head.size() + 19), L" Sound Cue:01:15>");
  Command(kCmdInsTxtVerb);
  std::wstring transcriptLine = L"\r\n<Text File: " + transcript + L" ";
  EXPECT_NE(EditorText().find(transcriptLine), std::wstring::npos);
  EXPECT_EQ(EditorText().find(L"Sound Cue", text.size()), std::wstring::npos) << "no position for the text file";
  Command(kCmdInsSndPath);
  EXPECT_EQ(EditorText().substr(EditorText().rfind(L"\r\n")), L"\r\n<Sound File: \"" + gTalk + L"\">");
  StopAndForget();
}

TEST_F(PanelTest, GoToOnAVerboseMarkOpensTheFileThenSeeks) {
  ASSERT_TRUE(Open(gLong, kLongSeconds));
  EXPECT_EQ(TimePane(), L"  00:00 (11:40)");
  SetEditor(L"before\r\n<Sound File: \"" + gTalk + L"\" 3200044 01.01.2020 00:00:00 Sound Cue:01:05> said\r\nafter", 0);
  CaretOn(L"<Sound File");
  Command(kCmdGoTo);
  ASSERT_TRUE(WaitUntil([] { return Panel()->file.info.lengthSeconds == kTalkSeconds && Panel()->position == 65; },
                        10000));
  EXPECT_EQ(Panel()->pendingCueSeconds, 0u) << "consumed by the file information";
  EXPECT_EQ(TimePane(), L"  01:05 (01:40)");
  Command(kCmdPlay);
  ASSERT_TRUE(WaitSoundFrom(65)) << RunsText(CountingRuns(ReadCapture()));
  StopAndForget();
}

TEST_F(PanelTest, StepBackAtThreeSecondsLandsAtTheStart) {
  ASSERT_GE(PauseAt(3), 3u);
  ASSERT_LT(Panel()->position, 5u);
  size_t before = static_cast<size_t>(CaptureSize());
  Command(kCmdRew);
  ASSERT_TRUE(WaitState(kStatePlaying));
  ASSERT_TRUE(WaitSoundFrom(0, before)) << RunsText(CountingRuns(ReadCapture(), before));
  EXPECT_TRUE(WaitUntil([] { return Panel()->position < 2; }, 3000));
  StopAndForget();
}

TEST_F(PanelTest, StepForwardSeeksOnlyInsideTheFile) {
  ASSERT_TRUE(PlayAndSettle());
  PlayerPanelSeekToTime(PanelWindow(), 90);
  Command(kCmdFF);  // from 90, or 91 if the ticker got there first
  ASSERT_TRUE(WaitUntil(
      [] {
        for (const FrameRun& run : CountingRuns(ReadCapture()))
          if (run.first == 95 * kRate || run.first == 96 * kRate) return true;
        return false;
      },
      10000))
      << RunsText(CountingRuns(ReadCapture()));
  StopAndForget();
  // A step that would pass the end does not seek; the sound resumes where it paused.
  ASSERT_GE(PauseAt(40), 40u);
  PlayerPanelSetStepLengths(PanelWindow(), 5, 61);
  Command(kCmdFF);
  ASSERT_TRUE(WaitState(kStatePlaying));
  ASSERT_TRUE(WaitSoundFrom(40));
  PumpFor(500);
  auto runs = CountingRuns(ReadCapture());
  EXPECT_EQ(runs.back().first, 40 * kRate) << "no seek after the one to 40 s:" << RunsText(runs);
  EXPECT_GT(runs.back().frames, kRate / 2);
  StopAndForget();
}

TEST_F(PanelTest, ADropOpensTheFirstFileAndSkipsFolders) {
  ASSERT_TRUE(Open(gLong, kLongSeconds));
  std::wstring folder = gFolder + L"\\sound files";
  SendMessageW(PanelWindow(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({folder})), 0);
  PumpFor(300);
  EXPECT_EQ(std::wstring(Panel()->file.path), gLong) << "a folder alone opens nothing";
  EXPECT_TRUE(gShown.empty());
  SendMessageW(PanelWindow(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({folder, gTalk, gLong})), 0);
  EXPECT_TRUE(WaitUntil([] { return Panel()->file.info.lengthSeconds == kTalkSeconds; }, 10000));
  EXPECT_EQ(std::wstring(Panel()->file.path), gTalk);
}

TEST_F(PanelTest, TheSeekBarNeverSeeksToTheEnd) {
  PlayerPanel* panel = Panel();
  RECT bar;
  GetClientRect(panel->seekBar, &bar);
  Command(kCmdPlay);
  ASSERT_TRUE(WaitState(kStatePlaying));
  ASSERT_TRUE(WaitUntil([] { return CaptureSize() > 0; }, 10000));
  SendMessageW(panel->seekBar, WM_LBUTTONUP, 0, MAKELPARAM(bar.right + 40, 5));
  EXPECT_GT(SendMessageW(panel->seekBar, kSliderGetPosition, 0, 0), 99);
  PumpFor(300);
  auto runs = CountingRuns(ReadCapture());
  ASSERT_FALSE(runs.empty());
  EXPECT_EQ(runs.size(), 1u) << "a release beyond the end seeks nowhere:" << RunsText(runs);
  SendMessageW(panel->seekBar, WM_LBUTTONUP, 0, MAKELPARAM(bar.right, 5));
  EXPECT_EQ(SendMessageW(panel->seekBar, kSliderGetPosition, 0, 0), 99);
  EXPECT_TRUE(WaitSoundFrom(99)) << RunsText(CountingRuns(ReadCapture()));
  StopAndForget();
}

// The x of a release that lands on the given value of the seek bar.
int SeekBarX(HWND bar, uint32_t value) {
  RECT client;
  GetClientRect(bar, &client);
  for (int x = 0; x <= client.right; x++)
    if (SliderReleasePosition(x, kSeekBarRange - 1, client.right) == value) return x;
  return -1;
}

// A click on the seek bar while paused or stopped is where playback goes on.
TEST_F(PanelTest, TheSeekBarMovesWherePlaybackGoesOn) {
  HWND bar = Panel()->seekBar;
  ASSERT_GE(PauseAt(20), 20u);
  size_t before = static_cast<size_t>(CaptureSize());
  SendMessageW(bar, WM_LBUTTONUP, 0, MAKELPARAM(SeekBarX(bar, 60), 5));
  ASSERT_TRUE(WaitState(kStatePlaying)) << "a click while paused resumes";
  EXPECT_TRUE(WaitSoundFrom(60, before)) << RunsText(CountingRuns(ReadCapture(), before));
  StopAndForget();
  SendMessageW(bar, WM_LBUTTONUP, 0, MAKELPARAM(SeekBarX(bar, 30), 5));
  PumpFor(300);
  EXPECT_EQ(Panel()->position, 30u);
  EXPECT_EQ(TimePane(), L"  00:30 (01:40)");
  EXPECT_EQ(CaptureSize(), 0u) << "a click while stopped plays nothing";
  Command(kCmdPlay);
  EXPECT_TRUE(WaitSoundFrom(30)) << RunsText(CountingRuns(ReadCapture()));
}

// A failed open says so (the text and that Play then does nothing are the
// player thread test's) and leaves the panel without a file; a new file
// starts at its beginning.
TEST_F(PanelTest, TheShownFileIsTheOpenedOne) {
  ASSERT_GE(PauseAt(42), 42u);
  StopAndForget();
  EXPECT_FALSE(PlayerPanelOpenFile(PanelWindow(), gBroken.c_str()));
  EXPECT_EQ(gShown.size(), 1u);
  wchar_t path[kMaxPathChars + 1];
  EXPECT_EQ(PlayerPanelSoundPath(PanelWindow(), path, kMaxPathChars + 1), 0u);
  EXPECT_EQ(TimePane(), L"");
  PlayerPanelSeekToTime(PanelWindow(), 0);
  SetEditor(L"<Sound Cue: 01:10>", 0);
  Command(kCmdGoTo);
  ASSERT_TRUE(Open(gLong, kLongSeconds));
  EXPECT_TRUE(WaitUntil([] { return Panel()->position == 70; }, 5000));
  ASSERT_TRUE(Open(gTalk, kTalkSeconds));
  EXPECT_EQ(Panel()->position, 0u) << "not the place in the file before";
  EXPECT_EQ(TimePane(), L"  00:00 (01:40)");
}

TEST_F(PanelTest, ACueBeyondTheEndWaitsForTheNextFile) {
  SetEditor(L"<Sound Cue: 10:00>", 0);
  uint32_t before = Panel()->position;
  Command(kCmdGoTo);
  EXPECT_EQ(Panel()->pendingCueSeconds, 600u);
  EXPECT_EQ(Panel()->position, before) << "600 s lie beyond a file of 100 s";
  ASSERT_TRUE(Open(gLong, kLongSeconds));
  EXPECT_TRUE(WaitUntil([] { return Panel()->position == 600; }, 5000));
  EXPECT_EQ(Panel()->pendingCueSeconds, 0u);
  EXPECT_EQ(TimePane(), L"  10:00 (11:40)");
  EXPECT_EQ(Panel()->seekBarPosition, 85u) << "600 / 700 of the bar, truncated";
}

TEST_F(PanelTest, BareFileInformationIsIgnored) {
  SendMessageW(PanelWindow(), PN_INFO, 0, 0);
  EXPECT_EQ(std::wstring(Panel()->file.path), gTalk);
  EXPECT_EQ(Panel()->file.info.lengthSeconds, kTalkSeconds);
}

// The Configuration dialog's Audio page, answered from a timer: Step Back 2 s.
void CALLBACK StepBackTwoAndOk(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND dialog = FindWindowW(L"#32770", L"Configuration");
  if (!dialog) return;
  KillTimer(nullptr, timer);
  SetDlgItemTextW(dialog, kConfigStepBack, L"2");
  PostMessageW(dialog, WM_COMMAND, kConfigOk, 0);
}

TEST_F(PanelTest, StepBackMovesByTheLengthSetInTheConfiguration) {
  SetTimer(nullptr, 0, 50, StepBackTwoAndOk);
  ASSERT_TRUE(RunConfigurationDialog(gMainWindow));
  EXPECT_EQ(ReadSetting(Settings(), kSettingStepBack), 2u);
  ASSERT_EQ(PauseAt(30), 30u);
  size_t before = static_cast<size_t>(CaptureSize());
  Command(kCmdRew);
  ASSERT_TRUE(WaitState(kStatePlaying));
  EXPECT_TRUE(WaitSoundFrom(28, before)) << RunsText(CountingRuns(ReadCapture(), before));
  StopAndForget();
  PlayerPanelSetStepLengths(PanelWindow(), 5, 5);
}

}  // namespace
