// Sizes, label parts and mnemonics of the owner-drawn menu.
#include <gtest/gtest.h>

#include "ui/owner_menu_metrics.h"

namespace {

TEST(MenuLabels, SplitAtTheFirstTab) {
  struct { const wchar_t* label; size_t length; const wchar_t* shortcut; } cases[] = {
      {L"&Save\tCtrl+S", 5, L"Ctrl+S"},
      {L"&Open...", 8, L""},
      {L"\tF5", 0, L"F5"},
      {L"", 0, L""},
      {L"A\tB\tC", 1, L"B\tC"},
  };
  for (const auto& c : cases) {
    size_t length = 99;
    const wchar_t* shortcut = nullptr;
    SplitMenuLabel(c.label, &length, &shortcut);
    EXPECT_EQ(length, c.length) << c.label;
    EXPECT_STREQ(shortcut, c.shortcut) << c.label;
  }
}

TEST(MenuLabels, MnemonicIsTheLetterAfterASingleAmpersand) {
  struct { const wchar_t* label; wchar_t mnemonic; } cases[] = {
      {L"&File", L'F'},          {L"Save &as...", L'A'},   {L"E&xit", L'X'},
      {L"&ä", 0xC4},             {L"Tom && Jerry", 0},     {L"Tom && &Jerry", L'J'},
      {L"No mnemonic", 0},       {L"Trailing &", 0},       {L"Tab &\tCtrl+&T", 0},
      {L"Label\tCtrl+&S", 0},    {L"", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(MenuMnemonic(c.label), c.mnemonic) << c.label;
}

TEST(MenuChar, OneMatchExecutesSeveralCycleNoneIgnores) {
  const wchar_t* file[] = {L"&New", L"&Open...", L"Open A&udio file...", nullptr, L"&Save\tCtrl+S",
                           L"Save &as...", nullptr, L"&Print...", L"E-Mail to...", nullptr, L"E&xit"};
  int count = static_cast<int>(sizeof file / sizeof file[0]);
  struct { wchar_t typed; int selected; MenuCharAction action; int position; } cases[] = {
      {L'a', -1, kMenuCharExecute, 5}, {L'A', 3, kMenuCharExecute, 5}, {L'x', 0, kMenuCharExecute, 10},
      {L'u', -1, kMenuCharExecute, 2}, {L'z', -1, kMenuCharIgnore, 0}, {L'e', -1, kMenuCharIgnore, 0},
      {0, -1, kMenuCharIgnore, 0},
  };
  for (const auto& c : cases) {
    MenuCharResult result = ResolveMenuChar(file, count, c.typed, c.selected);
    EXPECT_EQ(result.action, c.action) << static_cast<int>(c.typed);
    EXPECT_EQ(result.position, c.position) << static_cast<int>(c.typed);
  }
  // Two items share S: select, moving on from the current selection and wrapping.
  const wchar_t* twice[] = {L"&Stop", L"&Play", nullptr, L"&Skip"};
  EXPECT_EQ(ResolveMenuChar(twice, 4, L's', -1).action, kMenuCharSelect);
  EXPECT_EQ(ResolveMenuChar(twice, 4, L's', -1).position, 0);
  EXPECT_EQ(ResolveMenuChar(twice, 4, L's', 0).position, 3);
  EXPECT_EQ(ResolveMenuChar(twice, 4, L's', 3).position, 0);
  // A disabled or separator entry (null) never matches.
  const wchar_t* greyed[] = {nullptr, L"&Copy"};
  EXPECT_EQ(ResolveMenuChar(greyed, 2, L'c', -1).position, 1);
  EXPECT_EQ(ResolveMenuChar(greyed, 0, L'c', -1).action, kMenuCharIgnore);
}

}  // namespace
