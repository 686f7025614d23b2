// The program's message boxes: owned by a window of the program, with the
// product's name as caption. Tests replace the routine that shows them, so
// that they see the message without a modal box.
#pragma once
#include <windows.h>

extern int (*gMessageBoxRoutine)(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type);

int ShowMessage(HWND owner, const wchar_t* text, UINT type);
// An error box: the text, and when detail is given an empty line and detail.
void ShowError(HWND owner, const wchar_t* text, const wchar_t* detail);
// A file error: the system's text for the error code, a blank line and the
// path (when given).
void ShowFileError(HWND owner, DWORD error, const wchar_t* path);
