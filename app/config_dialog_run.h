// What the Configuration dialog's pages share while it is open.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <cstdint>

#include "app/config_dialog.h"
#include "shortcuts/shortcut_editor.h"

struct ConfigRun {
  HWND dialog;
  int page;
  uint32_t options;   // the Opt bits as the dialog found them
  uint16_t iconSize;  // the menu icon size as found
  int32_t stepBack;
  int32_t stepForward;
  int32_t cueOffset;  // seconds added to exported cue times
  COLORREF colors[2];  // text, background
  HWND buttonBar;
  ShortcutRows rows;  // the shortcut list, in the order it shows
  int sortColumn;     // -1: the order of the command list
  int sortDescending;
  // What OK leaves for the main window.
  uint32_t newOptions;
  uint16_t newIconSize;
};

// General, Audio and Colors pages.
void InitOptionPages(ConfigRun* run);
// Reads the pages into the settings and the run (OK).
void ApplyOptionPages(ConfigRun* run);
// The Audio page's rewind and speed fields (config_playback.cpp).
void InitPlaybackFields(HWND dialog);
void ApplyPlaybackFields(HWND dialog);
// The Foot Pedal page (config_pedal_page.cpp).
void InitPedalPage(HWND dialog);
void ApplyPedalPage(HWND dialog);
// Buttons 5461 and 5462: the colour chooser for the text or background colour.
void ChooseConfigColor(ConfigRun* run, int background);

// The Keyboard Shortcuts page.
void InitShortcutPage(ConfigRun* run);
void OnShortcutCommand(ConfigRun* run, uint16_t command);
LRESULT OnShortcutNotify(ConfigRun* run, NMHDR* header);
void ShowShortcutPage(ConfigRun* run, int shown);

// The key-capture dialog for a row: non-zero with the new code in *code when
// OK ended it with a code that may be used.
int RunKeyCaptureDialog(HWND owner, const ShortcutRows* rows, size_t row, uint16_t* code);
