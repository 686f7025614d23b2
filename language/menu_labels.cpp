// Menu labels from a language table.
#include "language/menu_labels.h"

namespace {

// Longest text fetched for a label before it is cut.
constexpr size_t kFetchChars = 512;

int IsSeparator(const MenuTreeItem* item) {
  return item->id == kMenuSeparatorId || (item->type & kMenuTypeSeparator) != 0;
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

int BuildMenuLabels(LanguageTable table, MenuTreeItem* tree, int forPopup, MenuShortcutRoutine shortcuts) {
  if (!tree) return 0;
  return BuildLevelLabels(table, tree, forPopup, shortcuts);
}
