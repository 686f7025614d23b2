// Matching files to modules: the extension pass, the shortcut, the plug-in
// fallback, and opening through the table.
#include <gtest/gtest.h>

#include "player/module_table.h"
#include "test_support.h"

namespace {

// A plug-in stand-in that records which paths it was offered.
int gOffered = 0;
int gAccept = 0;
int PluginTest(InputModule*, void*, const wchar_t*) {
  ++gOffered;
  return gAccept;
}

struct Table {
  ModuleTable table{};
  Table() { ModuleTableSetUp(&table); }
  ~Table() { ModuleTableTearDown(&table); }
  void AddPlugin(int slot, const wchar_t* extensions) {
    table.slots[slot].extensions = extensions;
    table.slots[slot].Test = PluginTest;
  }
};

TEST(ModuleTable, ExtensionMatch) {
  struct { const wchar_t* path; const wchar_t* list; int match; } cases[] = {
      {L"C:\\a\\song.Mp3", L"*.MP3;*.MP1;*.MP2;*.MPP", 1}, {L"x.ogm", L"*.OGG;*.OGM", 1},
      {L"song.mp3.wav", L"*.MP3", 0}, {L"song.mp3.wav", L"*.WAV", 1},    {L"C:\\dir.wav\\noext", L"*.WAV", 0},
      {L"noext", L"*.WAV", 0},        {L"a/b/track.flac", L"*.FLAC", 1}, {L"track.flac2", L"*.FLAC", 0},
      {L"x.wav", L"", 0},             {L"x.wav", L";;*.WAV", 1},         {L"x.m4a", L"*.M?A", 1},
  };
  for (const auto& c : cases) EXPECT_EQ(ExtensionMatch(c.path, c.list), c.match) << c.path << " " << c.list;
}

TEST(ModuleTable, ExtensionShortcut) {
  struct { const wchar_t* path; int slot; } cases[] = {
      {L"a.mp3", kSlotMpeg}, {L"a.MP1", kSlotMpeg}, {L"a.mpp", kSlotMpeg}, {L"a.ogg", kSlotOgg},
      {L"a.ogm", -1},        {L"a.flac", kSlotFlac}, {L"a.FLACX", kSlotFlac}, {L"a.wma", kSlotWma},
      {L"a.wav", kSlotWav},  {L"a.wave", -1},       {L"a.mp", -1},          {L"noext", -1},
      {L"C:\\x.y\\name", -1}, {L"a.", -1},          {L"a.mp3.txt", -1},
  };
  for (const auto& c : cases) EXPECT_EQ(ExtensionShortcutSlot(c.path), c.slot) << c.path;
}

TEST(ModuleTable, LookupPrefersBuiltInsAndAsksPluginsOnlyWithoutAMatch) {
  Table t;
  t.AddPlugin(5, L"*.WAV;*.XYZ");
  t.AddPlugin(6, L"*.ABC");
  gOffered = 0;
  gAccept = 1;
  EXPECT_EQ(ModuleLookup(&t.table, nullptr, L"a.wav"), kSlotWav + 1) << "slot 4 matches first";
  EXPECT_EQ(gOffered, 0);
  EXPECT_EQ(ModuleLookup(&t.table, nullptr, L"a.xyz"), 6);
  EXPECT_EQ(ModuleLookup(&t.table, nullptr, L"a.abc"), 7);
  // The MPEG module refuses a file it cannot read, and a refusal is final: no plug-in is asked.
  gOffered = 0;
  EXPECT_EQ(ModuleLookup(&t.table, nullptr, L"a.mp3"), 0);
  EXPECT_EQ(gOffered, 0);
  // No list matches: every plug-in's Test in slot order, the first yes wins.
  gOffered = 0;
  EXPECT_EQ(ModuleLookup(&t.table, nullptr, L"noext"), 6);
  EXPECT_EQ(gOffered, 1);
  gAccept = 0;
  gOffered = 0;
  EXPECT_EQ(ModuleLookup(&t.table, nullptr, L"a.m4b2"), 0);
  EXPECT_EQ(gOffered, 2);
}

// The module for phone and web recordings comes after the plug-ins: one that
// lists M4A, or whose Test takes it, plays M4A; only then does that module
// decide (and refuse a file that is not there).
TEST(ModuleTable, PluginsComeBeforeTheModuleForPhoneRecordings) {
  Table t;
  t.AddPlugin(5, L"*.XYZ");
  gAccept = 0;
  gOffered = 0;
  EXPECT_EQ(ModuleLookup(&t.table, nullptr, L"a.m4a"), 0);
  EXPECT_EQ(gOffered, 1);
  EXPECT_TRUE(ModuleClaims(&t.table, nullptr, L"a.opus"));
  gAccept = 1;
  EXPECT_EQ(ModuleLookup(&t.table, nullptr, L"a.m4a"), 6);
  t.AddPlugin(5, L"*.M4A");
  gAccept = 0;
  EXPECT_EQ(ModuleLookup(&t.table, nullptr, L"a.m4a"), 0) << "its list names M4A: its refusal is final";
}

TEST(ModuleTable, FilesNoBuiltInModuleTakesFindNoPluginEither) {
  Table t;
  for (const wchar_t* path : {L"a.mp3", L"a.ogg", L"a.ogm", L"a.flac", L"a.wma", L"noext", L"a.m4a"})
    EXPECT_EQ(ModuleLookup(&t.table, nullptr, path), 0) << path;
}

}  // namespace
