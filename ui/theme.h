// Colours and brushes of the current look, asked by every window the program
// paints itself. The light look uses the system colours; each is read once
// and cached with its brush until the look changes.
#pragma once
#include <windows.h>

enum ThemeColor { kThemeWindowText, kThemeWindowBack, kThemeFaceText, kThemeFaceBack, kThemeColorCount };

COLORREF ThemeGetColor(ThemeColor which);
HBRUSH ThemeGetBrush(ThemeColor which);
// Drops cached colours and brushes (after WM_SYSCOLORCHANGE or a change of look).
void ThemeRefresh();
