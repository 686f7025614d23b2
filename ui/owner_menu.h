// The owner-drawn menu: menu bar, popups and context menu drawn like the
// system's own menus, with command icons in a left gutter, check marks from
// the program's bitmaps and shortcut texts right-aligned.
#pragma once
#include <windows.h>

#include <cstdint>

// The label of an item from its item data (the menu builder's tree item); the
// menu keeps no texts of its own. Returns null for an unknown item.
typedef const wchar_t* (*OwnerMenuLabelRoutine)(ULONG_PTR itemData);

// The image list of command icons at size pixels: icon resource = command
// number, commands ends with 0; a command without an icon resource is left
// out. Replaces an earlier list. Non-zero on success.
int OwnerMenuBuildIcons(HINSTANCE instance, const uint16_t* commands, int size);
void OwnerMenuSetLabelRoutine(OwnerMenuLabelRoutine routine);
// Check-mark bitmaps (black on white): plain check and the radio bullet. Not owned.
void OwnerMenuSetCheckMarks(HBITMAP check, HBITMAP bullet);
// Icons off (the menus still measure and draw themselves).
void OwnerMenuShowIcons(int shown);
// The menu font is read again at the next measuring (after a change of the
// system's settings).
void OwnerMenuRefreshFont();

// Marks every item of menu owner-drawn and measures its texts in the menu
// font: each label of a menu bar, the widest label and shortcut of a popup.
void OwnerMenuPrepare(HMENU menu, int isMenuBar);
// Non-zero when the item is one of the menu's and was answered.
int OwnerMenuMeasure(MEASUREITEMSTRUCT* item);
int OwnerMenuDraw(const DRAWITEMSTRUCT* item);
// WM_MENUCHAR: the mnemonic of the typed character in menu.
LRESULT OwnerMenuChar(wchar_t typed, HMENU menu);
// Releases the icons and the font.
void OwnerMenuRelease();
