// The Windows side of language choice: the system's language and the list of
// languages offered by the Language dialog.
#pragma once
#include <cstddef>
#include <cstdint>

#include "language/language.h"

// Longest display name kept for the language list.
constexpr size_t kLanguageNameChars = 63;
// Most languages listed (the built-in ones and the files beside the program).
constexpr int kMaxLanguageChoices = 64;

struct LanguageChoice {
  char code[kLanguageCodeChars + 1];
  wchar_t name[kLanguageNameChars + 1];
};

// The start-up code for a stored value (see ChooseLanguageCode) with the
// system's default language; non-zero when it is to be written back.
int ChooseStartupLanguageCode(const char* storedCode, char* code, size_t capacity);
// The languages to offer: every built-in table but the key table, then every
// "_??.LNG" file of folder larger than 100 bytes with a "Language" value (its
// code is the two characters after "_" in upper case); codes already listed are
// skipped. Returns the number of entries written.
int ListLanguages(const wchar_t* folder, LanguageChoice* choices, int capacity);
