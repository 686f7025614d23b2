// Dark-mode entry points (Wine's UxTheme has none) faked for the theme's
// tests: they give the items-view colours and record what the theme asked.
#pragma once
#include <windows.h>

#include <string>

#include "ui/theme.h"

inline constexpr COLORREF kItemsText = RGB(0xE4, 0xE6, 0xEB);
inline constexpr COLORREF kItemsFill = RGB(0x20, 0x22, 0x27);

struct FakeTheme {
  int appsDark = 0;
  int highContrast = 0;
  int preferredMode = 0;
  HWND openedFor = nullptr;
  std::wstring openedClass;
  DWORD attribute = 0;
  BOOL titleDark = -1;
  const HWND* titleOf = nullptr;  // set: only this window's title bar is recorded
};
inline FakeTheme gFakeTheme;

inline HANDLE WINAPI FakeThemeOpen(HWND window, LPCWSTR classList) {
  gFakeTheme.openedFor = window;
  gFakeTheme.openedClass = classList;
  return reinterpret_cast<HANDLE>(1);
}
inline HRESULT WINAPI FakeThemeClose(HANDLE) { return S_OK; }
inline HRESULT WINAPI FakeThemeColor(HANDLE, int, int, int property, COLORREF* color) {
  *color = property == 3803 ? kItemsText : kItemsFill;
  return S_OK;
}
inline void WINAPI FakeThemeRefresh() {}
inline BOOL WINAPI FakeThemeAppsDark() { return gFakeTheme.appsDark; }
inline BOOL WINAPI FakeThemeAllow(HWND, BOOL) { return TRUE; }
inline int WINAPI FakeThemePreferred(int mode) { return gFakeTheme.preferredMode = mode, 0; }
inline BOOL WINAPI FakeThemeAllowed(HWND) { return TRUE; }
inline BOOL WINAPI FakeThemeComposition(HWND window, void* data) {
  struct Data { DWORD attribute; void* value; SIZE_T size; };
  auto* d = static_cast<Data*>(data);
  if (gFakeTheme.titleOf && window != *gFakeTheme.titleOf) return TRUE;
  gFakeTheme.attribute = d->attribute;
  gFakeTheme.titleDark = *static_cast<BOOL*>(d->value);
  return TRUE;
}
inline int FakeThemeHighContrast() { return gFakeTheme.highContrast; }

inline const ThemeEntryPoints kWithDarkMode = {
    FakeThemeOpen,      FakeThemeClose,   FakeThemeColor,       nullptr,          nullptr,
    FakeThemeRefresh,   FakeThemeAppsDark, FakeThemeAllow,      FakeThemePreferred, FakeThemeAllowed,
    FakeThemeComposition, FakeThemeHighContrast};
inline const ThemeEntryPoints kWithoutDarkMode = {FakeThemeOpen, FakeThemeClose, FakeThemeColor, nullptr, nullptr,
                                                  nullptr,       nullptr,        nullptr,        nullptr, nullptr,
                                                  nullptr,       FakeThemeHighContrast};
