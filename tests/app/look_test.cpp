// The dark look of the real main window, reached through a table of fake
// dark-mode entry points (Wine's UxTheme has none): Force dark mode restarts
// the window into the dark look, Disable back into the light one.
#include <gtest/gtest.h>
#include <windows.h>

#include "app/app_state.h"
#include "commands/commands.h"
#include "editor/editor_view.h"
#include "fake_theme.h"
#include "main_window_host.h"
#include "settings/settings_store.h"
#include "ui/theme.h"

namespace {

TEST(DarkLook, ForcedAndDisabledThroughTheEntryPoints) {
  gFakeTheme.appsDark = 1;
  gFakeTheme.titleOf = &gMainWindow;
  ThemeUseEntryPoints(&kWithDarkMode);
  HostMainWindow(MakeTestFolder(L"tpwr-look-"), nullptr);
  ASSERT_NE(gMainWindow, nullptr);
  EXPECT_EQ(ThemeIsDark(), 0) << "DM 0 at the start: the default, light";
  EXPECT_NE(GetMenuState(GetMenu(gMainWindow), kCmdDarkForce, MF_BYCOMMAND), static_cast<UINT>(-1))
      << "the Dark Mode popup is offered";
  HWND old = gMainWindow;
  SendMessageW(gMainWindow, WM_COMMAND, kCmdDarkForce, 0);
  EXPECT_FALSE(IsWindow(old)) << "a change of look restarts the window";
  EXPECT_EQ(gApp->restartCount, 1u);
  EXPECT_EQ(ReadSetting(Settings(), kSettingDarkMode), 2u);
  RunRestartedWindow();
  ASSERT_NE(gMainWindow, nullptr);
  EXPECT_EQ(ThemeIsDark(), 1);
  EXPECT_EQ(gFakeTheme.titleDark, TRUE);
  EXPECT_EQ(ThemeEditorBackColor(), kItemsFill);
  EXPECT_EQ(ThemeEditorTextColor(), kItemsText);
  EXPECT_EQ(reinterpret_cast<HBRUSH>(GetClassLongPtrW(gMainWindow, GCLP_HBRBACKGROUND)), ThemeGetBrush(kThemeFaceBack));
  EXPECT_EQ(GetMenuState(GetMenu(gMainWindow), kCmdDarkForce, MF_BYCOMMAND), static_cast<UINT>(-1))
      << "the current choice is not offered";
  SendMessageW(gMainWindow, WM_COMMAND, kCmdDarkDisable, 0);
  EXPECT_EQ(gApp->restartCount, 1u);
  RunRestartedWindow();
  EXPECT_EQ(ThemeIsDark(), 0);
  EXPECT_EQ(ReadSetting(Settings(), kSettingDarkMode), 0u);
  EXPECT_EQ(ThemeEditorBackColor(), GetSysColor(COLOR_WINDOW));
  CloseMainWindow();
  ThemeUseEntryPoints(nullptr);
}

}  // namespace
