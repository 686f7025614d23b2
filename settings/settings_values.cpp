#include "settings/settings_values.h"

#include <cstdio>
#include <cstdlib>
#include <cwchar>

#include "settings/settings_lists.h"

namespace {

constexpr int kFontTextChars = 256;
constexpr int kFaceNameChars = LF_FACESIZE - 1;  // 31 units and the terminator
// Visual-style class and colour properties of the dark look's lists.
constexpr wchar_t kItemsViewClass[] = L"ItemsView";
constexpr int kThemeFillColor = 3802;
constexpr int kThemeTextColor = 3803;

int32_t gPlacementScale;  // computed once per run

void DesktopSize(int32_t* width, int32_t* height) {
  RECT desktop{};
  GetWindowRect(GetDesktopWindow(), &desktop);
  *width = desktop.right - desktop.left;
  *height = desktop.bottom - desktop.top;
}

int32_t PlacementScale() {
  if (!gPlacementScale) {
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    int32_t scale = (work.right - work.left) / 16;
    gPlacementScale = scale < 100 ? 100 : scale;
  }
  return gPlacementScale;
}

uint32_t AbsoluteDifference(uint32_t a, uint32_t b) { return a > b ? a - b : b - a; }

// The dark look's colours come from the "ItemsView" visual style, loaded at run
// time so that the program also runs without visual styles.
int ThemeColors(COLORREF colors[2]) {
  using OpenRoutine = HANDLE(WINAPI*)(HWND, LPCWSTR);
  using ColorRoutine = HRESULT(WINAPI*)(HANDLE, int, int, int, COLORREF*);
  using CloseRoutine = HRESULT(WINAPI*)(HANDLE);
  HMODULE uxtheme = LoadLibraryW(L"uxtheme.dll");
  if (!uxtheme) return 0;
  auto open = reinterpret_cast<OpenRoutine>(reinterpret_cast<void*>(GetProcAddress(uxtheme, "OpenThemeData")));
  auto color = reinterpret_cast<ColorRoutine>(reinterpret_cast<void*>(GetProcAddress(uxtheme, "GetThemeColor")));
  auto close = reinterpret_cast<CloseRoutine>(reinterpret_cast<void*>(GetProcAddress(uxtheme, "CloseThemeData")));
  int ok = 0;
  HANDLE theme = open && color && close ? open(nullptr, kItemsViewClass) : nullptr;
  if (theme) {
    ok = SUCCEEDED(color(theme, 0, 0, kThemeTextColor, &colors[0])) &&
         SUCCEEDED(color(theme, 0, 0, kThemeFillColor, &colors[1]));
    close(theme);
  }
  FreeLibrary(uxtheme);
  return ok;
}

}  // namespace

SettingsDarkLookRoutine gSettingsDarkLook;

int32_t ScaleWindowSide(int32_t value) {
  if (value < 1) return value;
  return static_cast<int32_t>(static_cast<int64_t>(value) * PlacementScale() / 100);
}

int ReadWindowPos(SettingsStore* store, const char* section, SettingsPlacement* placement, int32_t defaultWidth,
                  int32_t defaultHeight) {
  uint32_t values[6];
  int found = ReadListValue(store, section, kSettingPos.name, values, 6);
  int32_t desktopWidth = 0, desktopHeight = 0;
  DesktopSize(&desktopWidth, &desktopHeight);
  int32_t width = static_cast<int32_t>(values[2]);
  int32_t height = static_cast<int32_t>(values[3]);
  if (found == 5 && width >= kSmallestWindowSide && height >= kSmallestWindowSide &&
      static_cast<int64_t>(width) <= 2ll * desktopWidth && static_cast<int64_t>(height) <= 2ll * desktopHeight) {
    int32_t state = static_cast<int32_t>(values[4]);
    placement->left = static_cast<int32_t>(values[0]);
    placement->top = static_cast<int32_t>(values[1]);
    placement->width = width;
    placement->height = height;
    placement->state = state == SW_SHOWNORMAL || state == SW_SHOWMAXIMIZED ? state : 0;
    return 1;
  }
  placement->left = kDefaultWindowPosition;
  placement->top = kDefaultWindowPosition;
  placement->width = ScaleWindowSide(defaultWidth);
  placement->height = ScaleWindowSide(defaultHeight);
  placement->state = 0;
  return 0;
}

int WriteWindowPlacement(SettingsStore* store, const char* section, const SettingsPlacement* placement) {
  if (store->flags & kSettingsNoWindowPos) return 0;
  uint32_t values[5] = {static_cast<uint32_t>(placement->left), static_cast<uint32_t>(placement->top),
                        static_cast<uint32_t>(placement->width), static_cast<uint32_t>(placement->height),
                        static_cast<uint32_t>(placement->state)};
  return WriteListValue(store, section, kSettingPos.name, values, 5, 0, 1);
}

int WriteWindowPos(SettingsStore* store, const char* section, HWND window) {
  WINDOWPLACEMENT current{};
  current.length = sizeof current;
  if (store->flags & kSettingsNoWindowPos || !GetWindowPlacement(window, &current)) return 0;
  SettingsPlacement placement{current.rcNormalPosition.left, current.rcNormalPosition.top,
                              current.rcNormalPosition.right - current.rcNormalPosition.left,
                              current.rcNormalPosition.bottom - current.rcNormalPosition.top,
                              static_cast<int32_t>(current.showCmd)};
  return WriteWindowPlacement(store, section, &placement);
}

uint32_t ReadOptions(SettingsStore* store, const char* section, uint32_t fallback) {
  return ReadInt(store, section, kSettingOpt.name, fallback);
}

int WriteOptions(SettingsStore* store, const char* section, uint32_t value) {
  return WriteInt(store, section, kSettingOpt.name, value);
}

uint32_t ColorContrast(COLORREF first, COLORREF second) {
  return AbsoluteDifference(GetRValue(first), GetRValue(second)) +
         AbsoluteDifference(GetGValue(first), GetGValue(second)) +
         AbsoluteDifference(GetBValue(first), GetBValue(second));
}

void DefaultTextColors(COLORREF colors[2]) {
  if (gSettingsDarkLook && gSettingsDarkLook() && ThemeColors(colors)) return;
  colors[0] = GetSysColor(COLOR_WINDOWTEXT);
  colors[1] = GetSysColor(COLOR_WINDOW);
}

int ReadColors(SettingsStore* store, const char* section, const char* key, COLORREF colors[2], uint32_t* useSystem) {
  uint32_t values[3];
  int found = ReadListValue(store, section, key, values, 3);
  if (found >= 2 && values[0] != values[1] && ColorContrast(values[0], values[1]) >= kColorContrastMinimum) {
    colors[0] = values[0];
    colors[1] = values[1];
    if (useSystem) *useSystem = found == 3 ? values[2] : 0;
    return 1;
  }
  DefaultTextColors(colors);
  if (useSystem) *useSystem = 1;
  return 0;
}

int WriteColors(SettingsStore* store, const char* section, const char* key, const COLORREF colors[2],
                const uint32_t* useSystem) {
  uint32_t values[3] = {colors[0], colors[1], useSystem ? *useSystem : 0};
  return WriteListValue(store, section, key, values, useSystem ? 3 : 2, 1, 0);
}

int ReadCustomColors(SettingsStore* store, const char* section, COLORREF colors[kCustomColorCount]) {
  uint32_t values[kCustomColorCount];
  int found = ReadListValue(store, section, kSettingCustomColors.name, values, kCustomColorCount);
  for (int i = 0; i < kCustomColorCount; i++) colors[i] = i < found ? values[i] : kCustomColorWhite;
  return found;
}

int WriteCustomColors(SettingsStore* store, const char* section, const COLORREF colors[kCustomColorCount]) {
  int count = kCustomColorCount;
  while (count > 0 && colors[count - 1] == kCustomColorWhite) count--;
  if (!count) return DeleteKey(store, section, kSettingCustomColors.name);
  uint32_t values[kCustomColorCount];
  for (int i = 0; i < count; i++) values[i] = colors[i];
  return WriteListValue(store, section, kSettingCustomColors.name, values, count, 1, 0);
}

int ReadFont(SettingsStore* store, const char* section, const char* key, LOGFONTW* font) {
  *font = LOGFONTW{};
  if (store->flags & kSettingsDesktopChanged) return 0;
  wchar_t text[kFontTextChars];
  if (ReadText(store, section, key, nullptr, text, kFontTextChars) != 0 || !text[0]) return 0;
  // The numbers are ASCII: narrow unit by unit so that offsets stay the same.
  char numbers[kFontTextChars];
  size_t length = wcslen(text);
  for (size_t i = 0; i <= length; i++) numbers[i] = text[i] < 0x80 ? static_cast<char>(text[i]) : '?';
  int32_t fields[kFontNumbers];
  uint64_t face = SplitFontText(numbers, fields);
  font->lfHeight = fields[0];
  font->lfWidth = fields[1];
  font->lfEscapement = fields[2];
  font->lfOrientation = fields[3];
  font->lfWeight = fields[4];
  font->lfItalic = static_cast<BYTE>(fields[5]);
  font->lfUnderline = static_cast<BYTE>(fields[6]);
  font->lfStrikeOut = static_cast<BYTE>(fields[7]);
  font->lfCharSet = static_cast<BYTE>(fields[8]);
  font->lfOutPrecision = static_cast<BYTE>(fields[9]);
  font->lfClipPrecision = static_cast<BYTE>(fields[10]);
  font->lfQuality = static_cast<BYTE>(fields[11]);
  font->lfPitchAndFamily = static_cast<BYTE>(fields[12]);
  size_t faceLength = length - static_cast<size_t>(face);
  if (faceLength > kFaceNameChars) faceLength = kFaceNameChars;
  wmemcpy(font->lfFaceName, text + face, faceLength);
  font->lfFaceName[faceLength] = 0;
  return 1;
}

int WriteFontDescription(SettingsStore* store, const char* section, const char* key, const LOGFONTW* font) {
  wchar_t face[kFaceNameChars + 1];
  size_t faceLength = wcsnlen(font->lfFaceName, kFaceNameChars);
  wmemcpy(face, font->lfFaceName, faceLength);
  face[faceLength] = 0;
  wchar_t text[kFontTextChars];
  int written = swprintf(text, kFontTextChars, L"%ld,%ld,%ld,%ld,%ld,%d,%d,%d,%d,%d,%d,%d,%d,%ls", font->lfHeight,
                         font->lfWidth, font->lfEscapement, font->lfOrientation, font->lfWeight, font->lfItalic,
                         font->lfUnderline, font->lfStrikeOut, font->lfCharSet, font->lfOutPrecision,
                         font->lfClipPrecision, font->lfQuality, font->lfPitchAndFamily, face);
  if (written <= 0) return 0;
  return WriteText(store, section, key, text);
}

int WriteFont(SettingsStore* store, const char* section, const char* key, HFONT font) {
  LOGFONTW description{};
  if (!font || GetObjectW(font, sizeof description, &description) != sizeof description)
    return DeleteKey(store, section, key);
  return WriteFontDescription(store, section, key, &description);
}

void RecordDesktopSize(SettingsStore* store) {
  int32_t width = 0, height = 0;
  DesktopSize(&width, &height);
  uint32_t recorded[2];
  int found = ReadListValue(store, kSettingDesktop.section, kSettingDesktop.name, recorded, 2);
  uint32_t current[2] = {static_cast<uint32_t>(width), static_cast<uint32_t>(height)};
  if (found == 2 && recorded[0] == current[0] && recorded[1] == current[1]) return;
  // A missing record is no sign of another desktop; only two differing sizes are.
  if (found == 2 && recorded[0] != current[0] && recorded[1] != current[1]) store->flags |= kSettingsDesktopChanged;
  WriteListValue(store, kSettingDesktop.section, kSettingDesktop.name, current, 2, 1, 0);
}
