// The main window's menus handed to the owner-drawn menu: marked for drawing,
// and the icons-off option that leaves them to the system. (Their mnemonics
// are typed by the GUI cases, File > Save As, Open and Print, View > Status
// bar; a letter two items share selects in turn: MenuChar's test.)
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "app/app_state.h"
#include "app/main_menus.h"
#include "app/main_window.h"
#include "commands/commands.h"
#include "main_window_host.h"

namespace {

class HostedWindow : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    HostMainWindow(MakeTestFolder(L"tpwr-menus-"), nullptr);
    SendMessageW(gMainWindow, WM_COMMAND, kCmdAfterCreate, 2);  // the check-mark bitmaps
  }
  static void TearDownTestSuite() { CloseMainWindow(); }

  static HMENU Popup(int position) { return GetSubMenu(GetMenu(gMainWindow), position); }
  static MENUITEMINFOW Item(HMENU menu, UINT position) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_ID;
    GetMenuItemInfoW(menu, position, TRUE, &info);
    return info;
  }
  static void OpenPopup(HMENU popup, int position) {
    SendMessageW(gMainWindow, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), MAKELPARAM(position, FALSE));
  }
};

TEST_F(HostedWindow, MenuBarAndOpenedPopupsAreOwnerDrawn) {
  ASSERT_NE(gMainWindow, nullptr);
  HMENU bar = GetMenu(gMainWindow);
  ASSERT_NE(bar, nullptr);
  for (int i = 0; i < GetMenuItemCount(bar); i++) EXPECT_TRUE(Item(bar, i).fType & MFT_OWNERDRAW) << i;
  HMENU file = Popup(0);
  OpenPopup(file, 0);
  for (int i = 0; i < GetMenuItemCount(file); i++) EXPECT_TRUE(Item(file, i).fType & MFT_OWNERDRAW) << i;
  // The window menu is the system's own.
  HMENU system = GetSystemMenu(gMainWindow, FALSE);
  SendMessageW(gMainWindow, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(system), MAKELPARAM(0, TRUE));
  EXPECT_FALSE(Item(system, 0).fType & MFT_OWNERDRAW);
}

TEST_F(HostedWindow, IconsOffLeavesTheMenusToTheSystem) {
  gApp->options |= kOptNoMenuIcons;
  SelectLanguageAndBuildMenus(gMainWindow);
  HMENU bar = GetMenu(gMainWindow);
  ASSERT_NE(bar, nullptr);
  EXPECT_FALSE(Item(bar, 0).fType & MFT_OWNERDRAW);
  HMENU file = GetSubMenu(bar, 0);
  OpenPopup(file, 0);
  EXPECT_FALSE(Item(file, 0).fType & MFT_OWNERDRAW);
  gApp->options &= ~kOptNoMenuIcons;
  SelectLanguageAndBuildMenus(gMainWindow);
  EXPECT_TRUE(Item(GetMenu(gMainWindow), 0).fType & MFT_OWNERDRAW);
}

}  // namespace
