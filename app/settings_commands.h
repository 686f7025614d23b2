// Options > Backup, Restore and Reset Settings: the settings file as a whole.
// Restore and reset end in a restart of the main window, so that every part
// reads its settings afresh and nothing of the old run is written back.
#pragma once
#include <windows.h>

#include <cstddef>

#include "settings/settings_store.h"

// Chooses the backup file: a Save As (save non-zero) or an Open dialog, path
// in and out. Zero when the user cancels. The common dialogs unless a test
// replaces the routine.
extern int (*gSettingsFileDialog)(HWND owner, int save, wchar_t* path, size_t capacity);

// Each returns non-zero when it did its work (for restore and reset: the
// window is being restarted).
int BackupSettings(HWND owner, SettingsStore* store);
int RestoreSettings(HWND owner, SettingsStore* store);
int ResetSettings(HWND owner, SettingsStore* store);
