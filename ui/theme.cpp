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

int ThemeIsDark() { return 0; }

HBRUSH ThemeControlColors(UINT message, HDC dc) {
  int list = message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX;
  ThemeColor text = list ? kThemeWindowText : kThemeFaceText;
  ThemeColor back = list ? kThemeWindowBack : kThemeFaceBack;
  SetTextColor(dc, ThemeGetColor(text));
  SetBkColor(dc, ThemeGetColor(back));
  return ThemeGetBrush(back);
}

void ThemeControl(HWND button) {
  if (!button || !ThemeIsDark()) return;
  LONG_PTR style = GetWindowLongPtrW(button, GWL_STYLE);
  SetWindowLongPtrW(button, GWL_STYLE, (style & ~static_cast<LONG_PTR>(BS_TYPEMASK)) | BS_OWNERDRAW);
  InvalidateRect(button, nullptr, TRUE);
}

int ThemeDrawButton(const DRAWITEMSTRUCT* item) {
  if (item->CtlType != ODT_BUTTON) return 0;
  HDC dc = item->hDC;
  RECT box = item->rcItem;
  int pressed = (item->itemState & ODS_SELECTED) != 0;
  FillRect(dc, &box, ThemeGetBrush(kThemeFaceBack));
  DrawEdge(dc, &box, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_ADJUST);
  wchar_t text[128] = L"";
  GetWindowTextW(item->hwndItem, text, 128);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor((item->itemState & ODS_DISABLED) ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
  if (!(item->itemState & ODS_DISABLED)) SetTextColor(dc, ThemeGetColor(kThemeFaceText));
  if (pressed) OffsetRect(&box, 1, 1);
  DrawTextW(dc, text, -1, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  if (item->itemState & ODS_FOCUS) {
    InflateRect(&box, -2, -2);
    DrawFocusRect(dc, &box);
  }
  return 1;
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
