// Language choice on Windows: the system language and the file list.
#include "language/language_list.h"

#include <windows.h>

#include "commands/commands.h"
#include "language/language_file.h"
#include "base/text_limits.h"

namespace {

char AsciiUpper(wchar_t c) {
  if (c >= L'a' && c <= L'z') return static_cast<char>(c - L'a' + 'A');
  return c < 0x80 ? static_cast<char>(c) : '?';
}

int IsCodeListed(const LanguageChoice* choices, int count, const char* code) {
  for (int i = 0; i < count; i++) {
    if (lstrcmpiA(choices[i].code, code) == 0) return 1;
  }
  return 0;
}

void CopyName(wchar_t* name, const wchar_t* text) {
  size_t length = 0;
  for (; text[length] && length < kLanguageNameChars; length++) name[length] = text[length];
  name[length] = 0;
}

// Adds the language of one file found in the folder, when it qualifies.
int AddLanguageFile(const wchar_t* folder, const WIN32_FIND_DATAW* found, LanguageChoice* choice,
                    const LanguageChoice* listed, int count) {
  const wchar_t* fileName = found->cFileName;
  if (lstrlenW(fileName) != 7 || fileName[0] != L'_' || fileName[3] != L'.') return 0;
  if (found->dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return 0;
  uint64_t size = (static_cast<uint64_t>(found->nFileSizeHigh) << 32) | found->nFileSizeLow;
  if (size <= kLanguageFileMinListedBytes) return 0;
  char code[3] = {AsciiUpper(fileName[1]), AsciiUpper(fileName[2]), 0};
  if (IsCodeListed(listed, count, code)) return 0;
  wchar_t path[kMaxPathChars + 1];
  size_t length = 0;
  for (; folder[length] && length < kMaxPathChars; length++) path[length] = folder[length];
  for (size_t i = 0; fileName[i] && length < kMaxPathChars; i++) path[length++] = fileName[i];
  path[length] = 0;
  wchar_t name[kLanguageNameChars + 1];
  if (!ReadLanguageFileDisplayName(path, name, kLanguageNameChars + 1)) return 0;
  lstrcpynA(choice->code, code, static_cast<int>(sizeof choice->code));
  CopyName(choice->name, name);
  return 1;
}

}  // namespace

int ChooseStartupLanguageCode(const char* storedCode, char* code, size_t capacity) {
  return ChooseLanguageCode(storedCode, GetSystemDefaultLangID(), code, capacity);
}

int ListLanguages(const wchar_t* folder, LanguageChoice* choices, int capacity) {
  int count = 0;
  for (int i = 0; i < kBuiltInLanguageCount && count < capacity; i++) {
    LanguageTable table = BuiltInLanguageTable(i);
    if (table == kLanguageTableKeys) continue;
    GetLanguageCode(table, choices[count].code, sizeof choices[count].code);
    wchar_t name[kLanguageNameChars + 1];
    GetLanguageText(table, kTextLanguageName, name, kLanguageNameChars + 1);
    CopyName(choices[count].name, name);
    count++;
  }
  if (!folder || !folder[0]) return count;
  wchar_t pattern[kMaxPathChars + 1];
  size_t length = 0;
  for (; folder[length] && length < kMaxPathChars - 8; length++) pattern[length] = folder[length];
  for (const wchar_t* rest = L"_??.LNG"; *rest; rest++) pattern[length++] = *rest;
  pattern[length] = 0;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(pattern, &found);
  if (search == INVALID_HANDLE_VALUE) return count;
  do {
    if (count < capacity && AddLanguageFile(folder, &found, &choices[count], choices, count)) count++;
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return count;
}
