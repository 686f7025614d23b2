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
    for (const wchar_t* name : {L"TPWRDOCS", L"TPWRLIST", L"TPWRSHORT"}) SetEnvironmentVariableW(name, nullptr);
  }
};

TEST(SettingsPaths, ExpandMacros) {
  Redirected redirected;
  struct { const wchar_t *in, *out; } cases[] = {
      {L"%my_path%\\a.txt", L"C:\\Prog Files\\TW\\a.txt"}, {L"%Commander_Path%\\b.wav", L"C:\\Prog Files\\TW\\b.wav"},
      {L"%MY_PATH%", L"C:\\Prog Files\\TW"},              {L"%APPDATA%\\x", L"C:\\Users\\u\\AppData\\Roaming\\x"},
      {L"%temp%\\rec.wav", L"D:\\Tmp\\rec.wav"},          {L"%TPWRDOCS%\\a.txt", L"Q:\\Transcripts\\a.txt"},
      {L"%TPWR_NOT_SET%\\q", L"%TPWR_NOT_SET%\\q"},      {L"%MY_PATH", L"%MY_PATH"},
      {L"..\\Shared\\b.txt", L"C:\\Prog Files\\TW\\..\\Shared\\b.txt"},
      {L"../Shared/b.txt", L"C:\\Prog Files\\TW\\..\\Shared\\b.txt"},
      {L"C:\\plain\\c.txt", L"C:\\plain\\c.txt"},
  };
  wchar_t out[kMaxPathChars + 1];
  for (const auto& c : cases) {
    ExpandPath(c.in, out, kMaxPathChars + 1);
    EXPECT_STREQ(out, c.out);
  }
  ExpandPath(L"%MY_PATH%\\a.txt", out, 6);
  EXPECT_STREQ(out, L"C:\\Pr");
}

TEST(SettingsPaths, CompactPaths) {
  Redirected redirected;
  // Folders match without regard to case; a list of folders or a root is no folder.
  struct { const wchar_t *in, *out; } cases[] = {
      {L"c:\\prog files\\tw\\a.txt", L"%MY_PATH%\\a.txt"},     {L"C:\\Prog Files\\TW", L"%MY_PATH%"},
      {L"C:\\Prog Files\\TW/sub", L"%MY_PATH%/sub"},         {L"C:\\Prog Files\\TWX\\a", L"C:\\Prog Files\\TWX\\a"},
      {L"C:\\Users\\u\\AppData\\Roaming\\x", L"%APPDATA%\\x"}, {L"D:\\Tmp\\rec.wav", L"%TEMP%\\rec.wav"},
      {L"q:\\TRANSCRIPTS\\a.txt", L"%TPWRDOCS%\\a.txt"},       {L"R:\\Lists;S:\\More\\f", L"R:\\Lists;S:\\More\\f"},
      {L"P:\\a.txt", L"P:\\a.txt"},                          {L"E:\\elsewhere\\x", L"E:\\elsewhere\\x"},
  };
  wchar_t out[kMaxPathChars + 1];
  for (const auto& c : cases) {
    CompactPath(c.in, out, kMaxPathChars + 1);
    EXPECT_STREQ(out, c.out);
  }
}

}  // namespace
