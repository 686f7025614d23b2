// The Configuration dialog (command Config): pages for the general options,
// the player's step lengths and cue offset, the editor's colours and the keyboard shortcuts,
// applied together on OK; Cancel applies nothing.
#pragma once
#include <windows.h>

#include <cstdint>

// Control identifiers of the dialog.
enum ConfigControl : uint16_t {
  kConfigOk = 99,
  kConfigCancel = 2,
  kConfigPageList = 5101,
  kConfigPageTitle = 5102,
  kConfigAlwaysOnTop = 5201,
  kConfigMenuIcons = 5202,
  kConfigIconSizeLabel = 5203,
  kConfigIconSize = 5204,
  kConfigStepBackLabel = 5310,
  kConfigStepBack = 5311,
  kConfigStepBackArrows = 5312,
  kConfigStepBackUnit = 5313,
  kConfigStepForwardLabel = 5320,
  kConfigStepForward = 5321,
  kConfigStepForwardArrows = 5322,
  kConfigStepForwardUnit = 5323,
  kConfigOffsetLabel = 5330,
  kConfigOffset = 5331,
  kConfigOffsetUnit = 5333,
  kConfigRewindLabel = 5340,
  kConfigRewind = 5341,
  kConfigRewindArrows = 5342,
  kConfigRewindUnit = 5343,
  kConfigSpeedLabel = 5350,
  kConfigSpeed = 5351,
  kConfigSpeedArrows = 5352,
  kConfigSpeedUnit = 5353,
  kConfigPedalFound = 5501,
  kConfigLeftPedalLabel = 5510,
  kConfigLeftPedal = 5511,
  kConfigMiddlePedalLabel = 5520,
  kConfigMiddlePedal = 5521,
  kConfigRightPedalLabel = 5530,
  kConfigRightPedal = 5531,
  kConfigPedalBackground = 5540,
  kConfigTextColor = 5461,
  kConfigBackColor = 5462,
  kConfigSystemColors = 5463,
  kConfigColorPreview = 5464,
  kConfigShortcutList = 5401,
  kConfigButtonBarPlace = 5402,
  kConfigEditShortcut = 6993,
  kConfigDuplicateShortcut = 6995,
  kConfigRemoveShortcut = 6997,
};

// The pages in list order.
enum ConfigPage { kPageGeneral, kPageAudio, kPageColors, kPageShortcuts, kPagePedal, kConfigPageCount };

// Modal; non-zero after OK, when the options, step lengths, colours and
// shortcuts have been stored and the main window has taken them up.
int RunConfigurationDialog(HWND owner);

// A step length as typed: digits only. Empty or anything else keeps the old
// value (returns 0), so a slip of the finger never turns Step Back off.
int ParseStepSeconds(const wchar_t* text, int32_t* seconds);
// The same for the exported cues' offset, which may be negative.
int ParseOffsetSeconds(const wchar_t* text, int32_t* seconds);
