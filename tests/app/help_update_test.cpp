// The Help menu's reach outside the program: which help file opens, and the
// update check against a local stand-in for the maker's site
// (product-server.py, started by the test fixture).
#include <gtest/gtest.h>

#include <cstdio>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "app/help_online.h"
#include "app/update_check.h"
#include "base/paths.h"
#include "main_window_host.h"
#include "test_support.h"
#include "ui/message_box.h"

namespace {

struct Shown {
  std::wstring text, caption;
  UINT type;
};
std::mutex gShownLock;
std::vector<Shown> gShown;

int Record(HWND, const wchar_t* text, const wchar_t* caption, UINT type) {
  std::lock_guard<std::mutex> hold(gShownLock);
  gShown.push_back({text, caption ? caption : L"", type});
  return IDOK;
}

std::vector<std::wstring> gOpened;
int RecordOpen(HWND, const wchar_t* target) {
  gOpened.push_back(target);
  return 1;
}

TEST(HelpFile, KindsFirstThenTheLanguageThenUsEnglish) {
  std::wstring folder = MakeTestFolder(L"tpwr-help-");
  std::wstring program = folder + L"\\Tapewright.exe";
  auto put = [&](const wchar_t* name) { WriteWholeFile(folder + L"\\" + name, {'x'}); };
  wchar_t path[MAX_PATH + 32];

  EXPECT_EQ(FindHelpFile(program.c_str(), "DE", path, MAX_PATH + 32), kHelpNone);
  EXPECT_STREQ(path, L"");
  put(L"Tapew_DE.HTM");
  EXPECT_EQ(FindHelpFile(program.c_str(), "DE", path, MAX_PATH + 32), kHelpHtm);
  EXPECT_EQ(path, folder + L"\\Tapew_DE.HTM");
  put(L"Tapew_US.CHM");
  EXPECT_EQ(FindHelpFile(program.c_str(), "DE", path, MAX_PATH + 32), kHelpChm) << "a CHM in English before a page";
  EXPECT_EQ(path, folder + L"\\Tapew_US.CHM");
  put(L"Tapew_DE.CHM");
  EXPECT_EQ(FindHelpFile(program.c_str(), "DE", path, MAX_PATH + 32), kHelpChm);
  EXPECT_EQ(path, folder + L"\\Tapew_DE.CHM");

  // The name follows the program's own: five characters, or fewer before the extension.
  std::wstring shortName = folder + L"\\TP.exe";
  put(L"TP_US.HTM");
  EXPECT_EQ(FindHelpFile(shortName.c_str(), "FR", path, MAX_PATH + 32), kHelpHtm);
  EXPECT_EQ(path, folder + L"\\TP_US.HTM");
}

TEST(HelpFile, APageOpensThroughTheShell) {
  std::wstring folder = MakeTestFolder(L"tpwr-help-open-");
  WriteWholeFile(folder + L"\\Tapew_US.HTM", {'x'});
  wchar_t program[MAX_PATH + 1];
  ASSERT_TRUE(ProgramFilePath(program, MAX_PATH + 1));
  RedirectProgramFile((folder + L"\\Tapewright.exe").c_str());
  gShellOpen = RecordOpen;
  OpenHelp(nullptr, "DE", 0);
  RedirectProgramFile(program);
  ASSERT_EQ(gOpened.size(), 1u);
  EXPECT_EQ(gOpened[0], folder + L"\\Tapew_US.HTM");
}

TEST(UpdateCheck, VersionsCompareAsNumbers) {
  struct {
    const char *a, *b;
    int order;
  } cases[] = {
      {"26.9", "26.10", -1}, {"26.10", "26.11", -1}, {"26.10", "26.10", 0}, {"27", "26.99", 1},
      {"26.10", "26.10.0", 0}, {"26.10b", "26.10B", 0}, {"26.10", "26.10a", -1}, {"26.010", "26.10", 0},
  };
  for (const auto& c : cases) {
    int order = CompareVersions(c.a, c.b);
    EXPECT_EQ((order > 0) - (order < 0), c.order) << c.a << " vs " << c.b;
    EXPECT_EQ(-((order > 0) - (order < 0)), (CompareVersions(c.b, c.a) > 0) - (CompareVersions(c.b, c.a) < 0));
  }
}

TEST(UpdateCheck, TheProductsLineAndNoOther) {
  struct {
    const char* list;
    bool found;
    const char* version;
    const wchar_t* title;
  } cases[] = {
      {"TW26.11 Tapewright", true, "26.11", L"Tapewright"},
      {"XY1.0 Other\nTW26.12 Tape\n", true, "26.12", L"Tape"},
      {"tw26.11 Tapewright\r\n", false, "", L""},  // the code is compared exactly
      {"TW26.11\r\n", false, "", L""},             // no blank: malformed
      {"TW Tapewright\r\n", false, "", L""},       // no version
      {"", false, "", L""},
  };
  for (const auto& c : cases) {
    char version[65] = "";
    wchar_t title[64] = L"";
    EXPECT_EQ(FindProductLine(c.list, strlen(c.list), "TW", version, sizeof version, title, 64) != 0, c.found)
        << c.list;
    if (!c.found) continue;
    EXPECT_STREQ(version, c.version);
    EXPECT_STREQ(title, c.title);
  }
  // A line is at most 64 bytes: a longer title is cut, the rest is no line of its own.
  std::string line = "TW26.11 " + std::string(70, 'T') + "\r\n";
  char version[65];
  wchar_t title[64];
  ASSERT_TRUE(FindProductLine(line.data(), line.size(), "TW", version, sizeof version, title, 64));
  EXPECT_EQ(wcslen(title), 56u);
}

class UpdateCheckOnline : public testing::Test {
 protected:
  void SetUp() override {
    std::wstring state = TestFolder("TPWR_PRODUCT_SERVER");
    if (state.empty()) GTEST_SKIP() << "no product server";
    std::vector<uint8_t> site = ReadWholeFile(state + L"\\site");
    ASSERT_FALSE(site.empty());
    site_.assign(site.begin(), site.end());
    gMessageBoxRoutine = Record;
    gShown.clear();
  }
  // The site address whose products.txt holds list.
  std::wstring Site(const char* list, bool slow = false) {
    std::wstring address = site_ + (slow ? L"/slow/" : L"/list/");
    for (const char* c = list; *c; ++c) {
      wchar_t hex[3];
      swprintf(hex, 3, L"%02x", static_cast<unsigned char>(*c));
      address += hex;
    }
    return address;
  }
  std::wstring site_;
};

TEST_F(UpdateCheckOnline, SaysWhetherTheListNamesANewerVersion) {
  struct {
    const char* list;
    UpdateResult result;
    const wchar_t *text, *caption;
    UINT icon;
  } cases[] = {
      {"XY3.1 Other\r\nTW26.10 Tapewright\r\n", kUpToDate, L"Tapewright is up to date.", L"Tapewright", MB_ICONINFORMATION},
      {"TW26.11 Tapewright 26.11\r\n", kUpdateAvailable, L"An update is available: 26.11", L"Tapewright 26.11",
       MB_ICONINFORMATION},
      {"XY3.1 Other\r\n", kUpdateUnknown, nullptr, L"Tapewright", MB_ICONWARNING},
  };
  for (const auto& c : cases) {
    gShown.clear();
    EXPECT_EQ(RunUpdateCheck(nullptr, Site(c.list).c_str(), "TW", "26.10"), c.result) << c.list;
    ASSERT_EQ(gShown.size(), 1u) << c.list;
    if (c.text)
      EXPECT_EQ(gShown[0].text, c.text);
    else
      EXPECT_NE(gShown[0].text.find(L"could not be completed"), std::wstring::npos) << "a failure says so";
    EXPECT_EQ(gShown[0].caption, c.caption);
    EXPECT_EQ(gShown[0].type & MB_ICONMASK, c.icon);
  }
}

TEST_F(UpdateCheckOnline, AServerThatIsDownIsAnError) {
  EXPECT_EQ(RunUpdateCheck(nullptr, L"http://127.0.0.1:1", "TW", "26.10"), kDownloadFailed);
  ASSERT_EQ(gShown.size(), 1u);
  EXPECT_FALSE(gShown[0].text.empty()) << "the system's text for the error";
  EXPECT_EQ(gShown[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONERROR));
}

// The numbered files in the temporary folder.
std::set<std::wstring> NumberedTemporaryFiles() {
  wchar_t folder[MAX_PATH];
  GetTempPathW(MAX_PATH, folder);
  std::set<std::wstring> names;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((std::wstring(folder) + L"*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    std::wstring name = found.cFileName;
    if (!name.empty() && name.find_first_not_of(L"0123456789") == std::wstring::npos) names.insert(name);
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return names;
}

TEST_F(UpdateCheckOnline, TwoChecksAtOnceKeepApartAndLeaveNoFile) {
  std::set<std::wstring> before = NumberedTemporaryFiles();
  std::wstring newer = Site("TW26.11 Tapewright\r\n", true), same = Site("TW26.10 Tapewright\r\n", true);
  UpdateResult first = kDownloadFailed, second = kDownloadFailed;
  std::thread a([&] { first = RunUpdateCheck(nullptr, newer.c_str(), "TW", "26.10"); });
  std::thread b([&] { second = RunUpdateCheck(nullptr, same.c_str(), "TW", "26.10"); });
  a.join();
  b.join();
  EXPECT_EQ(first, kUpdateAvailable);
  EXPECT_EQ(second, kUpToDate);
  EXPECT_EQ(gShown.size(), 2u);
  EXPECT_EQ(NumberedTemporaryFiles(), before);
}

}  // namespace
