// The shell's own state: one record for the whole process, zeroed before every
// run of the main window. What other subsystems own lives with them: the
// document in the editor, step lengths and the pending cue in the player panel,
// colours in the theme.
#pragma once
#include <windows.h>

#include <cstdint>

#include "language/language.h"

constexpr wchar_t kMainWindowClass[] = L"TPWR";

// Bits of AppState::options, the Opt setting. Other bits are carried along.
constexpr uint32_t kOptToolbarHidden = 1;
constexpr uint32_t kOptStatusBarHidden = 2;
constexpr uint32_t kOptAlwaysOnTop = 8;
constexpr uint32_t kOptNoMenuIcons = 16;
constexpr uint32_t kOptWordWrap = 32;

struct AppState {
  uint32_t restartCount;  // non-zero: run again after the window is destroyed
  HICON largeIcon;
  HINSTANCE instance;
  char languageCode[kLanguageCodeChars + 1];
  int32_t minTrackWidth;
  int32_t minTrackHeight;
  uint32_t options;
  int32_t themeMode;
  uint16_t menuIconSize;
  uint16_t toolbarIconSize;
};

extern AppState* gApp;
extern HWND gMainWindow;
