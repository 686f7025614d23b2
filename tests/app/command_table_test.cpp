// Command names, popups and the greyed states of the editing commands.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "app/command_ids.h"
#include "app/command_table.h"

TEST(CommandNames, UniqueAndMappedBothWays) {
  std::set<std::string> names;
  std::set<uint16_t> ids;
  for (const CommandName* entry = kCommandNames; entry->command; entry++) {
    EXPECT_TRUE(names.insert(entry->name).second) << entry->name;
    EXPECT_TRUE(ids.insert(entry->command).second) << entry->command;
    EXPECT_EQ(CommandIdForName(entry->name), entry->command) << entry->name;
    EXPECT_STREQ(CommandNameForId(entry->command), entry->name);
    EXPECT_EQ(CommandMenuForId(entry->command), entry->menu) << entry->name;
  }
  EXPECT_EQ(CommandNameCount(), names.size());
}

TEST(CommandNames, FixedNamesUnknownNamesAndCommandsWithoutName) {
  // Dark mode, its choices, reset and help contents can be neither bound nor placed.
  for (uint16_t id : {kMenuDarkMode, kCmdDarkDisable, kCmdDarkAllow, kCmdDarkForce, kCmdResetSettings,
                      kCmdHelpContents, kMenuFile, kCmdAfterCreate, uint16_t(0), uint16_t(0xFFFF)}) {
    EXPECT_EQ(CommandNameForId(id), nullptr) << id;
    EXPECT_EQ(CommandMenuForId(id), 0) << id;
  }
  // Names are what the key settings store: a few fixed ones, and near misses.
  struct { const char* name; uint16_t id; } cases[] = {
      {"Exit", kCmdExit}, {"FileNew", kCmdFileNew}, {"AmpFileOpen", kCmdAmpFileOpen}, {"FF", kCmdFF},
      {"OptRest", kCmdOptRest}, {"ChkUpd", kCmdChkUpd}, {"", 0}, {"filenew", 0}, {"FileNew ", 0},
      {"-", 0}, {"Dark", 0}, {"Help", 0}, {"SaveAs", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(CommandIdForName(c.name), c.id) << c.name;
  EXPECT_EQ(CommandIdForName(nullptr), 0);
}

namespace {

struct Applied {
  std::vector<std::pair<uint16_t, uint8_t>> calls;
};

void Record(void* context, uint16_t command, uint8_t state) {
  static_cast<Applied*>(context)->calls.push_back({command, state});
}

std::set<uint16_t> GrayedCommands() {
  std::set<uint16_t> grayed;
  for (const CommandState* entry = gCommandStates; entry->command; entry++) {
    if (IsCommandDisabled(entry->command)) grayed.insert(entry->command);
  }
  return grayed;
}

}  // namespace

TEST(CommandStates, GrayedByEditorFacts) {
  struct { EditorFacts facts; std::set<uint16_t> grayed; } cases[] = {
      {{1, 0, 1, 0}, {}},
      {{0, 0, 1, 0}, {kCmdUndo}},
      {{1, 1, 1, 0}, {kCmdCut, kCmdCopy, kCmdClear}},
      {{1, 0, 0, 0}, {kCmdPaste}},
      {{1, 0, 1, 1}, {kCmdFind, kCmdFindNext, kCmdReplace}},
      {{0, 1, 0, 1}, {111, 112, 114, 115, 116, 142, 143, 144}},
  };
  for (const auto& c : cases) {
    ResetCommandStates();
    ComputeCommandStates(&c.facts);
    EXPECT_EQ(GrayedCommands(), c.grayed);
  }
  // Commands outside the table are never disabled.
  for (uint16_t id : {kCmdSelectAll, kCmdGoTo, kCmdPlay, kCmdFileSave, uint16_t(0)}) EXPECT_FALSE(IsCommandDisabled(id));
  ResetCommandStates();
}

TEST(CommandStates, OnlyChangesAreAppliedUnlessForced) {
  ResetCommandStates();
  EditorFacts nothingSelected = {1, 1, 1, 0};
  Applied first;
  ComputeCommandStates(&nothingSelected);
  EXPECT_EQ(ApplyCommandStates(0, Record, &first), 3);
  EXPECT_EQ(first.calls, (std::vector<std::pair<uint16_t, uint8_t>>{{112, 1}, {114, 1}, {116, 1}}));

  Applied again;  // same facts: nothing to send
  ComputeCommandStates(&nothingSelected);
  EXPECT_EQ(ApplyCommandStates(0, Record, &again), 0);

  Applied forced;
  EXPECT_EQ(ApplyCommandStates(1, Record, &forced), 8);
  EXPECT_EQ(forced.calls.size(), 8u);

  EditorFacts selected = {1, 0, 1, 0};
  Applied back;
  ComputeCommandStates(&selected);
  EXPECT_EQ(ApplyCommandStates(0, Record, &back), 3);
  EXPECT_EQ(back.calls, (std::vector<std::pair<uint16_t, uint8_t>>{{112, 0}, {114, 0}, {116, 0}}));
  EXPECT_EQ(ApplyCommandStates(1, nullptr, nullptr), 8);  // no receiver is allowed
  ResetCommandStates();
}
