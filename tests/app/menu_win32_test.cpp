// Win32 menus from built trees and the greyed states on the menu bar.
#include <windows.h>

#include <gtest/gtest.h>

#include <cwchar>
#include <string>

#include "app/menu_win32.h"
#include "commands/commands.h"

namespace {

std::wstring ItemText(HMENU menu, UINT position) {
  wchar_t text[128] = L"";
  GetMenuStringW(menu, position, text, 128, MF_BYPOSITION);
  return text;
}

void FakeShortcuts(uint16_t command, wchar_t* label, size_t capacity) {
  if (command != kCmdFileSave) return;
  size_t length = wcslen(label);
  for (const wchar_t* key = L"\tCtrl+S"; *key && length + 1 < capacity; key++) label[length++] = *key;
  label[length] = 0;
}

}  // namespace

TEST(MenuWin32, MenuBarFromTree) {
  MenuTreeItem* tree = BuildMenuTree(kMenuBar, nullptr);
  HMENU bar = CreateMenu();
  ASSERT_TRUE(BuildMenu(kLanguageTableGerman, bar, tree, 0, FakeShortcuts));
  EXPECT_EQ(ItemText(bar, 0), L"&Datei");
  HMENU file = GetSubMenu(bar, 0);
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(ItemText(file, 4), L"&Speichern\tCtrl+S");  // menu bar: shortcut after a tab
  EXPECT_EQ(GetMenuItemID(file, 3), 0xFFFFu);
  EXPECT_TRUE(GetMenuState(file, 3, MF_BYPOSITION) & MF_SEPARATOR);

  MENUITEMINFOW info = {};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE;
  GetMenuItemInfoW(bar, 7, TRUE, &info);
  EXPECT_TRUE(info.fType & MFT_RIGHTJUSTIFY);

  // Item data leads the owner-drawn menu back to the tree item.
  struct { HMENU menu; UINT position; uint16_t id; } data[] = {
      {bar, 0, kMenuFile}, {file, 0, kCmdFileNew}, {file, 11, kCmdExit}, {GetSubMenu(bar, 5), 0, kCmdPlay},
  };
  for (const auto& d : data) {
    MenuTreeItem* item = MenuTreeItemOf(d.menu, d.position, TRUE);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->id, d.id);
    if (d.position <= 9) {
      EXPECT_EQ(MenuItemIdAtPosition(d.menu, static_cast<int>(d.position)), d.id);
    }
  }
  EXPECT_EQ(MenuItemIdAtPosition(file, 10), 0);  // help only asks positions 0 to 9
  EXPECT_EQ(MenuItemIdAtPosition(file, -1), 0);
  EXPECT_EQ(MenuItemIdAtPosition(bar, 9), 0);
  EXPECT_TRUE(DestroyMenu(bar));
  FreeMenuTree(tree);
}

TEST(MenuWin32, MainMenuOnAWindowFollowsTheLanguage) {
  HWND window = CreateWindowExW(0, L"STATIC", L"menu host", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
  if (!window) GTEST_SKIP() << "no window station";
  MenuTreeItem* tree = nullptr;
  HMENU bar = RebuildMainMenu(window, kLanguageTableEnglish, 1, 0, nullptr, nullptr, &tree);
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(GetMenu(window), bar);
  EXPECT_EQ(ItemText(bar, 0), L"&File");
  // Which dark-mode choices the Options menu offers is the command list's filter test's.

  // A language change replaces menu and tree; the old tree is freed after the old menu.
  bar = RebuildMainMenu(window, kLanguageTableGerman, 0, 0, nullptr, nullptr, &tree);
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(ItemText(bar, 0), L"&Datei");
  EXPECT_EQ(MenuTreeItemOf(GetSubMenu(bar, 0), 0, TRUE), FindMenuTreeItem(tree, kCmdFileNew));

  // The greyed states reach the menu bar; only changes are sent unless forced.
  ResetCommandStates();
  CommandStateTargets targets = {window, nullptr, nullptr, nullptr};
  UpdateCommandStates(&targets, 1);
  EXPECT_TRUE(GetMenuState(bar, kCmdCut, MF_BYCOMMAND) & MF_GRAYED);  // no editor: nothing selected
  EXPECT_TRUE(GetMenuState(bar, kCmdUndo, MF_BYCOMMAND) & MF_GRAYED);
  EXPECT_FALSE(GetMenuState(bar, kCmdFind, MF_BYCOMMAND) & MF_GRAYED);
  EXPECT_TRUE(IsCommandDisabled(kCmdCut));
  ResetCommandStates();

  DestroyWindow(window);  // destroys the menu bar with it
  FreeMenuTree(tree);
}
