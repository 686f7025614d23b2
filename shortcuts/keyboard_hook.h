// The keyboard hook of the interface thread: bound combinations become
// WM_COMMAND messages posted to the main window before any control sees the
// key; Alt with the left Windows key offers to bring the window back on screen.
#pragma once
#include <windows.h>

#include <cstdint>

#include "shortcuts/shortcut_table.h"

// Installs the hook for the calling thread once (nothing when the table holds
// one already). Non-zero when a hook is held afterwards.
int InstallKeyboardHook(ShortcutTable* table);
// Unhooks and clears the handle; nothing when none is held.
void RemoveKeyboardHook(ShortcutTable* table);

// The window that receives the commands and whose activity enables them.
void SetShortcutTargetWindow(HWND window);

// Alt with the left Windows key runs this routine (the shell's question and
// window-position reset); non-zero when the windows were reset, and the key is
// then consumed. Without a routine the key goes on like any other.
using WindowRescueRoutine = int (*)();
void SetWindowRescueRoutine(WindowRescueRoutine routine);

// The shortcut code of a key-down: the virtual key's low byte, Alt from the key
// flags (the high word of the hook's lParam), Ctrl and Shift as given.
uint16_t ShortcutCodeForKey(WPARAM virtualKey, uint32_t keyFlags, int ctrlDown, int shiftDown);

LRESULT CALLBACK ShortcutHookProc(int code, WPARAM wParam, LPARAM lParam);
