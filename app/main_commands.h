// WM_COMMAND of the main window: greyed commands are dropped, player commands
// go to the player panel, every other command to its handler.
#pragma once
#include <windows.h>

LRESULT MainWindowOnCommand(HWND window, WPARAM wParam, LPARAM lParam);
