// Text fetch from language tables and the splitting of command texts into
// label, status-bar help and tooltip.
#include "language/language.h"

#include <cstdlib>

#include "base/code_page.h"

namespace {

const LanguageTable kBuiltInTables[kBuiltInLanguageCount] = {
    kLanguageTableEnglish,
    kLanguageTableGerman,
    kLanguageTableKeys,
};

LanguageTable gCurrentLanguageTable = kLanguageTableEnglish;

size_t NarrowLength(const char* text) {
  size_t length = 0;
  while (text[length]) length++;
  return length;
}

char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

int SameCodeIgnoringCase(const char* a, const char* b) {
  size_t i = 0;
  for (; a[i] && b[i]; i++) {
    if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return 0;
  }
  return a[i] == b[i];
}

// Longest command text read for a help text or a tooltip; the parts are then
// copied into the caller's buffer.
constexpr size_t kCommandTextChars = 1024;

// Copies text[from, to) into out, bounded. Returns the length.
size_t CopyPart(const wchar_t* text, size_t from, size_t to, wchar_t* out, size_t capacity) {
  size_t length = 0;
  for (size_t i = from; i < to && text[i] && length < capacity - 1; i++) out[length++] = text[i];
  out[length] = 0;
  return length;
}

// Appends "." unless the text is empty or ends in one, within capacity.
size_t EndWithFullStop(wchar_t* text, size_t length, size_t capacity) {
  if (length == 0 || text[length - 1] == L'.') return length;
  if (length + 1 < capacity) {
    text[length++] = L'.';
    text[length] = 0;
  }
  return length;
}

}  // namespace

LanguageTable BuiltInLanguageTable(int index) {
  return index >= 0 && index < kBuiltInLanguageCount ? kBuiltInTables[index] : nullptr;
}

int IsBuiltInLanguageTable(LanguageTable table) {
  for (LanguageTable builtIn : kBuiltInTables) {
    if (table == builtIn) return 1;
  }
  return 0;
}

LanguageTable FindBuiltInLanguageTable(const char* code) {
  if (!code) return nullptr;
  for (LanguageTable table : kBuiltInTables) {
    if (SameCodeIgnoringCase(code, static_cast<const char*>(table[0].text))) return table;
  }
  return nullptr;
}

void FreeLanguageTable(LanguageTable table) {
  if (table && !IsBuiltInLanguageTable(table)) free(const_cast<LanguageRecord*>(table));
}

int LanguageTableIsWide(LanguageTable table) { return table && table[0].id < 0; }

uint32_t LanguageTableCodePage(LanguageTable table) {
  if (!table || table[0].id <= 0) return kCodePageSystemAnsi;
  return static_cast<uint32_t>(table[0].id - 1);
}

const LanguageRecord* FindLanguageRecord(LanguageTable table, uint16_t id) {
  if (!table || !table[0].text) return nullptr;
  int16_t wanted = static_cast<int16_t>(id);
  for (const LanguageRecord* record = table + 1; record->text; record++) {
    if (record->id == wanted) return record;
  }
  return nullptr;
}

size_t LanguageRecordCount(LanguageTable table) {
  size_t count = 0;
  if (table) {
    while (table[count].text) count++;
  }
  return count;
}

size_t CopyLanguageRecordText(LanguageTable table, const LanguageRecord* record, wchar_t* buffer,
                              size_t capacity) {
  if (capacity == 0) return 0;
  buffer[0] = 0;
  if (!table || !record || !record->text) return 0;
  if (LanguageTableIsWide(table)) {
    const wchar_t* text = static_cast<const wchar_t*>(record->text);
    size_t length = 0;
    while (text[length] && length < capacity - 1) {
      buffer[length] = text[length];
      length++;
    }
    buffer[length] = 0;
    return length;
  }
  const char* text = static_cast<const char*>(record->text);
  return CodePageToWide(LanguageTableCodePage(table), text, NarrowLength(text), buffer, capacity);
}

size_t GetLanguageText(LanguageTable table, uint16_t id, wchar_t* buffer, size_t capacity) {
  size_t length = CopyLanguageRecordText(table, FindLanguageRecord(table, id), buffer, capacity);
  return length ? ReplaceTabEscapes(buffer) : 0;
}

size_t GetLanguageCode(LanguageTable table, char* buffer, size_t capacity) {
  if (capacity == 0) return 0;
  buffer[0] = 0;
  if (!table || !table[0].text) return 0;
  size_t length = 0;
  if (LanguageTableIsWide(table)) {
    const wchar_t* text = static_cast<const wchar_t*>(table[0].text);
    for (; text[length] && length < capacity - 1; length++) {
      buffer[length] = text[length] < 0x80 ? static_cast<char>(text[length]) : '?';
    }
  } else {
    const char* text = static_cast<const char*>(table[0].text);
    for (; text[length] && length < capacity - 1; length++) buffer[length] = text[length];
  }
  buffer[length] = 0;
  return length;
}

LanguageTable CurrentLanguageTable() { return gCurrentLanguageTable; }

void SetCurrentLanguageTable(LanguageTable table) {
  gCurrentLanguageTable = table ? table : kLanguageTableEnglish;
}

size_t GetText(uint16_t id, wchar_t* buffer, size_t capacity) {
  return GetLanguageText(gCurrentLanguageTable, id, buffer, capacity);
}

size_t ReplaceTabEscapes(wchar_t* text) {
  size_t read = 0;
  size_t write = 0;
  while (text[read]) {
    if (text[read] == L'\\' && text[read + 1] == L't') {
      text[write++] = L'\t';
      read += 2;
    } else {
      text[write++] = text[read++];
    }
  }
  text[write] = 0;
  return write;
}

size_t CutAtSemicolon(wchar_t* text) {
  size_t length = 0;
  while (text[length] && text[length] != L';') length++;
  text[length] = 0;
  return length;
}

size_t CutAtTab(wchar_t* text) {
  size_t length = 0;
  while (text[length] && text[length] != L'\t') length++;
  text[length] = 0;
  return length;
}

size_t PlainLabel(wchar_t* text) {
  size_t write = 0;
  for (size_t read = 0; text[read]; read++) {
    if (text[read] == L'.' && text[read + 1] == L'.' && text[read + 2] == L'.') break;
    if (text[read] != L'&') text[write++] = text[read];
  }
  text[write] = 0;
  return write;
}

size_t GetMenuHelpTextFrom(LanguageTable table, uint16_t id, int isPopup, wchar_t* buffer, size_t capacity) {
  if (capacity == 0) return 0;
  wchar_t text[kCommandTextChars];
  size_t length = GetLanguageText(table, id, text, kCommandTextChars);
  size_t semicolon = 0;
  while (semicolon < length && text[semicolon] != L';') semicolon++;
  if (semicolon < length) {
    size_t end = semicolon + 1;
    while (end < length && text[end] != L';') end++;
    length = CopyPart(text, semicolon + 1, end, buffer, capacity);
  } else if (isPopup) {
    buffer[0] = 0;
    length = 0;
  } else {
    CutAtTab(text);
    PlainLabel(text);
    length = CopyPart(text, 0, kCommandTextChars, buffer, capacity);
  }
  return EndWithFullStop(buffer, length, capacity);
}

size_t GetMenuHelpText(uint16_t id, int isPopup, wchar_t* buffer, size_t capacity) {
  return GetMenuHelpTextFrom(gCurrentLanguageTable, id, isPopup, buffer, capacity);
}

size_t GetTooltipTextFrom(LanguageTable table, uint16_t id, wchar_t* buffer, size_t capacity) {
  if (capacity == 0) return 0;
  wchar_t text[kCommandTextChars];
  size_t length = GetLanguageText(table, id, text, kCommandTextChars);
  size_t first = 0;
  while (first < length && text[first] != L';') first++;
  size_t second = first < length ? first + 1 : length;
  while (second < length && text[second] != L';') second++;
  wchar_t* tip = second < length ? text + second + 1 : text;
  if (second >= length) text[first] = 0;
  CutAtTab(tip);
  PlainLabel(tip);
  return CopyPart(tip, 0, kCommandTextChars, buffer, capacity);
}

size_t GetTooltipText(uint16_t id, wchar_t* buffer, size_t capacity) {
  return GetTooltipTextFrom(gCurrentLanguageTable, id, buffer, capacity);
}

int ChooseLanguageCode(const char* storedCode, uint16_t systemLanguageId, char* code, size_t capacity) {
  if (capacity == 0) return 0;
  if (storedCode && storedCode[0]) {
    size_t length = 0;
    for (; storedCode[length] && length < capacity - 1; length++) code[length] = storedCode[length];
    code[length] = 0;
    return 0;
  }
  static constexpr uint16_t kGermanLanguageIds[] = {0x0407, 0x0807, 0x0C07, 0x1007, 0x1407};
  const char* chosen = "US";
  for (uint16_t german : kGermanLanguageIds) {
    if (systemLanguageId == german) chosen = "DE";
  }
  size_t length = 0;
  for (; chosen[length] && length < capacity - 1; length++) code[length] = chosen[length];
  code[length] = 0;
  return 1;
}
