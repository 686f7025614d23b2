// The rows of the shortcut editor: one (code, command) pair per row, in the
// order the list shows them, and what Edit, Duplicate and Remove do to them.
// Nothing reaches the shortcut table until the rows are saved (SaveShortcuts).
// Portable: the list view in app/ only mirrors these rows.
#pragma once
#include <cstddef>
#include <cstdint>

#include "language/language.h"
#include "shortcuts/shortcut_table.h"

constexpr size_t kMaxShortcutRows = 512;
constexpr size_t kShortcutRowNameChars = 128;

struct ShortcutRows {
  ShortcutBinding row[kMaxShortcutRows];  // code 0: the command has no key in this row
  size_t count;
};

// One row per binding of the key map, in the order of the command names; a
// command without any binding gets one row without a code.
void FillShortcutRows(const ShortcutTable* table, ShortcutRows* rows);

// The name a row shows: the menu's label, " - ", the command's label (each the
// text before ";" with "&" removed); only the command's label when its menu has
// none; "#" and the digits of the command name when the command has no label.
size_t ShortcutRowName(LanguageTable language, const CommandName* entry, wchar_t* buffer, size_t capacity);
// The same for a command of the table's names (empty when it has none).
size_t ShortcutCommandRowName(LanguageTable language, const ShortcutTable* table, uint16_t command, wchar_t* buffer,
                              size_t capacity);

// The other row that holds code for a different command, or -1.
int ConflictingShortcutRow(const ShortcutRows* rows, size_t index, uint16_t code);
// Gives the row a new code: a reserved code is refused (returns 0, nothing
// changes); a row of another command holding the code loses it, its index in
// *clearedRow (-1 when none).
int EditShortcutRow(ShortcutRows* rows, size_t index, uint16_t code, int* clearedRow);
// A row for the same command without a code, right after index. The new
// row's index, or -1 when the rows are full or index is not a row.
int DuplicateShortcutRow(ShortcutRows* rows, size_t index);
// Deletes the row when its command has another; else only clears its code.
// Returns 1 when the row was deleted, 0 when it stays, -1 for no such row.
int RemoveShortcutRow(ShortcutRows* rows, size_t index);
