// Built-in language tables, text fetch, menu labels, and the label / help /
// tooltip split.
#include <gtest/gtest.h>

#include <cwchar>
#include <set>
#include <string>

#include "commands/commands.h"
#include "commands/menu_tree.h"
#include "language/language.h"
#include "language/menu_labels.h"

namespace {

std::wstring Text(LanguageTable table, uint16_t id) {
  wchar_t buffer[600];
  GetLanguageText(table, id, buffer, 600);
  return buffer;
}

// Appends a fixed shortcut to the commands that have one, as the shortcut table does.
void FakeShortcuts(uint16_t command, wchar_t* label, size_t capacity) {
  if (command == kCmdFileNew) wcsncat(label, L"\tCtrl+N", capacity - wcslen(label) - 1);
}

}  // namespace

// Language files find their texts by these keys: two records must never share one.
TEST(LanguageTables, OneRecordPerIdentifierAndPerKey) {
  std::set<int> ids;
  std::set<std::string> keys;
  for (const LanguageRecord* record = kLanguageTableKeys + 1; record->text; record++) {
    std::string key = static_cast<const char*>(record->text);
    EXPECT_TRUE(ids.insert(record->id).second) << record->id;
    EXPECT_EQ(key.size(), 4u) << key;
    EXPECT_TRUE(keys.insert(key).second) << key;
  }
}

// Every menu builds in every built-in table, with the labels as the user reads them.
TEST(MenuLabels, EveryMenuInEveryTable) {
  for (LanguageTable table : {kLanguageTableEnglish, kLanguageTableGerman, kLanguageTableKeys}) {
    for (uint16_t menu : {kMenuBar, kMenuContext}) {
      MenuTreeItem* tree = BuildMenuTree(menu, nullptr);
      EXPECT_TRUE(BuildMenuLabels(table, tree, menu == kMenuContext, FakeShortcuts)) << menu;
      FreeMenuTree(tree);
    }
  }
  struct { LanguageTable table; int forPopup; uint16_t id; const wchar_t* label; } cases[] = {
      {kLanguageTableEnglish, 0, kCmdFileNew, L"&New\tCtrl+N"},  // the menu bar shows shortcuts
      {kLanguageTableEnglish, 1, kCmdFileNew, L"&New"},          // popup menus do not
  };
  for (const auto& c : cases) {
    MenuTreeItem* tree = BuildMenuTree(kMenuBar, nullptr);
    ASSERT_TRUE(BuildMenuLabels(c.table, tree, c.forPopup, FakeShortcuts));
    EXPECT_STREQ(FindMenuTreeItem(tree, c.id)->label, c.label) << c.id;
    FreeMenuTree(tree);
  }
  // A table that lacks a menu's text gives no menu ("Loading error.").
  static const LanguageRecord kPartial[] = {{1, "XX"}, {1, "Partial"}, {101, "&File"}, {0, nullptr}};
  MenuTreeItem* tree = BuildMenuTree(kMenuBar, nullptr);
  EXPECT_FALSE(BuildMenuLabels(kPartial, tree, 0, nullptr));
  FreeMenuTree(tree);
}

TEST(LanguageText, MissingTextsTablesAndShortBuffers) {
  wchar_t buffer[16] = L"junk";
  EXPECT_EQ(GetLanguageText(nullptr, kCmdFileNew, buffer, 16), 0u);
  EXPECT_STREQ(buffer, L"");
  wcscpy(buffer, L"junk");
  EXPECT_EQ(GetLanguageText(kLanguageTableEnglish, 4711, buffer, 16), 0u);
  EXPECT_STREQ(buffer, L"");
  wchar_t small[5];
  EXPECT_EQ(GetLanguageText(kLanguageTableEnglish, kCmdExit, small, 5), 4u);
  EXPECT_STREQ(small, L"E&xi");
  EXPECT_EQ(GetLanguageText(kLanguageTableEnglish, kCmdExit, small, 0), 0u);
}

TEST(LanguageText, TabEscapeAndCurrentTable) {
  static const LanguageRecord table[] = {
      {1, "XX"}, {1, "Test"}, {10, "Open\\tCtrl+O;Help"}, {11, "a\\\\tb\\"}, {12, "\\t\\t"}, {0, nullptr},
  };
  struct { uint16_t id; const wchar_t* text; } cases[] = {
      {10, L"Open\tCtrl+O;Help"}, {11, L"a\\\tb\\"}, {12, L"\t\t"},
  };
  SetCurrentLanguageTable(table);
  for (const auto& c : cases) {
    wchar_t buffer[32];
    GetText(c.id, buffer, 32);
    EXPECT_STREQ(buffer, c.text);
  }
  SetCurrentLanguageTable(nullptr);
  EXPECT_EQ(CurrentLanguageTable(), kLanguageTableEnglish);
}

TEST(LanguageText, BuiltInTablesByCode) {
  struct { const char* code; LanguageTable table; const char* stored; } cases[] = {
      {"us", kLanguageTableEnglish, "US"}, {"De", kLanguageTableGerman, "DE"}, {"-", kLanguageTableKeys, "-"},
      {"FR", nullptr, nullptr},            {"DEU", nullptr, nullptr},          {nullptr, nullptr, nullptr},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FindBuiltInLanguageTable(c.code), c.table) << (c.code ? c.code : "null");
    if (!c.table) continue;
    char code[8];
    GetLanguageCode(c.table, code, sizeof code);
    EXPECT_STREQ(code, c.stored);
  }
  FreeLanguageTable(kLanguageTableGerman);  // built in: left alone
  FreeLanguageTable(nullptr);
  EXPECT_EQ(Text(kLanguageTableGerman, kMenuHelp), L"&Hilfe");
}

const LanguageRecord kSplitTable[] = {
    {1, "XX"},   {1, "Split"}, {20, "&Open...;Opens a file"}, {21, "&Play\\tCtrl+P;Plays;Start playing"},
    {22, "Sa&ve as...\\tF12"}, {24, "Done;Ends here."},        {25, "Label;;Tip &only..."},
    {26, "Lab&el;Help;Tip;Extra"},                          {27, ";"},                   {0, nullptr},
};

TEST(LanguageText, MenuHelpTexts) {
  struct { uint16_t id; int popup; const wchar_t* help; } cases[] = {
      {20, 1, L"Opens a file."}, {21, 0, L"Plays."}, {22, 0, L"Save as."}, {22, 1, L""},  {24, 0, L"Ends here."},
      {26, 0, L"Help."},         {27, 0, L""},       {99, 0, L""},
  };
  for (const auto& c : cases) {
    wchar_t buffer[kMenuHelpChars + 1];
    GetMenuHelpTextFrom(kSplitTable, c.id, c.popup, buffer, kMenuHelpChars + 1);
    EXPECT_STREQ(buffer, c.help) << c.id << "/" << c.popup;
  }
  // The full stop is not added when it does not fit.
  wchar_t tight[13];
  GetMenuHelpTextFrom(kSplitTable, 20, 0, tight, 13);
  EXPECT_STREQ(tight, L"Opens a file");
}

TEST(LanguageText, TooltipTexts) {
  struct { uint16_t id; const wchar_t* tip; } cases[] = {
      {20, L"Open"}, {21, L"Start playing"}, {22, L"Save as"}, {25, L"Tip only"}, {26, L"Tip;Extra"}, {27, L""},
  };
  wchar_t buffer[kTooltipChars + 1];
  for (const auto& c : cases) {
    GetTooltipTextFrom(kSplitTable, c.id, buffer, kTooltipChars + 1);
    EXPECT_STREQ(buffer, c.tip) << c.id;
  }
  GetTooltipTextFrom(kSplitTable, 21, buffer, 6);
  EXPECT_STREQ(buffer, L"Start");
}

TEST(LanguageText, StartupLanguageCode) {
  // German systems are 0x0407 to 0x1407 (not 0x1807); a stored code stays.
  struct { const char* stored; uint16_t system; const char* code; int writeBack; } cases[] = {
      {"", 0x0407, "DE", 1}, {"", 0x1407, "DE", 1}, {"", 0x1807, "US", 1},  {nullptr, 0x040C, "US", 1},
      {"FR", 0x0407, "FR", 0}, {"-", 0x0409, "-", 0},
  };
  for (const auto& c : cases) {
    char code[kLanguageCodeChars + 1] = "xx";
    EXPECT_EQ(ChooseLanguageCode(c.stored, c.system, code, sizeof code), c.writeBack);
    EXPECT_STREQ(code, c.code);
  }
  char tiny[2];
  ChooseLanguageCode("ABCDEF", 0, tiny, sizeof tiny);
  EXPECT_STREQ(tiny, "A");
}
