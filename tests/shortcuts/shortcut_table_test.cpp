// The shortcut table: defaults, fixed and reserved combinations and lookups. The
// rules of the Keys section are tested through the file (shortcut_settings_test.cpp).
#include <gtest/gtest.h>

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

}  // namespace
