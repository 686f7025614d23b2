// Built menu trees: the copy of a definition, its filter, labels and freeing.
#include <gtest/gtest.h>

#include <cwchar>
#include <string>
#include <vector>

#include "app/command_ids.h"
#include "app/menu_builder.h"

namespace {

std::vector<uint16_t> LevelIds(const MenuTreeItem* level) {
  std::vector<uint16_t> ids;
  for (const MenuTreeItem* item = level; item && item->id; item++) ids.push_back(item->id);
  return ids;
}

constexpr uint16_t B = kMenuSeparatorId;

// Appends a fixed shortcut to the commands that have one, as the shortcut table does.
void FakeShortcuts(uint16_t command, wchar_t* label, size_t capacity) {
  const wchar_t* key = command == kCmdFileNew ? L"\tCtrl+N" : command == kCmdPlay ? L"\tF5" : nullptr;
  if (!key) return;
  size_t length = wcslen(label);
  for (size_t i = 0; key[i] && length + 1 < capacity; i++) label[length++] = key[i];
  label[length] = 0;
}

struct Tree {
  MenuTreeItem* root;
  explicit Tree(MenuTreeItem* built) : root(built) {}
  ~Tree() { FreeMenuTree(root); }
  MenuTreeItem* Find(uint16_t id) const { return FindMenuTreeItem(root, id); }
};

}  // namespace

// The built tree mirrors its definition level by level.
void ExpectSameShape(const MenuDefinition* definition, const MenuTreeItem* level) {
  size_t i = 0;
  for (; definition[i].id; i++) {
    ASSERT_EQ(level[i].id, definition[i].id) << "position " << i;
    EXPECT_EQ(level[i].type, definition[i].type) << definition[i].id;
    ASSERT_EQ(level[i].children != nullptr, definition[i].children != nullptr) << definition[i].id;
    if (definition[i].children) ExpectSameShape(definition[i].children, level[i].children);
  }
  EXPECT_EQ(level[i].id, 0);
}

TEST(MenuTree, TreesMirrorTheirDefinitions) {
  for (const MenuDefinition* definition : {kMainMenuDefinition, kContextMenuDefinition}) {
    Tree tree(BuildMenuTree(definition, nullptr));
    ASSERT_NE(tree.root, nullptr);
    ExpectSameShape(definition, tree.root);
  }
  Tree tree(BuildMenuTree(kMainMenuDefinition, nullptr));
  EXPECT_EQ(tree.Find(kMenuHelp)->type, kMenuTypeRightJustify);
}

TEST(MenuTree, DarkModeFilter) {
  struct { int available; int mode; bool popup; std::vector<uint16_t> choices; } cases[] = {
      {1, 0, true, {172, 173}}, {1, 1, true, {171, 173}}, {1, 2, true, {171, 172}},
      {1, 7, true, {171, 172, 173}}, {0, 0, false, {}},
  };
  for (const auto& c : cases) {
    MenuFilter filter;
    MainMenuFilter(c.available, c.mode, &filter);
    Tree tree(BuildMenuTree(kMainMenuDefinition, &filter));
    MenuTreeItem* dark = tree.Find(kMenuDarkMode);
    EXPECT_EQ(dark != nullptr, c.popup);
    if (dark) {
      EXPECT_EQ(LevelIds(dark->children), c.choices);
    }
    EXPECT_EQ(LevelIds(tree.Find(kMenuOptions)->children).size(), c.popup ? 11u : 10u);
  }
}

TEST(MenuTree, LabelsInTheMenuBarAndInPopups) {
  struct { LanguageTable table; int forPopup; uint16_t id; const wchar_t* label; } cases[] = {
      {kLanguageTableEnglish, 0, kCmdFileNew, L"&New\tCtrl+N"},
      {kLanguageTableEnglish, 0, kCmdPlay, L"&Play\tF5"},
      {kLanguageTableEnglish, 0, kCmdFileOpen, L"&Open..."},
      {kLanguageTableEnglish, 0, kMenuFile, L"&File"},
      {kLanguageTableEnglish, 0, kMenuInsert, L"&Insert"},
      {kLanguageTableEnglish, 1, kCmdFileNew, L"&New"},  // popup menus show no shortcuts
      {kLanguageTableGerman, 0, kCmdFileOpen, L"\u00D6&ffnen..."},
      {kLanguageTableGerman, 0, kCmdChkUpd, L"Nach &Updates suchen"},
      {kLanguageTableGerman, 0, kMenuHelp, L"&Hilfe"},
      {kLanguageTableKeys, 0, kCmdFileNew, L"FNew\tCtrl+N"},
      {kLanguageTableKeys, 1, kMenuDarkMode, L"Dark"},
  };
  for (const auto& c : cases) {
    Tree tree(BuildMenuTree(kMainMenuDefinition, nullptr));
    ASSERT_TRUE(BuildMenuLabels(c.table, tree.root, c.forPopup, FakeShortcuts)) << c.id;
    EXPECT_STREQ(tree.Find(c.id)->label, c.label) << c.id;
  }
  Tree context(BuildMenuTree(kContextMenuDefinition, nullptr));
  ASSERT_TRUE(BuildMenuLabels(kLanguageTableGerman, context.root, 1, FakeShortcuts));
  EXPECT_STREQ(context.Find(kCmdPlay)->label, L"&Wiedergabe");
  EXPECT_STREQ(context.root[1].label, L"");  // separator
}

namespace {
// A table whose texts test the label rules: escapes, lengths, a missing text.
const LanguageRecord kOddTable[] = {
    {1, "XX"},
    {1, "Odd"},
    {101, "&Files\\tmore;help"},
    {102, "123456789012345678901234567890123456789012345678901234567890ABC;help"},
    {103, "Tab\\tin label;help"},
    {105, ";no label"},
    {0, nullptr},
};
const MenuDefinition kOddLevel[] = {{102, 0, nullptr}, {103, 0, nullptr}, {0, 0, nullptr}};
const MenuDefinition kOddMenu[] = {{101, 0, kOddLevel}, {0, 0, nullptr}};
const MenuDefinition kEmptyLabelMenu[] = {{102, 0, nullptr}, {105, 0, nullptr}, {0, 0, nullptr}};
const MenuDefinition kMissingMenu[] = {{102, 0, nullptr}, {4711, 0, nullptr}, {0, 0, nullptr}};
}  // namespace

TEST(MenuTree, LabelLengthTabsAndEmptyLabels) {
  Tree tree(BuildMenuTree(kOddMenu, nullptr));
  ASSERT_TRUE(BuildMenuLabels(kOddTable, tree.root, 0, nullptr));
  EXPECT_STREQ(tree.Find(101)->label, L"&Files");  // an item with children is cut at the tab
  EXPECT_EQ(wcslen(tree.Find(102)->label), kMenuLabelChars);
  EXPECT_STREQ(tree.Find(102)->label, L"123456789012345678901234567890123456789012345678901234567890");
  EXPECT_STREQ(tree.Find(103)->label, L"Tab\tin label");  // bar command without shortcut source
  ASSERT_TRUE(BuildMenuLabels(kOddTable, tree.root, 1, FakeShortcuts));
  EXPECT_STREQ(tree.Find(103)->label, L"Tab");

  for (const MenuDefinition* failing : {kEmptyLabelMenu, kMissingMenu}) {
    Tree bad(BuildMenuTree(failing, nullptr));
    EXPECT_FALSE(BuildMenuLabels(kOddTable, bad.root, 0, nullptr));
    EXPECT_FALSE(BuildMenuLabels(nullptr, bad.root, 0, nullptr));
  }
  EXPECT_FALSE(BuildMenuLabels(kLanguageTableEnglish, nullptr, 0, nullptr));
  EXPECT_EQ(BuildMenuTree(nullptr, nullptr), nullptr);
  FreeMenuTree(nullptr);
}

TEST(MenuTree, IconCommandsAreMenuCommands) {
  Tree tree(BuildMenuTree(kMainMenuDefinition, nullptr));
  size_t count = 0;
  for (const uint16_t* id = kMenuIconCommands; *id; id++, count++) {
    MenuTreeItem* item = tree.Find(*id);
    ASSERT_NE(item, nullptr) << *id;
    EXPECT_EQ(item->children, nullptr);
  }
  EXPECT_EQ(count, 30u);
}
