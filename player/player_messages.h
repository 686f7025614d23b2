// Message numbers between the user-interface thread and the player thread:
// commands posted to the player thread, notifications posted to its owner window.
#pragma once
#include <windows.h>

// Commands (thread messages to the player thread).
enum PlayerCommand : UINT {
  PC_QUIT = WM_USER + 1,      // 1025
  PC_SETOWNER = WM_USER + 2,  // lParam: window or 0
  PC_SETSCALE = WM_USER + 3,  // lParam: full scale of PN_PROGRESS
  PC_SETVOLUME = WM_USER + 4, // lParam: 0 to 255
  PC_OPEN = WM_USER + 5,      // wParam: slot or -1, lParam: path
  PC_GETINFO = WM_USER + 6,
  // WM_USER + 7 has no command and is ignored.
  PC_SEEK = WM_USER + 8,      // wParam: numerator, lParam: denominator
  PC_PLAY = WM_USER + 9,
  PC_STOP = WM_USER + 10,
  PC_PAUSE = WM_USER + 11,    // 1035
  PC_SETSPEED = WM_USER + 12, // wParam: percent, 50 to 200
  // Play after a pause from what had been heard, wParam milliseconds earlier;
  // lParam: the shown position in seconds, for when nothing was heard yet.
  PC_RESUME = WM_USER + 13,
  // A point of the recording by its time, found through the exact length the
  // module knows rather than the whole seconds the panel shows.
  PC_SEEKTIME = WM_USER + 16, // wParam: seconds
};

// Notifications (window messages to the owner window).
enum PlayerNotification : UINT {
  PN_STATE = WM_USER + 1,     // lParam: a PlayerStateCode
  PN_INFO = WM_USER + 2,      // wParam: seekable, lParam: FileInfoBlock*
  PN_POSITION = WM_USER + 3,  // lParam: seconds
  PN_PROGRESS = WM_USER + 4,  // lParam: position / length x scale
  PN_VOLUME = WM_USER + 5,    // lParam: 0 to 255
};

enum PlayerStateCode : int {
  kStateNone = 0,
  kStateEndOfStream = 1,  // all PCM handed over, the device still sounding
  kStatePaused = 2,
  kStatePlaying = 3,
  kStateStopped = 4,
};
