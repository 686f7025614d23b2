// The player thread: owns the module table, the output module and the current
// file, is driven only by posted commands (player_messages.h) and reports to
// one owner window. Its process-wide values let the user-interface side post,
// wait for an open and run the module lookup on the player's table.
#pragma once
#include <windows.h>

#include <cstdint>

#include "player/module_table.h"
#include "player/waveout_output.h"

struct PlayerState {
  HWND volatile owner;              // receives every notification; null = none
  FileInfoBlock file;               // the current file's record, its path behind it
  volatile LONG tickerRunning;      // non-zero while the position ticker runs
  volatile LONG quitRequested;
  volatile LONG outputOpen;         // playing or paused
  volatile uint32_t length;         // seconds, from GetFormat
  volatile LONG lastPosition;       // seconds last posted; -1 forces a report
  volatile LONG lastProgress;       // -1 forces a report
  volatile uint32_t progressScale;  // 0 = no progress notifications
  int seekable;
  volatile uint64_t clockBase;      // milliseconds, see PositionClockSync
  volatile LONG ticking;            // non-zero while the ticker should report
  ModuleTable modules;
  OutputModule output;
};

// Non-zero while the thread runs; every poster tests it.
extern HANDLE volatile gPlayerThread;
extern volatile DWORD gPlayerThreadId;
// Raised once the thread is set up; then the open result: 255 pending, 0 failed, 1 succeeded.
extern volatile uint8_t gPlayerFlag;
// Published after set-up, cleared before the thread ends.
extern PlayerState* volatile gPlayerState;
// Installs the output module's operations; WaveOutputInstall unless a test replaces it.
extern void (*gPlayerInstallOutput)(OutputModule* output);

// The thread routine; the parameter is unused.
DWORD WINAPI PlayerThreadMain(void* unused);

// Posts a notification to the owner window, if there is one.
void PlayerNotify(PlayerState* state, UINT message, WPARAM wParam, LPARAM lParam);
