// Built menu trees: the items of a menu gathered from the commands' places,
// ordered by position, with a separator wherever the positions leave a gap.
// The labels are filled in afterwards from a language table
// (language/menu_labels.h); each Win32 menu item's data points at its tree
// item, so the owner-drawn menu finds the label, the identifier (= icon
// resource) and the type.
#pragma once
#include <cstddef>
#include <cstdint>

#include "commands/commands.h"

constexpr size_t kMenuLabelChars = 60;

struct MenuTreeItem {
  uint16_t id;  // 0 ends a level
  uint32_t type;
  wchar_t label[kMenuLabelChars + 1];
  MenuTreeItem* children;  // own heap array, or null
};

// Identifiers to leave out (with their popups) when building a tree.
struct MenuFilter {
  uint16_t omitted[4];
  int count;
};

// Main menu filter: no Dark mode popup where the system has no dark mode, and
// of its three choices only the two that are not the current one (themeMode
// 0, 1, 2 = Disable, Allow, Force).
void MainMenuFilter(int darkModeAvailable, int themeMode, MenuFilter* filter);

// The tree of a menu (kMenuBar, kMenuContext or a popup's id); null only when
// memory runs out. filter may be null.
MenuTreeItem* BuildMenuTree(uint16_t menu, const MenuFilter* filter);
// Frees a tree and all its levels; null is allowed.
void FreeMenuTree(MenuTreeItem* tree);
size_t MenuTreeLevelCount(const MenuTreeItem* level);
// Depth-first search over all levels; null when absent.
MenuTreeItem* FindMenuTreeItem(MenuTreeItem* tree, uint16_t id);
