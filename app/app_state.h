// The application-state record: the fields that several parts of the program
// share, one instance for the whole process, zeroed before every run.
#pragma once
#include <windows.h>

#include <cstdint>

#include "app/language.h"
#include "base/text_limits.h"

constexpr int kProductNameChars = 40;
constexpr wchar_t kProductName[] = L"Tapewright";
constexpr wchar_t kMainWindowClass[] = L"TPWR";
constexpr char kVersionText[] = "26.10";

// Bits of AppState::options, the Opt setting. Other bits are carried along.
constexpr uint32_t kOptToolbarHidden = 1;
constexpr uint32_t kOptStatusBarHidden = 2;
constexpr uint32_t kOptAlwaysOnTop = 8;
constexpr uint32_t kOptNoMenuIcons = 16;
constexpr uint32_t kOptWordWrap = 32;

struct AppState {
  uint32_t restartCount;  // non-zero: run again after the window is destroyed
  wchar_t windowTitle[kMaxPathChars];
  HICON largeIcon;
  HINSTANCE instance;
  char languageCode[kLanguageCodeChars + 1];
  const LanguageRecord* languageTable;
  wchar_t productName[kProductNameChars];
  HWND editorWindow;
  HWND playerWindow;
  int32_t minTrackWidth;
  int32_t minTrackHeight;
  uint32_t options;
  HICON playIcon;
  HICON pauseIcon;
  COLORREF textColor;
  COLORREF backColor;
  int32_t themeMode;
  HBRUSH backBrush;
  uint16_t menuIconSize;
  uint16_t toolbarIconSize;
  wchar_t textFilePath[kMaxPathChars + 1];
  uint32_t lastLine;    // what the status bar shows, 1-based; 0 before the first update
  uint32_t lastColumn;
  HWND findDialog;
  uint32_t findReplaceMessage;
  uint32_t findOptions;
  const wchar_t* productNameRef;
  int32_t stepBackSeconds;
  int32_t stepForwardSeconds;
  uint32_t pendingCueSeconds;
};

extern AppState* gApp;
extern HWND gMainWindow;
