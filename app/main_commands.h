// WM_COMMAND of the main window: greyed commands are dropped, every other
// command goes to the handler that the command list names for it.
#pragma once
#include <windows.h>

#include <cstdint>

LRESULT MainWindowOnCommand(HWND window, WPARAM wParam, LPARAM lParam);

// The handler of a command, or null when it has none (yet).
using CommandHandler = LRESULT (*)(HWND mainWindow, uint16_t command);
CommandHandler HandlerForCommand(uint16_t command);
