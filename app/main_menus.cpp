// Menus of the main window over the built menu tree and the language tables.
#include "main_menus.h"

#include "app/app_state.h"
#include "app/command_ids.h"
#include "app/language_file.h"
#include "app/language_win32.h"
#include "app/menu_win32.h"
#include "app/status_bar.h"
#include "settings/settings_store.h"
#include "ui/owner_menu.h"
#include "shortcuts/key_names.h"

namespace {

MenuTreeItem* gMenuTree = nullptr;
HBITMAP gCheckMarks[2] = {};

constexpr int kCheckMarkSize = 11;

CommandStateTargets Targets(int withMenuBar) {
  CommandStateTargets targets{};
  targets.mainWindow = withMenuBar ? gMainWindow : nullptr;
  targets.editor = gApp->editorWindow;
  targets.findDialog = gApp->findDialog;
  return targets;
}

// Algorithm of the start-up choice: the stored code, else the system's
// language; a code chosen here is written back at once.
void ChooseLanguageCodeForRun() {
  SettingsStore* store = Settings();
  char stored[kLanguageCodeChars + 1] = "";
  ReadString(store, kSettingsSection, "Language", "", stored, 4);
  if (ChooseStartupLanguageCode(stored, gApp->languageCode, sizeof gApp->languageCode)) {
    WriteString(store, kSettingsSection, "Language", gApp->languageCode);
    Flush(store);
  }
}

const wchar_t* TreeItemLabel(ULONG_PTR itemData) {
  return itemData ? reinterpret_cast<const MenuTreeItem*>(itemData)->label : nullptr;
}

int MenuIconsWanted() { return !(gApp->options & kOptNoMenuIcons); }

// Hands a built menu bar or context menu to the owner-drawn menu.
void PrepareMenuBar(HMENU menu) { OwnerMenuPrepare(menu, 1); }
void PreparePopup(HMENU menu) { OwnerMenuPrepare(menu, 0); }

void CheckItem(HMENU popup, UINT command, int checked) {
  CheckMenuItem(popup, command, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

}  // namespace

void SelectLanguageAndBuildMenus(HWND window) {
  wchar_t folder[kMaxPathChars + 1] = L"";
  GetProgramFolder(folder, kMaxPathChars + 1);
  ChooseLanguageCodeForRun();
  if (!gApp->languageCode[0]) {
    MainMenusUpdateStates();
    return;
  }
  gApp->languageTable = SelectLanguageTable(gApp->languageTable, gApp->languageCode, folder);
  SetCurrentLanguageTable(gApp->languageTable);
  // Dark mode is not offered until the theme can switch looks.
  OwnerMenuSetLabelRoutine(TreeItemLabel);
  OwnerMenuShowIcons(MenuIconsWanted());
  RebuildMainMenu(window, gApp->languageTable, 0, gApp->themeMode, MenuLabelWithShortcut,
                  MenuIconsWanted() ? PrepareMenuBar : nullptr, &gMenuTree);
  CommandStateTargets targets = Targets(1);
  UpdateCommandStates(&targets, 1);
}

void FreeMainMenus() {
  HMENU bar = GetMenu(gMainWindow);
  if (bar) {
    SetMenu(gMainWindow, nullptr);
    DestroyMenu(bar);
  }
  FreeMenuTree(gMenuTree);
  gMenuTree = nullptr;
  OwnerMenuSetCheckMarks(nullptr, nullptr);
  OwnerMenuRelease();
  for (HBITMAP& bitmap : gCheckMarks) {
    if (bitmap) DeleteObject(bitmap);
    bitmap = nullptr;
  }
}

void ReleaseLanguage() {
  FreeLanguageTable(gApp->languageTable);
  gApp->languageTable = nullptr;
  SetCurrentLanguageTable(nullptr);
}

void MainMenusOnInitPopup(HMENU popup, int isWindowMenu) {
  if (isWindowMenu) return;
  CheckItem(popup, kCmdToolbar, 0);  // no toolbar yet: it shows unchecked
  CheckItem(popup, kCmdStatusbar, StatusBarIsVisible());
  CheckItem(popup, kCmdWordwrap, (gApp->options & kOptWordWrap) != 0);
  MainMenusUpdateStates();
  ApplyCommandStatesToMenu(popup);
  if (MenuIconsWanted()) OwnerMenuPrepare(popup, 0);
}

void MainMenusOnSelect(UINT item, UINT flags, HMENU menu) {
  if (flags == 0xFFFF && !menu) return;  // the menu closed; WM_EXITMENULOOP restores the bar
  int isPopup = (flags & MF_POPUP) != 0;
  uint16_t id = isPopup ? MenuItemIdAtPosition(menu, static_cast<int>(item)) : static_cast<uint16_t>(item);
  wchar_t help[kStatusHelpChars + 1] = L"";
  if (id && !(flags & MF_SEPARATOR)) GetMenuHelpText(id, isPopup, help, kStatusHelpChars + 1);
  // An empty help text would give the panes back; a blank keeps the bar covered.
  StatusBarSetHelpText(help[0] ? help : L" ");
}

void MainMenusOnExitLoop() {
  if (StatusBarShowsHelp()) StatusBarSetHelpText(L"");
}

void MainMenusOnContextMenu(HWND window, WPARAM wParam, LPARAM lParam) {
  HWND editor = gApp->editorWindow;
  if (reinterpret_cast<HWND>(wParam) != editor) return;
  if (lParam == -1) {  // from the keyboard: only while the pointer is over the editor
    POINT cursor;
    GetCursorPos(&cursor);
    if (WindowFromPoint(cursor) != editor) return;
  }
  ShowContextMenu(window, editor, gApp->findDialog, MenuIconsWanted() ? PreparePopup : nullptr);
}

int MainMenusOnMeasureItem(MEASUREITEMSTRUCT* item) { return OwnerMenuMeasure(item); }
int MainMenusOnDrawItem(DRAWITEMSTRUCT* item) { return OwnerMenuDraw(item); }

LRESULT MainMenusOnMenuChar(wchar_t typed, HMENU menu) { return OwnerMenuChar(typed, menu); }

void MainMenusBuildIcons() { OwnerMenuBuildIcons(gApp->instance, kMenuIconCommands, gApp->menuIconSize); }

void MainMenusUpdateStates() {
  CommandStateTargets targets = Targets(1);
  UpdateCommandStates(&targets, 0);
}

void MainMenusLoadCheckMarks() {
  for (int i = 0; i < 2; ++i) {
    if (gCheckMarks[i]) DeleteObject(gCheckMarks[i]);
    gCheckMarks[i] = static_cast<HBITMAP>(
        LoadImageW(gApp->instance, MAKEINTRESOURCEW(5 + i), IMAGE_BITMAP, kCheckMarkSize, kCheckMarkSize, 0));
  }
  OwnerMenuSetCheckMarks(gCheckMarks[0], gCheckMarks[1]);
  OwnerMenuRefreshFont();
}
