// The window-position reset that the keyboard hook offers (Alt with the left
// Windows key).
#pragma once
#include <windows.h>

// Moves rect (keeping its size) to the centre of area; a rect larger than the
// area is put at the area's left or top edge, so its title bar stays reachable.
void CentreRectInArea(const RECT* area, RECT* rect);
// Asks whether to reset the window positions (message box owned by the
// desktop); on Yes moves the main window to the centre of the work area,
// keeping its size. Returns 1 when it was reset, else 0. Called by the
// keyboard hook.
int ResetWindowPosition();
