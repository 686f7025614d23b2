// The shortcut table: defaults, fixed and reserved combinations, lookups, and
// the rules that decide which Keys entries count and which ones a save writes.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "commands/commands.h"
#include "shortcuts/shortcut_table.h"

// Shared with key_names_test.cpp: the program's table with the defaults entered.
ShortcutTable FreshTable() {
  ShortcutTable table{kDefaultShortcuts, {}, nullptr, kSettingKeys.section, kCommandNames, {}};
  ResetShortcutTable(&table);
  return table;
}

namespace {

TEST(ShortcutTable, DefaultsAndFixedBindings) {
  ShortcutTable table = FreshTable();
  // The fixed keys win over whatever the key map says; Ctrl+Tab is only reserved.
  for (uint16_t code : {27, 9, 1033, 521}) table.keyMap[code] = kCmdPlay;
  struct { uint16_t code, command; } cases[] = {
      {114, kCmdFindNext}, {582, kCmdFind}, {583, kCmdGoTo}, {595, kCmdFileSave}, {'S', 0}, {0x400 | 114, 0},
      {27, kCmdEscapeKey}, {9, kCmdTabKey}, {1033, kCmdShiftTabKey}, {521, kCmdPlay}, {2048, 0}, {0xFFFF, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(CommandForCode(&table, c.code), c.command) << c.code;
  EXPECT_EQ(CodeForCommand(&table, kCmdFileSave), 595);
  EXPECT_EQ(CodeForCommand(&table, 0), 0) << "unbound entries are not the command 0";
}

TEST(ShortcutTable, ReservedCodes) {
  for (uint16_t code : {112, 9, 521, 1033, 27, 45, 13}) EXPECT_TRUE(IsReservedCode(code)) << code;
  for (uint16_t code : {0, 113, 0x100 | 9, 0x200 | 27, 0x400 | 13, 46, 2047}) EXPECT_FALSE(IsReservedCode(code)) << code;
}

TEST(ShortcutEntries, WhichEntriesCount) {
  struct { const char *key, *value; int applied; uint16_t code, command; } cases[] = {
      {"582", "-", 1, 582, 0},  // removes the default Ctrl+F
      {"0120", "Rew", 1, 120, kCmdRew},
      {"2047", "FF", 1, 2047, kCmdFF},
      {"595", "NoSuchCommand", 1, 595, 0},  // an unknown name unbinds
      {"595", "filesave", 1, 595, 0},       // names are exact
      {"9", "Find", 0, 9, 0},               // Tab is reserved
      {"0", "Find", 0, 0, 0},
      {"2048", "Find", 0, 0, 0},
      {"99999999999", "Find", 0, 0, 0},
      {"-5", "Find", 0, 0, 0},
      {"12a", "Find", 0, 0, 0},
      {"114", "", 0, 114, kCmdFindNext},  // an empty value is ignored
  };
  for (const auto& c : cases) {
    ShortcutTable table = FreshTable();
    EXPECT_EQ(ApplyShortcutEntry(&table, c.key, c.value), c.applied) << c.key << "=" << c.value;
    EXPECT_EQ(table.keyMap[c.code], c.command) << c.key << "=" << c.value;
  }
}

using Entries = std::map<uint16_t, std::string>;

int SinkHas(void* context, uint16_t code) { return static_cast<Entries*>(context)->count(code) != 0; }
void SinkWrite(void* context, uint16_t code, const char* value) { (*static_cast<Entries*>(context))[code] = value; }

Entries Plan(const ShortcutTable& table, std::initializer_list<ShortcutBinding> pairs) {
  Entries entries;
  ShortcutEntrySink sink{SinkHas, SinkWrite, &entries};
  PlanShortcutEntries(&table, pairs.begin(), pairs.size(), &sink);
  return entries;
}

TEST(ShortcutEntries, SaveWritesOnlyTheDifferences) {
  ShortcutTable table = FreshTable();
  EXPECT_TRUE(Plan(table, {{114, kCmdFindNext}, {582, kCmdFind}, {583, kCmdGoTo}, {595, kCmdFileSave}}).empty());
  // Find lost its key, Play got F9; defaults missing from the rows count as removed.
  EXPECT_EQ(Plan(table, {{0, kCmdFind}, {120, kCmdPlay}, {583, kCmdGoTo}}),
            (Entries{{582, "-"}, {120, "Play"}, {114, "-"}, {595, "-"}}));
  // Ctrl+G moved from GoTo to Find: no "-" for it, whatever the order of the rows.
  Entries moved{{583, "Find"}, {582, "-"}};
  EXPECT_EQ(Plan(table, {{114, kCmdFindNext}, {595, kCmdFileSave}, {0, kCmdGoTo}, {583, kCmdFind}}), moved);
  EXPECT_EQ(Plan(table, {{114, kCmdFindNext}, {595, kCmdFileSave}, {583, kCmdFind}, {0, kCmdGoTo}}), moved);
  // A command without a name cannot be written; codes out of range are skipped.
  EXPECT_EQ(Plan(table, {{114, kCmdFindNext}, {582, kCmdFind}, {583, kCmdGoTo}, {595, kCmdFileSave},
                         {130, kCmdEscapeKey}, {4000, kCmdPlay}}),
            Entries{});
}

}  // namespace
