// What the command list gives the program: the dark-mode filter of the menus,
// the fixed command names and the greyed states.
#include <gtest/gtest.h>

#include <initializer_list>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "commands/commands.h"
#include "commands/menu_tree.h"

namespace {

constexpr uint16_t B = kMenuSeparatorId;

struct Tree {
  MenuTreeItem* root;
  ~Tree() { FreeMenuTree(root); }
};

std::vector<uint16_t> Ids(const MenuTreeItem* level) {
  std::vector<uint16_t> ids;
  for (const MenuTreeItem* item = level; item && item->id; item++) ids.push_back(item->id);
  return ids;
}

}  // namespace

// Leaving out the current dark-mode choice, or the whole popup, leaves no stray bar.
TEST(Menus, DarkModeFilter) {
  // The current choice is the first, the middle and the last item in turn.
  struct { int available, mode; std::vector<uint16_t> choices; } cases[] = {
      {1, 0, {172, 173}}, {1, 1, {171, 173}}, {1, 2, {171, 172}}, {0, 0, {}},
  };
  for (const auto& c : cases) {
    MenuFilter filter;
    MainMenuFilter(c.available, c.mode, &filter);
    Tree bar{BuildMenuTree(kMenuBar, &filter)};
    std::vector<uint16_t> options = {181, B, 182, 170, 184, B, 188, 187, 189, B, 185};
    if (!c.available) options.erase(options.begin() + 3);
    EXPECT_EQ(Ids(FindMenuTreeItem(bar.root, kMenuOptions)->children), options) << c.mode;
    const MenuTreeItem* dark = FindMenuTreeItem(bar.root, kMenuDarkMode);
    EXPECT_EQ(Ids(dark ? dark->children : nullptr), c.choices) << c.mode;
  }
}

TEST(CommandNames, UniqueAndFoundBothWays) {
  std::set<std::string> names;
  for (const CommandName* entry = kCommandNames; entry->command; entry++) {
    EXPECT_TRUE(names.insert(entry->name).second) << entry->name;
    EXPECT_EQ(CommandIdForName(entry->name), entry->command) << entry->name;
    EXPECT_STREQ(CommandNameForId(entry->command), entry->name);
  }
  EXPECT_EQ(CommandNameCount(), names.size());
  // Open audio file sits in File too, but belongs to the player.
  EXPECT_EQ(CommandMenuForId(kCmdAmpFileOpen), kMenuPlayer);
  for (int id : {0, 0xFFFF}) EXPECT_EQ(CommandNameForId(static_cast<uint16_t>(id)), nullptr) << id;
  // Near misses of the names the Keys section stores.
  for (const char* name : {"", "filenew", "FileNew ", "-", "Dark", "SaveAs"}) EXPECT_EQ(CommandIdForName(name), 0) << name;
  EXPECT_EQ(CommandIdForName(nullptr), 0);
}

namespace {

std::set<uint16_t> GrayedCommands() {
  std::set<uint16_t> grayed;
  for (const CommandState* entry = gCommandStates; entry->command; entry++)
    if (IsCommandDisabled(entry->command)) grayed.insert(entry->command);
  return grayed;
}

void Record(void* context, uint16_t command, uint8_t state) {
  static_cast<std::vector<std::pair<uint16_t, uint8_t>>*>(context)->push_back({command, state});
}

}  // namespace

TEST(CommandStates, GrayedByEditorFacts) {
  struct { EditorFacts facts; std::set<uint16_t> grayed; } cases[] = {
      {{1, 0, 1, 0}, {}}, {{0, 0, 1, 0}, {kCmdUndo}}, {{1, 1, 1, 0}, {kCmdCut, kCmdCopy, kCmdClear}},
      {{1, 0, 0, 0}, {kCmdPaste}}, {{1, 0, 1, 1}, {kCmdFind, kCmdFindNext, kCmdReplace}},
  };
  for (const auto& c : cases) {
    ResetCommandStates();
    ComputeCommandStates(&c.facts);
    EXPECT_EQ(GrayedCommands(), c.grayed);
  }
  for (uint16_t id : std::initializer_list<uint16_t>{kCmdSelectAll, kCmdGoTo, kCmdPlay, kCmdFileSave, 0})
    EXPECT_FALSE(IsCommandDisabled(id));
  ResetCommandStates();
}

TEST(CommandStates, OnlyChangesAreAppliedUnlessForced) {
  using Calls = std::vector<std::pair<uint16_t, uint8_t>>;
  ResetCommandStates();
  EditorFacts nothingSelected = {1, 1, 1, 0};
  Calls first, again, forced, back;
  ComputeCommandStates(&nothingSelected);
  EXPECT_EQ(ApplyCommandStates(0, Record, &first), 3);
  EXPECT_EQ(first, (Calls{{112, 1}, {114, 1}, {116, 1}}));
  ComputeCommandStates(&nothingSelected);
  EXPECT_EQ(ApplyCommandStates(0, Record, &again), 0);
  EXPECT_EQ(ApplyCommandStates(1, Record, &forced), 8);
  EditorFacts selected = {1, 0, 1, 0};
  ComputeCommandStates(&selected);
  EXPECT_EQ(ApplyCommandStates(0, Record, &back), 3);
  EXPECT_EQ(back, (Calls{{112, 0}, {114, 0}, {116, 0}}));
  ResetCommandStates();
}
