// Paths held in settings are stored with folder macros ("%MY_PATH%", "%APPDATA%",
// "%TEMP%" and other environment variables) so that they survive moving the
// program's folder; a path starting with ".." is relative to the program folder.
#pragma once
#include <windows.h>

#include <cstdint>

// Expands a leading macro into out (at most size units with the NUL); non-zero
// when out is not empty.
int ExpandPath(const wchar_t* in, wchar_t* out, uint32_t size);
// The reverse: the first folder (program, application data, TEMP, then the
// environment's drive-letter folders without ";") that holds the path gives the macro.
int CompactPath(const wchar_t* in, wchar_t* out, uint32_t size);

// Puts a stored path into a dialog's edit field in expanded form / reads it back compacted.
void SetPathField(HWND dialog, int control, const wchar_t* storedPath);
int GetPathField(HWND dialog, int control, wchar_t* buffer, uint32_t size);
