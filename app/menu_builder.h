// Built menu tree: a heap copy of a static menu definition whose items carry
// their labels in the current language, and (menu_win32.h) the Win32 menus
// made from it. Each Win32 item's data points at its tree item, so the
// owner-drawn menu finds the label, the identifier (= icon resource) and the type.
#pragma once
#include <cstddef>
#include <cstdint>

#include "app/language.h"
#include "app/menu_definitions.h"

constexpr size_t kMenuLabelChars = 60;

struct MenuTreeItem {
  uint16_t id;  // 0 ends a level
  uint32_t type;
  wchar_t label[kMenuLabelChars + 1];
  MenuTreeItem* children;  // own heap array, or null
};

// Identifiers to leave out (with their popups) when copying a definition.
struct MenuFilter {
  uint16_t omitted[4];
  int count;
};

// Main menu filter: no Dark mode popup where the system has no dark mode, and
// of its three choices only the two that are not the current one (themeMode
// 0, 1, 2 = Disable, Allow, Force).
void MainMenuFilter(int darkModeAvailable, int themeMode, MenuFilter* filter);

// Copies a definition; null only when memory runs out. filter may be null.
MenuTreeItem* BuildMenuTree(const MenuDefinition* definition, const MenuFilter* filter);
// Frees a tree and all its levels; null is allowed.
void FreeMenuTree(MenuTreeItem* tree);
size_t MenuTreeLevelCount(const MenuTreeItem* level);
// Depth-first search over all levels; null when absent.
MenuTreeItem* FindMenuTreeItem(MenuTreeItem* tree, uint16_t id);

// Appends the command's shortcut as a tab and key name (or leaves the label as
// it is); label holds capacity characters including the terminator.
typedef void (*MenuShortcutRoutine)(uint16_t command, wchar_t* label, size_t capacity);

// Fills the labels of a tree from a table: the text up to its first ";", at most
// kMenuLabelChars characters. In the menu bar (forPopup zero) a command item gets
// its shortcut from shortcuts (when not null); items with children and every
// item of a popup menu are cut at the first tab. Separators get no label.
// Returns non-zero on success, zero at the first item whose label is empty.
int BuildMenuLabels(LanguageTable table, MenuTreeItem* tree, int forPopup, MenuShortcutRoutine shortcuts);
