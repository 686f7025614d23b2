// Menu trees from the commands' places.
#include "commands/menu_tree.h"

#include <cstdlib>

namespace {

// A menu holds few items; more than this many would be a mistake in the list.
constexpr size_t kMaxItemsPerMenu = 32;

struct PlacedItem {
  const CommandDecl* decl;
  uint16_t position;
  int omitted;  // left out, but still holding its position, so it makes no gap
};

int IsOmitted(const MenuFilter* filter, uint16_t id) {
  if (!filter) return 0;
  for (int i = 0; i < filter->count && i < 4; i++)
    if (filter->omitted[i] == id) return 1;
  return 0;
}

// The declarations placed in menu, sorted by position (insertion sort: tiny lists).
size_t GatherItems(uint16_t menu, const MenuFilter* filter, PlacedItem* items) {
  size_t count = 0;
  for (size_t i = 0; i < kCommandDeclCount; i++) {
    const CommandDecl* decl = &kCommandDecls[i];
    for (const MenuPlace& place : decl->places.at) {
      if (place.menu != menu || place.position == 0 || count == kMaxItemsPerMenu) continue;
      size_t at = count++;
      while (at > 0 && items[at - 1].position > place.position) {
        items[at] = items[at - 1];
        at--;
      }
      items[at] = {decl, place.position, IsOmitted(filter, decl->id)};
    }
  }
  return count;
}

MenuTreeItem* BuildLevel(uint16_t menu, const MenuFilter* filter) {
  PlacedItem items[kMaxItemsPerMenu];
  size_t count = GatherItems(menu, filter, items);
  // At most one separator between two items, and a terminator.
  MenuTreeItem* level = static_cast<MenuTreeItem*>(calloc(2 * count + 1, sizeof(MenuTreeItem)));
  if (!level) return nullptr;
  size_t at = 0;
  int gap = 0;
  for (size_t i = 0; i < count; i++) {
    if (i > 0 && items[i].position > items[i - 1].position + 1) gap = 1;
    if (items[i].omitted) continue;
    if (gap && at > 0) {
      level[at].id = kMenuSeparatorId;
      level[at++].type = kMenuTypeSeparator;
    }
    gap = 0;
    MenuTreeItem* item = &level[at++];
    item->id = items[i].decl->id;
    item->type = items[i].decl->menuType;
    if (items[i].decl->kind != kKindPopup) continue;
    item->children = BuildLevel(item->id, filter);
    if (!item->children) {
      FreeMenuTree(level);
      return nullptr;
    }
  }
  return level;
}

}  // namespace

void MainMenuFilter(int darkModeAvailable, int themeMode, MenuFilter* filter) {
  filter->count = 0;
  if (!darkModeAvailable) filter->omitted[filter->count++] = kMenuDarkMode;
  static constexpr uint16_t kCurrentChoice[3] = {kCmdDarkDisable, kCmdDarkAllow, kCmdDarkForce};
  if (themeMode >= 0 && themeMode < 3) filter->omitted[filter->count++] = kCurrentChoice[themeMode];
}

MenuTreeItem* BuildMenuTree(uint16_t menu, const MenuFilter* filter) { return BuildLevel(menu, filter); }

void FreeMenuTree(MenuTreeItem* tree) {
  if (!tree) return;
  for (MenuTreeItem* item = tree; item->id; item++) FreeMenuTree(item->children);
  free(tree);
}

size_t MenuTreeLevelCount(const MenuTreeItem* level) {
  size_t count = 0;
  if (level)
    while (level[count].id) count++;
  return count;
}

MenuTreeItem* FindMenuTreeItem(MenuTreeItem* tree, uint16_t id) {
  if (!tree) return nullptr;
  for (MenuTreeItem* item = tree; item->id; item++) {
    if (item->id == id) return item;
    if (MenuTreeItem* below = FindMenuTreeItem(item->children, id)) return below;
  }
  return nullptr;
}
