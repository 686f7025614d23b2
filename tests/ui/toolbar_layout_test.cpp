// The toolbar's layout value and the customisation dialog's two lists.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/toolbar_layout.h"

namespace {

constexpr uint16_t kSep = 98;
const ToolbarButtonRecord kCatalogue[] = {
    {kSep, -1, kToolbarStyleSeparator}, {100, 0, 0}, {102, 9, 0}, {103, 10, 0}, {1153, 24, 0}, {145, 22, 0}, {0, 0, 0}};

std::vector<uint16_t> Layout(const uint16_t* layout) {
  return std::vector<uint16_t>(layout, layout + ToolbarLayoutLength(layout));
}

TEST(ToolbarLayout, ParsedFromImageNumbers) {
  struct {
    const char* text;
    std::vector<uint16_t> layout;  // empty: the caller takes the default
  } cases[] = {
      {"10,11,0,25", {102, 103, kSep, 1153}},
      {"1, 0 ,0,23", {100, kSep, kSep, 145}},
      {"12x,10,-1,,11", {102, 103}},
      {"", {}},
      {"99,4", {}},
      {"70000,10", {102}},
  };
  for (const auto& c : cases) {
    uint16_t layout[kToolbarMaxButtons + 1];
    EXPECT_EQ(ParseToolbarLayout(c.text, kCatalogue, layout), c.layout.size()) << c.text;
    EXPECT_EQ(Layout(layout), c.layout) << c.text;
  }
  uint16_t layout[kToolbarMaxButtons + 1];
  EXPECT_EQ(ParseToolbarLayout(nullptr, kCatalogue, layout), 0u);
  std::string many;
  for (size_t i = 0; i < kToolbarMaxButtons + 10; ++i) many += "0,";
  EXPECT_EQ(ParseToolbarLayout(many.c_str(), kCatalogue, layout), kToolbarMaxButtons) << "bounded";
}

TEST(ToolbarLayout, SavedAsImageNumbers) {
  const uint16_t layout[] = {102, 103, kSep, 1153, 555, 100, 0};
  char text[kToolbarLayoutTextChars];
  EXPECT_EQ(FormatToolbarLayout(layout, kCatalogue, text, sizeof text), 12u);
  EXPECT_STREQ(text, "10,11,0,25,1");
  char small[6];
  EXPECT_EQ(FormatToolbarLayout(layout, kCatalogue, small, sizeof small), 0u);
  EXPECT_STREQ(small, "") << "a value that does not fit is not cut short";
  uint16_t back[kToolbarMaxButtons + 1];
  ParseToolbarLayout(text, kCatalogue, back);
  EXPECT_EQ(Layout(back), (std::vector<uint16_t>{102, 103, kSep, 1153, 100}));
}

TEST(ToolbarLayout, IconSizeRows) {
  struct {
    uint32_t size;
    int row;
  } cases[] = {{0, 0}, {15, 0}, {16, 0}, {24, 1}, {31, 1}, {32, 2}, {48, 3}, {64, 4}, {200, 4}};
  for (const auto& c : cases) EXPECT_EQ(ToolbarIconSizeIndex(c.size), c.row) << c.size;
}

struct ListCase {
  const char* what;
  int availableSelection, chosenSelection;
  int (*change)(ToolbarLists*);
  int changed;
  std::vector<uint16_t> available, chosen;
  int availableAfter, chosenAfter;
};

int Up(ToolbarLists* lists) { return ToolbarListsMove(lists, -1); }
int Down(ToolbarLists* lists) { return ToolbarListsMove(lists, 1); }

// Start: toolbar 102, 103, separator; available: separator, 100, 1153, 145.
TEST(ToolbarLists, AddRemoveAndMove) {
  ListCase cases[] = {
      {"add at the top without a selection", 1, -1, ToolbarListsAdd, 1, {kSep, 1153, 145}, {100, 102, 103, kSep}, 0, 0},
      {"the separator stays available", 0, 2, ToolbarListsAdd, 1, {kSep, 100, 1153, 145}, {102, 103, kSep, kSep}, 0, 3},
      {"nothing to add", -1, 0, ToolbarListsAdd, 0, {kSep, 100, 1153, 145}, {102, 103, kSep}, -1, 0},
      {"remove a button", 1, 1, ToolbarListsRemove, 1, {kSep, 100, 103, 1153, 145}, {102, kSep}, 2, 0},
      {"remove a separator", 1, 2, ToolbarListsRemove, 1, {kSep, 100, 1153, 145}, {102, 103}, 1, 1},
      {"move up", 0, 1, Up, 1, {kSep, 100, 1153, 145}, {103, 102, kSep}, 0, 0},
      {"move up at the top", 0, 0, Up, 0, {kSep, 100, 1153, 145}, {102, 103, kSep}, 0, 0},
      {"move down", 0, 1, Down, 1, {kSep, 100, 1153, 145}, {102, kSep, 103}, 0, 2},
      {"move down at the bottom", 0, 2, Down, 0, {kSep, 100, 1153, 145}, {102, 103, kSep}, 0, 2},
  };
  const uint16_t layout[] = {102, 103, kSep, 0};
  for (const ListCase& c : cases) {
    ToolbarLists lists;
    InitToolbarLists(&lists, kCatalogue, layout, kSep);
    lists.availableSelection = c.availableSelection;
    lists.chosenSelection = c.chosenSelection;
    EXPECT_EQ(c.change(&lists), c.changed) << c.what;
    EXPECT_EQ(std::vector<uint16_t>(lists.available, lists.available + lists.availableCount), c.available) << c.what;
    EXPECT_EQ(std::vector<uint16_t>(lists.chosen, lists.chosen + lists.chosenCount), c.chosen) << c.what;
    EXPECT_EQ(lists.availableSelection, c.availableAfter) << c.what;
    EXPECT_EQ(lists.chosenSelection, c.chosenAfter) << c.what;
  }
}

TEST(ToolbarLists, RemovingEveryButtonLeavesAnEmptyToolbar) {
  const uint16_t layout[] = {102, kSep, 0};
  ToolbarLists lists;
  InitToolbarLists(&lists, kCatalogue, layout, kSep);
  while (ToolbarListsRemove(&lists)) {
  }
  EXPECT_EQ(lists.chosenCount, 0u);
  EXPECT_EQ(lists.chosenSelection, -1);
  std::vector<uint16_t> available(lists.available, lists.available + lists.availableCount);
  EXPECT_EQ(available, (std::vector<uint16_t>{kSep, 102, 100, 103, 1153, 145})) << "the separator is listed once";
}

}  // namespace
