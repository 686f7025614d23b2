// The shortcut table: defaults, fixed and reserved combinations, lookups, and
// the rules that decide which Keys entries count and which ones a save writes.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "commands/commands.h"
#include "shortcuts/shortcut_table.h"

namespace {

ShortcutTable FreshTable() {
  ShortcutTable table{kDefaultShortcuts, {}, nullptr, kSettingKeys.section, kCommandNames, {}};
  ResetShortcutTable(&table);
  return table;
}

TEST(ShortcutTable, Defaults) {
  ShortcutTable table = FreshTable();
  struct { uint16_t code, command; } cases[] = {
      {114, kCmdFindNext}, {582, kCmdFind}, {583, kCmdGoTo}, {595, kCmdFileSave}, {'S', 0}, {0x400 | 114, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(CommandForCode(&table, c.code), c.command) << c.code;
  EXPECT_EQ(CodeForCommand(&table, kCmdFileSave), 595);
  EXPECT_EQ(CodeForCommand(&table, kCmdPlay), 0);
  EXPECT_EQ(CodeForCommand(&table, 0), 0) << "unbound entries are not the command 0";
}

TEST(ShortcutTable, FixedBindingsWinOverTheKeyMap) {
  ShortcutTable table = FreshTable();
  table.keyMap[27] = kCmdPlay;
  table.keyMap[9] = kCmdPlay;
  table.keyMap[1033] = kCmdPlay;
  table.keyMap[521] = kCmdPlay;
  EXPECT_EQ(CommandForCode(&table, 27), kCmdEscapeKey);
  EXPECT_EQ(CommandForCode(&table, 9), kCmdTabKey);
  EXPECT_EQ(CommandForCode(&table, 1033), kCmdShiftTabKey);
  EXPECT_EQ(CommandForCode(&table, 521), kCmdPlay) << "Ctrl+Tab is reserved, not fixed";
  EXPECT_EQ(CommandForCode(&table, 2048), 0);
  EXPECT_EQ(CommandForCode(&table, 0xFFFF), 0);
}

TEST(ShortcutTable, ReservedCodes) {
  for (uint16_t code : {112, 9, 521, 1033, 27, 45, 13}) EXPECT_TRUE(IsReservedCode(code)) << code;
  for (uint16_t code : {0, 113, 0x100 | 9, 0x200 | 27, 0x400 | 13, 46, 2047}) EXPECT_FALSE(IsReservedCode(code)) << code;
}

TEST(ShortcutTable, CommandBoundTwiceGivesTheHighestCode) {
  ShortcutTable table = FreshTable();
  table.keyMap[100] = kCmdFind;
  EXPECT_EQ(CodeForCommand(&table, kCmdFind), 582);
  table.keyMap[2047] = kCmdFind;
  EXPECT_EQ(CodeForCommand(&table, kCmdFind), 2047);
  table.keyMap[582] = 0;
  table.keyMap[2047] = 0;
  EXPECT_EQ(CodeForCommand(&table, kCmdFind), 100);
}

TEST(ShortcutTable, NameLookups) {
  ShortcutTable table = FreshTable();
  EXPECT_STREQ(ShortcutCommandName(&table, kCmdFileSave), "FileSave");
  EXPECT_EQ(ShortcutCommandId(&table, "Rew"), kCmdRew);
  EXPECT_EQ(ShortcutCommandId(&table, "rew"), 0) << "names are exact";
  EXPECT_EQ(ShortcutCommandId(&table, "-"), 0);
  EXPECT_EQ(ShortcutCommandId(&table, ""), 0);
  EXPECT_EQ(ShortcutCommandName(&table, kCmdEscapeKey), nullptr);
  EXPECT_EQ(ShortcutCommandName(&table, 0), nullptr);
}

TEST(ShortcutEntries, WhichEntriesCount) {
  struct Case {
    const char* key;
    const char* value;
    int applied;
    uint16_t code;
    uint16_t command;
  } cases[] = {
      {"582", "-", 1, 582, 0},               // removes the default Ctrl+F
      {"120", "Play", 1, 120, kCmdPlay},
      {"0120", "Rew", 1, 120, kCmdRew},
      {"2047", "FF", 1, 2047, kCmdFF},
      {"595", "NoSuchCommand", 1, 595, 0},  // unknown name unbinds
      {"9", "Find", 0, 9, 0},               // Tab is reserved
      {"112", "Find", 0, 112, 0},           // F1 is reserved
      {"0", "Find", 0, 0, 0},
      {"2048", "Find", 0, 0, 0},
      {"65535", "Find", 0, 0, 0},
      {"99999999999", "Find", 0, 0, 0},
      {"-5", "Find", 0, 0, 0},
      {"12a", "Find", 0, 0, 0},
      {"", "Find", 0, 0, 0},
      {"114", "", 0, 114, kCmdFindNext},    // an empty value is ignored
  };
  for (const Case& c : cases) {
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
