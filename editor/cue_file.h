// File > Export Cues: the transcript's captions written to a file of the
// user's choice as SubRip, WebVTT or a table (cue_export.h).
#pragma once
#include <windows.h>

// Asks for the file (Save As, the format by the file type chosen or the name's
// extension) and writes it. Non-zero when a file was written.
int DocumentExportCues(HWND owner);

// Test hook: chooses the file instead of the Save As dialog. path holds the
// suggested name on entry; typeIndex is 1 (SubRip), 2 (WebVTT) or 3 (table)
// on entry and return. Zero for Cancel.
extern int (*gCueFileDialog)(HWND owner, wchar_t* path, size_t capacity, DWORD* typeIndex);
