// Win32 menus made from built menu trees, the context menu and the greyed
// state of editing commands on the menu and the toolbar.
#pragma once
#include <windows.h>

#include "commands/menu_tree.h"
#include "language/menu_labels.h"

// Hands a built menu to the owner-drawn menu object (may be null).
typedef void (*MenuPrepareRoutine)(HMENU menu);

// Appends the tree's items to menu (InsertMenuItemW at the end, by position,
// with type, identifier, label and the tree item as item data); items with
// children get new popup menus, filled recursively. Non-zero on success.
int AppendMenuTreeItems(HMENU menu, MenuTreeItem* level);
// Labels from table, then the items. Non-zero on success; zero when a label
// came out empty or a menu could not be made.
int BuildMenu(LanguageTable table, HMENU menu, MenuTreeItem* tree, int forPopup, MenuShortcutRoutine shortcuts);
// The menu bar of a window from a built tree: on failure the message "Loading
// error." and no menu bar. Returns the menu set on the window, or null.
HMENU InstallMenuBar(HWND window, LanguageTable table, MenuTreeItem* tree, MenuShortcutRoutine shortcuts,
                     MenuPrepareRoutine prepare);
// The main menu in a language: builds a new tree (without the Dark mode popup
// where dark mode is not available, and without the current choice of it),
// installs it as the window's menu bar and only then frees the old tree, whose
// items the old menu's item data still pointed at. *tree gets the new tree
// (null when the menu bar failed). Returns the menu bar, or null.
HMENU RebuildMainMenu(HWND window, LanguageTable table, int darkModeAvailable, int themeMode,
                      MenuShortcutRoutine shortcuts, MenuPrepareRoutine prepare, MenuTreeItem** tree);
// The tree item behind a menu item (item data), or null.
MenuTreeItem* MenuTreeItemOf(HMENU menu, UINT item, BOOL byPosition);
// Identifier of the item at a position of a menu (positions 0 to 9 only, as
// the status-bar help asks for popups); 0 when there is none.
uint16_t MenuItemIdAtPosition(HMENU menu, int position);

// Builds the context menu from its definition in the current language, greys
// what the editor cannot do, tracks it at the mouse position (commands go to
// owner) and frees it. Non-zero when the menu was shown.
int ShowContextMenu(HWND owner, HWND editor, HWND findDialog, MenuPrepareRoutine prepare);

// What UpdateCommandStates asks and changes.
struct CommandStateTargets {
  HWND mainWindow;  // its menu bar gets EnableMenuItem
  HWND editor;
  HWND toolbar;     // gets TB_ENABLEBUTTON; may be null
  HWND findDialog;  // the open Find or Replace dialog, or null
};
void GatherEditorFacts(HWND editor, HWND findDialog, EditorFacts* facts);
// Recomputes the states and applies the changed ones (all with force).
void UpdateCommandStates(const CommandStateTargets* targets, int force);
// Applies the current states to a popup being opened.
void ApplyCommandStatesToMenu(HMENU menu);
