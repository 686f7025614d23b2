// The insert commands (132 to 138) that drop marks into the transcript, and Go
// to (145), which reads the mark on the caret's line and moves the player
// there. Each handler takes the main window and fits its dispatch table.
#pragma once
#include <windows.h>

// Puts text on a new line below the caret's line, without undo, whatever is selected.
void InsertMarkText(HWND editor, const wchar_t* text);

LRESULT InsertDateTimeMark(HWND mainWindow);
LRESULT InsertVersionMark(HWND mainWindow);
LRESULT InsertTextPathMark(HWND mainWindow);
LRESULT InsertTextVerboseMark(HWND mainWindow);
LRESULT InsertSoundPathMark(HWND mainWindow);
LRESULT InsertSoundVerboseMark(HWND mainWindow);
LRESULT InsertSoundCueMark(HWND mainWindow);
LRESULT GoToMark(HWND mainWindow);

// " size date" of a file as the verbose marks write it; 0 when it cannot be opened.
size_t FormatFileSizeAndDate(const wchar_t* path, wchar_t* out, size_t capacity);
