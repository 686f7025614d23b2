// Owner-drawn menus in the look of the system's themed menus: a flat popup in
// the menu colour, a light selection box tinted from the highlight colour,
// icons and check marks in a gutter on the left, thin separators.
#include "ui/owner_menu.h"

#include <commctrl.h>

#include "ui/owner_menu_metrics.h"
#include "ui/theme.h"

namespace {

constexpr int kMaxIcons = 64;
constexpr int kMaxItems = 256;
constexpr int kLabelChars = 128;
constexpr int kCheckMarkSize = 11;
constexpr DWORD kRopPatternWhereBlack = 0x00B8074A;  // P ^ (S & (D ^ P))

// What the menu knows of one item between its preparation and its drawing.
struct PreparedItem {
  ULONG_PTR data;
  int isBar;
  int isSeparator;
  int widestLabel;     // over the whole popup; the label itself on the menu bar
  int widestShortcut;  // over the whole popup
};

struct OwnerMenu {
  HIMAGELIST icons;
  int iconSize;
  uint16_t iconCommands[kMaxIcons];
  int iconCount;
  int iconsShown;
  HBITMAP checkMarks[2];
  HFONT font;
  int textHeight;
  OwnerMenuLabelRoutine labelOf;
  PreparedItem items[kMaxItems];
  int nextSlot;
};

OwnerMenu gOwnerMenu = {nullptr, 16, {}, 0, 1, {}, nullptr, 0, nullptr, {}, 0};

// The menu font of the non-client metrics, made once per run.
HFONT MenuFont() {
  if (gOwnerMenu.font) return gOwnerMenu.font;
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
    gOwnerMenu.font = CreateFontIndirectW(&metrics.lfMenuFont);
  if (!gOwnerMenu.font) gOwnerMenu.font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, gOwnerMenu.font);
  TEXTMETRICW text{};
  GetTextMetricsW(dc, &text);
  gOwnerMenu.textHeight = text.tmHeight;
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return gOwnerMenu.font;
}

PreparedItem* FindItem(ULONG_PTR data) {
  if (!data) return nullptr;
  for (PreparedItem& item : gOwnerMenu.items)
    if (item.data == data) return &item;
  return nullptr;
}

// Popup items are prepared again before every opening, so their slots are
// reused in turn; the menu bar's stay until the next menu bar replaces them
// (the system may measure the bar again at any time).
PreparedItem* SlotFor(ULONG_PTR data) {
  PreparedItem* item = FindItem(data);
  if (item) return item;
  for (int tries = 0; tries < kMaxItems; tries++) {
    item = &gOwnerMenu.items[gOwnerMenu.nextSlot];
    gOwnerMenu.nextSlot = (gOwnerMenu.nextSlot + 1) % kMaxItems;
    if (!item->isBar) break;
  }
  *item = PreparedItem{};
  item->data = data;
  return item;
}

void ForgetMenuBar() {
  for (PreparedItem& item : gOwnerMenu.items)
    if (item.isBar) item = PreparedItem{};
}

void DropFont() {
  if (gOwnerMenu.font && gOwnerMenu.font != GetStockObject(DEFAULT_GUI_FONT)) DeleteObject(gOwnerMenu.font);
  gOwnerMenu.font = nullptr;
}

// The label of a menu item: from the builder's tree item, else the menu's own text.
void ItemLabel(HMENU menu, UINT position, ULONG_PTR data, wchar_t* label) {
  const wchar_t* text = gOwnerMenu.labelOf && data ? gOwnerMenu.labelOf(data) : nullptr;
  if (text) {
    lstrcpynW(label, text, kLabelChars);
    return;
  }
  label[0] = 0;
  if (menu) GetMenuStringW(menu, position, label, kLabelChars, MF_BYPOSITION);
}

int TextWidth(HDC dc, const wchar_t* text, int length) {
  if (length <= 0) return 0;
  RECT box = {0, 0, 0, 0};
  DrawTextW(dc, text, length, &box, DT_SINGLELINE | DT_CALCRECT);
  return box.right - box.left;
}

int IconIndex(uint16_t command) {
  for (int i = 0; i < gOwnerMenu.iconCount; i++)
    if (gOwnerMenu.iconCommands[i] == command) return i;
  return -1;
}

COLORREF Mix(COLORREF a, COLORREF b, int percentOfA) {
  int rest = 100 - percentOfA;
  return RGB((GetRValue(a) * percentOfA + GetRValue(b) * rest) / 100,
             (GetGValue(a) * percentOfA + GetGValue(b) * rest) / 100,
             (GetBValue(a) * percentOfA + GetBValue(b) * rest) / 100);
}

void FillBox(HDC dc, const RECT& box, COLORREF fill, COLORREF frame) {
  HBRUSH brush = CreateSolidBrush(fill);
  FillRect(dc, &box, brush);
  DeleteObject(brush);
  if (fill == frame) return;
  brush = CreateSolidBrush(frame);
  FrameRect(dc, &box, brush);
  DeleteObject(brush);
}

// The selection box: the highlight colour thinned into the menu colour.
void DrawSelection(HDC dc, RECT box, COLORREF back, int disabled) {
  COLORREF tint = disabled ? ThemeGetColor(kThemeGrayText) : ThemeGetColor(kThemeHighlight);
  FillBox(dc, box, Mix(tint, back, disabled ? 12 : 22), Mix(tint, back, disabled ? 30 : 55));
}

// A black-on-white check-mark bitmap painted in color, centred in box.
void DrawCheckMark(HDC dc, HBITMAP bitmap, const RECT& box, COLORREF color) {
  if (!bitmap) return;
  HDC source = CreateCompatibleDC(dc);
  HGDIOBJ oldBitmap = SelectObject(source, bitmap);
  HBRUSH brush = CreateSolidBrush(color);
  HGDIOBJ oldBrush = SelectObject(dc, brush);
  int x = (box.left + box.right - kCheckMarkSize) / 2;
  int y = (box.top + box.bottom - kCheckMarkSize) / 2;
  BitBlt(dc, x, y, kCheckMarkSize, kCheckMarkSize, source, 0, 0, kRopPatternWhereBlack);
  SelectObject(dc, oldBrush);
  DeleteObject(brush);
  SelectObject(source, oldBitmap);
  DeleteDC(source);
}

void DrawMenuText(HDC dc, const wchar_t* text, int length, RECT box, UINT align, COLORREF color, int noAccel) {
  if (length <= 0) return;
  SetTextColor(dc, color);
  DrawTextW(dc, text, length, &box, align | DT_SINGLELINE | DT_VCENTER | (noAccel ? DT_HIDEPREFIX : 0));
}

void DrawBarItem(const DRAWITEMSTRUCT* item, const wchar_t* label) {
  HDC dc = item->hDC;
  RECT box = item->rcItem;
  COLORREF back = ThemeGetColor(kThemeMenuBar);
  int disabled = (item->itemState & (ODS_GRAYED | ODS_DISABLED)) != 0;
  FillBox(dc, box, back, back);
  if (item->itemState & (ODS_SELECTED | ODS_HOTLIGHT)) DrawSelection(dc, box, back, disabled);
  size_t length;
  const wchar_t* shortcut;
  SplitMenuLabel(label, &length, &shortcut);
  DrawMenuText(dc, label, static_cast<int>(length), box, DT_CENTER,
               ThemeGetColor(disabled ? kThemeGrayText : kThemeMenuText), (item->itemState & ODS_NOACCEL) != 0);
}

void DrawSeparator(HDC dc, const RECT& box, COLORREF back) {
  int top = (box.top + box.bottom) / 2;
  RECT line = {box.left + MenuGutterWidth(gOwnerMenu.iconSize) + kMenuTextGap / 2, top, box.right - 2, top + 1};
  FillBox(dc, line, Mix(ThemeGetColor(kThemeLine), back, 45), Mix(ThemeGetColor(kThemeLine), back, 45));
}

// A disabled command's icon: drawn over the background into a bitmap of our
// own, then turned grey and faded towards the background.
void DrawDisabledIcon(HDC dc, int icon, int x, int y, COLORREF back) {
  int size = gOwnerMenu.iconSize;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = size;
  info.bmiHeader.biHeight = -size;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC memory = CreateCompatibleDC(dc);
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!memory || !bitmap || !bits) {
    if (bitmap) DeleteObject(bitmap);
    if (memory) DeleteDC(memory);
    return;
  }
  HGDIOBJ old = SelectObject(memory, bitmap);
  RECT all = {0, 0, size, size};
  FillBox(memory, all, back, back);
  ImageList_Draw(gOwnerMenu.icons, icon, memory, 0, 0, ILD_TRANSPARENT);
  GdiFlush();
  auto* pixel = static_cast<uint8_t*>(bits);
  for (int64_t i = 0; i < static_cast<int64_t>(size) * size; i++, pixel += 4) {
    int gray = (pixel[2] * 30 + pixel[1] * 59 + pixel[0] * 11) / 100;
    pixel[0] = static_cast<uint8_t>((gray * 40 + GetBValue(back) * 60) / 100);
    pixel[1] = static_cast<uint8_t>((gray * 40 + GetGValue(back) * 60) / 100);
    pixel[2] = static_cast<uint8_t>((gray * 40 + GetRValue(back) * 60) / 100);
  }
  BitBlt(dc, x, y, size, size, memory, 0, 0, SRCCOPY);
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
}

// Icon and check mark in the gutter: a checked item with an icon shows the
// icon in a selection box, one without shows the check-mark bitmap.
void DrawGutter(const DRAWITEMSTRUCT* item, COLORREF back, int disabled, int radio) {
  HDC dc = item->hDC;
  int gutter = MenuGutterWidth(gOwnerMenu.iconSize);
  RECT cell = {item->rcItem.left + 1, item->rcItem.top + 1, item->rcItem.left + gutter - 1, item->rcItem.bottom - 1};
  int checked = (item->itemState & ODS_CHECKED) != 0;
  int icon = gOwnerMenu.iconsShown && gOwnerMenu.icons ? IconIndex(static_cast<uint16_t>(item->itemID)) : -1;
  if (checked) DrawSelection(dc, cell, back, disabled);
  if (icon >= 0) {
    int x = (cell.left + cell.right - gOwnerMenu.iconSize) / 2;
    int y = (cell.top + cell.bottom - gOwnerMenu.iconSize) / 2;
    if (disabled)
      DrawDisabledIcon(dc, icon, x, y, back);
    else
      ImageList_Draw(gOwnerMenu.icons, icon, dc, x, y, ILD_TRANSPARENT);
  } else if (checked) {
    DrawCheckMark(dc, gOwnerMenu.checkMarks[radio ? 1 : 0], cell,
                  ThemeGetColor(disabled ? kThemeGrayText : kThemeMenuText));
  }
}

void DrawPopupItem(const DRAWITEMSTRUCT* item, const PreparedItem* prepared, const wchar_t* label) {
  HDC dc = item->hDC;
  RECT box = item->rcItem;
  COLORREF back = ThemeGetColor(kThemeMenuBack);
  FillBox(dc, box, back, back);
  if (prepared && prepared->isSeparator) {
    DrawSeparator(dc, box, back);
    return;
  }
  int disabled = (item->itemState & (ODS_GRAYED | ODS_DISABLED)) != 0;
  RECT inner = {box.left + 2, box.top, box.right - 2, box.bottom};
  if (item->itemState & ODS_SELECTED) DrawSelection(dc, inner, back, disabled);
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE;
  GetMenuItemInfoW(reinterpret_cast<HMENU>(item->hwndItem), item->itemID, FALSE, &info);
  DrawGutter(item, back, disabled, (info.fType & MFT_RADIOCHECK) != 0);
  size_t length;
  const wchar_t* shortcut;
  SplitMenuLabel(label, &length, &shortcut);
  COLORREF color = ThemeGetColor(disabled ? kThemeGrayText : kThemeMenuText);
  int noAccel = (item->itemState & ODS_NOACCEL) != 0;
  RECT text = {box.left + MenuGutterWidth(gOwnerMenu.iconSize) + kMenuTextGap, box.top, box.right - kMenuArrowSpace,
               box.bottom};
  DrawMenuText(dc, label, static_cast<int>(length), text, DT_LEFT, color, noAccel);
  DrawMenuText(dc, shortcut, lstrlenW(shortcut), text, DT_RIGHT | DT_NOPREFIX, color, 1);
}

}  // namespace

int OwnerMenuBuildIcons(HINSTANCE instance, const uint16_t* commands, int size) {
  if (gOwnerMenu.icons) ImageList_Destroy(gOwnerMenu.icons);
  gOwnerMenu.icons = nullptr;
  gOwnerMenu.iconCount = 0;
  gOwnerMenu.iconSize = size < kMenuMinIconSize ? kMenuMinIconSize : size;
  int count = 0;
  while (commands[count]) count++;
  gOwnerMenu.icons = ImageList_Create(gOwnerMenu.iconSize, gOwnerMenu.iconSize, ILC_COLOR32 | ILC_MASK, 32, 8);
  if (!gOwnerMenu.icons) return 0;
  // Commands without an icon resource are skipped.
  for (int i = 0; i < count && gOwnerMenu.iconCount < kMaxIcons; i++) {
    HICON icon = static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(commands[i]), IMAGE_ICON, gOwnerMenu.iconSize, gOwnerMenu.iconSize, 0));
    if (!icon) continue;
    if (ImageList_AddIcon(gOwnerMenu.icons, icon) >= 0) gOwnerMenu.iconCommands[gOwnerMenu.iconCount++] = commands[i];
    DestroyIcon(icon);
  }
  return 1;
}

void OwnerMenuSetLabelRoutine(OwnerMenuLabelRoutine routine) { gOwnerMenu.labelOf = routine; }

void OwnerMenuSetCheckMarks(HBITMAP check, HBITMAP bullet) {
  gOwnerMenu.checkMarks[0] = check;
  gOwnerMenu.checkMarks[1] = bullet;
}

void OwnerMenuShowIcons(int shown) { gOwnerMenu.iconsShown = shown; }

void OwnerMenuRefreshFont() { DropFont(); }

void OwnerMenuPrepare(HMENU menu, int isMenuBar) {
  int count = menu ? GetMenuItemCount(menu) : 0;
  if (count <= 0) return;
  if (isMenuBar) ForgetMenuBar();
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, MenuFont());
  int widestLabel = 0;
  int widestShortcut = 0;
  PreparedItem* first = nullptr;
  for (int pass = 0; pass < 2; pass++) {  // measure, then record the popup's widest parts
    for (int i = 0; i < count; i++) {
      MENUITEMINFOW info{};
      info.cbSize = sizeof info;
      info.fMask = MIIM_FTYPE | MIIM_DATA;
      if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info) || !info.dwItemData) continue;
      wchar_t label[kLabelChars];
      ItemLabel(menu, static_cast<UINT>(i), info.dwItemData, label);
      size_t length;
      const wchar_t* shortcut;
      SplitMenuLabel(label, &length, &shortcut);
      int labelWidth = TextWidth(dc, label, static_cast<int>(length));
      if (pass == 0) {
        if (labelWidth > widestLabel) widestLabel = labelWidth;
        int shortcutWidth = TextWidth(dc, shortcut, lstrlenW(shortcut));
        if (shortcutWidth > widestShortcut) widestShortcut = shortcutWidth;
        continue;
      }
      PreparedItem* item = SlotFor(info.dwItemData);
      if (!first) first = item;
      item->isBar = isMenuBar;
      item->isSeparator = (info.fType & MFT_SEPARATOR) != 0;
      item->widestLabel = isMenuBar ? labelWidth : widestLabel;
      item->widestShortcut = isMenuBar ? 0 : widestShortcut;
      if (!(info.fType & MFT_OWNERDRAW)) {
        info.fMask = MIIM_FTYPE;
        info.fType |= MFT_OWNERDRAW;
        SetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
      }
    }
  }
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
}

int OwnerMenuMeasure(MEASUREITEMSTRUCT* item) {
  if (item->CtlType != ODT_MENU) return 0;
  const PreparedItem* prepared = FindItem(item->itemData);
  if (!prepared) return 0;
  MenuFont();
  if (prepared->isSeparator) {
    item->itemWidth = 1;
    item->itemHeight = static_cast<UINT>(MenuSeparatorHeight(gOwnerMenu.textHeight));
    return 1;
  }
  item->itemHeight = static_cast<UINT>(MenuItemHeight(gOwnerMenu.textHeight, gOwnerMenu.iconSize));
  item->itemWidth = static_cast<UINT>(prepared->isBar ? MenuBarItemWidth(prepared->widestLabel)
                                                      : MenuPopupItemWidth(gOwnerMenu.iconSize, prepared->widestLabel,
                                                                           prepared->widestShortcut));
  return 1;
}

int OwnerMenuDraw(const DRAWITEMSTRUCT* item) {
  if (item->CtlType != ODT_MENU) return 0;
  const PreparedItem* prepared = FindItem(item->itemData);
  if (!prepared) return 0;
  wchar_t label[kLabelChars];
  ItemLabel(nullptr, 0, item->itemData, label);
  HGDIOBJ old = SelectObject(item->hDC, MenuFont());
  int oldMode = SetBkMode(item->hDC, TRANSPARENT);
  if (prepared->isBar)
    DrawBarItem(item, label);
  else
    DrawPopupItem(item, prepared, label);
  SetBkMode(item->hDC, oldMode);
  SelectObject(item->hDC, old);
  return 1;
}

LRESULT OwnerMenuChar(wchar_t typed, HMENU menu) {
  int count = menu ? GetMenuItemCount(menu) : 0;
  if (count <= 0) return MAKELRESULT(0, kMenuCharIgnore);
  if (count > kMaxItems) count = kMaxItems;
  static wchar_t labels[kMaxItems][kLabelChars];
  const wchar_t* shown[kMaxItems];
  int selected = -1;
  for (int i = 0; i < count; i++) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_DATA;
    shown[i] = nullptr;
    if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info)) continue;
    if (info.fState & MFS_HILITE) selected = i;
    if ((info.fType & MFT_SEPARATOR) || (info.fState & MFS_DISABLED)) continue;
    ItemLabel(menu, static_cast<UINT>(i), info.dwItemData, labels[i]);
    shown[i] = labels[i];
  }
  MenuCharResult result = ResolveMenuChar(shown, count, typed, selected);
  return MAKELRESULT(result.position, result.action);
}

void OwnerMenuRelease() {
  if (gOwnerMenu.icons) ImageList_Destroy(gOwnerMenu.icons);
  gOwnerMenu.icons = nullptr;
  gOwnerMenu.iconCount = 0;
  DropFont();
  for (PreparedItem& item : gOwnerMenu.items) item = PreparedItem{};
  gOwnerMenu.nextSlot = 0;
}
