// Sizes and mnemonics of owner-drawn menu items: the arithmetic and the text
// rules, apart from the drawing, so they build and are tested on any host.
#pragma once
#include <cstddef>
#include <cstdint>

// Spacing of a popup item, in pixels.
constexpr int kMenuIconPad = 3;       // around the icon in the gutter
constexpr int kMenuTextGap = 8;       // between the gutter and the label
constexpr int kMenuShortcutGap = 24;  // between the widest label and the widest shortcut
constexpr int kMenuArrowSpace = 20;   // right of the shortcut: room for the submenu arrow
constexpr int kMenuBarPad = 3;        // left and right of a menu-bar label (the system adds its own)
constexpr int kMenuMinIconSize = 16;

// Item height: the larger of text height + 2 and the icon size (at least 16), plus 4.
int MenuItemHeight(int textHeight, int iconSize);
int MenuSeparatorHeight(int textHeight);
// Width of the icon column on the left of a popup.
int MenuGutterWidth(int iconSize);
// Width of a popup item from the widest label part and the widest shortcut part.
int MenuPopupItemWidth(int iconSize, int widestLabel, int widestShortcut);
int MenuBarItemWidth(int labelWidth);

// Splits a label at its first tab: *labelLength characters of label, then the
// shortcut from *shortcut (empty when there is no tab).
void SplitMenuLabel(const wchar_t* label, size_t* labelLength, const wchar_t** shortcut);
// The mnemonic of a label: the character after a single "&" ("&&" is a literal
// ampersand), folded to upper case for ASCII; 0 when there is none.
wchar_t MenuMnemonic(const wchar_t* label);

// What WM_MENUCHAR answers: how the menu goes on and which item.
enum MenuCharAction { kMenuCharIgnore = 0, kMenuCharExecute = 2, kMenuCharSelect = 3 };
struct MenuCharResult {
  MenuCharAction action;
  int position;
};
// The items of a menu as the mnemonic search sees them; separators and
// disabled items carry a null label.
// One item whose mnemonic matches: execute it. Several: select the next one
// after the current selection (wrapping). None: ignore.
MenuCharResult ResolveMenuChar(const wchar_t* const* labels, int count, wchar_t typed, int selected);
