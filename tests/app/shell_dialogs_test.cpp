// The Language dialog (the list it shows, OK and Cancel) and the
// window-position arithmetic of the shell.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/language_dialog.h"
#include "app/window_commands.h"
#include "base/paths.h"
#include "test_support.h"

namespace {

TEST(LanguageChoices, FoundByCodeWithoutRegardToCase) {
  LanguageChoice choices[3] = {{"US", L"English"}, {"DE", L"German (Deutsch)"}, {"FR", L"Français"}};
  struct { const char* code; int index; } cases[] = {
      {"DE", 1}, {"de", 1}, {"fr", 2}, {"US", 0}, {"NL", -1}, {"", -1}, {nullptr, -1}, {"D", -1}};
  for (const auto& c : cases) EXPECT_EQ(FindLanguageChoice(choices, 3, c.code), c.index) << (c.code ? c.code : "null");
  EXPECT_EQ(FindLanguageChoice(choices, 0, "US"), -1);
}

// The rescued window lands in the middle of the work area, whatever its old place.
TEST(WindowPosition, CentredInTheWorkAreaKeepingItsSize) {
  RECT area = {0, 40, 1000, 740};
  struct { RECT from, to; } cases[] = {
      {{100, 100, 500, 400}, {300, 240, 700, 540}},        // inside
      {{-50, -50, 1150, 850}, {0, 40, 1200, 940}},         // larger than the area: top left
  };
  for (const auto& c : cases) {
    RECT rect = c.from;
    CentreRectInArea(&area, &rect);
    EXPECT_TRUE(EqualRect(&rect, &c.to)) << rect.left << "," << rect.top << "," << rect.right << "," << rect.bottom;
  }
}

// The real dialog, answered from a timer inside its modal loop.
struct DialogScript {
  const wchar_t* pick;  // the entry to select before OK, or null for Cancel
  std::vector<std::wstring> listed;
  std::wstring selectedAtStart;
};
DialogScript* gScript = nullptr;

void CALLBACK AnswerDialog(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND dialog = FindWindowW(L"#32770", L" Language");
  if (!dialog) return;
  KillTimer(nullptr, timer);
  HWND list = GetDlgItem(dialog, kLanguageListId);
  int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; i++) {
    wchar_t text[128] = L"";
    if (SendMessageW(list, LB_GETTEXTLEN, i, 0) < 128) SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
    gScript->listed.push_back(text);
  }
  LRESULT selected = SendMessageW(list, LB_GETCURSEL, 0, 0);
  if (selected >= 0) gScript->selectedAtStart = gScript->listed[static_cast<size_t>(selected)];
  if (!gScript->pick) {
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    return;
  }
  LRESULT at = SendMessageW(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(gScript->pick));
  SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(at), 0);
  PostMessageW(dialog, WM_COMMAND, IDOK, 0);
}

class LanguageDialogRun : public testing::Test {
 protected:
  void SetUp() override {
    saved = gApp;
    gApp = static_cast<AppState*>(calloc(1, sizeof(AppState)));
    gApp->instance = GetModuleHandleW(nullptr);
    lstrcpyA(gApp->languageCode, "US");
    // Where the dialog looks: the program's folder, wherever a test has put it.
    wchar_t folder[MAX_PATH];
    ProgramFolder(folder, MAX_PATH);
    languageFile = std::wstring(folder) + L"\\_xt.lng";
    std::string text = "; a language file for the test\r\nLanguage=Testisch\r\nCP=1252\r\nFNew=&Neuxt\r\n";
    text += std::string(120, ';') + "\r\n";  // only files larger than 100 bytes are listed
    WriteWholeFile(languageFile, std::vector<uint8_t>(text.begin(), text.end()));
  }
  void TearDown() override {
    DeleteFileW(languageFile.c_str());
    free(gApp);
    gApp = saved;
  }
  int Run(DialogScript* script, char* code) {
    gScript = script;
    SetTimer(nullptr, 0, 50, AnswerDialog);
    return RunLanguageDialog(nullptr, code, kLanguageCodeChars + 1);
  }
  std::wstring languageFile;
  AppState* saved = nullptr;
};

TEST_F(LanguageDialogRun, ListsLanguagesSelectsTheCurrentAndReturnsTheChoice) {
  DialogScript script = {L"German (Deutsch)", {}, L""};
  char code[kLanguageCodeChars + 1] = "";
  ASSERT_EQ(Run(&script, code), 1);
  EXPECT_STREQ(code, "DE");
  std::vector<std::wstring> sorted = {L"English", L"German (Deutsch)", L"Testisch"};
  EXPECT_EQ(script.listed, sorted) << "built-in tables and the file, sorted, the key table left out";
  EXPECT_EQ(script.selectedAtStart, L"English");
}

TEST_F(LanguageDialogRun, CancelReturnsNothing) {
  lstrcpyA(gApp->languageCode, "de");
  DialogScript script = {nullptr, {}, L""};
  char code[kLanguageCodeChars + 1] = "unset";
  EXPECT_EQ(Run(&script, code), 0);
  EXPECT_STREQ(code, "unset");
  EXPECT_EQ(script.selectedAtStart, L"German (Deutsch)") << "the current code, whatever its case";
}

}  // namespace
