// The user-interface side of the player: posting commands, starting the player
// thread lazily, the module lookup on its table, and opening a file. Each does
// nothing when the player thread is not running, unless it says otherwise.
#pragma once
#include <windows.h>

// Posts to the player thread if it runs; non-zero when posted.
int PlayerPostCommand(UINT message, WPARAM wParam, LPARAM lParam);
// Starts the player thread unless it runs, and waits up to a second for its
// set-up. Non-zero when it runs and is set up.
int PlayerStart();
// 1-based slot of the module that takes the file, or 0 (also when the player
// cannot be started). Runs in the calling thread on the player's table.
int PlayerFindModule(HWND owner, const wchar_t* path);
// Non-zero when the file belongs to the player rather than the editor (see
// ModuleClaims), even when it cannot be opened. Starts the player if needed.
int PlayerClaimsFile(HWND owner, const wchar_t* path);
// How long an open waits for the player's answer: 30 seconds unless a test shortens it.
extern DWORD gPlayerOpenWaitMs;
// Opens the file in the player thread with the module in slot (-1: search) and
// waits up to gPlayerOpenWaitMs for the result. The player gets a copy of path.
int PlayerOpenCommand(int slot, const wchar_t* path);
// The entry for the open dialog, dropped files and mark jumps: stops what
// plays, makes owner the player's owner and opens the file without playing it.
// Failures are shown to the user. Non-zero on success.
int PlayerOpenAudioFile(HWND owner, const wchar_t* path);
