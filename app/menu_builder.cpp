// Built menu trees: copying a static definition and filling in the labels.
#include "app/menu_builder.h"

#include <cstdlib>

#include "app/command_ids.h"

namespace {

// Longest text fetched for a label before it is cut.
constexpr size_t kFetchChars = 512;

int IsOmitted(const MenuFilter* filter, uint16_t id) {
  if (!filter) return 0;
  for (int i = 0; i < filter->count && i < 4; i++) {
    if (filter->omitted[i] == id) return 1;
  }
  return 0;
}

int IsSeparator(const MenuTreeItem* item) {
  return item->id == kMenuSeparatorId || (item->type & kMenuTypeSeparator) != 0;
}

// Copies one level (and, recursively, the levels below it).
MenuTreeItem* CopyLevel(const MenuDefinition* definition, const MenuFilter* filter) {
  size_t kept = 0;
  for (const MenuDefinition* entry = definition; entry->id; entry++) {
    if (!IsOmitted(filter, entry->id)) kept++;
  }
  MenuTreeItem* level = static_cast<MenuTreeItem*>(calloc(kept + 1, sizeof(MenuTreeItem)));
  if (!level) return nullptr;
  size_t at = 0;
  for (const MenuDefinition* entry = definition; entry->id; entry++) {
    if (IsOmitted(filter, entry->id)) continue;
    MenuTreeItem* item = &level[at++];
    item->id = entry->id;
    item->type = entry->type;
    if (entry->children) {
      item->children = CopyLevel(entry->children, filter);
      if (!item->children) {
        FreeMenuTree(level);
        return nullptr;
      }
    }
  }
  return level;
}

int BuildLevelLabels(LanguageTable table, MenuTreeItem* level, int forPopup, MenuShortcutRoutine shortcuts) {
  wchar_t text[kFetchChars];
  for (MenuTreeItem* item = level; item->id; item++) {
    item->label[0] = 0;
    if (IsSeparator(item)) continue;
    GetLanguageText(table, item->id, text, kFetchChars);
    CutAtSemicolon(text);
    size_t length = 0;
    for (; text[length] && length < kMenuLabelChars; length++) item->label[length] = text[length];
    item->label[length] = 0;
    if (!forPopup && !item->children) {
      if (shortcuts) shortcuts(item->id, item->label, kMenuLabelChars + 1);
    } else {
      CutAtTab(item->label);
    }
    if (!item->label[0]) return 0;
    if (item->children && !BuildLevelLabels(table, item->children, forPopup, shortcuts)) return 0;
  }
  return 1;
}

}  // namespace

void MainMenuFilter(int darkModeAvailable, int themeMode, MenuFilter* filter) {
  filter->count = 0;
  if (!darkModeAvailable) filter->omitted[filter->count++] = kMenuDarkMode;
  static constexpr uint16_t kCurrentChoice[3] = {kCmdDarkDisable, kCmdDarkAllow, kCmdDarkForce};
  if (themeMode >= 0 && themeMode < 3) filter->omitted[filter->count++] = kCurrentChoice[themeMode];
}

MenuTreeItem* BuildMenuTree(const MenuDefinition* definition, const MenuFilter* filter) {
  if (!definition) return nullptr;
  return CopyLevel(definition, filter);
}

void FreeMenuTree(MenuTreeItem* tree) {
  if (!tree) return;
  for (MenuTreeItem* item = tree; item->id; item++) FreeMenuTree(item->children);
  free(tree);
}

size_t MenuTreeLevelCount(const MenuTreeItem* level) {
  size_t count = 0;
  if (level) {
    while (level[count].id) count++;
  }
  return count;
}

MenuTreeItem* FindMenuTreeItem(MenuTreeItem* tree, uint16_t id) {
  if (!tree) return nullptr;
  for (MenuTreeItem* item = tree; item->id; item++) {
    if (item->id == id) return item;
    MenuTreeItem* below = FindMenuTreeItem(item->children, id);
    if (below) return below;
  }
  return nullptr;
}

int BuildMenuLabels(LanguageTable table, MenuTreeItem* tree, int forPopup, MenuShortcutRoutine shortcuts) {
  if (!tree) return 0;
  return BuildLevelLabels(table, tree, forPopup, shortcuts);
}
