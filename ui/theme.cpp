#include "ui/theme.h"

namespace {

struct CachedColor {
  int valid;
  COLORREF color;
  HBRUSH brush;
};
CachedColor gThemeColors[kThemeColorCount];

struct EditorColors {
  COLORREF text;
  COLORREF back;
  HBRUSH brush;
};
EditorColors gEditorColors;

constexpr int kSystemIndex[kThemeColorCount] = {COLOR_WINDOWTEXT, COLOR_WINDOW, COLOR_BTNTEXT, COLOR_BTNFACE};

CachedColor* Cached(ThemeColor which) {
  CachedColor* entry = &gThemeColors[which];
  if (!entry->valid) {
    entry->color = GetSysColor(kSystemIndex[which]);
    entry->brush = CreateSolidBrush(entry->color);
    entry->valid = 1;
  }
  return entry;
}

}  // namespace

COLORREF ThemeGetColor(ThemeColor which) { return Cached(which)->color; }
HBRUSH ThemeGetBrush(ThemeColor which) { return Cached(which)->brush; }

void ThemeRefresh() {
  for (CachedColor& entry : gThemeColors) {
    if (entry.brush) DeleteObject(entry.brush);
    entry = CachedColor{};
  }
}

void ThemeSetEditorColors(COLORREF text, COLORREF back) {
  ThemeReleaseEditorColors();
  gEditorColors = {text, back, CreateSolidBrush(back)};
}

COLORREF ThemeEditorTextColor() { return gEditorColors.text; }
COLORREF ThemeEditorBackColor() { return gEditorColors.back; }
HBRUSH ThemeEditorBrush() { return gEditorColors.brush; }

void ThemeReleaseEditorColors() {
  if (gEditorColors.brush) DeleteObject(gEditorColors.brush);
  gEditorColors = EditorColors{};
}
