// The look's colours and brushes, the dialogs' control colours and the dark
// look's owner-drawn push buttons.
#include "ui/theme_internal.h"

#include <commctrl.h>

namespace {

constexpr int kItemsViewFill = 3802;  // TMT_FILLCOLOR
constexpr int kItemsViewText = 3803;  // TMT_TEXTCOLOR
// The dark look's colours where the items-view style cannot be read.
constexpr COLORREF kDarkText = RGB(0xE8, 0xE8, 0xE8);
constexpr COLORREF kDarkBack = RGB(0x20, 0x20, 0x20);
constexpr wchar_t kHotProperty[] = L"TpwrHot";
constexpr UINT_PTR kHoverSubclass = 0x7457;

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

constexpr int kSystemIndex[kThemeColorCount] = {COLOR_WINDOWTEXT, COLOR_WINDOW,    COLOR_BTNTEXT, COLOR_BTNFACE,
                                                COLOR_GRAYTEXT,   COLOR_HIGHLIGHT, COLOR_BTNSHADOW, COLOR_MENUTEXT,
                                                COLOR_MENU,       COLOR_MENUBAR};

COLORREF Mix(COLORREF a, COLORREF b, int percentOfA) {
  int rest = 100 - percentOfA;
  return RGB((GetRValue(a) * percentOfA + GetRValue(b) * rest) / 100,
             (GetGValue(a) * percentOfA + GetGValue(b) * rest) / 100,
             (GetBValue(a) * percentOfA + GetBValue(b) * rest) / 100);
}

// Text and fill of the items-view visual style.
void DarkPair(COLORREF* text, COLORREF* back) {
  *text = kDarkText;
  *back = kDarkBack;
  const ThemeEntryPoints& p = Theme()->points;
  if (!p.openThemeData || !p.getThemeColor || !p.closeThemeData) return;
  HANDLE style = p.openThemeData(nullptr, L"ItemsView");
  if (!style) return;
  COLORREF readText, readBack;
  if (SUCCEEDED(p.getThemeColor(style, 0, 0, kItemsViewText, &readText)) &&
      SUCCEEDED(p.getThemeColor(style, 0, 0, kItemsViewFill, &readBack))) {
    *text = readText;
    *back = readBack;
  }
  p.closeThemeData(style);
}

COLORREF DarkColor(ThemeColor which) {
  COLORREF text, back;
  DarkPair(&text, &back);
  switch (which) {
    case kThemeWindowText:
    case kThemeFaceText:
    case kThemeMenuText: return text;
    case kThemeGrayText: return Mix(text, back, 50);
    case kThemeHighlight: return GetSysColor(COLOR_HIGHLIGHT);
    case kThemeLine: return Mix(text, back, 40);
    default: return back;
  }
}

CachedColor* Cached(ThemeColor which) {
  CachedColor* entry = &gThemeColors[which];
  if (!entry->valid) {
    entry->color = Theme()->dark ? DarkColor(which) : GetSysColor(kSystemIndex[which]);
    entry->brush = CreateSolidBrush(entry->color);
    entry->valid = 1;
  }
  return entry;
}

void SetHot(HWND button, int hot) {
  if ((GetPropW(button, kHotProperty) != nullptr) == (hot != 0)) return;
  if (hot)
    SetPropW(button, kHotProperty, reinterpret_cast<HANDLE>(1));
  else
    RemovePropW(button, kHotProperty);
  InvalidateRect(button, nullptr, FALSE);
}

// Repaints an owner-drawn button when the mouse enters or leaves it.
LRESULT CALLBACK HoverProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  switch (message) {
    case WM_MOUSEMOVE:
      if (!GetPropW(button, kHotProperty)) {
        TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, button, 0};
        TrackMouseEvent(&track);
        SetHot(button, 1);
      }
      break;
    case WM_MOUSELEAVE: SetHot(button, 0); break;
    case WM_NCDESTROY:
      RemovePropW(button, kHotProperty);
      RemoveWindowSubclass(button, HoverProc, kHoverSubclass);
      break;
    default: break;
  }
  return DefSubclassProc(button, message, wParam, lParam);
}

}  // namespace

COLORREF ThemeGetColor(ThemeColor which) { return Cached(which)->color; }
HBRUSH ThemeGetBrush(ThemeColor which) { return Cached(which)->brush; }

void ThemeClassBackground(HWND window) {
  if (window)
    SetClassLongPtrW(window, GCLP_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(ThemeGetBrush(kThemeFaceBack)));
}

void ThemeRefresh() {
  for (CachedColor& entry : gThemeColors) {
    if (entry.brush) DeleteObject(entry.brush);
    entry = CachedColor{};
  }
}

HBRUSH ThemeControlColors(UINT message, HDC dc) {
  int list = message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX;
  ThemeColor text = list ? kThemeWindowText : kThemeFaceText;
  ThemeColor back = list ? kThemeWindowBack : kThemeFaceBack;
  SetTextColor(dc, ThemeGetColor(text));
  SetBkColor(dc, ThemeGetColor(back));
  return ThemeGetBrush(back);
}

void ThemeControl(HWND button) {
  if (!button) return;
  ThemeState* theme = Theme();
  const ThemeEntryPoints& p = theme->points;
  if (theme->dark) {
    LONG_PTR style = GetWindowLongPtrW(button, GWL_STYLE);
    SetWindowLongPtrW(button, GWL_STYLE, (style & ~static_cast<LONG_PTR>(BS_TYPEMASK)) | BS_OWNERDRAW);
    SetWindowSubclass(button, HoverProc, kHoverSubclass, 0);
  }
  if (p.setWindowTheme && (theme->dark || theme->supported)) p.setWindowTheme(button, L"Explorer", nullptr);
  if (p.allowDarkModeForWindow) {
    p.allowDarkModeForWindow(button, theme->dark);
    ApplyDarkTitle(button);
  }
  InvalidateRect(button, nullptr, TRUE);
}

int ThemeDrawButton(const DRAWITEMSTRUCT* item) {
  if (item->CtlType != ODT_BUTTON) return 0;
  HDC dc = item->hDC;
  RECT box = item->rcItem;
  int pressed = (item->itemState & ODS_SELECTED) != 0;
  int hot = GetPropW(item->hwndItem, kHotProperty) != nullptr;
  COLORREF back = ThemeGetColor(kThemeFaceBack);
  COLORREF text = ThemeGetColor(kThemeFaceText);
  HBRUSH fill = CreateSolidBrush(Mix(text, back, pressed ? 25 : hot ? 18 : 10));
  FillRect(dc, &box, fill);
  DeleteObject(fill);
  HBRUSH frame = CreateSolidBrush(Mix(text, back, (item->itemState & ODS_FOCUS) ? 60 : 35));
  FrameRect(dc, &box, frame);
  DeleteObject(frame);
  wchar_t label[128] = L"";
  GetWindowTextW(item->hwndItem, label, 128);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, (item->itemState & ODS_DISABLED) ? ThemeGetColor(kThemeGrayText) : text);
  if (pressed) OffsetRect(&box, 1, 1);
  DrawTextW(dc, label, -1, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE |
                                     ((item->itemState & ODS_NOACCEL) ? DT_HIDEPREFIX : 0));
  if (item->itemState & ODS_FOCUS) {
    InflateRect(&box, -3, -3);
    DrawFocusRect(dc, &box);
  }
  return 1;
}

void ThemeMenu(HMENU menu) {
  if (!menu || !Theme()->dark) return;
  MENUINFO info{};
  info.cbSize = sizeof info;
  info.fMask = MIM_BACKGROUND | MIM_APPLYTOSUBMENUS;
  info.hbrBack = ThemeGetBrush(kThemeMenuBar);
  SetMenuInfo(menu, &info);
}

void ThemeListView(HWND list) {
  ThemeState* theme = Theme();
  const ThemeEntryPoints& p = theme->points;
  if (p.allowDarkModeForWindow) p.allowDarkModeForWindow(list, theme->dark);
  if (p.setWindowTheme && theme->supported) p.setWindowTheme(list, L"Explorer", nullptr);
  if (!theme->dark) return;
  SendMessageW(list, LVM_SETBKCOLOR, 0, static_cast<LPARAM>(ThemeGetColor(kThemeWindowBack)));
  SendMessageW(list, LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(ThemeGetColor(kThemeWindowBack)));
  SendMessageW(list, LVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(ThemeGetColor(kThemeWindowText)));
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
