// Options > Dark Mode: the choice of look (commands 171-173).
#pragma once
#include <windows.h>

#include <cstdint>

// Stores the choice (DM = 0, 1 or 2) and asks the theme for it; when the
// effective look changes the main window restarts, so that no window keeps
// the old colours. Cancel in the save prompt of that restart takes the
// choice back.
LRESULT DarkModeCommand(HWND window, uint16_t command);
