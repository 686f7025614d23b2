// The look of every window: light (system colours) or dark. Visual-style and
// dark-mode entry points are loaded at run time; the dark ones are unnamed
// UxTheme exports, found by ordinal from Windows 10 1903 on. Where they are
// missing the dark look is unsupported and the program stays light. Colours
// and brushes are read once and cached until the look changes. The editor's
// own colours (from the Color setting, or the look's) live here too.
#pragma once
#include <windows.h>

enum ThemeColor {
  kThemeWindowText,  // lists and edit fields
  kThemeWindowBack,
  kThemeFaceText,  // dialogs and window backgrounds
  kThemeFaceBack,
  kThemeGrayText,
  kThemeHighlight,
  kThemeLine,  // slider line, separators
  kThemeMenuText,
  kThemeMenuBack,
  kThemeMenuBar,
  kThemeColorCount
};

// The entry points the theme uses; a test may hand in its own table.
struct ThemeEntryPoints {
  HANDLE(WINAPI* openThemeData)(HWND, LPCWSTR);
  HRESULT(WINAPI* closeThemeData)(HANDLE);
  HRESULT(WINAPI* getThemeColor)(HANDLE, int, int, int, COLORREF*);
  BOOL(WINAPI* isThemeActive)();
  HRESULT(WINAPI* setWindowTheme)(HWND, LPCWSTR, LPCWSTR);
  void(WINAPI* refreshImmersiveColorPolicy)();    // ordinal 104
  BOOL(WINAPI* shouldAppsUseDarkMode)();          // ordinal 132
  BOOL(WINAPI* allowDarkModeForWindow)(HWND, BOOL);  // ordinal 133
  int(WINAPI* setPreferredAppMode)(int);          // ordinal 135: 0 default, 1 allow, 2 force dark, 3 force light
  BOOL(WINAPI* isDarkModeAllowedForWindow)(HWND);  // ordinal 137
  BOOL(WINAPI* setWindowCompositionAttribute)(HWND, void*);
  int (*highContrast)();  // non-zero while high contrast is on
};

// The system's entry points (loaded once), or a replacement; null goes back
// to the system's. The look returns to light until ThemeMode is called.
void ThemeUseEntryPoints(const ThemeEntryPoints* points);

// Requests 0-3 set the application's mode (0 default, 1 follow Windows, 2
// force dark, 3 force light) and return the new dark state; 4 returns it
// unchanged; 5 returns whether dark mode is supported at all. Unsupported:
// every request but 5 returns 0.
int ThemeMode(int request);
int ThemeIsDark();
// The title bar (and a control's own parts) dark or light as the look is.
void ApplyDarkTitle(HWND window);
// A top-level window: dark mode allowed for it as the look is, and its title bar.
void ThemeWindow(HWND window);
// The menu bar and its popups get the look's background.
void ThemeMenu(HMENU menu);
// A list view: the look's colours and, in the dark look, dark scroll bars.
void ThemeListView(HWND list);
// A toolbar: in the dark look it takes the items-view visual style.
void ThemeToolbar(HWND toolbar);
// The routine put into the common controls' import of UxTheme ordinal 49
// while the scroll-bar redirection is on: "ScrollBar" opens the dark
// "Explorer::ScrollBar" for no particular window.
HANDLE WINAPI ThemeOpenNonClientData(HWND window, LPCWSTR classList);

// A window class registered once keeps its first brush, which a change of
// look deletes: this hands the class of window the look's background brush.
void ThemeClassBackground(HWND window);

COLORREF ThemeGetColor(ThemeColor which);
HBRUSH ThemeGetBrush(ThemeColor which);
// Drops cached colours and brushes (after WM_SYSCOLORCHANGE or a change of look).
void ThemeRefresh();

// Dialogs: the control-colour messages (WM_CTLCOLORSTATIC, EDIT, LISTBOX and
// DLG) set the look's colours on dc and return its brush.
HBRUSH ThemeControlColors(UINT message, HDC dc);
// A dialog's push button: in the dark look it becomes owner-drawn so that
// ThemeDrawButton paints it (lighter while the mouse is over it); the light
// look leaves it to the system.
void ThemeControl(HWND button);
// WM_DRAWITEM of such a button; non-zero when it was painted.
int ThemeDrawButton(const DRAWITEMSTRUCT* item);

// The editor's text and background colours; the background brush is made anew.
void ThemeSetEditorColors(COLORREF text, COLORREF back);
COLORREF ThemeEditorTextColor();
COLORREF ThemeEditorBackColor();
HBRUSH ThemeEditorBrush();
// Frees the editor's brush (end of a run).
void ThemeReleaseEditorColors();
