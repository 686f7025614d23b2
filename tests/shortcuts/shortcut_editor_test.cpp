// The shortcut editor's rows (names, Edit, Duplicate, Remove and what a save
// then writes) and the exported HTML page, byte for byte.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "commands/commands.h"
#include "shortcuts/shortcut_editor.h"
#include "shortcuts/shortcut_export.h"

namespace {

ShortcutTable FreshTable() {
  ShortcutTable table{kDefaultShortcuts, {}, nullptr, kSettingKeys.section, kCommandNames, {}};
  ResetShortcutTable(&table);
  return table;
}

// A user's language file may carry any characters in its names.
const LanguageRecord kOddLanguage[] = {
    {-1, L"XX"},
    {1, L"Odd"},
    {500, L"Tools \"<x>\";the tools"},
    {600, L"<b>Cut</b>;cuts"},
    {603, L"Z\u00fcrich \u20ac \U0001D11E;"},
    {5400, L"Keys & more"},
    {54, L"Name"},
    {55, L"Key"},
    {9017, L"Ctrl&Co"},
    {0, nullptr},
};
const CommandName kOddCommands[] = {
    {500, 600, "Cut"}, {500, 601, "Mark"}, {500, 602, "Cmd7x7"}, {500, 603, "Last"}, {0, 0, nullptr}};

ShortcutTable OddTable() {
  ShortcutTable table{nullptr, {}, nullptr, "Keys", kOddCommands, {}};
  ResetShortcutTable(&table);
  table.keyMap[kKeyCtrl | 'X'] = 600;
  table.keyMap[116] = 600;  // F5: the lower code of the two is listed
  table.keyMap[kKeyCtrl | '7'] = 602;
  table.keyMap['L'] = 603;
  return table;
}

std::wstring RowName(LanguageTable language, const CommandName& entry) {
  wchar_t name[kShortcutRowNameChars];
  ShortcutRowName(language, &entry, name, kShortcutRowNameChars);
  return name;
}

TEST(ShortcutRowNames, MenuLabelThenCommandLabel) {
  struct {
    LanguageTable language;
    CommandName entry;
    const wchar_t* name;
  } cases[] = {
      {kLanguageTableGerman, {kMenuPlayer, kCmdPlay, "Play"}, L"Audio Player - Wiedergabe"},
      {kOddLanguage, {500, 600, "Cut"}, L"Tools \"<x>\" - <b>Cut</b>"},
      {kOddLanguage, {501, 600, "Cut"}, L"<b>Cut</b>"},      // the menu has no label
      {kOddLanguage, {500, 601, "Mark"}, L"#"},              // the command has none
  };
  for (const auto& c : cases) EXPECT_EQ(RowName(c.language, c.entry), c.name) << c.entry.name;
}

TEST(ShortcutRows, OneRowPerBindingAndOneForACommandWithout) {
  ShortcutTable table = FreshTable();
  table.keyMap[kKeyAlt | 'F'] = kCmdFind;
  ShortcutRows rows;
  FillShortcutRows(&table, &rows);
  ASSERT_EQ(rows.count, CommandNameCount() + 1);
  std::map<uint16_t, std::vector<uint16_t>> codes;
  for (size_t i = 0; i < rows.count; ++i) codes[rows.row[i].command].push_back(rows.row[i].code);
  EXPECT_EQ(codes[kCmdFind], (std::vector<uint16_t>{kKeyAlt | 'F', 582}));
  EXPECT_EQ(codes[kCmdFileSave], (std::vector<uint16_t>{595}));
  EXPECT_EQ(codes[kCmdPlay], (std::vector<uint16_t>{0}));
  EXPECT_EQ(rows.row[0].command, kCommandNames[0].command) << "in the order of the command list";
}

size_t RowOf(const ShortcutRows& rows, uint16_t command) {
  for (size_t i = 0; i < rows.count; ++i)
    if (rows.row[i].command == command) return i;
  return rows.count;
}

TEST(ShortcutRows, ReservedCombinationsAreRefused) {
  ShortcutTable table = FreshTable();
  ShortcutRows rows;
  FillShortcutRows(&table, &rows);
  size_t save = RowOf(rows, kCmdFileSave);
  for (uint16_t code : {112, 9, kKeyCtrl | 9, kKeyShift | 9, 27, 45, 13}) {
    int cleared = 0;
    EXPECT_FALSE(EditShortcutRow(&rows, save, code, &cleared)) << code;
    EXPECT_EQ(rows.row[save].code, 595) << code;
  }
}

std::map<uint16_t, std::string> Planned(const ShortcutTable& table, const ShortcutRows& rows) {
  std::map<uint16_t, std::string> section;
  ShortcutEntrySink sink{
      [](void* context, uint16_t code) { return static_cast<int>(static_cast<std::map<uint16_t, std::string>*>(context)->count(code)); },
      [](void* context, uint16_t code, const char* value) {
        (*static_cast<std::map<uint16_t, std::string>*>(context))[code] = value;
      },
      &section};
  PlanShortcutEntries(&table, rows.row, rows.count, &sink);
  return section;
}

TEST(ShortcutRows, RemoveAndDuplicate) {
  ShortcutTable table = FreshTable();
  table.keyMap[kKeyAlt | 'F'] = kCmdFind;
  ShortcutRows rows;
  FillShortcutRows(&table, &rows);
  size_t count = rows.count;
  EXPECT_EQ(ConflictingShortcutRow(&rows, RowOf(rows, kCmdFind), 582), -1) << "a second row of the same command";
  // The only row of a command stays, without its key; the save writes "-".
  size_t save = RowOf(rows, kCmdFileSave);
  EXPECT_EQ(RemoveShortcutRow(&rows, save), 0);
  ASSERT_EQ(rows.count, count);
  EXPECT_EQ(rows.row[save].command, kCmdFileSave);
  EXPECT_EQ(rows.row[save].code, 0);
  // One of two rows goes.
  size_t find = RowOf(rows, kCmdFind);
  EXPECT_EQ(RemoveShortcutRow(&rows, find), 1);
  ASSERT_EQ(rows.count, count - 1);
  EXPECT_EQ(rows.row[find].command, kCmdFind);
  EXPECT_EQ(rows.row[find].code, 582);
  EXPECT_EQ(Planned(table, rows), (std::map<uint16_t, std::string>{{595, "-"}}));
  // Duplicate: the same command without a key, right after, then a key of its own.
  size_t play = RowOf(rows, kCmdPlay);
  uint16_t next = rows.row[play + 1].command;
  ASSERT_EQ(DuplicateShortcutRow(&rows, play), static_cast<int>(play + 1));
  EXPECT_EQ(rows.row[play + 1].command, kCmdPlay);
  EXPECT_EQ(rows.row[play + 1].code, 0);
  EXPECT_EQ(rows.row[play + 2].command, next);
  int cleared = 0;
  ASSERT_TRUE(EditShortcutRow(&rows, play + 1, 120, &cleared));
  EXPECT_EQ(Planned(table, rows), (std::map<uint16_t, std::string>{{595, "-"}, {120, "Play"}}));
  EXPECT_EQ(RemoveShortcutRow(&rows, rows.count), -1);
}

TEST(ShortcutRows, DuplicateStopsWhenTheRowsAreFull) {
  ShortcutRows rows{};
  rows.count = kMaxShortcutRows;
  EXPECT_EQ(DuplicateShortcutRow(&rows, 0), -1);
  EXPECT_EQ(rows.count, kMaxShortcutRows);
}

int CollectBytes(void* context, const char* bytes, size_t count) {
  static_cast<std::string*>(context)->append(bytes, count);
  return 1;
}

TEST(ShortcutExport, ExactPageWithEscapedNames) {
  ShortcutTable table = OddTable();
  std::string page;
  ByteWriter out{CollectBytes, &page};
  ASSERT_TRUE(WriteShortcutsHtml(kOddLanguage, &table, &out));
  const std::string expected =
      "\xEF\xBB\xBF<html><head>\r\n"
      "<style type=\"text/css\">body {background:#FFFFFF;color:#000000;FONT-FAMILY:Verdana,Arial;font-size:80%;}"
      "table {background:#FFFFFF;color:#000000;FONT-FAMILY:Verdana,Arial;font-size:100%;}</style>\r\n"
      "</head><body><h3>Keys &amp; more</h3>\r\n"
      "<table border=0>\r\n"
      "<tr><th>Name</th><th>Key</th></tr>\r\n"
      "<tr bgcolor=\"#f4f3fa\"><td>Tools &quot;&lt;x&gt;&quot; - &lt;b&gt;Cut&lt;/b&gt;</td><td>F5</td></tr>\r\n"
      "<tr bgcolor=\"#ffffff\"><td>#77</td><td>Ctrl&amp;Co+7</td></tr>\r\n"
      "<tr bgcolor=\"#f4f3fa\"><td>Tools &quot;&lt;x&gt;&quot; - Z\xC3\xBCrich \xE2\x82\xAC \xF0\x9D\x84\x9E</td>"
      "<td>L</td></tr>\r\n"
      "</table></body></html>";
  EXPECT_EQ(page, expected);
}

TEST(ShortcutExport, AFailedWriteStopsThePage) {
  ShortcutTable table = OddTable();
  int calls = 0;
  ByteWriter out{[](void* context, const char*, size_t) { return ++*static_cast<int*>(context) < 4 ? 1 : 0; }, &calls};
  EXPECT_FALSE(WriteShortcutsHtml(kOddLanguage, &table, &out));
  EXPECT_EQ(calls, 4);
}

std::set<std::wstring> gExisting;
int Exists(const wchar_t* path) { return static_cast<int>(gExisting.count(path)); }

TEST(ShortcutExport, PageNamesKeysThenNumbers) {
  struct {
    std::set<std::wstring> existing;
    const wchar_t* chosen;
  } cases[] = {
      {{L"T\\Keys.htm", L"T\\1.htm"}, L"T\\2.htm"},
      {{L"T\\1.htm"}, L"T\\Keys.htm"},
  };
  for (const auto& c : cases) {
    gExisting = c.existing;
    wchar_t path[64];
    ASSERT_TRUE(ChooseShortcutsPagePath(L"T\\", Exists, path, 64));
    EXPECT_EQ(std::wstring(path), c.chosen);
  }
  gExisting = {};
  wchar_t small[8];
  EXPECT_FALSE(ChooseShortcutsPagePath(L"T\\", Exists, small, 8)) << "T\\Keys.htm does not fit";
}

}  // namespace
