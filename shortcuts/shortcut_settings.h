// User bindings in the settings file, section Keys: one entry per difference
// from the defaults (code in decimal = command name, or "-" for a removed default).
#pragma once
#include <cstddef>

#include "settings/settings_store.h"
#include "shortcuts/shortcut_table.h"

// Clears the key map, enters the defaults, then the section's entries.
void LoadShortcutsFrom(SettingsStore* store, ShortcutTable* table);
// Rewrites the section from the editor's (code, command) pairs (code 0: the
// command has none) and reloads the table. The caller flushes the store.
void SaveShortcutsTo(SettingsStore* store, ShortcutTable* table, const ShortcutBinding* pairs, size_t count);

// The program's table and store; LoadShortcuts also installs the keyboard hook
// on the calling thread the first time.
void LoadShortcuts();
void SaveShortcuts(const ShortcutBinding* pairs, size_t count);
