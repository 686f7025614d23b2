// The main window hosted in the test process: layout, status bar panes, title
// and prompt texts, and the editor keeping every character and its modified
// state through a word-wrap toggle.
#include <gtest/gtest.h>

#include <string>

#include "app/app_state.h"
#include "app/command_ids.h"
#include "app/main_window.h"
#include "app/status_bar.h"
#include "editor/document.h"
#include "main_window_host.h"
#include "test_support.h"

namespace {

TEST(MainLayout, BarsAndPanelStackFromTheBottom) {
  MainLayout layout;
  ComputeMainLayout(600, 400, 0, 30, 25, &layout);
  EXPECT_EQ(layout.statusBar.top, 370);
  EXPECT_EQ(layout.playerPanel.top, 345);
  EXPECT_EQ(layout.playerPanel.bottom, 370);
  EXPECT_EQ(layout.editor.top, 0);
  EXPECT_EQ(layout.editor.bottom, 345);
  EXPECT_EQ(layout.minTrackWidth, 350);
  EXPECT_EQ(layout.minTrackHeight, 155);
  // Hidden status bar: the panel sits on the bottom edge; a toolbar pushes the editor down.
  ComputeMainLayout(600, 400, 40, 0, 25, &layout);
  EXPECT_EQ(layout.playerPanel.bottom, 400);
  EXPECT_EQ(layout.editor.top, 40);
  EXPECT_EQ(layout.editor.bottom, 375);
  EXPECT_EQ(layout.minTrackHeight, 165);
  ComputeMainLayout(600, 20, 0, 30, 25, &layout);
  EXPECT_GE(layout.editor.bottom, layout.editor.top) << "never a negative height";
}

TEST(StatusBarPanes, EdgesFollowTheWidth) {
  struct { int width, height, e0, e1, e2; } cases[] = {
      {600, 25, 278, 556, 600}, {601, 25, 279, 557, 601}, {44, 25, 0, 0, 44}, {30, 25, 0, 0, 30},
  };
  for (const auto& c : cases) {
    int edges[kStatusPanes];
    StatusBarPaneEdges(c.width, c.height, edges);
    EXPECT_EQ(edges[0], c.e0) << c.width;
    EXPECT_EQ(edges[1], c.e1) << c.width;
    EXPECT_EQ(edges[2], c.e2) << c.width;
  }
}

TEST(DocumentTexts, PromptAndTitle) {
  wchar_t text[400];
  BuildSaveChangesText(L"The file has changed. Do you want to save it?", L"C:\\work\\talk.txt", L"Untitled", text, 400);
  EXPECT_STREQ(text, L"The file has changed. Do you want to save it?\r\n\r\ntalk.txt");
  BuildSaveChangesText(L"Question\r\n", L"", L"Untitled", text, 400);
  EXPECT_STREQ(text, L"Question\r\n\r\n(Untitled)");
  BuildWindowTitle(L"Tapewright", L"D:/a/b/interview.txt", L"Untitled", text, 400);
  EXPECT_STREQ(text, L"Tapewright - interview.txt");
  BuildWindowTitle(L"Tapewright", L"", L"Unbenannt", text, 400);
  EXPECT_STREQ(text, L"Tapewright - Unbenannt");
}

// One main window for the remaining tests, with settings in a scratch folder.
class MainWindowTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    gFolder = MakeTestFolder(L"tpwr-shell-");
    HostMainWindow(gFolder, nullptr);
  }
  static void TearDownTestSuite() { CloseMainWindow(); }
  static std::wstring gFolder;

  static void Type(const std::wstring& text) {
    for (wchar_t c : text) SendMessageW(gApp->editorWindow, WM_CHAR, c, 0);
  }
};
std::wstring MainWindowTest::gFolder;

TEST_F(MainWindowTest, HasEditorPanelAndTitle) {
  ASSERT_NE(gMainWindow, nullptr);
  ASSERT_NE(gApp->editorWindow, nullptr);
  ASSERT_NE(gApp->playerWindow, nullptr);
  SendMessageW(gMainWindow, WM_COMMAND, kCmdAfterCreate, 2);
  wchar_t title[256];
  GetWindowTextW(gMainWindow, title, 256);
  EXPECT_STREQ(title, L"Tapewright - Untitled");
  EXPECT_NE(GetMenu(gMainWindow), nullptr) << "the menu bar is built";
}

TEST_F(MainWindowTest, KeepsEveryCharacterBeyondTheOldLimit) {
  SetWindowTextW(gApp->editorWindow, L"");
  std::wstring line(99, L'x');
  line += L"\r\n";
  std::wstring text;
  while (text.size() < 41000) text += line;
  SendMessageW(gApp->editorWindow, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
  Type(L"tail");
  EXPECT_EQ(EditorText(), text + L"tail");
}

TEST_F(MainWindowTest, WordWrapToggleKeepsTextAndModifiedState) {
  SetWindowTextW(gApp->editorWindow, L"");
  Type(L"unsaved words");
  ASSERT_TRUE(SendMessageW(gApp->editorWindow, EM_GETMODIFY, 0, 0));
  HWND before = gApp->editorWindow;
  SendMessageW(gMainWindow, WM_COMMAND, kCmdWordwrap, 0);
  EXPECT_NE(gApp->editorWindow, before) << "a new control with the other style";
  EXPECT_EQ(EditorText(), L"unsaved words");
  EXPECT_TRUE(SendMessageW(gApp->editorWindow, EM_GETMODIFY, 0, 0)) << "closing must still prompt";
  EXPECT_FALSE(GetWindowLongW(gApp->editorWindow, GWL_STYLE) & WS_HSCROLL);
  SendMessageW(gMainWindow, WM_COMMAND, kCmdWordwrap, 0);
  EXPECT_TRUE(GetWindowLongW(gApp->editorWindow, GWL_STYLE) & WS_HSCROLL);
  EXPECT_EQ(EditorText(), L"unsaved words");
}

TEST_F(MainWindowTest, SaveWritesTheTranscriptAndClearsModified) {
  SetWindowTextW(gApp->editorWindow, L"");
  Type(L"Sound Cue: 00:05\r");
  std::wstring path = gFolder + L"\\transcript.txt";
  lstrcpynW(gApp->textFilePath, path.c_str(), kMaxPathChars);
  EXPECT_EQ(SendMessageW(gMainWindow, WM_COMMAND, kCmdFileSave, 0), 1);
  EXPECT_FALSE(SendMessageW(gApp->editorWindow, EM_GETMODIFY, 0, 0));
  std::wstring expected = L"\xFEFFSound Cue: 00:05\r\n";
  auto bytes = ReadWholeFile(path);
  ASSERT_EQ(bytes.size(), expected.size() * 2);
  EXPECT_EQ(0, memcmp(bytes.data(), expected.data(), bytes.size()));
}

TEST_F(MainWindowTest, HidingTheStatusBarMovesThePanelDown) {
  RECT client, panel;
  GetClientRect(gMainWindow, &client);
  SendMessageW(gMainWindow, WM_COMMAND, kCmdStatusbar, 0);
  EXPECT_TRUE(gApp->options & kOptStatusBarHidden);
  GetWindowRect(gApp->playerWindow, &panel);
  MapWindowPoints(HWND_DESKTOP, gMainWindow, reinterpret_cast<POINT*>(&panel), 2);
  EXPECT_EQ(panel.bottom, client.bottom);
  SendMessageW(gMainWindow, WM_COMMAND, kCmdStatusbar, 0);
  EXPECT_FALSE(gApp->options & kOptStatusBarHidden);
  GetWindowRect(gApp->playerWindow, &panel);
  MapWindowPoints(HWND_DESKTOP, gMainWindow, reinterpret_cast<POINT*>(&panel), 2);
  EXPECT_EQ(panel.bottom, client.bottom - StatusBarHeight());
}

TEST_F(MainWindowTest, GreyedCopyDoesNothing) {
  SetWindowTextW(gApp->editorWindow, L"abc");
  SendMessageW(gApp->editorWindow, EM_SETSEL, 1, 1);
  OpenClipboard(gMainWindow);
  EmptyClipboard();
  CloseClipboard();
  RefreshCommandStates();
  SendMessageW(gMainWindow, WM_COMMAND, kCmdCopy, 0);
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_UNICODETEXT));
}

}  // namespace
