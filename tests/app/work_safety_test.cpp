// What keeps a typist's work: a recording dropped on the text goes to the
// player and is never saved over; an inexact text file opens with a warning
// and a question before its original is replaced; Windows logging off waits
// for the save prompt; a restart asks and reopens the text; Shift+Tab visits
// the panel; and no message runs code that another process sends.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/main_window.h"
#include "commands/commands.h"
#include "editor/document.h"
#include "editor/editor_view.h"
#include "main_window_host.h"
#include "player/player_panel.h"
#include "settings/settings_store.h"
#include "settings/settings_values.h"
#include "test_support.h"
#include "ui/theme.h"

namespace {

class KeepTheWork : public HostedWindowTest {
 protected:
  static std::wstring Write(const wchar_t* name, const std::vector<uint8_t>& bytes) {
    std::wstring path = gFolder + L"\\" + name;
    WriteWholeFile(path, bytes);
    return path;
  }
  static LRESULT Command(uint16_t id) { return SendMessageW(gMainWindow, WM_COMMAND, id, 0); }
};

// A file with a NUL opens whole with a warning; its original is replaced only
// when the user says so.
TEST_F(KeepTheWork, InexactFileWarnsAndAsksBeforeItIsReplaced) {
  std::vector<uint8_t> bytes = {'b', 'e', 'f', 'o', 'r', 'e', 0, 'a', 'f', 't', 'e', 'r', ' ', 't', 'e', 'x', 't'};
  std::wstring path = Write(L"with-nul.txt", bytes);
  ASSERT_TRUE(DocumentOpenFile(gMainWindow, path.c_str()));
  EXPECT_EQ(EditorText(), L"before after text");
  ASSERT_EQ(gAsked.size(), 1u);
  EXPECT_NE(gAsked[0].find(L"NUL"), std::wstring::npos) << "the warning names the problem";
  gAsked.clear();
  gAnswer = IDNO;
  EXPECT_EQ(Command(kCmdFileSave), 0);
  EXPECT_EQ(gAsked.size(), 1u) << "asked before replacing";
  EXPECT_EQ(ReadWholeFile(path), bytes) << "the original is untouched";
  gAnswer = IDYES;
  EXPECT_EQ(Command(kCmdFileSave), 1);
  EXPECT_EQ(ReadWholeFile(path), Utf16File(L"before after text"));
  gAsked.clear();
  EXPECT_EQ(Command(kCmdFileSave), 1);
  EXPECT_TRUE(gAsked.empty()) << "once replaced, it holds exactly the text shown";
}

TEST_F(KeepTheWork, ARecordingDroppedOnTheTextPlaysAndIsNeverSaved) {
  std::vector<uint8_t> wav = {'R', 'I', 'F', 'F', 40, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' ', 16, 0, 0, 0,
                              1, 0, 1, 0, 0x40, 0x1F, 0, 0, 0x80, 0x3E, 0, 0, 2, 0, 16, 0,
                              'd', 'a', 't', 'a', 4, 0, 0, 0, 1, 0, 2, 0};
  std::wstring recording = Write(L"dropped.wav", wav);
  std::wstring transcript = Write(L"notes.txt", {'n', 'o', 't', 'e', 's'});
  ASSERT_TRUE(DocumentOpenFile(gMainWindow, transcript.c_str()));
  SendMessageW(EditorWindow(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({recording})), 0);
  DispatchPending();
  EXPECT_EQ(EditorText(), L"notes") << "not loaded as text";
  EXPECT_STREQ(DocumentPath(), transcript.c_str());
  wchar_t playing[kMaxPathChars + 1];
  PlayerPanelSoundPath(PlayerPanelWindow(), playing, kMaxPathChars + 1);
  EXPECT_EQ(std::wstring(playing), recording) << "the player has it";
  SendMessageW(EditorWindow(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"more "));
  EXPECT_EQ(Command(kCmdFileSave), 1);
  EXPECT_EQ(ReadWholeFile(recording), wav);
}

TEST_F(KeepTheWork, LogoffWaitsForTheSavePrompt) {
  SendMessageW(EditorWindow(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"unsaved"));
  gAnswer = IDCANCEL;
  EXPECT_EQ(SendMessageW(gMainWindow, WM_QUERYENDSESSION, 0, 0), FALSE);
  EXPECT_EQ(gAsked.size(), 1u);
  gAnswer = IDNO;
  EXPECT_EQ(SendMessageW(gMainWindow, WM_QUERYENDSESSION, 0, 0), TRUE);
}

LRESULT gCalled = 0;
LRESULT MarkCalled(LPARAM value) { return gCalled = value; }

TEST_F(KeepTheWork, NoMessageRunsAnAddressItCarries) {
  SendMessageW(gMainWindow, WM_USER + 8, reinterpret_cast<WPARAM>(MarkCalled), 42);
  EXPECT_EQ(gCalled, 0);
}

// Typing the tab and coming back to the text are the real-key tests'.
TEST_F(KeepTheWork, ShiftTabVisitsThePanelControlsInTurn) {
  HWND editor = EditorWindow();
  SetFocus(editor);
  PlayerPanel* panel = PlayerPanelOf(PlayerPanelWindow());
  ASSERT_NE(panel, nullptr);
  EnableWindow(panel->seekBar, TRUE);
  std::vector<HWND> visited;
  for (int i = 0; i < 3; i++) {
    Command(kCmdShiftTabKey);
    visited.push_back(GetFocus());
  }
  EXPECT_EQ(visited, (std::vector<HWND>{panel->seekBar, panel->volumeBar, editor}));
}

TEST_F(KeepTheWork, UseSystemColorsShowsTheSystemColours) {
  COLORREF stored[2] = {RGB(200, 0, 0), RGB(255, 255, 200)};
  uint32_t useSystem = 1;
  WriteColors(Settings(), kSettingColor.section, kSettingColor.name, stored, &useSystem);
  ApplyEditorColors();
  EXPECT_EQ(ThemeEditorTextColor(), GetSysColor(COLOR_WINDOWTEXT));
  EXPECT_EQ(ThemeEditorBackColor(), GetSysColor(COLOR_WINDOW));
  useSystem = 0;
  WriteColors(Settings(), kSettingColor.section, kSettingColor.name, stored, &useSystem);
  ApplyEditorColors();
  EXPECT_EQ(ThemeEditorTextColor(), stored[0]);
  EXPECT_EQ(ThemeEditorBackColor(), stored[1]);
  DeleteKey(Settings(), kSettingColor.section, kSettingColor.name);
  ApplyEditorColors();
}

// The window is replaced as the program's restart does; the new one serves later tests alike.
TEST_F(KeepTheWork, RestartAsksThenReopensTheTextAtTheSameLine) {
  std::wstring path = Write(L"restart.txt", {'o', 'n', 'e', '\r', '\n', 't', 'w', 'o', '\r', '\n', 't', 'h', 'r', 'e', 'e'});
  ASSERT_TRUE(DocumentOpenFile(gMainWindow, path.c_str()));
  LRESULT third = SendMessageW(EditorWindow(), EM_LINEINDEX, 2, 0);
  SendMessageW(EditorWindow(), EM_SETSEL, third + 2, third + 2);
  SendMessageW(EditorWindow(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"!"));
  gAnswer = IDCANCEL;
  EXPECT_EQ(RequestRestart(), 0);
  EXPECT_TRUE(IsWindow(gMainWindow)) << "Cancel: nothing restarts";
  EXPECT_EQ(gApp->restartCount, 0u);
  gAnswer = IDYES;
  ASSERT_EQ(RequestRestart(), 1);
  EXPECT_FALSE(IsWindow(gMainWindow));
  RunRestartedWindow();
  ASSERT_NE(gMainWindow, nullptr);
  EXPECT_STREQ(DocumentPath(), path.c_str());
  EXPECT_EQ(EditorText(), L"one\r\ntwo\r\nth!ree") << "saved before the restart";
  DWORD start = 0, end = 0;
  SendMessageW(EditorWindow(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(SendMessageW(EditorWindow(), EM_LINEFROMCHAR, end, 0), 2);
}

}  // namespace
