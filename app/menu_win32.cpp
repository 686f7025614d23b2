// Win32 menus from built menu trees.
#include "app/menu_win32.h"


namespace {

struct EnableTargets {
  HMENU menu;
  HWND toolbar;
};

void EnableOnMenuAndToolbar(void* context, uint16_t command, uint8_t state) {
  const EnableTargets* targets = static_cast<const EnableTargets*>(context);
  if (targets->menu) EnableMenuItem(targets->menu, command, MF_BYCOMMAND | (state ? MF_GRAYED : MF_ENABLED));
  if (targets->toolbar) SendMessageW(targets->toolbar, WM_USER + 1, command, MAKELPARAM(state == kCommandEnabled, 0));
}

}  // namespace

int AppendMenuTreeItems(HMENU menu, MenuTreeItem* level) {
  if (!menu || !level) return 0;
  UINT position = 0;
  for (MenuTreeItem* item = level; item->id; item++, position++) {
    MENUITEMINFOW info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_DATA;
    info.fType = item->type;
    info.wID = item->id;
    info.dwItemData = reinterpret_cast<ULONG_PTR>(item);
    if (!(item->type & MFT_SEPARATOR)) {
      info.fMask |= MIIM_STRING;
      info.dwTypeData = item->label;
    }
    if (item->children) {
      HMENU popup = CreatePopupMenu();
      if (!popup) return 0;
      if (!AppendMenuTreeItems(popup, item->children)) {
        DestroyMenu(popup);
        return 0;
      }
      info.fMask |= MIIM_SUBMENU;
      info.hSubMenu = popup;
    }
    if (!InsertMenuItemW(menu, position, TRUE, &info)) {
      if (info.hSubMenu) DestroyMenu(info.hSubMenu);
      return 0;
    }
  }
  return 1;
}

int BuildMenu(LanguageTable table, HMENU menu, MenuTreeItem* tree, int forPopup, MenuShortcutRoutine shortcuts) {
  if (!BuildMenuLabels(table, tree, forPopup, shortcuts)) return 0;
  return AppendMenuTreeItems(menu, tree);
}

HMENU InstallMenuBar(HWND window, LanguageTable table, MenuTreeItem* tree, MenuShortcutRoutine shortcuts,
                     MenuPrepareRoutine prepare) {
  HMENU previous = GetMenu(window);
  HMENU bar = CreateMenu();
  if (!bar || !BuildMenu(table, bar, tree, 0, shortcuts)) {
    if (bar) DestroyMenu(bar);
    MessageBoxA(window, "Loading error.", "", MB_ICONHAND);
    SetMenu(window, nullptr);
    if (previous) DestroyMenu(previous);
    return nullptr;
  }
  if (prepare) prepare(bar);
  SetMenu(window, bar);
  if (previous) DestroyMenu(previous);
  return bar;
}

HMENU RebuildMainMenu(HWND window, LanguageTable table, int darkModeAvailable, int themeMode,
                      MenuShortcutRoutine shortcuts, MenuPrepareRoutine prepare, MenuTreeItem** tree) {
  MenuFilter filter;
  MainMenuFilter(darkModeAvailable, themeMode, &filter);
  MenuTreeItem* previous = *tree;
  MenuTreeItem* built = BuildMenuTree(kMenuBar, &filter);
  HMENU bar = nullptr;
  if (built) {
    bar = InstallMenuBar(window, table, built, shortcuts, prepare);  // on failure no menu bar is left
  } else {
    HMENU stale = GetMenu(window);
    SetMenu(window, nullptr);
    if (stale) DestroyMenu(stale);
  }
  if (!bar) {
    FreeMenuTree(built);
    built = nullptr;
  }
  FreeMenuTree(previous);
  *tree = built;
  return bar;
}

MenuTreeItem* MenuTreeItemOf(HMENU menu, UINT item, BOOL byPosition) {
  MENUITEMINFOW info = {};
  info.cbSize = sizeof info;
  info.fMask = MIIM_DATA;
  if (!menu || !GetMenuItemInfoW(menu, item, byPosition, &info)) return nullptr;
  return reinterpret_cast<MenuTreeItem*>(info.dwItemData);
}

uint16_t MenuItemIdAtPosition(HMENU menu, int position) {
  if (position < 0 || position > 9) return 0;
  MenuTreeItem* item = MenuTreeItemOf(menu, static_cast<UINT>(position), TRUE);
  if (item) return item->id;
  MENUITEMINFOW info = {};
  info.cbSize = sizeof info;
  info.fMask = MIIM_ID;
  if (!menu || !GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info)) return 0;
  return static_cast<uint16_t>(info.wID);
}

int ShowContextMenu(HWND owner, HWND editor, HWND findDialog, MenuPrepareRoutine prepare) {
  MenuTreeItem* tree = BuildMenuTree(kMenuContext, nullptr);
  HMENU menu = CreatePopupMenu();
  int shown = 0;
  if (tree && menu && BuildMenu(CurrentLanguageTable(), menu, tree, 1, nullptr)) {
    EditorFacts facts;
    GatherEditorFacts(editor, findDialog, &facts);
    ComputeCommandStates(&facts);
    ApplyCommandStatesToMenu(menu);
    if (prepare) prepare(menu);
    POINT at;
    GetCursorPos(&at);
    shown = TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, owner, nullptr) != 0;
  }
  if (menu) DestroyMenu(menu);
  FreeMenuTree(tree);
  return shown;
}

void GatherEditorFacts(HWND editor, HWND findDialog, EditorFacts* facts) {
  DWORD start = 0;
  DWORD end = 0;
  if (editor) SendMessageW(editor, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  facts->canUndo = editor && SendMessageW(editor, EM_CANUNDO, 0, 0) != 0;
  facts->selectionEmpty = start == end;
  facts->clipboardHasText = IsClipboardFormatAvailable(CF_TEXT) != 0;
  facts->findDialogOpen = findDialog != nullptr;
}

void UpdateCommandStates(const CommandStateTargets* targets, int force) {
  EditorFacts facts;
  GatherEditorFacts(targets->editor, targets->findDialog, &facts);
  ComputeCommandStates(&facts);
  EnableTargets enable = {targets->mainWindow ? GetMenu(targets->mainWindow) : nullptr, targets->toolbar};
  ApplyCommandStates(force, EnableOnMenuAndToolbar, &enable);
}

void ApplyCommandStatesToMenu(HMENU menu) {
  if (!menu) return;
  for (const CommandState* entry = gCommandStates; entry->command; entry++) {
    EnableMenuItem(menu, entry->command, MF_BYCOMMAND | (entry->newState ? MF_GRAYED : MF_ENABLED));
  }
}
