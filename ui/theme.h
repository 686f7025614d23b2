// Colours and brushes of the current look, asked by every window the program
// paints itself. The light look uses the system colours; each is read once
// and cached with its brush until the look changes. The editor's own colours
// (from the Color setting, or the system's) live here too, with their brush.
#pragma once
#include <windows.h>

enum ThemeColor { kThemeWindowText, kThemeWindowBack, kThemeFaceText, kThemeFaceBack, kThemeColorCount };

COLORREF ThemeGetColor(ThemeColor which);
HBRUSH ThemeGetBrush(ThemeColor which);
// Drops cached colours and brushes (after WM_SYSCOLORCHANGE or a change of look).
void ThemeRefresh();
// Non-zero while the dark look is on (never yet: the light look only).
int ThemeIsDark();

// Dialogs: the control-colour messages (WM_CTLCOLORSTATIC, EDIT, LISTBOX and
// DLG) set the look's colours on dc and return its brush.
HBRUSH ThemeControlColors(UINT message, HDC dc);
// A dialog's push button: in the dark look it becomes owner-drawn so that
// ThemeDrawButton paints it; the light look leaves it to the system.
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
