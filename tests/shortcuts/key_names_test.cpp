// Key names in English and German, the character map of the keyboard layout,
// and menu labels with their shortcut.
#include <gtest/gtest.h>

#include <cstring>

#include "commands/commands.h"
#include "language/language.h"
#include "shortcuts/key_names.h"

namespace {

ShortcutTable FreshTable() {
  ShortcutTable table{kDefaultShortcuts, {}, nullptr, kSettingKeys.section, kCommandNames, {}};
  ResetShortcutTable(&table);
  return table;
}

struct TextCase {
  uint16_t code;
  const wchar_t* english;
  const wchar_t* german;
};

TEST(ShortcutText, EnglishAndGerman) {
  const TextCase cases[] = {
      {0x674, L"Ctrl+Shift+F5", L"Strg+Ums.+F5"},
      {0x741, L"Alt+Ctrl+Shift+A", L"Alt+Strg+Ums.+A"},
      {0x100 | 'Z', L"Alt+Z", L"Alt+Z"},
      {0x500 | 112, L"Alt+Shift+F1", L"Alt+Ums.+F1"},
      {103, L"Num7", L"Num.7"},
      {96, L"Num0", L"Num.0"},
      {0x200 | 105, L"Ctrl+Num9", L"Strg+Num.9"},
      {106, L"Gray *", L"Num *"},
      {107, L"Gray +", L"Num +"},
      {109, L"Gray -", L"Num -"},
      {111, L"Gray /", L"Num /"},
      {112, L"F1", L"F1"},
      {135, L"F24", L"F24"},
      {'0', L"0", L"0"},
      {0x400 | '9', L"Shift+9", L"Ums.+9"},
      {8, L"Back", L"Zur\u00fcck"},
      {20, L"Capital", L"Gro\u00df"},
      {27, L"Escape", L"Esc"},
      {33, L"Prior", L"BildNachOben"},
      {36, L"Home", L"Pos1"},
      {38, L"Up", L"Nach Oben"},
      {46, L"Delete", L"Entf"},
      {144, L"Numlock", L"Numeric"},
      {145, L"Scroll", L"Rollen"},
      {187, L"+", L"+"},
      {0x200 | 188, L"Ctrl+,", L"Strg+,"},
      {189, L"-", L"-"},
      {190, L".", L"."},
      // A modifier key alone has no name; the modifiers before it stay.
      {0x200 | 17, L"Ctrl+", L"Strg+"},
      {16, L"", L""},
  };
  ShortcutTable table = FreshTable();
  for (const TextCase& c : cases) {
    wchar_t text[64];
    EXPECT_EQ(ShortcutTextIn(kLanguageTableEnglish, &table, c.code, text, 64), wcslen(c.english)) << c.code;
    EXPECT_STREQ(text, c.english) << c.code;
    ShortcutTextIn(kLanguageTableGerman, &table, c.code, text, 64);
    EXPECT_STREQ(text, c.german) << c.code;
  }
}

TEST(ShortcutText, NumericPadSeparatorAndDecimalGiveNoText) {
  ShortcutTable table = FreshTable();
  for (uint16_t code : {108, 110, 0x700 | 108, 0x200 | 110}) {
    wchar_t text[64] = L"junk";
    EXPECT_EQ(ShortcutTextIn(kLanguageTableEnglish, &table, code, text, 64), 0u) << code;
    EXPECT_STREQ(text, L"") << code;
  }
}

TEST(ShortcutText, CutAtTheBuffer) {
  ShortcutTable table = FreshTable();
  wchar_t text[8] = L"";
  EXPECT_EQ(ShortcutTextIn(kLanguageTableEnglish, &table, 0x674, text, 8), 7u);
  EXPECT_STREQ(text, L"Ctrl+Sh");
  wchar_t one[1] = {L'x'};
  EXPECT_EQ(ShortcutTextIn(kLanguageTableEnglish, &table, 0x674, one, 1), 0u);
  EXPECT_EQ(one[0], 0);
  EXPECT_EQ(ShortcutTextIn(kLanguageTableEnglish, &table, 0x674, one, 0), 0u);
}

// A US-like layout: ";" and ":" share key 186 (":" needs Shift), "'" and the
// acute accent share key 222 without Shift; "~" needs Shift on key 192.
int FakeLayout(wchar_t character) {
  switch (character) {
    case L';': return 186;
    case L':': return 0x100 | 186;
    case L'\'': return 222;
    case 0xB4: return 222;
    case L'~': return 0x100 | 192;
    case L'a': return 'A';
    default: return -1;
  }
}

TEST(CharacterMap, BareKeysOnlyAndTheFirstCharacterWins) {
  ShortcutTable table = FreshTable();
  EnsureCharacterMap(&table, FakeLayout);
  EXPECT_NE(table.characterMap[0], 0) << "marked as built";
  EXPECT_EQ(table.characterMap[186], ';');
  EXPECT_EQ(table.characterMap[222], '\'');
  EXPECT_EQ(table.characterMap[192], 0) << "a character that needs Shift does not name the key";
  EXPECT_EQ(table.characterMap['A'], 'a');
  // Built once: a second call with another layout changes nothing.
  EnsureCharacterMap(&table, [](wchar_t) { return 192; });
  EXPECT_EQ(table.characterMap[192], 0);
}

TEST(CharacterMap, OtherKeysAreNamedByTheirCharacter) {
  KeyForCharacterRoutine saved = gKeyForCharacter;
  gKeyForCharacter = FakeLayout;
  ShortcutTable table = FreshTable();
  wchar_t text[64];
  ShortcutTextIn(kLanguageTableEnglish, &table, 0x200 | 186, text, 64);
  EXPECT_STREQ(text, L"Ctrl+;");
  ShortcutTextIn(kLanguageTableGerman, &table, 222, text, 64);
  EXPECT_STREQ(text, L"'");
  ShortcutTextIn(kLanguageTableEnglish, &table, 0x400 | 192, text, 64);
  EXPECT_STREQ(text, L"Shift+") << "no character for the key: the name stays empty";
  gKeyForCharacter = saved;
}

TEST(MenuLabel, AppendsTheHighestCodeAfterATab) {
  ShortcutTable table = FreshTable();
  table.keyMap[114] = kCmdFind;  // F3 now also runs Find; Ctrl+F (582) is higher
  struct Case {
    uint16_t command;
    const wchar_t* label;
    const wchar_t* expected;
  } cases[] = {
      {kCmdFind, L"&Find...", L"&Find...\tCtrl+F"},
      {kCmdFileSave, L"&Save\tOld", L"&Save\tCtrl+S"},
      {kCmdPlay, L"&Play\tF9", L"&Play"},
      {kCmdFindNext, L"Find &next", L"Find &next"},
      {30000, L"Untitled\tkept", L"Untitled\tkept"},
  };
  for (const Case& c : cases) {
    wchar_t label[61];
    wcscpy(label, c.label);
    MenuLabelWithShortcutIn(kLanguageTableEnglish, &table, c.command, label, 61);
    EXPECT_STREQ(label, c.expected) << c.command;
  }
  table.keyMap[0x674] = kCmdFind;
  wchar_t german[61] = L"&Suchen...";
  MenuLabelWithShortcutIn(kLanguageTableGerman, &table, kCmdFind, german, 61);
  EXPECT_STREQ(german, L"&Suchen...\tStrg+Ums.+F5");
  wchar_t small[12] = L"&Suchen...";
  MenuLabelWithShortcutIn(kLanguageTableGerman, &table, kCmdFind, small, 12);
  EXPECT_STREQ(small, L"&Suchen...\t") << "cut at the buffer, terminated";
}

}  // namespace
