// The shortcut table: defaults, reserved and fixed bindings, lookups, and the
// rules of the Keys section (which entries count, which ones a save writes).
#include "shortcuts/shortcut_table.h"

#include <cstring>


namespace {

constexpr uint16_t kKeyTab = 9;
constexpr uint16_t kKeyEscape = 27;
constexpr uint16_t kKeyF1 = 112;

const ShortcutBinding kFixedShortcuts[] = {
    {kKeyEscape, kCmdEscapeKey},
    {kKeyTab, kCmdTabKey},
    {kShortcutShift | kKeyTab, kCmdShiftTabKey},
    {0, 0},
};

// F1, Tab, Ctrl+Tab, Shift+Tab, Esc, Insert, Enter.
const uint16_t kReservedCodes[] = {kKeyF1, kKeyTab, kShortcutCtrl | kKeyTab, kShortcutShift | kKeyTab,
                                   kKeyEscape, 45, 13};

// Decimal digits only, below 65536; anything else gives 0 (skipped like code 0).
uint32_t ParseCode(const char* text) {
  if (!text || !*text) return 0;
  uint32_t value = 0;
  for (const char* p = text; *p; ++p) {
    if (*p < '0' || *p > '9') return 0;
    value = value * 10 + static_cast<uint32_t>(*p - '0');
    if (value > 0xFFFF) return 0;
  }
  return value;
}

}  // namespace

ShortcutTable gShortcuts = {kDefaultShortcuts, {}, nullptr, kSettingKeys.section, kCommandNames, {}};

void ResetShortcutTable(ShortcutTable* table) {
  memset(table->keyMap, 0, sizeof table->keyMap);
  if (!table->defaults) return;
  for (const ShortcutBinding* binding = table->defaults; binding->code; ++binding)
    if (binding->code < kShortcutCodeCount) table->keyMap[binding->code] = binding->command;
}

uint16_t CommandForCode(const ShortcutTable* table, uint16_t code) {
  for (const ShortcutBinding* fixed = kFixedShortcuts; fixed->code; ++fixed)
    if (fixed->code == code) return fixed->command;
  return code < kShortcutCodeCount ? table->keyMap[code] : 0;
}

uint16_t CodeForCommand(const ShortcutTable* table, uint16_t command) {
  if (!command) return 0;
  uint16_t found = 0;
  for (uint16_t code = 0; code < kShortcutCodeCount; ++code)
    if (table->keyMap[code] == command) found = code;
  return found;
}

int IsReservedCode(uint16_t code) {
  for (uint16_t reserved : kReservedCodes)
    if (reserved == code) return 1;
  return 0;
}

uint16_t DefaultCodeForCommand(const ShortcutTable* table, uint16_t command) {
  uint16_t found = 0;
  if (!table->defaults || !command) return 0;
  for (const ShortcutBinding* binding = table->defaults; binding->code; ++binding)
    if (binding->command == command) found = binding->code;
  return found;
}

uint16_t DefaultCommandForCode(const ShortcutTable* table, uint16_t code) {
  if (!table->defaults || !code) return 0;
  for (const ShortcutBinding* binding = table->defaults; binding->code; ++binding)
    if (binding->code == code) return binding->command;
  return 0;
}

const char* ShortcutCommandName(const ShortcutTable* table, uint16_t command) {
  if (!table->commands || !command) return nullptr;
  for (const CommandName* entry = table->commands; entry->command; ++entry)
    if (entry->command == command) return entry->name;
  return nullptr;
}

uint16_t ShortcutCommandId(const ShortcutTable* table, const char* name) {
  if (!table->commands || !name || !*name) return 0;
  for (const CommandName* entry = table->commands; entry->command; ++entry)
    if (strcmp(entry->name, name) == 0) return entry->command;
  return 0;
}

int ApplyShortcutEntry(ShortcutTable* table, const char* key, const char* value) {
  uint32_t code = ParseCode(key);
  if (code == 0 || code >= kShortcutCodeCount) return 0;
  if (IsReservedCode(static_cast<uint16_t>(code))) return 0;
  if (!value || !*value) return 0;
  // "-" and unknown names give 0: the code is unbound.
  table->keyMap[code] = ShortcutCommandId(table, value);
  return 1;
}

void PlanShortcutEntries(const ShortcutTable* table, const ShortcutBinding* pairs, size_t count,
                         const ShortcutEntrySink* sink) {
  uint8_t seen[kShortcutCodeCount] = {};
  for (size_t i = 0; i < count; ++i) {
    uint16_t code = pairs[i].code;
    uint16_t command = pairs[i].command;
    if (code >= kShortcutCodeCount) continue;
    if (!code) {
      uint16_t defaultCode = DefaultCodeForCommand(table, command);
      if (defaultCode && defaultCode != kKeyF1 && !sink->has(sink->context, defaultCode))
        sink->write(sink->context, defaultCode, "-");
      continue;
    }
    seen[code] = 1;
    if (DefaultCommandForCode(table, code) == command) continue;
    const char* name = ShortcutCommandName(table, command);
    if (name) sink->write(sink->context, code, name);
  }
  if (!table->defaults) return;
  for (const ShortcutBinding* binding = table->defaults; binding->code; ++binding) {
    uint16_t code = binding->code;
    if (code >= kShortcutCodeCount || seen[code] || code == kKeyF1) continue;
    if (!sink->has(sink->context, code)) sink->write(sink->context, code, "-");
  }
}
