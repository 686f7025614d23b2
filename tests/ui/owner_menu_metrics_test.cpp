// Sizes, label parts and mnemonics of the owner-drawn menu.
#include <gtest/gtest.h>

#include "ui/owner_menu_metrics.h"

namespace {

TEST(MenuMetrics, ItemHeightTakesTheLargerOfTextAndIcon) {
  struct { int text, icon, height; } cases[] = {
      {13, 16, 20},  // icon wins: 16 + 4
      {15, 16, 21},  // text + 2 = 17 wins
      {14, 16, 20},  // a tie: 16 + 4
      {13, 0, 20},   // no icon size: at least 16
      {13, 8, 20},   // small icons count as 16
      {13, 32, 36},  // large icons
      {30, 24, 36},
  };
  for (const auto& c : cases) EXPECT_EQ(MenuItemHeight(c.text, c.icon), c.height) << c.text << " " << c.icon;
}

TEST(MenuMetrics, SeparatorIsHalfTheTextPlusTwo) {
  struct { int text, height; } cases[] = {{13, 8}, {14, 9}, {15, 9}, {0, 2}, {32, 18}};
  for (const auto& c : cases) EXPECT_EQ(MenuSeparatorHeight(c.text), c.height) << c.text;
}

TEST(MenuMetrics, PopupWidthAddsGutterLabelShortcutAndArrowRoom) {
  int gutter16 = MenuGutterWidth(16);
  EXPECT_EQ(gutter16, 16 + 2 * kMenuIconPad + 2);
  EXPECT_EQ(MenuGutterWidth(0), gutter16) << "icons are never narrower than 16";
  EXPECT_EQ(MenuGutterWidth(32), gutter16 + 16);
  // Without any shortcut in the popup there is no shortcut column at all.
  EXPECT_EQ(MenuPopupItemWidth(16, 100, 0), gutter16 + kMenuTextGap + 100 + kMenuArrowSpace);
  EXPECT_EQ(MenuPopupItemWidth(16, 100, 40),
            gutter16 + kMenuTextGap + 100 + kMenuShortcutGap + 40 + kMenuArrowSpace);
  // Every item of a popup gets the same width from the same widest parts.
  EXPECT_EQ(MenuPopupItemWidth(32, 80, 30) - MenuPopupItemWidth(16, 80, 30), 16);
  EXPECT_EQ(MenuBarItemWidth(28), 28 + 2 * kMenuBarPad);
}

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
      {L"Ö&ffnen...", L'F'},     {L"&Rückgängig", L'R'},   {L"Ein&fügen", L'F'},
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
