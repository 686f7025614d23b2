// The plug-in host at the module table, with the test plug-ins standing
// beside a stand-in program: which files get a slot, the extension-list and
// path rules, what Test makes of a plug-in's answers, and
// plug-ins that crash inside a call.
#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "base/paths.h"
#include "player/module_table.h"
#include "player/plugin_host.h"
#include "plugin_test_support.h"
#include "test_support.h"

namespace {

std::wstring NewFolder(const wchar_t* name) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  std::wstring folder = std::wstring(temp) + name + std::to_wstring(GetTickCount64());
  CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

TEST(PluginRules, ExtensionListFromTheFirstString) {
  struct {
    const char* first;
    const wchar_t* list;
  } cases[] = {
      {"mp3;mp2", L"*.mp3;*.mp2"},
      {";mp3;;", L"*.mp3"},  // empty parts name nothing
      {"aaaa;bbbb;cccc;dddd;eeee;ffff", L"*.aaaa;*.bbbb;*.cccc;*.dddd;*.e"},  // cut at 31
  };
  for (const auto& c : cases) {
    wchar_t list[kPluginExtensionChars + 1];
    PluginExtensionList(c.first, list);
    EXPECT_STREQ(list, c.list) << c.first;
  }
}

// A name that the ANSI code page cannot spell reaches the plug-in as a path
// that opens the same file.
TEST(PluginRules, PathOutsideTheAnsiCodePageStillOpensTheFile) {
  std::wstring folder = NewFolder(L"tpwr-plugin-path-");
  for (const wchar_t* name : {L"plain.tpcm", L"\x4E2D\x6587 \x0416.tpcm"}) {
    std::wstring path = folder + L"\\" + name;
    ASSERT_TRUE(WriteWholeFile(path, {'T', 'P', 'C', 'M'}));
    char ansi[1024];
    ASSERT_TRUE(PluginAnsiPath(path.c_str(), ansi, sizeof ansi));
    EXPECT_EQ(strchr(ansi, '?'), nullptr) << ansi;
    HANDLE file = CreateFileA(ansi, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << ansi;
    char head[4] = {};
    DWORD got = 0;
    EXPECT_TRUE(ReadFile(file, head, 4, &got, nullptr) && got == 4 && memcmp(head, "TPCM", 4) == 0);
    CloseHandle(file);
  }
}

class PluginTable : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    folder_ = NewFolder(L"tpwr-plugins-");
    SetPluginLog(folder_);
    ASSERT_TRUE(StagePlugins(folder_, {{"good", ""}, {"noexport", ""}, {"nooutput", ""}, {"noext", ""},
                                       {"playfails", ""}, {"neveropens", ""}, {"stalls", ""}, {"crashes", ""},
                                       {"good", "in_wm.dll"}}));
    RedirectProgramFile((folder_ + L"\\Tapewright.exe").c_str());
    ModuleTableSetUp(&table_);
  }
  static void TearDownTestSuite() {
    ModuleTableTearDown(&table_);
    RedirectProgramFile(nullptr);
  }
  // The plug-in slot whose list is exactly list, or null.
  static InputModule* Slot(const wchar_t* list) {
    for (int i = kBuiltInSlots; i < kPluginSlotsEnd; ++i)
      if (table_.slots[i].extensions && wcscmp(table_.slots[i].extensions, list) == 0) return &table_.slots[i];
    return nullptr;
  }
  static std::wstring File(const char* name) { return TestPath(folder_, name); }
  static std::wstring folder_;
  static ModuleTable table_;
};
std::wstring PluginTable::folder_;
ModuleTable PluginTable::table_;

TEST_F(PluginTable, OnlyUsablePluginsGetSlotsAndNoneIsInitialised) {
  std::set<std::wstring> lists;
  for (int i = kBuiltInSlots; i < kPluginSlotsEnd; ++i)
    if (table_.slots[i].extensions) lists.insert(table_.slots[i].extensions);
  EXPECT_EQ(lists, (std::set<std::wstring>{L"*.tpcm;*.m4a", L"*.tpfail", L"*.tpmute", L"*.tpstal", L"*.tpcras"}));
  std::string log = ReadPluginLog(folder_);
  EXPECT_NE(log.find("load in_good.dll"), std::string::npos) << log;
  EXPECT_EQ(log.find("in_wm.dll"), std::string::npos) << log;
  EXPECT_EQ(log.find("init "), std::string::npos) << log;
}

// What GetInfo shows (the plug-in's "Band - Song", a file's own tags first) is
// the panel plug-in test's.
TEST_F(PluginTable, TestTakesWhatThePluginKnows) {
  InputModule* good = Slot(L"*.tpcm;*.m4a");
  ASSERT_NE(good, nullptr);
  ASSERT_TRUE(WriteCountingTpcm(File("two.tpcm"), 2 * 44100));
  ASSERT_TRUE(WriteWholeFile(File("not.tpcm"), std::vector<uint8_t>(200, 'x')));
  EXPECT_EQ(good->Test(good, nullptr, File("two.tpcm").c_str()), 2);
  EXPECT_EQ(good->Test(good, nullptr, File("not.tpcm").c_str()), 0) << "no length and no title";
  EXPECT_NE(ReadPluginLog(folder_).find("init in_good.dll"), std::string::npos);
}

// A minute of sound written in pieces of 300 frames (6.8 ms each): the
// position is counted in frames, so nothing is lost to rounding per write.
TEST_F(PluginTable, ThePositionDoesNotDriftOverManyWrites) {
  InputModule* good = Slot(L"*.tpcm;*.m4a");
  ASSERT_NE(good, nullptr);
  ASSERT_TRUE(WriteCountingTpcm(File("drift.tpcm"), 100));
  ASSERT_NE(good->Test(good, nullptr, File("drift.tpcm").c_str()), 0);  // loaded, with buffers
  PluginSlot* slot = static_cast<PluginSlot*>(good->state);
  PluginSetCurrent(&slot->host);
  ASSERT_EQ(slot->out.Open(44100, 2, 16, -1, -1), 1);
  std::vector<char> piece(300 * 4, 1);
  for (uint32_t written = 0; written < 60 * 44100; written += 300) {
    ASSERT_EQ(slot->out.Write(piece.data(), int(piece.size())), 0);
    uint32_t count = uint32_t(piece.size());
    ASSERT_TRUE(good->Read(good, piece.data(), &count));
  }
  EXPECT_EQ(good->GetPosition(good), 60u);
  slot->out.Flush(90000);
  EXPECT_EQ(good->GetPosition(good), 90u) << "a flush restarts the count at its time";
  PluginSetCurrent(nullptr);
}

// A crash inside Play: the call fails, the program goes on, and the plug-in
// is not called again. (A crash inside GetFileInfo is the panel plug-in test's.)
TEST_F(PluginTable, APluginThatCrashesIsRefusedNotFatal) {
  InputModule* crashes = Slot(L"*.tpcras");
  ASSERT_NE(crashes, nullptr);
  ASSERT_TRUE(WriteCountingTpcm(File("one.tpcras"), 44100));
  EXPECT_EQ(crashes->Open(crashes, nullptr, File("one.tpcras").c_str()), 0);
  EXPECT_EQ(crashes->Test(crashes, nullptr, File("one.tpcras").c_str()), 0);
}

TEST(PluginFolder, TheSixteenthPluginIsIgnored) {
  std::wstring folder = NewFolder(L"tpwr-sixteen-");
  std::vector<std::pair<std::string, std::string>> copies;
  for (char c = 'a'; c < 'a' + 16; ++c) copies.push_back({"good", std::string("in_") + c + ".dll"});
  ASSERT_TRUE(StagePlugins(folder, copies));
  RedirectProgramFile((folder + L"\\Tapewright.exe").c_str());
  ModuleTable table{};
  ModuleTableSetUp(&table);
  int filled = 0;
  for (int i = kBuiltInSlots; i < kPluginSlotsEnd; ++i) filled += table.slots[i].extensions != nullptr;
  EXPECT_EQ(filled, 15);
  ModuleTableTearDown(&table);
  RedirectProgramFile(nullptr);
}

}  // namespace
