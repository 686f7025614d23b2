// The Keys section against the real settings store and file: what loads, what
// a save writes, and that save then load gives the same table.
#include <gtest/gtest.h>

#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "commands/commands.h"
#include "shortcuts/shortcut_settings.h"
#include "temp_tree.h"

namespace {

using Entries = std::map<std::string, std::string>;

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

// The rows of the shortcut editor for a table: every command with each of its codes, or with 0.
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

TEST(ShortcutSettings, WhichEntriesCount) {
  TempTree tree;
  std::wstring path = tree.File(L"load.INI",
                                "[TPWR]\r\n120=Find\r\n\r\n[Keys]\r\n582=-\r\n583=goto\r\n114 = GoTo\r\n120=Play\r\n"
                                "0118=Rew\r\n1142=Rew\r\n2047=FF\r\n595=\r\n9=Find\r\n1033=Play\r\n0=Play\r\n"
                                "2048=Play\r\n4294967416=Rew\r\n-5=Play\r\n12a=Play\r\n");
  SettingsStore store(kSettingsFixedLocation, path.c_str());
  ShortcutTable table = EmptyTable(), expected = EmptyTable();
  table.keyMap[700] = kCmdPlay;  // left over from before: cleared by the load
  LoadShortcutsFrom(&store, &table);
  // "-" and an unknown name (names are exact) unbind; spaces around "=" and a
  // leading zero are allowed; the [TPWR] entry of F9 does not count. An empty
  // value, reserved keys, codes outside 1 to 2047 (also where 32 bits would
  // wrap onto F9) and keys that are no number change nothing.
  ResetShortcutTable(&expected);
  expected.keyMap[582] = expected.keyMap[583] = 0;
  expected.keyMap[114] = kCmdGoTo;
  expected.keyMap[120] = kCmdPlay;
  expected.keyMap[118] = expected.keyMap[1142] = kCmdRew;
  expected.keyMap[2047] = kCmdFF;
  for (uint16_t code = 0; code < kShortcutCodeCount; ++code) EXPECT_EQ(table.keyMap[code], expected.keyMap[code]) << code;
}

TEST(ShortcutSettings, SaveWritesTheDifferencesAndLoadGivesTheSameTable) {
  TempTree tree;
  std::wstring path = tree.File(L"save.INI", "[Keys]\r\n700=Play\r\n9=Find\r\n\r\n[TPWR]\r\nOpt=5\r\n");
  ShortcutTable table = EmptyTable();
  ResetShortcutTable(&table);
  table.keyMap[582] = 0;
  table.keyMap[583] = kCmdFind;  // Ctrl+G moves from GoTo to Find
  table.keyMap[120] = kCmdPlay;
  table.keyMap[118] = kCmdRew;
  table.keyMap[0x700 | 'R'] = kCmdRew;
  table.keyMap[2047] = kCmdInsSndCue;
  ShortcutTable expected = table;
  std::vector<ShortcutBinding> rows = RowsOf(table);
  // A command without a name cannot be written; codes out of range are skipped.
  rows.insert(rows.end(), {{130, kCmdEscapeKey}, {4000, kCmdPlay}});
  {
    SettingsStore store(kSettingsFixedLocation, path.c_str());
    SaveShortcutsTo(&store, &table, rows.data(), rows.size());
    EXPECT_EQ(SectionOf(&store), (Entries{{"582", "-"}, {"583", "Find"}, {"120", "Play"}, {"118", "Rew"},
                                          {"1874", "Rew"}, {"2047", "InsSndCue"}}));
    EXPECT_EQ(memcmp(table.keyMap, expected.keyMap, sizeof table.keyMap), 0) << "reloaded from the new section";
    EXPECT_EQ(ReadInt(&store, "TPWR", "Opt", 0), 5u) << "other sections stay";
  }
  SettingsStore reopened(kSettingsFixedLocation, path.c_str());
  ShortcutTable loaded = EmptyTable();
  LoadShortcutsFrom(&reopened, &loaded);
  EXPECT_EQ(memcmp(loaded.keyMap, expected.keyMap, sizeof loaded.keyMap), 0);
}

}  // namespace
