// The theme through a table of fake entry points: what each mode request
// gives with the dark-mode entry points present and absent, and what the dark
// look then does to colours, buttons, title bars and scroll bars.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "fake_theme.h"
#include "ui/theme.h"

namespace {

class Theme : public testing::Test {
 protected:
  void SetUp() override { gFakeTheme = FakeTheme{}; }
  void TearDown() override { ThemeUseEntryPoints(nullptr); }
};

TEST_F(Theme, ModeRequestsWithTheDarkEntryPoints) {
  struct {
    int appsDark, highContrast, request, dark;
  } cases[] = {
      {1, 0, 1, 1}, {0, 0, 1, 0},  // allowed: as Windows has it
      {1, 0, 2, 1}, {0, 0, 2, 1},  // forced
      {1, 0, 3, 0}, {1, 0, 0, 0},  // force light, default
      {1, 1, 1, 0}, {1, 1, 2, 0},  // high contrast keeps the light look
  };
  for (const auto& c : cases) {
    ThemeUseEntryPoints(&kWithDarkMode);
    gFakeTheme.appsDark = c.appsDark;
    gFakeTheme.highContrast = c.highContrast;
    SCOPED_TRACE(testing::Message() << "request " << c.request << " apps dark " << c.appsDark << " contrast "
                                    << c.highContrast);
    EXPECT_EQ(ThemeMode(c.request), c.dark);
    EXPECT_EQ(gFakeTheme.preferredMode, c.request);
    EXPECT_EQ(ThemeMode(4), c.dark);
    EXPECT_EQ(ThemeIsDark(), c.dark);
    EXPECT_EQ(ThemeMode(5), 1);
  }
}

TEST_F(Theme, WithoutTheDarkEntryPointsEveryRequestIsLight) {
  ThemeUseEntryPoints(&kWithoutDarkMode);
  gFakeTheme.appsDark = 1;
  for (int request : {0, 1, 2, 3, 4}) EXPECT_EQ(ThemeMode(request), 0) << request;
  EXPECT_EQ(ThemeMode(5), 0);
  EXPECT_EQ(ThemeGetColor(kThemeWindowBack), GetSysColor(COLOR_WINDOW));
}

TEST_F(Theme, DarkColoursComeFromTheItemsViewStyle) {
  ThemeUseEntryPoints(&kWithDarkMode);
  ASSERT_EQ(ThemeMode(2), 1);
  EXPECT_EQ(ThemeGetColor(kThemeWindowText), kItemsText);
  EXPECT_EQ(ThemeGetColor(kThemeWindowBack), kItemsFill);
  EXPECT_EQ(ThemeGetColor(kThemeFaceBack), kItemsFill);
  EXPECT_EQ(ThemeGetColor(kThemeMenuText), kItemsText);
  EXPECT_EQ(gFakeTheme.openedClass, L"ItemsView");
  HDC dc = GetDC(nullptr);
  EXPECT_EQ(ThemeControlColors(WM_CTLCOLORDLG, dc), ThemeGetBrush(kThemeFaceBack));
  EXPECT_EQ(GetTextColor(dc), kItemsText);
  ReleaseDC(nullptr, dc);
  ASSERT_EQ(ThemeMode(3), 0);
  EXPECT_EQ(ThemeGetColor(kThemeWindowBack), GetSysColor(COLOR_WINDOW)) << "the cache follows the look";
  EXPECT_EQ(ThemeGetColor(kThemeLine), GetSysColor(COLOR_BTNSHADOW));
}

TEST_F(Theme, ButtonsAndTitleBarsFollowTheLook) {
  for (int dark : {1, 0}) {
    ThemeUseEntryPoints(&kWithDarkMode);
    ASSERT_EQ(ThemeMode(dark ? 2 : 3), dark);
    HWND button = CreateWindowExW(0, L"BUTTON", L"OK", WS_POPUP | BS_DEFPUSHBUTTON, 0, 0, 60, 20, nullptr, nullptr,
                                  nullptr, nullptr);
    ASSERT_NE(button, nullptr);
    ThemeControl(button);
    EXPECT_EQ((GetWindowLongPtrW(button, GWL_STYLE) & BS_TYPEMASK) == BS_OWNERDRAW, dark != 0) << dark;
    EXPECT_EQ(gFakeTheme.attribute, 26u);
    EXPECT_EQ(gFakeTheme.titleDark, dark) << dark;
    DestroyWindow(button);
  }
}

TEST_F(Theme, ScrollBarsOpenTheDarkStyleWhileRedirected) {
  ThemeUseEntryPoints(&kWithDarkMode);
  HWND window = GetDesktopWindow();
  ThemeMode(1);
  ThemeOpenNonClientData(window, L"scrollbar");
  EXPECT_EQ(gFakeTheme.openedFor, nullptr);
  EXPECT_EQ(gFakeTheme.openedClass, L"Explorer::ScrollBar");
  ThemeOpenNonClientData(window, L"Button");
  EXPECT_EQ(gFakeTheme.openedFor, window);
  EXPECT_EQ(gFakeTheme.openedClass, L"Button");
  ThemeMode(3);
  ThemeOpenNonClientData(window, L"ScrollBar");
  EXPECT_EQ(gFakeTheme.openedClass, L"ScrollBar") << "force light ends the redirection";
}

}  // namespace
