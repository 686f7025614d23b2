// The text of a shortcut code in the interface language ("Ctrl+Shift+F5",
// "Strg+Num.7"), as menus, the shortcut editor and the exported list show it.
#pragma once
#include <cstddef>
#include <cstdint>

#include "language/language.h"
#include "shortcuts/shortcut_table.h"

// How the keyboard layout answers "which virtual key types this character":
// the key's code in the low byte and the shift state it needs above (so a
// value below 256 is the bare key), or a negative value when no key does. Set per platform (the layout on Windows, no keys on the host); tests
// may replace it before the map is first built.
using KeyForCharacterRoutine = int (*)(wchar_t character);
extern KeyForCharacterRoutine gKeyForCharacter;

// Builds the character map once (entry 0 marks it built): for each character
// 1 to 255 the key that types it gets that character, the first one found wins.
void EnsureCharacterMap(ShortcutTable* table, KeyForCharacterRoutine keyForCharacter);

// The combination's text from the given language table: modifiers Alt, Ctrl,
// Shift in that order, each followed by "+", then the key name. Writes at most
// capacity units including the terminator; returns the length.
size_t ShortcutTextIn(LanguageTable language, ShortcutTable* table, uint16_t code, wchar_t* buffer,
                      size_t capacity);
// The same in the current language over the program's table.
size_t ShortcutText(uint16_t code, wchar_t* buffer, size_t capacity);

// A menu label with the command's shortcut: cut at an existing tab, then a tab
// and the text of the command's highest code when it has one. Command 30000 is
// left as it is. Matches MenuShortcutRoutine.
void MenuLabelWithShortcutIn(LanguageTable language, ShortcutTable* table, uint16_t command, wchar_t* label,
                             size_t capacity);
void MenuLabelWithShortcut(uint16_t command, wchar_t* label, size_t capacity);
