// The shortcut table: which command each key combination runs. A shortcut code
// is the virtual-key code in bits 0-7 plus Alt (0x100), Ctrl (0x200) and Shift
// (0x400); valid codes are 1 to 2047, 0 means "no shortcut". Portable: the
// settings file and the keyboard hook are wired in by shortcut_settings and
// keyboard_hook on Windows.
#pragma once
#include <cstddef>
#include <cstdint>

#include "commands/commands.h"
#include "settings/settings_keys.h"

constexpr uint16_t kShortcutAlt = kKeyAlt;
constexpr uint16_t kShortcutCtrl = kKeyCtrl;
constexpr uint16_t kShortcutShift = kKeyShift;
constexpr uint16_t kShortcutCodeCount = 2048;

struct ShortcutTable {
  const ShortcutBinding* defaults;
  // The character the keyboard layout produces for each virtual key; entry 0
  // is non-zero once the map is built.
  uint8_t characterMap[256];
  void* hook;  // the keyboard hook while installed (HHOOK on Windows)
  const char* section;
  const CommandName* commands;
  uint16_t keyMap[kShortcutCodeCount];  // command per code, 0 = unbound
};

extern ShortcutTable gShortcuts;

// Empties the key map and enters the defaults.
void ResetShortcutTable(ShortcutTable* table);
uint16_t CommandForCode(const ShortcutTable* table, uint16_t code);
// The highest code bound to the command, 0 when none.
uint16_t CodeForCommand(const ShortcutTable* table, uint16_t command);
int IsReservedCode(uint16_t code);
// The default code of a command (the last default that names it), 0 when none.
uint16_t DefaultCodeForCommand(const ShortcutTable* table, uint16_t command);
// The default command of a code, 0 when the code has none.
uint16_t DefaultCommandForCode(const ShortcutTable* table, uint16_t code);

// Lookups in the table's command names: null / 0 when the table lacks them.
const char* ShortcutCommandName(const ShortcutTable* table, uint16_t command);
uint16_t ShortcutCommandId(const ShortcutTable* table, const char* name);

// One entry of the Keys section as read from the settings: the key is the code in
// decimal, the value a command name or "-". Malformed entries are skipped.
// Returns non-zero when the entry changed the key map.
int ApplyShortcutEntry(ShortcutTable* table, const char* key, const char* value);

// What SaveShortcuts writes, decided without touching the settings: has(code)
// tells whether the section already holds that code, write(code, value) adds the
// entry. The section is assumed empty at the start.
struct ShortcutEntrySink {
  int (*has)(void* context, uint16_t code);
  void (*write)(void* context, uint16_t code, const char* value);
  void* context;
};
void PlanShortcutEntries(const ShortcutTable* table, const ShortcutBinding* pairs, size_t count,
                         const ShortcutEntrySink* sink);
