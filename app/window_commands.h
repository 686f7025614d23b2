// Commands of the main window that act on the window itself or leave the
// program: the maker's web page and the window-position reset.
#pragma once
#include <windows.h>

// The maker's page for the product: German for a German system language.
const wchar_t* ProductPageAddress(int germanSystem);
// Command 193: the product page in the default browser.
LRESULT OpenProductPage(HWND window);

// Moves rect (keeping its size) to the centre of area; a rect larger than the
// area is put at the area's left or top edge, so its title bar stays reachable.
void CentreRectInArea(const RECT* area, RECT* rect);
// Asks whether to reset the window positions (message box owned by the
// desktop); on Yes moves the main window to the centre of the work area,
// keeping its size. Returns 1 when it was reset, else 0. Called by the
// keyboard hook.
int ResetWindowPosition();
