// The Configuration dialog on the hosted main window, answered from a timer
// inside its modal loops, and the shortcut page written out by HelpKeys.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/config_dialog.h"
#include "app/help_online.h"
#include "commands/commands.h"
#include "main_window_host.h"
#include "settings/settings_store.h"
#include "shortcuts/shortcut_settings.h"
#include "shortcuts/shortcut_table.h"
#include "test_support.h"

namespace {

TEST(StepSeconds, DigitsOnlyElseTheOldValueStays) {
  struct {
    const wchar_t* text;
    int accepted;
    int32_t seconds;
  } cases[] = {{L"12", 1, 12}, {L"0", 1, 0}, {L"1000", 1, 1000}, {L"", 0, 7}, {L"1a", 0, 7},
               {L"-3", 0, 7},  {L" 3", 0, 7}, {L"x", 0, 7},       {L"99999999999", 0, 7}};
  for (const auto& c : cases) {
    int32_t seconds = 7;
    EXPECT_EQ(ParseStepSeconds(c.text, &seconds), c.accepted) << c.text;
    EXPECT_EQ(seconds, c.seconds) << c.text;
  }
  // The cue offset takes a minus sign, and nothing else the step lengths refuse.
  for (const auto& c : cases) {
    if (c.text[0] == L'-') continue;
    int32_t seconds = 7;
    EXPECT_EQ(ParseOffsetSeconds(c.text, &seconds), c.accepted) << c.text;
    EXPECT_EQ(seconds, c.seconds) << c.text;
  }
  int32_t offset = 7;
  EXPECT_TRUE(ParseOffsetSeconds(L"-90", &offset));
  EXPECT_EQ(offset, -90);
  EXPECT_FALSE(ParseOffsetSeconds(L"--9", &offset));
  EXPECT_FALSE(ParseOffsetSeconds(L"-", &offset));
  EXPECT_EQ(offset, -90);
}

std::vector<std::wstring> gOpened;
int RecordOpen(HWND, const wchar_t* target) {
  gOpened.push_back(target);
  return 1;
}

// What the timer does next, step by step, in whichever dialog is open.
struct Script {
  int step;
  std::wstring note;  // the key-capture dialog's note when the key was chosen
  int buttonsEnabledWithoutSelection;
};
Script gScript;

HWND Find(const wchar_t* title) { return FindWindowW(L"#32770", title); }

int RowOfCommand(HWND list, uint16_t command) {
  int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = i;
    SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    if (HIWORD(item.lParam) == command) return i;
  }
  return -1;
}

void Select(HWND list, int row) {
  LVITEMW state{};
  state.stateMask = state.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&state));
}

// File - Save gets Ctrl+G through Edit: the note names the command that held
// it, and OK in the Configuration dialog (or Cancel) ends the run.
void CALLBACK EditSaveToCtrlG(HWND, UINT, UINT_PTR, DWORD) {
  if (HWND capture = Find(L"Shortcut")) {
    HWND keys = GetDlgItem(capture, 5404);
    SendMessageW(keys, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(L"G"));
    SendMessageW(capture, WM_COMMAND, MAKEWPARAM(5404, CBN_SELCHANGE), reinterpret_cast<LPARAM>(keys));
    CheckDlgButton(capture, 9017, BST_CHECKED);
    SendMessageW(capture, WM_COMMAND, 9017, 0);
    wchar_t note[128] = L"";
    GetDlgItemTextW(capture, 5405, note, 128);
    gScript.note = note;
    PostMessageW(capture, WM_COMMAND, 99, 0);
    return;
  }
  HWND dialog = Find(L"Configuration");
  if (!dialog) return;
  HWND list = GetDlgItem(dialog, kConfigShortcutList);
  if (gScript.step == 0) {
    gScript.step = 1;
    HWND bar = FindWindowExW(dialog, nullptr, TOOLBARCLASSNAMEW, nullptr);
    gScript.buttonsEnabledWithoutSelection = static_cast<int>(SendMessageW(bar, TB_ISBUTTONENABLED, kConfigEditShortcut, 0));
    Select(list, RowOfCommand(list, kCmdFileSave));
    PostMessageW(dialog, WM_COMMAND, kConfigEditShortcut, 0);
  } else if (gScript.step == 1) {
    gScript.step = 2;
    PostMessageW(dialog, WM_COMMAND, gScript.note.empty() ? kConfigCancel : kConfigOk, 0);
  }
}

class ConfigDialogTest : public testing::Test {
 protected:
  static std::wstring gFolder;
  static void SetUpTestSuite() {
    gFolder = MakeTestFolder(L"tpwr-config-");
    HostMainWindow(gFolder, nullptr);
  }
  static void TearDownTestSuite() { CloseMainWindow(); }
  int RunScripted(TIMERPROC script) {
    gScript = Script{};
    UINT_PTR timer = SetTimer(nullptr, 0, 100, script);
    int result = RunConfigurationDialog(gMainWindow);
    KillTimer(nullptr, timer);
    return result;
  }
  static std::string KeysEntry(const char* code) {
    char value[32] = "";
    ReadString(Settings(), kSettingKeys.section, code, "", value, sizeof value);
    return value;
  }
};
std::wstring ConfigDialogTest::gFolder;

TEST_F(ConfigDialogTest, EditMovesCtrlGFromGoToAndOkSavesTheRows) {
  ASSERT_EQ(RunScripted(EditSaveToCtrlG), 1);
  EXPECT_EQ(gScript.buttonsEnabledWithoutSelection, 0);
  EXPECT_EQ(gScript.note, L"Search - Go to");
  EXPECT_EQ(CommandForCode(&gShortcuts, kKeyCtrl | 'G'), kCmdFileSave);
  EXPECT_EQ(CodeForCommand(&gShortcuts, kCmdGoTo), 0);
  EXPECT_EQ(KeysEntry("583"), "FileSave");
  EXPECT_EQ(KeysEntry("595"), "-");
  // Back to the defaults for the tests after this one.
  DeleteSection(Settings(), kSettingKeys.section);
  LoadShortcutsFrom(Settings(), &gShortcuts);
  ASSERT_EQ(CommandForCode(&gShortcuts, kKeyCtrl | 'G'), kCmdGoTo);
}

TEST_F(ConfigDialogTest, HelpKeysWritesKeysThenOneThenOpensEach) {
  std::wstring temp = MakeTestFolder(L"tpwr-keys-");
  wchar_t saved[MAX_PATH] = L"";
  GetEnvironmentVariableW(L"TMP", saved, MAX_PATH);
  SetEnvironmentVariableW(L"TMP", temp.c_str());
  auto* savedOpen = gShellOpen;
  gShellOpen = RecordOpen;
  gOpened.clear();
  SendMessageW(gMainWindow, WM_COMMAND, kCmdHelpKeys, 0);
  SendMessageW(gMainWindow, WM_COMMAND, kCmdHelpKeys, 0);
  gShellOpen = savedOpen;
  SetEnvironmentVariableW(L"TMP", saved[0] ? saved : nullptr);
  ASSERT_EQ(gOpened, (std::vector<std::wstring>{temp + L"\\Keys.htm", temp + L"\\1.htm"}));
  std::vector<uint8_t> page = ReadWholeFile(temp + L"\\1.htm");
  std::string text(page.begin(), page.end());
  EXPECT_EQ(text.substr(0, 3), "\xEF\xBB\xBF");
  EXPECT_NE(text.find("<td>File - Save</td><td>Ctrl+S</td>"), std::string::npos);
  EXPECT_EQ(ReadWholeFile(temp + L"\\Keys.htm"), page);
}

}  // namespace
