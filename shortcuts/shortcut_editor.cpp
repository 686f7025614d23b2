// The shortcut editor's rows and their rules.
#include "shortcuts/shortcut_editor.h"

#include <cstring>

namespace {

constexpr size_t kLabelChars = 128;

// The label part of a language text: before ";", without "&".
size_t LabelOf(LanguageTable language, uint16_t id, wchar_t* label, size_t capacity) {
  wchar_t text[kLabelChars] = L"";
  if (id) GetLanguageText(language, id, text, kLabelChars);
  size_t length = 0;
  for (const wchar_t* p = text; *p && *p != L';' && length + 1 < capacity; ++p)
    if (*p != L'&') label[length++] = *p;
  if (capacity) label[length] = 0;
  return length;
}

size_t Append(wchar_t* buffer, size_t capacity, size_t length, const wchar_t* text) {
  while (*text && length + 1 < capacity) buffer[length++] = *text++;
  if (capacity) buffer[length] = 0;
  return length;
}

}  // namespace

void FillShortcutRows(const ShortcutTable* table, ShortcutRows* rows) {
  rows->count = 0;
  if (!table->commands) return;
  for (const CommandName* entry = table->commands; entry->command; ++entry) {
    if (!entry->name) continue;
    int found = 0;
    for (uint16_t code = 1; code < kShortcutCodeCount && rows->count < kMaxShortcutRows; ++code) {
      if (table->keyMap[code] != entry->command) continue;
      rows->row[rows->count++] = ShortcutBinding{code, entry->command};
      found = 1;
    }
    if (!found && rows->count < kMaxShortcutRows) rows->row[rows->count++] = ShortcutBinding{0, entry->command};
  }
}

size_t ShortcutRowName(LanguageTable language, const CommandName* entry, wchar_t* buffer, size_t capacity) {
  if (!capacity) return 0;
  buffer[0] = 0;
  wchar_t command[kLabelChars];
  if (!LabelOf(language, entry->command, command, kLabelChars)) {
    size_t length = Append(buffer, capacity, 0, L"#");
    for (const char* p = entry->name; p && *p && length + 1 < capacity; ++p)
      if (*p >= '0' && *p <= '9') buffer[length++] = static_cast<wchar_t>(*p);
    buffer[length] = 0;
    return length;
  }
  wchar_t menu[kLabelChars];
  size_t length = 0;
  if (LabelOf(language, entry->menu, menu, kLabelChars)) {
    length = Append(buffer, capacity, length, menu);
    length = Append(buffer, capacity, length, L" - ");
  }
  return Append(buffer, capacity, length, command);
}

size_t ShortcutCommandRowName(LanguageTable language, const ShortcutTable* table, uint16_t command, wchar_t* buffer,
                              size_t capacity) {
  if (capacity) buffer[0] = 0;
  if (!table->commands) return 0;
  for (const CommandName* entry = table->commands; entry->command; ++entry)
    if (entry->command == command) return ShortcutRowName(language, entry, buffer, capacity);
  return 0;
}

int ConflictingShortcutRow(const ShortcutRows* rows, size_t index, uint16_t code) {
  if (!code || index >= rows->count) return -1;
  for (size_t i = 0; i < rows->count; ++i)
    if (i != index && rows->row[i].code == code && rows->row[i].command != rows->row[index].command)
      return static_cast<int>(i);
  return -1;
}

int EditShortcutRow(ShortcutRows* rows, size_t index, uint16_t code, int* clearedRow) {
  *clearedRow = -1;
  if (index >= rows->count || code >= kShortcutCodeCount || IsReservedCode(code)) return 0;
  int other = ConflictingShortcutRow(rows, index, code);
  if (other >= 0) {
    rows->row[other].code = 0;
    *clearedRow = other;
  }
  rows->row[index].code = code;
  return 1;
}

int DuplicateShortcutRow(ShortcutRows* rows, size_t index) {
  if (index >= rows->count || rows->count >= kMaxShortcutRows) return -1;
  memmove(&rows->row[index + 2], &rows->row[index + 1], (rows->count - index - 1) * sizeof rows->row[0]);
  rows->row[index + 1] = ShortcutBinding{0, rows->row[index].command};
  ++rows->count;
  return static_cast<int>(index + 1);
}

int RemoveShortcutRow(ShortcutRows* rows, size_t index) {
  if (index >= rows->count) return -1;
  int others = 0;
  for (size_t i = 0; i < rows->count; ++i)
    if (i != index && rows->row[i].command == rows->row[index].command) others = 1;
  if (!others) {
    rows->row[index].code = 0;
    return 0;
  }
  memmove(&rows->row[index], &rows->row[index + 1], (rows->count - index - 1) * sizeof rows->row[0]);
  --rows->count;
  return 1;
}
