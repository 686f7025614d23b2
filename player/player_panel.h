// The player panel: the strip under the editor with the transport buttons, the
// seek bar and the volume bar. It owns the player thread's notifications, keeps
// a copy of the current file's information and feeds the status bar's time
// text (pane 0) and state icon (pane 2).
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <cstdint>

#include "formats/file_info.h"
#include "language/language.h"

constexpr wchar_t kPlayerPanelClass[] = L"AP";
constexpr int kPlayerPanelHeight = 25;
constexpr int kSeekBarRange = 100;
constexpr int kVolumeBarRange = 256;
constexpr int kSeekBarId = 1;
constexpr int kVolumeBarId = 2;
constexpr UINT kPanelAnswersOne = WM_USER + 6;  // 1030

struct PlayerPanel {
  HINSTANCE instance;
  HWND toolbar;
  HWND tooltip;  // for the two sliders
  HWND seekBar;
  HWND volumeBar;
  HIMAGELIST toolbarImages;
  int state;                 // last PN_STATE: 0 none yet, else a PlayerStateCode
  uint32_t seekBarPosition;  // last value given to the seek bar, 0 to 99
  uint32_t position;         // seconds as shown; Play resumes from here
  FileInfoBlock file;        // copied from PN_INFO
  uint32_t pendingCueSeconds;  // a Go to's position, kept until the next file information; 0 = none
  int32_t stepBackSeconds;     // StepBak and StepFwd of section Player
  int32_t stepForwardSeconds;
  uint32_t speedPercent;       // Speed of section Player, 50 to 200
  uint32_t rewindMs;           // Rewind of section Player: how far a resume goes back
  int holding;                 // the HoldPlay key is down
  int positionMoved;           // moved while paused (Go to): the resume goes there, not back
  HICON playIcon;              // for the status bar's state pane
  HICON pauseIcon;
  wchar_t tooltipText[kTooltipChars + 1];
};

// Child positions for a panel client of width x height.
struct PanelLayout {
  RECT toolbar;  // empty without a toolbar
  RECT seekBar;
  RECT volumeBar;
};
void ComputePanelLayout(int width, int height, int hasToolbar, PanelLayout* layout);

// Registers the class, allocates the record and creates the panel; the panel
// takes dropped files and installs itself into the open-audio-file operation.
HWND CreatePlayerPanel(HWND parent, HINSTANCE instance);
// The panel's record, or null (not a panel, or being destroyed).
PlayerPanel* PlayerPanelOf(HWND panel);
// The program's panel (the one created last), or null.
HWND PlayerPanelWindow();
// Where the focus goes next on its way through the panel's controls: the seek
// bar after anything outside the panel, then the volume bar; null after the
// last control (the caller gives the focus back to the text).
HWND PlayerPanelNextFocus(HWND panel, HWND current);
// Step lengths in seconds for Rew and FF (read from the settings at creation).
void PlayerPanelSetStepLengths(HWND panel, int32_t backSeconds, int32_t forwardSeconds);

// Milliseconds that a resume after a pause goes back (0: none).
void PlayerPanelSetRewind(HWND panel, uint32_t milliseconds);
// The playback speed in percent, kept within 50 to 200, stored in the settings
// and heard at once; PlayerPanelSpeed reads it back (100 without a panel).
void PlayerPanelSetSpeed(HWND panel, uint32_t percent);
uint32_t PlayerPanelSpeed(HWND panel);

// "  position (length)" in the time-of-recording format; empty when length is 0.
size_t FormatPlayerTime(uint32_t position, uint32_t length, wchar_t* out, size_t capacity);
// The time text followed by the speed when it is not 100 % ("  01:15 (1:02:05)  70 %").
size_t FormatPlayerStatus(uint32_t position, uint32_t length, uint32_t speedPercent, wchar_t* out, size_t capacity);
void PlayerPanelRefreshTime(HWND panel);
void PlayerPanelShowStateIcon(HWND panel, int state);

// Actions (commands 1153 to 1157, 162).
void PlayerPanelPlay(HWND panel);
void PlayerPanelStop(HWND panel);
void PlayerPanelPauseToggle(HWND panel);
void PlayerPanelStepBack(HWND panel);
void PlayerPanelStepForward(HWND panel);
// HoldPlay: plays (resuming with the rewind) while its key is down, pauses when it comes up.
void PlayerPanelHoldPress(HWND panel);
void PlayerPanelHoldRelease(HWND panel);
void PlayerPanelOpenDialog(HWND panel);
// Opens path through the player with this panel as owner. Non-zero on success;
// the copied file information then names the new file, its length unknown
// until the player reports it.
int PlayerPanelOpenFile(HWND panel, const wchar_t* path);
// Seeks to seconds when the file's length allows it; the time is kept in
// pendingCueSeconds for the next file information in any case.
void PlayerPanelSeekToTime(HWND panel, uint32_t seconds);
// The current sound file's path (empty when none). Returns its length.
size_t PlayerPanelSoundPath(HWND panel, wchar_t* out, size_t capacity);
// Whole seconds as shown; 0 without a panel record.
uint32_t PlayerPanelPosition(HWND panel);
// The current file's length in whole seconds; 0 when unknown or without a file.
uint32_t PlayerPanelLength(HWND panel);
// Called whenever playback comes to a pause (the shell writes its recovery copy then).
extern void (*gPlayerPanelPaused)();

// Message handlers of the panel window.
void PlayerPanelOnNotification(HWND panel, UINT message, WPARAM wParam, LPARAM lParam);
void PlayerPanelOnSlider(HWND panel, WPARAM wParam, LPARAM lParam);
void PlayerPanelOnCommand(HWND panel, WORD command);
