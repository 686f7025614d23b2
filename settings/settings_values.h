// Composite settings values: window placement, colour pair, custom colours, font,
// option bits and the desktop size recorded at start.
#pragma once
#include <windows.h>

#include <cstdint>

#include "settings/settings_store.h"

struct SettingsPlacement {
  int32_t left;
  int32_t top;
  int32_t width;
  int32_t height;
  int32_t state;  // 1 normal, 3 maximised, 0 otherwise
};

constexpr int32_t kDefaultWindowPosition = static_cast<int32_t>(0x80000000u);  // CW_USEDEFAULT
constexpr int32_t kSmallestWindowSide = 50;
constexpr uint32_t kColorContrastMinimum = 95;
constexpr int kCustomColorCount = 16;
constexpr COLORREF kCustomColorWhite = 0x00FFFFFF;

// Asks the theme whether the dark look is active; the theme installs it (null: light).
using SettingsDarkLookRoutine = int (*)();
extern SettingsDarkLookRoutine gSettingsDarkLook;

// Key Pos. Non-zero when the stored placement was accepted; else placement holds
// the default (default position, the default size scaled to the screen).
int ReadWindowPos(SettingsStore* store, const char* section, SettingsPlacement* placement, int32_t defaultWidth,
                  int32_t defaultHeight);
int WriteWindowPos(SettingsStore* store, const char* section, HWND window);
int WriteWindowPlacement(SettingsStore* store, const char* section, const SettingsPlacement* placement);
// The default size scaled to the screen: value * f / 100 with f the work area's
// width / 16, at least 100 (computed once per run); values below 1 stay as they are.
int32_t ScaleWindowSide(int32_t value);

uint32_t ReadOptions(SettingsStore* store, const char* section, uint32_t fallback);
int WriteOptions(SettingsStore* store, const char* section, uint32_t value);

// Non-zero when the stored pair was accepted; else colors hold the theme's or the
// system's text and background colours and *useSystem is 1.
int ReadColors(SettingsStore* store, const char* section, const char* key, COLORREF colors[2], uint32_t* useSystem);
// Writes two values, or three when useSystem is given.
int WriteColors(SettingsStore* store, const char* section, const char* key, const COLORREF colors[2],
                const uint32_t* useSystem);
// Sum of the absolute differences of the red, green and blue bytes.
uint32_t ColorContrast(COLORREF first, COLORREF second);
void DefaultTextColors(COLORREF colors[2]);

// Key CC: missing entries are white; the writer drops trailing white entries and
// deletes the key when all are white.
int ReadCustomColors(SettingsStore* store, const char* section, COLORREF colors[kCustomColorCount]);
int WriteCustomColors(SettingsStore* store, const char* section, const COLORREF colors[kCustomColorCount]);

// Non-zero when a font was read; the description is zeroed otherwise (also while
// the desktop-changed flag is set).
int ReadFont(SettingsStore* store, const char* section, const char* key, LOGFONTW* font);
// Writes the font's description, or deletes the key when the handle yields none.
int WriteFont(SettingsStore* store, const char* section, const char* key, HFONT font);
int WriteFontDescription(SettingsStore* store, const char* section, const char* key, const LOGFONTW* font);

// At construction: compares section Desk, key "." with the desktop, sets the
// desktop-changed flag, and records the current size.
void RecordDesktopSize(SettingsStore* store);
