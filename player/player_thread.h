// The player thread: owns the module table, the output module and the current
// file, is driven only by posted commands (player_messages.h) and reports to
// one owner window. Its process-wide values let the user-interface side post,
// wait for an open and run the module lookup on the player's table.
#pragma once
#include <windows.h>

#include <atomic>
#include <cstdint>

#include "player/module_table.h"
#include "player/speed_stage.h"
#include "player/waveout_output.h"

struct PlayerState {
  std::atomic<HWND> owner;              // receives every notification; null = none
  FileInfoBlock file;                   // the current file's record, its path behind it
  HANDLE quitEvent;                     // manual reset: set once quit is requested
  HANDLE ticker;                        // the position ticker thread
  std::atomic<LONG> quitRequested;
  std::atomic<LONG> outputOpen;         // playing or paused
  std::atomic<uint32_t> length;         // seconds, from GetFormat
  uint32_t lengthMilliseconds;          // from GetFormat, 0 = unknown
  std::atomic<LONG> lastPosition;       // seconds last posted; -1 forces a report
  std::atomic<LONG> lastProgress;       // -1 forces a report
  std::atomic<uint32_t> progressScale;  // 0 = no progress notifications
  int seekable;
  std::atomic<uint64_t> clockBase;      // milliseconds of PositionClockNow at the last synchronisation
  std::atomic<uint64_t> clockStartMs;   // the recording's position then
  std::atomic<uint32_t> speed;          // percent; the clock runs at it
  int64_t pausedAtMs;                   // what had been heard when paused; -1 = not paused
  SpeedStage* stage;                    // between the input module and the output; null = none
  std::atomic<LONG> ticking;            // non-zero while the ticker should report
  ModuleTable modules;
  OutputModule output;
};

// Non-zero while the thread runs; every poster tests it.
extern std::atomic<HANDLE> gPlayerThread;
extern std::atomic<DWORD> gPlayerThreadId;
// Published after set-up, cleared before the thread ends.
extern std::atomic<PlayerState*> gPlayerState;
// Installs the output module's operations; WaveOutputInstall unless a test replaces it.
extern void (*gPlayerInstallOutput)(OutputModule* output);

// What the user-interface side waits on (player_commands.cpp): the thread
// signals ready once it is set up, and open done with the result of each
// PC_OPEN (and when it ends, so that no waiter is left hanging).
struct PlayerSignals {
  HANDLE ready;     // manual reset
  HANDLE openDone;  // auto reset
  std::atomic<int> openResult;  // 1 opened, 0 failed
};
extern PlayerSignals gPlayerSignals;

// The thread routine; the parameter is unused.
DWORD WINAPI PlayerThreadMain(void* unused);

// Posts a notification to the owner window, if there is one.
void PlayerNotify(PlayerState* state, UINT message, WPARAM wParam, LPARAM lParam);
