// Where the settings file lives: beside the program (portable use) or in the
// maker's folder under the user's application-data folder, with a marker entry
// that lets the per-user file win over a file beside the program.
#pragma once
#include <cstdint>

#include "base/paths.h"
#include "settings/settings_store.h"

constexpr wchar_t kMakerFolderName[] = L"Corvane";

// Replaces the running program's file path and the application-data folder in
// every routine below (null or empty: the system's own again). For tests, which
// build the candidate folders in a temporary tree.
void SettingsRedirectFolders(const wchar_t* programFile, const wchar_t* appDataFolder);

// Each fills buffer (at most size units including the NUL) and returns non-zero
// when the result is not empty.
int AppDataFolder(wchar_t* buffer, uint32_t size);       // else the Windows folder
int ProgramFolderSettingsPath(wchar_t* buffer, uint32_t size);
int PerUserSettingsPath(wchar_t* buffer, uint32_t size);

// Joins two components with one backslash (the second's leading separators
// dropped) and turns forward slashes into backslashes.
int JoinSettingsPath(wchar_t* buffer, uint32_t size, const wchar_t* first, const wchar_t* second);

// Sets the store's path from the candidates (or leaves it empty when none is usable).
void LocateSettingsFile(SettingsStore* store);
