// Which settings file the store uses: every row of the precedence, the marker, and
// the move to the per-user file when a save beside the program is refused. The
// program file and the application-data folder are redirected into a temporary tree.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "settings/settings_file.h"
#include "settings/settings_location.h"
#include "settings/settings_store.h"
#include "temp_tree.h"

namespace {

struct Candidates {
  TempTree tree;
  std::wstring programFolder = tree.Path(L"prog");
  std::wstring appData = tree.Path(L"appdata");
  std::wstring beside = tree.Path(L"prog\\Tapewright.INI");
  std::wstring perUser = tree.Path(L"appdata\\Corvane\\Tapewright.INI");

  Candidates() {
    CreateDirectoryW(programFolder.c_str(), nullptr);
    CreateDirectoryW(appData.c_str(), nullptr);
    SettingsRedirectFolders((programFolder + L"\\Tapewright.exe").c_str(), appData.c_str());
  }
  ~Candidates() { SettingsRedirectFolders(nullptr, nullptr); }
  void MakePerUser(const std::string& text) {
    CreateDirectoryW((appData + L"\\Corvane").c_str(), nullptr);
    ASSERT_TRUE(WriteFileText(perUser, text));
  }
  std::string Marker() const {
    std::string narrow(perUser.begin(), perUser.end());
    return "[UseThis]\r\nOpt=" + narrow + "\r\n";
  }
};

// Makes a file unusable for writing: read-only, and where the system still opens
// it for writing (an administrator under Wine), held open without sharing as
// another program would.
struct Unwritable {
  HANDLE held = INVALID_HANDLE_VALUE;
  explicit Unwritable(const std::wstring& path) {
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
    if (SettingsProbeFile(path.c_str()) == 0)
      held = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(SettingsProbeFile(path.c_str()), 0u);
  }
  ~Unwritable() {
    if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
  }
};

TEST(SettingsLocation, CandidatePaths) {
  struct { const wchar_t *programFile, *appData, *beside, *perUser; } cases[] = {
      {L"\"C:\\Tools\\TW.exe", L"C:\\Users\\u\\AppData\\Roaming", L"C:\\Tools\\TW.INI",
       L"C:\\Users\\u\\AppData\\Roaming\\Corvane\\TW.INI"},
      // No extension, a dot in the folder name: the last dot of the whole path counts.
      {L"C:\\my.apps\\Tapewright", L"C:/Users/u/AppData/", L"C:\\my.INI", L"C:\\Users\\u\\AppData\\Corvane\\my.INI"},
      {L"C:\\Tools\\Tapewright", L"D:\\Data\\", L"C:\\Tools\\Tapewright.INI", L"D:\\Data\\Corvane\\Tapewright.INI"},
  };
  wchar_t path[kMaxPathChars + 1];
  for (const auto& c : cases) {
    SettingsRedirectFolders(c.programFile, c.appData);
    ProgramFolderSettingsPath(path, kMaxPathChars + 1);
    EXPECT_STREQ(path, c.beside);
    PerUserSettingsPath(path, kMaxPathChars + 1);
    EXPECT_STREQ(path, c.perUser);
  }
  wchar_t small[8];
  ProgramFolderSettingsPath(small, 8);
  EXPECT_EQ(wcslen(small), 7u);
  SettingsRedirectFolders(nullptr, nullptr);
}

// Every row of the precedence: which files exist, which carry the marker, which
// cannot be written, and the file the store then uses (Opt tells which was read).
TEST(SettingsLocation, Precedence) {
  enum { kNone, kBeside, kPerUser };
  // perUser: 0 none, 1 without marker, 2 with marker.
  struct { const char* name; int perUser; bool beside, lockBeside, lockPerUser; int chosen; uint32_t opt; } cases[] = {
      {"neither file", 0, false, false, false, kBeside, 0},
      {"only the per-user file", 1, false, false, false, kPerUser, 2},
      {"only the program-folder file", 0, true, false, false, kBeside, 3},
      {"both, no marker", 1, true, false, false, kBeside, 3},
      {"both, marker", 2, true, false, false, kPerUser, 2},
      {"program file read-only, no per-user file", 0, true, true, false, kNone, 0},
      {"program file read-only, per-user file", 1, true, true, false, kPerUser, 2},
      {"marked per-user file read-only", 2, true, false, true, kBeside, 3},
      {"per-user file read-only, no program file", 1, false, false, true, kBeside, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Candidates candidates;
    if (c.perUser) candidates.MakePerUser("[TPWR]\r\nOpt=2\r\n" + (c.perUser == 2 ? "\r\n" + candidates.Marker() : ""));
    ASSERT_TRUE(!c.beside || WriteFileText(candidates.beside, "[TPWR]\r\nOpt=3\r\n"));
    std::optional<Unwritable> locked;
    if (c.lockBeside) locked.emplace(candidates.beside);
    if (c.lockPerUser) locked.emplace(candidates.perUser);
    {
      SettingsStore store(0);
      const std::wstring paths[] = {L"", candidates.beside, candidates.perUser};
      EXPECT_EQ(std::wstring(store.path), paths[c.chosen]);
      EXPECT_EQ(ReadInt(&store, "TPWR", "Opt", 0), c.opt);
      if (!c.perUser && !c.beside) WriteInt(&store, "TPWR", "Opt", 1);
    }
    if (!c.perUser && !c.beside) {
      EXPECT_EQ(ReadFileText(candidates.beside), "[TPWR]\r\nOpt=1\r\n");
      EXPECT_FALSE(FileExists(candidates.perUser));
    }
  }
}

TEST(SettingsLocation, ProgramFolderFileDropsItsMarkerAndFixedLocationSearchesNothing) {
  Candidates candidates;
  candidates.MakePerUser("[TPWR]\r\nOpt=4\r\n");
  ASSERT_TRUE(WriteFileText(candidates.beside, "[TPWR]\r\nOpt=5\r\n\r\n[UseThis]\r\nOpt=C:\\elsewhere.INI\r\n"));
  { SettingsStore store(0); }
  EXPECT_EQ(ReadFileText(candidates.beside), "[TPWR]\r\nOpt=5\r\n\r\n");
  EXPECT_EQ(ReadFileText(candidates.perUser), "[TPWR]\r\nOpt=4\r\n");
  SettingsStore fixed(kSettingsFixedLocation);
  EXPECT_STREQ(fixed.path, L"");
}

TEST(SettingsLocation, RefusedSaveMovesToTheMarkedPerUserFile) {
  Candidates candidates;
  // The program's folder lies under a file, so nothing can be created there.
  ASSERT_TRUE(WriteFileText(candidates.tree.Path(L"locked"), "not a folder"));
  std::wstring lockedBeside = candidates.tree.Path(L"locked\\Tapewright.INI");
  SettingsRedirectFolders(candidates.tree.Path(L"locked\\Tapewright.exe").c_str(), candidates.appData.c_str());
  {
    SettingsStore store(0);
    EXPECT_EQ(std::wstring(store.path), lockedBeside);
    WriteInt(&store, "TPWR", "Opt", 11);
    EXPECT_EQ(Flush(&store), 0u);
    EXPECT_EQ(std::wstring(store.path), candidates.perUser);
  }
  EXPECT_EQ(ReadFileText(candidates.perUser), "[TPWR]\r\nOpt=11\r\n\r\n" + candidates.Marker());
}

TEST(SettingsLocation, RefusedSaveWithFixedLocationStaysPut) {
  Candidates candidates;
  ASSERT_TRUE(WriteFileText(candidates.tree.Path(L"locked"), "not a folder"));
  std::wstring locked = candidates.tree.Path(L"locked\\Tapewright.INI");
  SettingsStore store(kSettingsFixedLocation, locked.c_str());
  WriteInt(&store, "TPWR", "Opt", 11);
  EXPECT_NE(Flush(&store), 0u);
  EXPECT_EQ(std::wstring(store.path), locked);
  EXPECT_FALSE(FileExists(candidates.perUser));
  EXPECT_EQ(ReadFileText(candidates.tree.Path(L"locked")), "not a folder");
}

}  // namespace
