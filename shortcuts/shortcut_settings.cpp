// Reading and writing the Keys section through the settings store.
#include "shortcuts/shortcut_settings.h"

#include <cstdio>

#include "shortcuts/keyboard_hook.h"

namespace {

struct StoreTarget {
  SettingsStore* store;
  const char* section;
};

void CodeKey(uint16_t code, char* key, size_t capacity) { snprintf(key, capacity, "%u", static_cast<unsigned>(code)); }

int StoreHasCode(void* context, uint16_t code) {
  auto* target = static_cast<StoreTarget*>(context);
  char key[8];
  char value[4];
  CodeKey(code, key, sizeof key);
  return ReadString(target->store, target->section, key, nullptr, value, sizeof value) == 0;
}

void StoreWriteCode(void* context, uint16_t code, const char* value) {
  auto* target = static_cast<StoreTarget*>(context);
  char key[8];
  CodeKey(code, key, sizeof key);
  WriteString(target->store, target->section, key, value);
}

int ApplyEntry(const char* key, const char* value, void* context) {
  ApplyShortcutEntry(static_cast<ShortcutTable*>(context), key, value);
  return 0;  // non-zero would end the walk
}

}  // namespace

void LoadShortcutsFrom(SettingsStore* store, ShortcutTable* table) {
  ResetShortcutTable(table);
  EnumSection(store, table->section, ApplyEntry, table);
}

void SaveShortcutsTo(SettingsStore* store, ShortcutTable* table, const ShortcutBinding* pairs, size_t count) {
  DeleteSection(store, table->section);
  StoreTarget target{store, table->section};
  ShortcutEntrySink sink{StoreHasCode, StoreWriteCode, &target};
  PlanShortcutEntries(table, pairs, count, &sink);
  LoadShortcutsFrom(store, table);
}

void LoadShortcuts() {
  InstallKeyboardHook(&gShortcuts);
  LoadShortcutsFrom(Settings(), &gShortcuts);
}

void SaveShortcuts(const ShortcutBinding* pairs, size_t count) { SaveShortcutsTo(Settings(), &gShortcuts, pairs, count); }
