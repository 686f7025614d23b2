// The Keys section against the real settings store and file: what loads, what
// a save writes, and that save then load gives the same table.
#include <gtest/gtest.h>

#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "commands/commands.h"
#include "shortcuts/shortcut_settings.h"

namespace {

using Entries = std::map<std::string, std::string>;

std::wstring ScratchFile(const wchar_t* name) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  std::wstring path = std::wstring(temp) + L"tpwr-keys-" + std::to_wstring(GetCurrentProcessId()) + L"-" + name;
  DeleteFileW(path.c_str());
  return path;
}

void WriteText(const std::wstring& path, const std::string& text) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
  ASSERT_EQ(written, text.size());
}

int Collect(const char* key, const char* value, void* context) {
  (*static_cast<Entries*>(context))[key] = value;
  return 0;
}

Entries SectionOf(SettingsStore* store) {
  Entries entries;
  EnumSection(store, kSettingKeys.section, Collect, &entries);
  return entries;
}

ShortcutTable EmptyTable() { return ShortcutTable{kDefaultShortcuts, {}, nullptr, kSettingKeys.section, kCommandNames, {}}; }

std::vector<ShortcutBinding> RowsOf(const ShortcutTable& table) {
  std::vector<ShortcutBinding> rows;
  for (const CommandName* name = kCommandNames; name->command; ++name) {
    size_t before = rows.size();
    for (uint16_t code = 0; code < kShortcutCodeCount; ++code)
      if (table.keyMap[code] == name->command) rows.push_back({code, name->command});
    if (rows.size() == before) rows.push_back({0, name->command});
  }
  return rows;
}

TEST(ShortcutSettings, LoadSkipsWhatDoesNotCount) {
  std::wstring path = ScratchFile(L"load.INI");
  WriteText(path,
            "[TPWR]\r\n120=Find\r\n\r\n[Keys]\r\n582=-\r\n9=Find\r\n1033=Play\r\n120=Play\r\n118=Rew\r\n"
            "1142=Rew\r\n3000=Play\r\n0=Play\r\nabc=Play\r\n121=Bogus\r\n595=\r\n114 = GoTo\r\n");
  SettingsStore store(kSettingsFixedLocation, path.c_str());
  ShortcutTable table = EmptyTable();
  table.keyMap[700] = kCmdPlay;  // left over from before: cleared by the load
  LoadShortcutsFrom(&store, &table);
  struct { uint16_t code, command; } cases[] = {
      {582, 0},              // default removed
      {9, 0},                // reserved: ignored
      {1033, 0},             // reserved
      {120, kCmdPlay},       // F9; the [TPWR] entry of the same key does not count
      {118, kCmdRew},        // F7
      {1142, kCmdRew},       // Shift+F7
      {121, 0},              // unknown name
      {595, kCmdFileSave},   // empty value: the default stays
      {114, kCmdGoTo},       // spaces around "=" are allowed
      {583, kCmdGoTo},       // untouched default
      {700, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(table.keyMap[c.code], c.command) << c.code;
  EXPECT_EQ(CodeForCommand(&table, kCmdRew), 1142) << "menus show the highest code";
  EXPECT_EQ(CodeForCommand(&table, kCmdFind), 0);
  EXPECT_EQ(CommandForCode(&table, 9), kCmdTabKey);
  DeleteFileW(path.c_str());
}

TEST(ShortcutSettings, LoadWithoutSectionOrFileGivesTheDefaults) {
  std::wstring path = ScratchFile(L"missing.INI");
  SettingsStore store(kSettingsFixedLocation, path.c_str());
  ShortcutTable table = EmptyTable();
  LoadShortcutsFrom(&store, &table);
  ShortcutTable defaults = EmptyTable();
  ResetShortcutTable(&defaults);
  EXPECT_EQ(memcmp(table.keyMap, defaults.keyMap, sizeof table.keyMap), 0);
}

TEST(ShortcutSettings, SaveRewritesTheSectionAndReloads) {
  std::wstring path = ScratchFile(L"save.INI");
  WriteText(path, "[Keys]\r\n700=Play\r\n9=Find\r\n\r\n[TPWR]\r\nOpt=5\r\n");
  SettingsStore store(kSettingsFixedLocation, path.c_str());
  ShortcutTable table = EmptyTable();
  LoadShortcutsFrom(&store, &table);
  const ShortcutBinding rows[] = {{0, kCmdFind}, {120, kCmdPlay}, {114, kCmdFindNext}, {583, kCmdGoTo},
                                  {595, kCmdFileSave}, {118, kCmdRew}, {0, kCmdFF}};
  SaveShortcutsTo(&store, &table, rows, sizeof rows / sizeof rows[0]);
  EXPECT_EQ(SectionOf(&store), (Entries{{"582", "-"}, {"120", "Play"}, {"118", "Rew"}}));
  EXPECT_EQ(table.keyMap[700], 0) << "reloaded from the new section";
  EXPECT_EQ(table.keyMap[582], 0);
  EXPECT_EQ(table.keyMap[120], kCmdPlay);
  char opt[8];
  ReadString(&store, "TPWR", "Opt", "", opt, sizeof opt);
  EXPECT_STREQ(opt, "5") << "other sections stay";
  DeleteFileW(path.c_str());
}

TEST(ShortcutSettings, SaveThenLoadGivesTheSameTableThroughTheFile) {
  std::wstring path = ScratchFile(L"round.INI");
  ShortcutTable table = EmptyTable();
  ResetShortcutTable(&table);
  table.keyMap[582] = 0;
  table.keyMap[583] = kCmdFind;
  table.keyMap[120] = kCmdPlay;
  table.keyMap[118] = kCmdRew;
  table.keyMap[0x700 | 'R'] = kCmdRew;
  table.keyMap[2047] = kCmdInsSndCue;
  ShortcutTable expected = table;
  std::vector<ShortcutBinding> rows = RowsOf(table);
  {
    SettingsStore store(kSettingsFixedLocation, path.c_str());
    SaveShortcutsTo(&store, &table, rows.data(), rows.size());
    EXPECT_EQ(memcmp(table.keyMap, expected.keyMap, sizeof table.keyMap), 0) << "after the reload of the save";
    ASSERT_EQ(Flush(&store), 0u);
  }
  SettingsStore reopened(kSettingsFixedLocation, path.c_str());
  ShortcutTable loaded = EmptyTable();
  LoadShortcutsFrom(&reopened, &loaded);
  for (uint16_t code = 0; code < kShortcutCodeCount; ++code) EXPECT_EQ(loaded.keyMap[code], expected.keyMap[code]) << code;
  EXPECT_EQ(CodeForCommand(&loaded, kCmdRew), 0x700 | 'R');
  // Saving the unchanged table again writes the same entries.
  Entries first = SectionOf(&reopened);
  rows = RowsOf(loaded);
  SaveShortcutsTo(&reopened, &loaded, rows.data(), rows.size());
  EXPECT_EQ(SectionOf(&reopened), first);
  DeleteFileW(path.c_str());
}

}  // namespace
