// Path helpers that every subsystem uses: the file-name part of a path and
// the running program's own file and folder.
#pragma once
#include <cstddef>
#include <cstdint>

// The last "\" or "/" of path, or null.
const wchar_t* LastPathSeparator(const wchar_t* path);
// The text after the last "\" or "/" (the whole path when there is none).
const wchar_t* FileNamePart(const wchar_t* path);

// Windows only. Each fills buffer (at most size units including the NUL) and
// returns non-zero when the result is not empty.
int ProgramFilePath(wchar_t* buffer, uint32_t size);  // without a leading double quote
int ProgramFolder(wchar_t* buffer, uint32_t size);    // without a trailing separator
// Replaces the running program's path in the routines above (null or empty:
// the real one again), so that tests can stand the program in a folder of theirs.
void RedirectProgramFile(const wchar_t* path);
