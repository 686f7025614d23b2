#include "ui/owner_menu_metrics.h"

namespace {

wchar_t FoldCase(wchar_t c) {
  if (c >= L'a' && c <= L'z') return static_cast<wchar_t>(c - L'a' + L'A');
  // Latin-1 letters (German umlauts among them) fold by one bit.
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<wchar_t>(c - 0x20);
  return c;
}

}  // namespace

int MenuItemHeight(int textHeight, int iconSize) {
  int icon = iconSize < kMenuMinIconSize ? kMenuMinIconSize : iconSize;
  int text = textHeight + 2;
  return (text > icon ? text : icon) + 4;
}

int MenuSeparatorHeight(int textHeight) { return textHeight / 2 + 2; }

int MenuGutterWidth(int iconSize) {
  int icon = iconSize < kMenuMinIconSize ? kMenuMinIconSize : iconSize;
  return icon + 2 * kMenuIconPad + 2;
}

int MenuPopupItemWidth(int iconSize, int widestLabel, int widestShortcut) {
  int width = MenuGutterWidth(iconSize) + kMenuTextGap + widestLabel + kMenuArrowSpace;
  if (widestShortcut > 0) width += kMenuShortcutGap + widestShortcut;
  return width;
}

int MenuBarItemWidth(int labelWidth) { return labelWidth + 2 * kMenuBarPad; }

void SplitMenuLabel(const wchar_t* label, size_t* labelLength, const wchar_t** shortcut) {
  size_t length = 0;
  while (label[length] && label[length] != L'\t') length++;
  *labelLength = length;
  *shortcut = label[length] == L'\t' ? label + length + 1 : label + length;
}

wchar_t MenuMnemonic(const wchar_t* label) {
  for (const wchar_t* c = label; *c && *c != L'\t'; c++) {
    if (*c != L'&') continue;
    if (c[1] == L'&') {
      c++;
      continue;
    }
    return c[1] && c[1] != L'\t' ? FoldCase(c[1]) : 0;
  }
  return 0;
}

MenuCharResult ResolveMenuChar(const wchar_t* const* labels, int count, wchar_t typed, int selected) {
  MenuCharResult result = {kMenuCharIgnore, 0};
  wchar_t wanted = FoldCase(typed);
  if (!wanted || count <= 0) return result;
  int matches = 0;
  int first = -1;
  int afterSelected = -1;
  for (int i = 0; i < count; i++) {
    if (!labels[i] || MenuMnemonic(labels[i]) != wanted) continue;
    matches++;
    if (first < 0) first = i;
    if (afterSelected < 0 && i > selected) afterSelected = i;
  }
  if (matches == 0) return result;
  if (matches == 1) return MenuCharResult{kMenuCharExecute, first};
  return MenuCharResult{kMenuCharSelect, afterSelected >= 0 ? afterSelected : first};
}
