// The player's user-visible texts, one table per language until the language
// tables of the application take them over, and the message-box call that
// shows them (replaceable, so that tests see the message without a modal box).
#pragma once
#include <windows.h>

enum PlayerTextId : int {
  kTextCannotOpenAudioFile = 0,
  kTextCannotOpenSoundDevice = 1,
  kPlayerTextCount
};

enum PlayerLanguage : int { kPlayerEnglish = 0, kPlayerGerman = 1, kPlayerLanguageCount };

// The text in the given language; English for an unknown language or id.
const wchar_t* PlayerTextIn(PlayerTextId id, int language);
// The text in the current language: gPlayerLanguage when set (>= 0), else the
// user's interface language.
const wchar_t* PlayerText(PlayerTextId id);
extern int gPlayerLanguage;

// Caption of the player's message boxes.
extern const wchar_t* gPlayerCaption;
// Shows a message box; MessageBoxW unless replaced.
extern int (*gPlayerMessageBox)(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type);

// One error box: the text, and when detail is given an empty line and detail.
void PlayerShowError(HWND owner, PlayerTextId id, const wchar_t* detail);
