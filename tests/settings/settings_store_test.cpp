// The settings store with real files: exact bytes on disk, no rewrite of unchanged
// files, text encodings, paths, durable saves, suppression and the mutex.
#include <gtest/gtest.h>

#include <string>

#include "settings/settings_file.h"
#include "settings/settings_store.h"
#include "temp_tree.h"

namespace {

using namespace std::string_literals;

TEST(SettingsStoreFile, UnchangedTextIsNotWrittenAgain) {
  TempTree tree;
  std::wstring path = tree.File(L"same.INI", "[TPWR]\r\nOpt=5\r\n");
  ASSERT_TRUE(AgeFile(path));
  SettingsStore fixed(kSettingsFixedLocation, path.c_str());
  EXPECT_TRUE(WriteInt(&fixed, "TPWR", "Opt", 5));
  EXPECT_EQ(fixed.dirty, 0u);
  EXPECT_EQ(Flush(&fixed), 0u);
  EXPECT_TRUE(FileWasAged(path));
  // Changed and changed back: dirty, but the file already holds the text.
  EXPECT_TRUE(WriteInt(&fixed, "TPWR", "Opt", 6));
  EXPECT_TRUE(WriteInt(&fixed, "TPWR", "Opt", 5));
  EXPECT_EQ(fixed.dirty, 1u);
  EXPECT_EQ(Flush(&fixed), 0u);
  EXPECT_EQ(fixed.dirty, 0u);
  EXPECT_TRUE(FileWasAged(path));
  EXPECT_TRUE(WriteInt(&fixed, "TPWR", "Opt", static_cast<uint32_t>(-1)));
  EXPECT_EQ(Flush(&fixed), 0u);
  EXPECT_FALSE(FileWasAged(path));
  EXPECT_EQ(ReadFileText(path), "[TPWR]\r\nOpt=4294967295\r\n");
}

TEST(SettingsStoreFile, FallbacksOfTheReaders) {
  TempTree tree;
  std::wstring path = tree.File(L"read.INI", "[TPWR]\r\nOpt  =   12\r\nkey=lower\r\nEmpty=\r\n");
  SettingsStore fixed(kSettingsFixedLocation, path.c_str());
  // An empty value is found yet gives the fallback.
  struct { const char *section, *key, *fallback; int result; const char* value; } cases[] = {
      {"TPWR", "Key", "d", 1, "d"}, {"TPWR", "Empty", "d", 0, "d"}, {"TPWR", "Empty", nullptr, 0, ""},
      {"Missing", "Key", nullptr, 1, ""}, {nullptr, "Opt", "d", 1, "d"},
  };
  for (const auto& c : cases) {
    char value[16];
    EXPECT_EQ(ReadString(&fixed, c.section, c.key, c.fallback, value, sizeof value), c.result) << c.key;
    EXPECT_STREQ(value, c.value) << c.key;
  }
  char small[3];
  ReadString(&fixed, "TPWR", "missing", "fallback", small, sizeof small);
  EXPECT_STREQ(small, "fa");
  EXPECT_EQ(ReadInt(&fixed, "TPWR", "Opt", 99), 12u);
  EXPECT_EQ(ReadInt(&fixed, "TPWR", "Empty", 99), 99u);
  EXPECT_EQ(ReadInt(&fixed, "TPWR", "Nothing", 99), 99u);
}

TEST(SettingsStoreText, ValuesOutsideTheAnsiCodePageRoundTrip) {
  TempTree tree;
  std::wstring path = tree.Path(L"text.INI");
  const wchar_t* outside = L"\x0416\x0443\x043A \x6771\x4EAC \xD83C\xDFA7";  // Cyrillic, CJK, a surrogate pair
  {
    SettingsStore fixed(kSettingsFixedLocation, path.c_str());
    EXPECT_TRUE(WriteText(&fixed, "TPWR", "Name", outside));
    EXPECT_TRUE(WriteText(&fixed, "TPWR", "Plain", L"Interview 3"));
  }
  std::string file = ReadFileText(path);
  EXPECT_TRUE(GetACP() == CP_UTF8 || file.find("Name=\xEF\xBB\xBF\xD0\x96") != std::string::npos) << file;
  EXPECT_NE(file.find("Plain=Interview 3\r\n"), std::string::npos);
  EXPECT_EQ(file.rfind("[TPWR]", 0), 0u) << "no byte order mark at the start of the file";
  SettingsStore again(kSettingsFixedLocation, path.c_str());
  wchar_t back[64];
  EXPECT_EQ(ReadText(&again, "TPWR", "Name", nullptr, back, 64), 0);
  EXPECT_STREQ(back, outside);
  wchar_t small[3];
  ReadText(&again, "TPWR", "Name", nullptr, small, 3);
  EXPECT_STREQ(small, L"\x0416\x0443");
  ReadText(&again, "TPWR", "Missing", L"default", back, 64);
  EXPECT_STREQ(back, L"default");
}

TEST(SettingsStoreText, AnsiTextStaysInTheCodePage) {
  if (GetACP() != 1252) GTEST_SKIP() << "needs code page 1252, the system has " << GetACP();
  TempTree tree;
  std::wstring path = tree.Path(L"ansi.INI");
  {
    SettingsStore fixed(kSettingsFixedLocation, path.c_str());
    EXPECT_TRUE(WriteText(&fixed, "TPWR", "Name", L"Caf\x00E9"));
    // Best-fit conversion would turn this into a plain "a": it must take the UTF-8 form.
    EXPECT_TRUE(WriteText(&fixed, "TPWR", "Macron", L"\x0101"));
  }
  EXPECT_EQ(ReadFileText(path), "[TPWR]\r\nName=Caf\xE9\r\nMacron=\xEF\xBB\xBF\xC4\x81\r\n");
}

TEST(SettingsStoreText, Utf8FileWithByteOrderMark) {
  TempTree tree;
  std::wstring path = tree.File(L"utf8.INI", "\xEF\xBB\xBF[TPWR]\r\nName=\xD0\x96\xC3\xA9\r\n");
  {
    SettingsStore fixed(kSettingsFixedLocation, path.c_str());
    wchar_t back[16];
    EXPECT_EQ(ReadText(&fixed, "TPWR", "Name", nullptr, back, 16), 0);
    EXPECT_STREQ(back, L"\x0416\x00E9");
    EXPECT_TRUE(WriteText(&fixed, "TPWR", "Other", L"\x00E9"));
  }
  EXPECT_EQ(ReadFileText(path), "\xEF\xBB\xBF[TPWR]\r\nName=\xD0\x96\xC3\xA9\r\nOther=\xC3\xA9\r\n");
}

TEST(SettingsStorePath, SetPathRulesAndTheEmptyPath) {
  TempTree tree;
  std::wstring existing = tree.File(L"existing.INI", "[TPWR]\r\n");
  std::wstring missing = tree.Path(L"missing.INI");
  SettingsStore store(kSettingsFixedLocation);
  // The current path again (in any case) is refused; modes 1 and 2 need the file.
  struct { std::wstring path; int mode; DWORD result; } cases[] = {
      {missing, 0, 0},                            {missing, 0, ERROR_ALREADY_EXISTS},
      {tree.Path(L"MISSING.ini"), 2, ERROR_ALREADY_EXISTS},
      {missing + L"x", 1, ERROR_FILE_NOT_FOUND},  {missing + L"y", 2, ERROR_FILE_NOT_FOUND},
      {tree.Path(L"bad:name.INI"), 0, ERROR_INVALID_NAME}, {tree.Path(L"a/b.INI"), 0, ERROR_INVALID_NAME},
      {existing, 1, 0},                           {L"", 0, 0},
  };
  for (const auto& c : cases) {
    std::wstring before = store.path;
    DWORD result = SetPath(&store, c.path.c_str(), c.mode);
    EXPECT_EQ(result, c.result) << std::string(c.path.begin(), c.path.end());
    EXPECT_EQ(std::wstring(store.path), result ? before : c.path);
  }
  // Without a path the values live in memory only.
  EXPECT_TRUE(WriteInt(&store, "TPWR", "Opt", 4));
  EXPECT_EQ(ReadInt(&store, "TPWR", "Opt", 3), 4u);
  EXPECT_EQ(Flush(&store), 0u);
  EXPECT_EQ(FolderNames(tree.root), std::vector<std::wstring>{L"existing.INI"});
}

TEST(SettingsStoreLoad, DiscardAndLoadReadTheFileAgain) {
  TempTree tree;
  std::wstring path = tree.File(L"load.INI", "[TPWR]\r\nOpt=1\r\n");
  std::wstring other = tree.File(L"other.INI", "[TPWR]\r\nOpt=9\r\n");
  SettingsStore fixed(kSettingsFixedLocation, path.c_str());
  EXPECT_EQ(ReadInt(&fixed, "TPWR", "Opt", 0), 1u);
  ASSERT_TRUE(WriteFileText(path, "[TPWR]\r\nOpt=2\r\n"));
  EXPECT_EQ(ReadInt(&fixed, "TPWR", "Opt", 0), 1u) << "the text stays in memory";
  Discard(&fixed);
  EXPECT_EQ(ReadInt(&fixed, "TPWR", "Opt", 0), 2u);
  EXPECT_TRUE(Load(&fixed, other.c_str()));
  EXPECT_EQ(ReadInt(&fixed, "TPWR", "Opt", 0), 9u);
  EXPECT_FALSE(Load(&fixed, tree.Path(L"none.INI").c_str()));
  EXPECT_EQ(ReadInt(&fixed, "TPWR", "Opt", 0), 0u);
}

TEST(SettingsStoreSuppress, NothingIsWrittenWhileSuppressed) {
  TempTree tree;
  std::wstring path = tree.File(L"suppress.INI", "[TPWR]\r\nOpt=1\r\nDM=1\r\n");
  {
    SettingsStore fixed(kSettingsFixedLocation, path.c_str());
    EXPECT_TRUE(WriteInt(&fixed, "TPWR", "Opt", 2));
    SuppressWrites(&fixed);
    EXPECT_FALSE(WriteInt(&fixed, "TPWR", "Opt", 3));
    EXPECT_FALSE(DeleteKey(&fixed, "TPWR", "DM"));
    EXPECT_FALSE(DeleteSection(&fixed, "TPWR"));
    EXPECT_EQ(Flush(&fixed), 0u);
    EXPECT_EQ(ReadFileText(path), "[TPWR]\r\nOpt=1\r\nDM=1\r\n");
    EXPECT_EQ(ReadInt(&fixed, "TPWR", "Opt", 0), 2u);
    // A load while suppressed drops the text and reads nothing.
    EXPECT_FALSE(Load(&fixed, nullptr));
    EXPECT_EQ(ReadInt(&fixed, "TPWR", "Opt", 7), 7u);
    ResetSuppression(&fixed);
    EXPECT_EQ(ReadInt(&fixed, "TPWR", "Opt", 7), 1u);
    EXPECT_TRUE(DeleteKey(&fixed, "TPWR", "DM"));
  }
  EXPECT_EQ(ReadFileText(path), "[TPWR]\r\nOpt=1\r\n");
}

TEST(SettingsStoreSave, VersionAndDesktopWithFlagTwo) {
  TempTree tree;
  std::wstring path = tree.Path(L"version.INI");
  {
    SettingsStore store(kSettingsTrackDesktop, path.c_str());
    EXPECT_EQ(store.flags & kSettingsDesktopChanged, 0u) << "no record yet is no changed desktop";
  }
  std::string file = ReadFileText(path);
  EXPECT_EQ(file.rfind("[Desk]\r\n.=#", 0), 0u) << file;
  EXPECT_NE(file.find("\r\n\r\n[TPWR]\r\nVersion=26.10\r\n"), std::string::npos) << file;
  // The same desktop again: nothing changes, nothing is written.
  ASSERT_TRUE(AgeFile(path));
  { SettingsStore store(kSettingsTrackDesktop, path.c_str()); EXPECT_EQ(store.dirty, 0u); }
  EXPECT_TRUE(FileWasAged(path));
  struct { const char* record; uint32_t changed; } desks[] = {{"#1,1", kSettingsDesktopChanged}, {"#1", 0}, {"", 0}};
  for (const auto& desk : desks) {
    ASSERT_TRUE(WriteFileText(path, std::string("[Desk]\r\n.=") + desk.record + "\r\n"));
    SettingsStore store(kSettingsTrackDesktop | kSettingsFixedLocation, path.c_str());
    EXPECT_EQ(store.flags & kSettingsDesktopChanged, desk.changed) << desk.record;
  }
}

TEST(SettingsStoreSave, MissingFoldersAreCreatedAndAttributesKept) {
  TempTree tree;
  std::wstring deep = tree.Path(L"a\\b\\c\\deep.INI");
  std::wstring hidden = tree.File(L"hidden.INI", "[TPWR]\r\nOpt=1\r\n");
  ASSERT_TRUE(SetFileAttributesW(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY));
  for (const std::wstring& path : {deep, hidden}) {
    SettingsStore fixed(kSettingsFixedLocation, path.c_str());
    WriteInt(&fixed, "TPWR", "Opt", 2);
    EXPECT_EQ(Flush(&fixed), 0u);
    EXPECT_EQ(ReadFileText(path), "[TPWR]\r\nOpt=2\r\n");
  }
  DWORD attributes = GetFileAttributesW(hidden.c_str());
  EXPECT_TRUE(attributes & FILE_ATTRIBUTE_HIDDEN);
  EXPECT_FALSE(attributes & FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(FolderNames(tree.root), (std::vector<std::wstring>{L"a", L"hidden.INI"})) << "no temporary file left";
}

int gWriterCalls;
// Writes half of the text, then fails as a full disk would.
int WriteHalfThenFail(HANDLE file, const char* bytes, uint64_t size) {
  gWriterCalls++;
  SettingsWriteAll(file, bytes, size / 2);
  SetLastError(ERROR_DISK_FULL);
  return 0;
}

TEST(SettingsStoreSave, FailedSaveKeepsThePreviousFileAndTheChange) {
  TempTree tree;
  const std::string previous = "[TPWR]\r\nOpt=1\r\nLanguage=DE\r\n";
  std::wstring path = tree.File(L"durable.INI", previous);
  {
    SettingsStore fixed(kSettingsFixedLocation, path.c_str());
    WriteInt(&fixed, "TPWR", "Opt", 123456);
    gWriterCalls = 0;
    gSettingsFileWriter = WriteHalfThenFail;
    DWORD result = Flush(&fixed);
    gSettingsFileWriter = SettingsWriteAll;
    EXPECT_EQ(gWriterCalls, 1);
    EXPECT_EQ(result, static_cast<DWORD>(ERROR_DISK_FULL));
    EXPECT_EQ(ReadFileText(path), previous);
    EXPECT_EQ(FolderNames(tree.root), std::vector<std::wstring>{L"durable.INI"}) << "no temporary file left";
  }
  // The save at exit tries again, with no further change.
  EXPECT_EQ(ReadFileText(path), "[TPWR]\r\nOpt=123456\r\nLanguage=DE\r\n");
}

TEST(SettingsStoreSave, RefusedReplaceLeavesNoTemporaryFile) {
  TempTree tree;
  std::wstring folder = tree.Path(L"folder.INI");  // a folder where the file should be
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
  SettingsStore fixed(kSettingsFixedLocation, folder.c_str());
  WriteInt(&fixed, "TPWR", "Opt", 1);
  EXPECT_NE(Flush(&fixed), 0u);
  EXPECT_EQ(FolderNames(tree.root), std::vector<std::wstring>{L"folder.INI"});
}

SettingsStore* gOtherCopy;
DWORD gOtherCopyResult;
// Writes half of the text, lets another copy of the program save the same file,
// then writes the rest.
int WriteHalfWhileAnotherCopySaves(HANDLE file, const char* bytes, uint64_t size) {
  SettingsStore* other = gOtherCopy;
  gOtherCopy = nullptr;  // the other copy's own save writes straight through
  if (!other) return SettingsWriteAll(file, bytes, size);
  if (!SettingsWriteAll(file, bytes, size / 2)) return 0;
  gOtherCopyResult = Flush(other);
  return SettingsWriteAll(file, bytes + size / 2, size - size / 2);
}

TEST(SettingsStoreSave, TwoCopiesSavingAtOnceEachWriteTheirWholeText) {
  TempTree tree;
  std::wstring path = tree.File(L"shared.INI", "[TPWR]\r\nOpt=1\r\n");
  SettingsStore first(kSettingsFixedLocation, path.c_str());
  SettingsStore second(kSettingsFixedLocation, path.c_str());
  WriteString(&first, "TPWR", "Name", "a value long enough to span both halves of the save");
  WriteInt(&second, "TPWR", "Opt", 2);
  gOtherCopy = &second;
  gOtherCopyResult = ERROR_INVALID_FUNCTION;
  gSettingsFileWriter = WriteHalfWhileAnotherCopySaves;
  DWORD result = Flush(&first);
  gSettingsFileWriter = SettingsWriteAll;
  EXPECT_EQ(gOtherCopyResult, 0u) << "the other copy's save";
  EXPECT_EQ(result, 0u);
  // The save that ended last holds the file, whole.
  EXPECT_EQ(ReadFileText(path), "[TPWR]\r\nOpt=1\r\nName=a value long enough to span both halves of the save\r\n");
  EXPECT_EQ(FolderNames(tree.root), std::vector<std::wstring>{L"shared.INI"}) << "no temporary file left";
}

}  // namespace
