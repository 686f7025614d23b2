// The main window's menus: language choice, the menu bar, status-bar help,
// the context menu and the greyed states of editing commands.
#pragma once
#include <windows.h>

// Chooses the language (stored or the system's), loads its table and builds
// the menu bar in it.
void SelectLanguageAndBuildMenus(HWND window);
// Frees the built menu tree (WM_DESTROY).
void FreeMainMenus();
// Frees a language table loaded from a file (end of a run).
void ReleaseLanguage();
// The folder where language files lie: the program's, with a trailing separator.
void LanguageFolder(wchar_t* folder, size_t capacity);

void MainMenusOnInitPopup(HMENU popup, int isWindowMenu);
void MainMenusOnSelect(UINT item, UINT flags, HMENU menu);
void MainMenusOnExitLoop();
void MainMenusOnContextMenu(HWND window, WPARAM wParam, LPARAM lParam);
// Owner-drawn items; zero when the item is not one of ours.
int MainMenusOnMeasureItem(MEASUREITEMSTRUCT* item);
int MainMenusOnDrawItem(DRAWITEMSTRUCT* item);
void MainMenusUpdateStates(int force = 0);
void MainMenusLoadCheckMarks();
// WM_MENUCHAR: the mnemonic of the typed character.
LRESULT MainMenusOnMenuChar(wchar_t typed, HMENU menu);
// The menu-icon image list at the current menu icon size (WM_CREATE).
void MainMenusBuildIcons();
