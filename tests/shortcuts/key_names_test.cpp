// Key names in English and German, the character map of the keyboard layout,
// and menu labels with their shortcut.
#include <gtest/gtest.h>

#include <cstring>

#include "commands/commands.h"
#include "language/language.h"
#include "shortcuts/key_names.h"

ShortcutTable FreshTable();  // shortcut_table_test.cpp

namespace {

TEST(ShortcutText, EnglishAndGerman) {
  // One row per kind of key and each end of the ranges.
  struct { uint16_t code; const wchar_t *english, *german; } cases[] = {
      {0x674, L"Ctrl+Shift+F5", L"Strg+Ums.+F5"}, {0x741, L"Alt+Ctrl+Shift+A", L"Alt+Strg+Ums.+A"},
      {135, L"F24", L"F24"},                       {96, L"Num0", L"Num.0"},
      {0x200 | 105, L"Ctrl+Num9", L"Strg+Num.9"},  {106, L"Gray *", L"Num *"},
      {111, L"Gray /", L"Num /"},                  {0x400 | '9', L"Shift+9", L"Ums.+9"},
      {145, L"Scroll", L"Rollen"},                 {187, L"+", L"+"},
      {0x200 | 190, L"Ctrl+.", L"Strg+."},
      // A modifier key alone has no name; the modifiers before it stay.
      {0x200 | 17, L"Ctrl+", L"Strg+"},
      // The numeric pad's separator and decimal keys give no text at all.
      {108, L"", L""},                             {0x700 | 110, L"", L""},
  };
  ShortcutTable table = FreshTable();
  for (const auto& c : cases) {
    wchar_t text[64] = L"junk";
    EXPECT_EQ(ShortcutTextIn(kLanguageTableEnglish, &table, c.code, text, 64), wcslen(c.english)) << c.code;
    EXPECT_STREQ(text, c.english) << c.code;
    ShortcutTextIn(kLanguageTableGerman, &table, c.code, text, 64);
    EXPECT_STREQ(text, c.german) << c.code;
  }
  wchar_t small[8] = L"";
  EXPECT_EQ(ShortcutTextIn(kLanguageTableEnglish, &table, 0x674, small, 8), 7u);
  EXPECT_STREQ(small, L"Ctrl+Sh");
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
    default: return -1;
  }
}

TEST(CharacterMap, BareKeysOnlyAndTheFirstCharacterWins) {
  ShortcutTable table = FreshTable();
  EnsureCharacterMap(&table, FakeLayout);
  EXPECT_EQ(table.characterMap[186], ';');
  EXPECT_EQ(table.characterMap[222], '\'');
  EXPECT_EQ(table.characterMap[192], 0) << "a character that needs Shift does not name the key";
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
  ShortcutTextIn(kLanguageTableEnglish, &table, 0x400 | 192, text, 64);
  EXPECT_STREQ(text, L"Shift+") << "no character for the key: the name stays empty";
  gKeyForCharacter = saved;
}

TEST(MenuLabel, AppendsTheHighestCodeAfterATab) {
  ShortcutTable table = FreshTable();
  table.keyMap[114] = kCmdFind;  // F3 now also runs Find; Ctrl+F (582) is higher
  struct { uint16_t command; const wchar_t *label, *expected; } cases[] = {
      {kCmdFind, L"&Find...", L"&Find...\tCtrl+F"}, {kCmdFileSave, L"&Save\tOld", L"&Save\tCtrl+S"},
      {kCmdPlay, L"&Play\tF9", L"&Play"},           {kCmdFindNext, L"Find &next", L"Find &next"},
      {30000, L"Untitled\tkept", L"Untitled\tkept"},
  };
  for (const auto& c : cases) {
    wchar_t label[61];
    wcscpy(label, c.label);
    MenuLabelWithShortcutIn(kLanguageTableEnglish, &table, c.command, label, 61);
    EXPECT_STREQ(label, c.expected) << c.command;
  }
  table.keyMap[0x674] = kCmdFind;
  wchar_t small[12] = L"&Suchen...";
  MenuLabelWithShortcutIn(kLanguageTableGerman, &table, kCmdFind, small, 12);
  EXPECT_STREQ(small, L"&Suchen...\t") << "cut at the buffer, terminated";
}

}  // namespace
