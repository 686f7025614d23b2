// Which settings file the store uses: every row of the precedence, the marker, and
// the move to the per-user file when a save beside the program is refused. The
// program file and the application-data folder are redirected into a temporary tree.
#include <gtest/gtest.h>

#include <string>

#include "settings/settings_file.h"
#include "settings/settings_location.h"
#include "settings/settings_store.h"
#include "settings_temp_folder.h"

namespace {

struct Candidates {
  TempTree tree;
  std::wstring programFolder = tree.Path(L"prog");
  std::wstring appData = tree.Path(L"appdata");
  std::wstring beside = tree.Path(L"prog\\Tapewright.INI");
  std::wstring perUser = tree.Path(L"appdata\\Corvane\\Tapewright.INI");

  Candidates() {
    MakeFolders(programFolder);
    MakeFolders(appData);
    SettingsRedirectFolders((programFolder + L"\\Tapewright.exe").c_str(), appData.c_str());
  }
  ~Candidates() { SettingsRedirectFolders(nullptr, nullptr); }
  void MakePerUser(const std::string& text) {
    MakeFolders(appData + L"\\Corvane");
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
  Candidates candidates;
  wchar_t path[kMaxPathChars + 1];
  EXPECT_TRUE(ProgramFolderSettingsPath(path, kMaxPathChars + 1));
  EXPECT_EQ(std::wstring(path), candidates.beside);
  EXPECT_TRUE(PerUserSettingsPath(path, kMaxPathChars + 1));
  EXPECT_EQ(std::wstring(path), candidates.perUser);

  struct {
    const wchar_t* programFile;
    const wchar_t* appData;
    const wchar_t* beside;
    const wchar_t* perUser;
  } cases[] = {
      {L"\"C:\\Tools\\TW.exe", L"C:\\Users\\u\\AppData\\Roaming", L"C:\\Tools\\TW.INI",
       L"C:\\Users\\u\\AppData\\Roaming\\Corvane\\TW.INI"},
      // No extension, a dot in the folder name: the last dot of the whole path counts.
      {L"C:\\my.apps\\Tapewright", L"C:/Users/u/AppData/", L"C:\\my.INI", L"C:\\Users\\u\\AppData\\Corvane\\my.INI"},
      {L"C:\\Tools\\Tapewright", L"D:\\Data\\", L"C:\\Tools\\Tapewright.INI", L"D:\\Data\\Corvane\\Tapewright.INI"},
  };
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
}

TEST(SettingsLocation, NeitherFileExists) {
  Candidates candidates;
  {
    SettingsStore store(0);
    EXPECT_EQ(std::wstring(store.path), candidates.beside);
    WriteInt(&store, "TPWR", "Opt", 1);
  }
  EXPECT_EQ(ReadFileText(candidates.beside), "[TPWR]\r\nOpt=1\r\n");
  EXPECT_FALSE(FileExists(candidates.perUser));
}

TEST(SettingsLocation, OnlyThePerUserFile) {
  Candidates candidates;
  candidates.MakePerUser("[TPWR]\r\nOpt=2\r\n");
  SettingsStore store(0);
  EXPECT_EQ(std::wstring(store.path), candidates.perUser);
  EXPECT_EQ(ReadInt(&store, "TPWR", "Opt", 0), 2u);
}

TEST(SettingsLocation, OnlyTheProgramFolderFile) {
  Candidates candidates;
  ASSERT_TRUE(WriteFileText(candidates.beside, "[TPWR]\r\nOpt=3\r\n"));
  SettingsStore store(0);
  EXPECT_EQ(std::wstring(store.path), candidates.beside);
  EXPECT_EQ(ReadInt(&store, "TPWR", "Opt", 0), 3u);
}

TEST(SettingsLocation, BothWithoutMarkerUseTheProgramFolderAndDropItsMarker) {
  Candidates candidates;
  candidates.MakePerUser("[TPWR]\r\nOpt=4\r\n");
  ASSERT_TRUE(WriteFileText(candidates.beside, "[TPWR]\r\nOpt=5\r\n\r\n[UseThis]\r\nOpt=C:\\elsewhere.INI\r\n"));
  {
    SettingsStore store(0);
    EXPECT_EQ(std::wstring(store.path), candidates.beside);
    EXPECT_EQ(ReadInt(&store, "TPWR", "Opt", 0), 5u);
  }
  EXPECT_EQ(ReadFileText(candidates.beside), "[TPWR]\r\nOpt=5\r\n\r\n");
  EXPECT_EQ(ReadFileText(candidates.perUser), "[TPWR]\r\nOpt=4\r\n");
}

TEST(SettingsLocation, BothWithMarkerUseThePerUserFile) {
  Candidates candidates;
  candidates.MakePerUser("[TPWR]\r\nOpt=6\r\n\r\n" + candidates.Marker());
  ASSERT_TRUE(WriteFileText(candidates.beside, "[TPWR]\r\nOpt=7\r\n"));
  SettingsStore store(0);
  EXPECT_EQ(std::wstring(store.path), candidates.perUser);
  EXPECT_EQ(ReadInt(&store, "TPWR", "Opt", 0), 6u);
}

TEST(SettingsLocation, ReadOnlyCandidatesAreSkipped) {
  {
    // Program-folder file not writable, no per-user file: defaults, never saved.
    Candidates candidates;
    ASSERT_TRUE(WriteFileText(candidates.beside, "[TPWR]\r\nOpt=8\r\n"));
    Unwritable locked(candidates.beside);
    SettingsStore store(0);
    EXPECT_STREQ(store.path, L"");
    EXPECT_EQ(ReadInt(&store, "TPWR", "Opt", 0), 0u);
  }
  {
    // ... with a per-user file without marker: the per-user file.
    Candidates candidates;
    candidates.MakePerUser("[TPWR]\r\nOpt=9\r\n");
    ASSERT_TRUE(WriteFileText(candidates.beside, "[TPWR]\r\nOpt=8\r\n"));
    Unwritable locked(candidates.beside);
    SettingsStore store(0);
    EXPECT_EQ(std::wstring(store.path), candidates.perUser);
  }
  {
    // Per-user file with marker but not writable: the program-folder file.
    Candidates candidates;
    candidates.MakePerUser("[TPWR]\r\nOpt=9\r\n\r\n" + candidates.Marker());
    Unwritable locked(candidates.perUser);
    ASSERT_TRUE(WriteFileText(candidates.beside, "[TPWR]\r\nOpt=8\r\n"));
    SettingsStore store(0);
    EXPECT_EQ(std::wstring(store.path), candidates.beside);
  }
  {
    // Per-user file not writable, no program-folder file: created beside the program.
    Candidates candidates;
    candidates.MakePerUser("[TPWR]\r\nOpt=9\r\n");
    Unwritable locked(candidates.perUser);
    SettingsStore store(0);
    EXPECT_EQ(std::wstring(store.path), candidates.beside);
  }
}

TEST(SettingsLocation, FixedLocationSearchesNothing) {
  Candidates candidates;
  ASSERT_TRUE(WriteFileText(candidates.beside, "[TPWR]\r\nOpt=3\r\n"));
  SettingsStore store(kSettingsFixedLocation);
  EXPECT_STREQ(store.path, L"");
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

  // Later starts keep the per-user file although a program-folder file exists.
  SettingsRedirectFolders((candidates.programFolder + L"\\Tapewright.exe").c_str(), candidates.appData.c_str());
  ASSERT_TRUE(WriteFileText(candidates.beside, "[TPWR]\r\nOpt=12\r\n"));
  SettingsStore later(0);
  EXPECT_EQ(std::wstring(later.path), candidates.perUser);
  EXPECT_EQ(ReadInt(&later, "TPWR", "Opt", 0), 11u);
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
}

}  // namespace
