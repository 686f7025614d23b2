// The real main window hosted in a test program, with its settings
// redirected into a private temporary folder.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>
#include <shellapi.h>

#include <deque>
#include <string>
#include <vector>

// A new empty folder under the temporary folder, named prefix + a tick count.
std::wstring MakeTestFolder(const wchar_t* prefix);
// Creates the application record and the main window with the settings in
// folder, in the given interface language ("US", "DE"); messageBox answers
// the program's message boxes instead of the user (null: every box is
// answered "No").
void HostMainWindow(const std::wstring& folder, int (*messageBox)(HWND, const wchar_t*, const wchar_t*, UINT),
                    const char* language = "US");
// Destroys the main window without the save prompt.
void CloseMainWindow();
// After a restart destroyed the main window: what the program's entry does
// next (fresh application record, writes allowed again, a new main window).
void RunRestartedWindow();
// Runs the window messages that are waiting.
void DispatchPending();
// The editor's whole text.
std::wstring EditorText();
// Text as the program saves a transcript: FF FE, then UTF-16LE.
std::vector<uint8_t> Utf16File(const std::wstring& text);
// A drop handle as the shell makes it, for WM_DROPFILES; the receiver frees it.
HDROP MakeDrop(const std::vector<std::wstring>& paths);

// What the message boxes of a HostedWindowTest said, and how they are
// answered: the queued answers first, then gAnswer.
extern std::vector<std::wstring> gAsked;
extern std::deque<int> gAnswers;
extern int gAnswer;

// One hosted main window for a test suite, its settings in gFolder. Each test
// starts on a new unmodified document, nothing asked yet, every answer "No".
class HostedWindowTest : public testing::Test {
 protected:
  static void SetUpTestSuite();
  static void TearDownTestSuite() { CloseMainWindow(); }
  void SetUp() override;
  static std::wstring gFolder;
};
