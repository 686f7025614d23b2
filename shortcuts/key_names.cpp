// Key names: modifiers and key names come from the language table (text 9000 +
// virtual-key code), other keys from the keyboard layout's character map.
#include "shortcuts/key_names.h"

#include <cstdio>
#include <cwchar>


namespace {

constexpr size_t kNameChars = 64;
constexpr uint16_t kUntitledText = 30000;

// Keys whose name is text 9000 + k.
const uint8_t kNamedKeys[] = {8, 9, 12, 13, 19, 20, 27, 32, 33, 34, 35, 36, 37,
                              38, 39, 40, 41, 42, 43, 44, 45, 46, 144, 145};

struct Modifier {
  uint16_t bit;
  uint16_t text;  // the text of the modifier key's own virtual-key code
};
const Modifier kModifiers[] = {
    {kShortcutAlt, kTextKeyNameBase + 18},
    {kShortcutCtrl, kTextKeyNameBase + 17},
    {kShortcutShift, kTextKeyNameBase + 16},
};
constexpr uint16_t kTextNumPadDigit = kTextKeyNameBase + 21;     // "Num"
constexpr uint16_t kTextNumPadOperator = kTextKeyNameBase + 24;  // "Gray"

// Appends text, always leaving a terminator; returns the new length.
size_t Append(wchar_t* buffer, size_t capacity, size_t length, const wchar_t* text) {
  if (!capacity) return 0;
  while (*text && length + 1 < capacity) buffer[length++] = *text++;
  buffer[length] = 0;
  return length;
}

size_t AppendText(LanguageTable language, uint16_t id, wchar_t* buffer, size_t capacity, size_t length) {
  wchar_t text[kNameChars];
  GetLanguageText(language, id, text, kNameChars);
  return Append(buffer, capacity, length, text);
}

int IsNamedKey(uint16_t key) {
  for (uint8_t named : kNamedKeys)
    if (named == key) return 1;
  return 0;
}

// Appends the name of virtual key k; returns 0 when the whole text is to be
// empty (numeric-pad 108 and 110).
int AppendKeyName(LanguageTable language, ShortcutTable* table, uint16_t key, wchar_t* buffer, size_t capacity,
                  size_t* length) {
  wchar_t text[kNameChars] = L"";
  if (key >= 112 && key <= 135) {
    swprintf(text, kNameChars, L"F%u", static_cast<unsigned>(key - 111));
  } else if (key >= 96 && key <= 105) {
    *length = AppendText(language, kTextNumPadDigit, buffer, capacity, *length);
    text[0] = static_cast<wchar_t>(L'0' + key - 96);
    text[1] = 0;
  } else if (key >= 106 && key <= 111) {
    static const wchar_t* const kOperators[] = {L" *", L" +", nullptr, L" -", nullptr, L" /"};
    const wchar_t* suffix = kOperators[key - 106];
    if (!suffix) return 0;
    *length = AppendText(language, kTextNumPadOperator, buffer, capacity, *length);
    swprintf(text, kNameChars, L"%ls", suffix);
  } else if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) {
    text[0] = static_cast<wchar_t>(key);
    text[1] = 0;
  } else if (IsNamedKey(key)) {
    GetLanguageText(language, static_cast<uint16_t>(kTextKeyNameBase + key), text, kNameChars);
  } else if (key >= 16 && key <= 18) {
    // a modifier alone has no name of its own
  } else if (key >= 187 && key <= 190) {
    text[0] = L"+,-."[key - 187];
    text[1] = 0;
  } else {
    EnsureCharacterMap(table, gKeyForCharacter);
    text[0] = table->characterMap[key];
    text[1] = 0;
  }
  *length = Append(buffer, capacity, *length, text);
  return 1;
}

}  // namespace

void EnsureCharacterMap(ShortcutTable* table, KeyForCharacterRoutine keyForCharacter) {
  if (table->characterMap[0]) return;
  for (unsigned character = 1; character < 256; ++character) {
    int key = keyForCharacter ? keyForCharacter(static_cast<wchar_t>(character)) : -1;
    if (key < 0) continue;
    unsigned keyCode = static_cast<unsigned>(key) & 0xFFFF;
    if (keyCode >= 256 || keyCode == 0 || table->characterMap[keyCode]) continue;
    table->characterMap[keyCode] = static_cast<uint8_t>(character);
  }
  table->characterMap[0] = 1;
}

size_t ShortcutTextIn(LanguageTable language, ShortcutTable* table, uint16_t code, wchar_t* buffer,
                      size_t capacity) {
  if (!capacity) return 0;
  buffer[0] = 0;
  size_t length = 0;
  for (const Modifier& modifier : kModifiers) {
    if (!(code & modifier.bit)) continue;
    length = AppendText(language, modifier.text, buffer, capacity, length);
    length = Append(buffer, capacity, length, L"+");
  }
  if (!AppendKeyName(language, table, code & 0xFF, buffer, capacity, &length)) {
    buffer[0] = 0;
    return 0;
  }
  return length;
}

size_t ShortcutText(uint16_t code, wchar_t* buffer, size_t capacity) {
  return ShortcutTextIn(CurrentLanguageTable(), &gShortcuts, code, buffer, capacity);
}

void MenuLabelWithShortcutIn(LanguageTable language, ShortcutTable* table, uint16_t command, wchar_t* label,
                             size_t capacity) {
  if (command == kUntitledText || !capacity) return;
  size_t length = CutAtTab(label);
  uint16_t code = CodeForCommand(table, command);
  if (!code) return;
  wchar_t text[kNameChars];
  ShortcutTextIn(language, table, code, text, kNameChars);
  length = Append(label, capacity, length, L"\t");
  Append(label, capacity, length, text);
}

void MenuLabelWithShortcut(uint16_t command, wchar_t* label, size_t capacity) {
  MenuLabelWithShortcutIn(CurrentLanguageTable(), &gShortcuts, command, label, capacity);
}
