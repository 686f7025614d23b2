// Folder macros in stored paths, in both directions.
#include <gtest/gtest.h>

#include <string>

#include "settings/settings_location.h"
#include "settings/settings_paths.h"

namespace {

struct Redirected {
  Redirected() {
    SettingsRedirectFolders(L"C:\\Prog Files\\TW\\Tapewright.exe", L"C:\\Users\\u\\AppData\\Roaming");
    SetEnvironmentVariableW(L"TEMP", L"D:\\Tmp");
    SetEnvironmentVariableW(L"TPWRDOCS", L"Q:\\Transcripts");
    SetEnvironmentVariableW(L"TPWRLIST", L"R:\\Lists;S:\\More");
    SetEnvironmentVariableW(L"TPWRSHORT", L"P:\\");
  }
  ~Redirected() {
    SettingsRedirectFolders(nullptr, nullptr);
    SetEnvironmentVariableW(L"TPWRDOCS", nullptr);
    SetEnvironmentVariableW(L"TPWRLIST", nullptr);
    SetEnvironmentVariableW(L"TPWRSHORT", nullptr);
  }
};

std::wstring Expand(const wchar_t* in) {
  wchar_t out[kMaxPathChars + 1];
  ExpandPath(in, out, kMaxPathChars + 1);
  return out;
}

std::wstring Compact(const wchar_t* in) {
  wchar_t out[kMaxPathChars + 1];
  CompactPath(in, out, kMaxPathChars + 1);
  return out;
}

TEST(SettingsPaths, ExpandMacros) {
  Redirected redirected;
  struct {
    const wchar_t* in;
    const wchar_t* out;
  } cases[] = {
      {L"%MY_PATH%\\a.txt", L"C:\\Prog Files\\TW\\a.txt"},
      {L"%my_path%\\a.txt", L"C:\\Prog Files\\TW\\a.txt"},
      {L"%COMMANDER_PATH%\\b.wav", L"C:\\Prog Files\\TW\\b.wav"},
      {L"%Commander_Path%\\b.wav", L"C:\\Prog Files\\TW\\b.wav"},
      {L"%MY_PATH%", L"C:\\Prog Files\\TW"},
      {L"%APPDATA%\\Corvane\\x", L"C:\\Users\\u\\AppData\\Roaming\\Corvane\\x"},
      {L"%appdata%\\Corvane\\x", L"C:\\Users\\u\\AppData\\Roaming\\Corvane\\x"},
      {L"%TEMP%\\rec.wav", L"D:\\Tmp\\rec.wav"},
      {L"%temp%\\rec.wav", L"D:\\Tmp\\rec.wav"},
      {L"%TPWRDOCS%\\a.txt", L"Q:\\Transcripts\\a.txt"},
      {L"%TPWR_NOT_SET_ANYWHERE%\\q", L"%TPWR_NOT_SET_ANYWHERE%\\q"},
      {L"%MY_PATH", L"%MY_PATH"},
      {L"..\\Shared\\b.txt", L"C:\\Prog Files\\TW\\..\\Shared\\b.txt"},
      {L"../Shared/b.txt", L"C:\\Prog Files\\TW\\..\\Shared\\b.txt"},
      {L"C:\\plain\\c.txt", L"C:\\plain\\c.txt"},
      {L"", L""},
  };
  for (const auto& c : cases) EXPECT_EQ(Expand(c.in), c.out) << std::wstring(c.in).size();
  wchar_t small[6];
  ExpandPath(L"%MY_PATH%\\a.txt", small, 6);
  EXPECT_STREQ(small, L"C:\\Pr");
}

TEST(SettingsPaths, CompactPaths) {
  Redirected redirected;
  struct {
    const wchar_t* in;
    const wchar_t* out;
  } cases[] = {
      {L"C:\\Prog Files\\TW\\a.txt", L"%MY_PATH%\\a.txt"},
      {L"c:\\prog files\\tw\\a.txt", L"%MY_PATH%\\a.txt"},
      {L"C:\\Prog Files\\TW", L"%MY_PATH%"},
      {L"C:\\Prog Files\\TW/sub", L"%MY_PATH%/sub"},
      {L"C:\\Prog Files\\TWX\\a.txt", L"C:\\Prog Files\\TWX\\a.txt"},
      {L"C:\\Users\\u\\AppData\\Roaming\\Corvane\\x", L"%APPDATA%\\Corvane\\x"},
      {L"D:\\Tmp\\rec.wav", L"%TEMP%\\rec.wav"},
      {L"d:\\tmp\\rec.wav", L"%TEMP%\\rec.wav"},
      {L"Q:\\Transcripts\\a.txt", L"%TPWRDOCS%\\a.txt"},
      {L"q:\\TRANSCRIPTS\\a.txt", L"%TPWRDOCS%\\a.txt"},
      {L"R:\\Lists;S:\\More\\f.txt", L"R:\\Lists;S:\\More\\f.txt"},  // a list is no folder
      {L"P:\\a.txt", L"P:\\a.txt"},                                  // too short to be a folder
      {L"%APPDATA%\\x", L"%APPDATA%\\x"},
      {L"E:\\elsewhere\\x", L"E:\\elsewhere\\x"},
  };
  for (const auto& c : cases) EXPECT_EQ(Compact(c.in), c.out) << std::wstring(c.in).size();
}

TEST(SettingsPaths, DialogFieldsShowExpandedAndReturnCompacted) {
  Redirected redirected;
  HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  if (!window) GTEST_SKIP() << "no window station";
  HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD, 0, 0, 10, 10, window, reinterpret_cast<HMENU>(101), nullptr,
                              nullptr);
  ASSERT_NE(edit, nullptr);
  SetPathField(window, 101, L"%MY_PATH%\\Help");
  wchar_t shown[kMaxPathChars + 1];
  GetWindowTextW(edit, shown, kMaxPathChars + 1);
  EXPECT_STREQ(shown, L"C:\\Prog Files\\TW\\Help");
  SetWindowTextW(edit, L"D:\\Tmp\\new.wav");
  wchar_t stored[kMaxPathChars + 1];
  GetPathField(window, 101, stored, kMaxPathChars + 1);
  EXPECT_STREQ(stored, L"%TEMP%\\new.wav");
  DestroyWindow(window);
}

}  // namespace
