// File input and output of the settings store. A save never truncates the old
// file: the new text goes to a temporary file beside it, of a name no other save
// uses and opened by this save alone, which replaces the old one only when it is
// complete.
#pragma once
#include <windows.h>

#include <cstdint>

#include "settings/settings_text.h"

// Writes all of bytes to an open file; non-zero on success. Tests replace it to
// make a save fail half-way.
using SettingsFileWriter = int (*)(HANDLE file, const char* bytes, uint64_t size);
extern SettingsFileWriter gSettingsFileWriter;
int SettingsWriteAll(HANDLE file, const char* bytes, uint64_t size);

// Reads the whole file into text (NUL bytes as SettingsTextAssign takes them).
// Non-zero when the file was read.
int SettingsReadFile(const wchar_t* path, SettingsText* text);
// Non-zero when the file holds exactly these bytes.
int SettingsFileMatches(const wchar_t* path, const char* bytes, uint64_t size);
// Opens an existing file for reading and writing and closes it: 0 or the error code.
DWORD SettingsProbeFile(const wchar_t* path);
int SettingsFileExists(const wchar_t* path);
// Creates every missing folder of the chain; non-zero when the folder exists afterwards.
int SettingsCreateFolderChain(const wchar_t* folder);
// Replaces the file with bytes (see above): 0 or a system error code (never 0 on failure).
DWORD SettingsWriteFile(const wchar_t* path, const char* bytes, uint64_t size);
