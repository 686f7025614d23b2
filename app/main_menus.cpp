// Menus of the main window over the built menu tree and the language tables.
#include "main_menus.h"

#include <cwchar>

#include "app/app_state.h"
#include "app/main_toolbar.h"
#include "app/menu_win32.h"
#include "base/paths.h"
#include "editor/editor_view.h"
#include "editor/find_replace.h"
#include "language/language_file.h"
#include "language/language_list.h"
#include "settings/settings_store.h"
#include "shortcuts/key_names.h"
#include "ui/owner_menu.h"
#include "ui/status_bar.h"
#include "ui/theme.h"

namespace {

MenuTreeItem* gMenuTree = nullptr;
HBITMAP gCheckMarks[2] = {};

constexpr int kCheckMarkSize = 11;

CommandStateTargets Targets(int withMenuBar) {
  CommandStateTargets targets{};
  targets.mainWindow = withMenuBar ? gMainWindow : nullptr;
  targets.editor = EditorWindow();
  targets.findDialog = gFind.dialog;
  targets.toolbar = gToolbar.window;
  return targets;
}

// Algorithm of the start-up choice: the stored code, else the system's
// language; a code chosen here is written back at once.
void ChooseLanguageCodeForRun() {
  SettingsStore* store = Settings();
  char stored[kLanguageCodeChars + 1] = "";
  ReadString(store, kSettingLanguage.section, kSettingLanguage.name, "", stored, 4);
  if (ChooseStartupLanguageCode(stored, gApp->languageCode, sizeof gApp->languageCode)) {
    WriteString(store, kSettingLanguage.section, kSettingLanguage.name, gApp->languageCode);
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

void LanguageFolder(wchar_t* folder, size_t capacity) {
  if (capacity < 2) return;
  ProgramFolder(folder, static_cast<uint32_t>(capacity - 1));
  size_t length = wcslen(folder);
  if (length) {
    folder[length] = L'\\';
    folder[length + 1] = 0;
  }
}

void SelectLanguageAndBuildMenus(HWND window) {
  wchar_t folder[kMaxPathChars + 1] = L"";
  LanguageFolder(folder, kMaxPathChars + 1);
  ChooseLanguageCodeForRun();
  if (!gApp->languageCode[0]) {
    MainMenusUpdateStates();
    return;
  }
  SetCurrentLanguageTable(SelectLanguageTable(CurrentLanguageTable(), gApp->languageCode, folder));
  OwnerMenuSetLabelRoutine(TreeItemLabel);
  OwnerMenuShowIcons(MenuIconsWanted());
  RebuildMainMenu(window, CurrentLanguageTable(), ThemeMode(5), gApp->themeMode, MenuLabelWithShortcut,
                  MenuIconsWanted() ? PrepareMenuBar : nullptr, &gMenuTree);
  ThemeMenu(GetMenu(window));
  DrawMenuBar(window);
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
  FreeLanguageTable(CurrentLanguageTable());
  SetCurrentLanguageTable(nullptr);
}

void MainMenusOnInitPopup(HMENU popup, int isWindowMenu) {
  if (isWindowMenu) return;
  CheckItem(popup, kCmdToolbar, ToolbarVisibleHeight(&gToolbar) > 0);
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
  HWND editor = EditorWindow();
  if (reinterpret_cast<HWND>(wParam) != editor) return;
  if (lParam == -1) {  // from the keyboard: only while the pointer is over the editor
    POINT cursor;
    GetCursorPos(&cursor);
    if (WindowFromPoint(cursor) != editor) return;
  }
  ShowContextMenu(window, editor, gFind.dialog, MenuIconsWanted() ? PreparePopup : nullptr);
}

int MainMenusOnMeasureItem(MEASUREITEMSTRUCT* item) { return OwnerMenuMeasure(item); }
int MainMenusOnDrawItem(DRAWITEMSTRUCT* item) { return OwnerMenuDraw(item); }

LRESULT MainMenusOnMenuChar(wchar_t typed, HMENU menu) { return OwnerMenuChar(typed, menu); }

// Every command is offered; those with an icon resource of their number get one.
void MainMenusBuildIcons() {
  uint16_t commands[kCommandDeclCount + 1] = {};
  size_t count = 0;
  for (size_t i = 0; i < kCommandDeclCount; i++)
    if (kCommandDecls[i].kind == kKindCommand || kCommandDecls[i].kind == kKindMenuCommand)
      commands[count++] = kCommandDecls[i].id;
  OwnerMenuBuildIcons(gApp->instance, commands, gApp->menuIconSize);
}

void MainMenusUpdateStates(int force) {
  CommandStateTargets targets = Targets(1);
  UpdateCommandStates(&targets, force);
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
