// The main window hosted in the test process: the editor keeping its text and
// modified state through a word-wrap toggle, dropped text files, and the
// player's messages in the program's language.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/main_menus.h"
#include "app/main_window.h"
#include "commands/commands.h"
#include "editor/document.h"
#include "editor/editor_view.h"
#include "main_window_host.h"
#include "player/player_panel.h"
#include "settings/settings_store.h"
#include "test_support.h"

namespace {

class MainWindowTest : public HostedWindowTest {
 protected:
  static void Type(const std::wstring& text) {
    for (wchar_t c : text) SendMessageW(EditorWindow(), WM_CHAR, c, 0);
  }
};

TEST_F(MainWindowTest, WordWrapToggleKeepsTextAndModifiedState) {
  SetWindowTextW(EditorWindow(), L"");
  Type(L"unsaved words");
  ASSERT_TRUE(SendMessageW(EditorWindow(), EM_GETMODIFY, 0, 0));
  HWND before = EditorWindow();
  SendMessageW(gMainWindow, WM_COMMAND, kCmdWordwrap, 0);
  EXPECT_NE(EditorWindow(), before) << "a new control with the other style";
  EXPECT_EQ(EditorText(), L"unsaved words");
  EXPECT_TRUE(SendMessageW(EditorWindow(), EM_GETMODIFY, 0, 0)) << "closing must still prompt";
  EXPECT_FALSE(GetWindowLongW(EditorWindow(), GWL_STYLE) & WS_HSCROLL);
  SendMessageW(gMainWindow, WM_COMMAND, kCmdWordwrap, 0);
  EXPECT_TRUE(GetWindowLongW(EditorWindow(), GWL_STYLE) & WS_HSCROLL);
  EXPECT_EQ(EditorText(), L"unsaved words");
}

TEST_F(MainWindowTest, DroppedTextFileOpensTheFirstThatIsNotAFolder) {
  std::wstring folder = gFolder + L"\\a folder";
  CreateDirectoryW(folder.c_str(), nullptr);
  std::wstring first = gFolder + L"\\dropped.txt";
  std::wstring second = gFolder + L"\\other.txt";
  std::string ansi = "Dropped \xE4 text\r\n";
  ASSERT_TRUE(WriteWholeFile(first, std::vector<uint8_t>(ansi.begin(), ansi.end())));
  ASSERT_TRUE(WriteWholeFile(second, std::vector<uint8_t>{'n', 'o'}));
  SendMessageW(EditorWindow(), EM_SETMODIFY, FALSE, 0);
  SendMessageW(EditorWindow(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({folder, first, second})), 0);
  wchar_t text[64] = L"";
  GetWindowTextW(EditorWindow(), text, 64);
  EXPECT_STREQ(text, L"Dropped \x00E4 text\r\n");
  EXPECT_STREQ(DocumentPath(), first.c_str());
  wchar_t title[128];
  GetWindowTextW(gMainWindow, title, 128);
  EXPECT_STREQ(title, L"Tapewright - dropped.txt");
  EXPECT_FALSE(SendMessageW(EditorWindow(), EM_GETMODIFY, 0, 0));
  // Only folders: nothing happens.
  SendMessageW(EditorWindow(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({folder})), 0);
  EXPECT_STREQ(DocumentPath(), first.c_str());
}

// The player's messages follow the language chosen in the program, not the
// language of Windows.
TEST_F(MainWindowTest, GermanChosenInTheProgramShowsGermanPlayerMessages) {
  ASSERT_NE(PRIMARYLANGID(GetUserDefaultUILanguage()), LANG_GERMAN) << "needs a Windows in another language";
  std::wstring broken = gFolder + L"\\broken.wav";
  ASSERT_TRUE(WriteWholeFile(broken, {'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A', 'V', 'E'}));
  WriteString(Settings(), kSettingLanguage.section, kSettingLanguage.name, "DE");
  lstrcpyA(gApp->languageCode, "");
  SelectLanguageAndBuildMenus(gMainWindow);
  EXPECT_FALSE(PlayerPanelOpenFile(PlayerPanelWindow(), broken.c_str()));
  WriteString(Settings(), kSettingLanguage.section, kSettingLanguage.name, "US");
  lstrcpyA(gApp->languageCode, "");
  SelectLanguageAndBuildMenus(gMainWindow);
  ASSERT_EQ(gAsked.size(), 1u);
  EXPECT_EQ(gAsked[0], L"Die Audiodatei kann nicht ge\u00f6ffnet werden.\n\nbroken.wav");
}

}  // namespace
