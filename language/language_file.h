// External language files "_XX.LNG" beside the program: lines of the form key,
// optional "_", "=", text. UTF-16 LE (FF FE), UTF-8 (EF BB BF, skipped) or 8-bit
// text in the system ANSI code page. Keys: "Language" (display name), "CP" and
// the four-letter keys of the key table. A table built from a file has wide
// texts and lives in one heap block (FreeLanguageTable releases it).
#pragma once
#include <cstddef>
#include <cstdint>

#include "language/language.h"

// Longest text taken from a file: characters, or bytes for UTF-8.
constexpr size_t kLanguageFileTextChars = 2730;
// Larger files are refused (real ones are some kilobytes).
constexpr uint64_t kLanguageFileMaxBytes = 1u << 20;
// Files of this size or smaller are not offered in the language list.
constexpr uint64_t kLanguageFileMinListedBytes = 100;
// Display name of a file without a "Language" key.
constexpr wchar_t kLanguageFileDefaultName[] = L"Extl";

enum LanguageFileEncoding { kLanguageFileAnsi, kLanguageFileUtf8, kLanguageFileUtf16 };

// A file's bytes, with the encoding found from its first bytes.
struct LanguageFileView {
  const uint8_t* data;
  size_t size;
  size_t start;  // first byte after the byte-order mark
  LanguageFileEncoding encoding;
};

void OpenLanguageFileView(LanguageFileView* view, const void* data, size_t size);
// Finds the first place where key is followed by zero or more "_" and "=", and
// copies the rest of that line (backslash-n becoming a line feed). Returns
// non-zero when the key was found; *length gets the text's length.
int FindLanguageFileText(const LanguageFileView* view, const char* key, wchar_t* text, size_t capacity,
                         size_t* length);
// The decimal number of the "CP" key (0 when missing), limited to 0..32767 so
// that its complement stays negative in a 16-bit identifier.
uint32_t LanguageFileCodePage(const LanguageFileView* view);

// A wide table with one record per record of the key table: record 0 the
// complemented CP and the key table's code, record 1 the "Language" value
// (else "Extl"), every other record the file's text for its key, else the
// English text, else empty. Null only when memory runs out.
LanguageRecord* BuildLanguageTableFromFile(const void* data, size_t size);

// Reads a whole file (at most kLanguageFileMaxBytes). Returns a heap block the
// caller frees with free(), or null when the file cannot be read.
uint8_t* ReadLanguageFile(const wchar_t* path, size_t* size);
// Loads the file "<folder>_<code>.LNG" (folder ends in a path separator; a
// one-character code gets a blank as second character); when it does not
// exist, "<folder>_US.LNG". Null when neither can be read, and for a code
// holding a path separator, a colon or a dot.
LanguageRecord* LoadLanguageFileForCode(const wchar_t* folder, const char* code);
// Display name for the language list: non-zero only when the file is larger
// than kLanguageFileMinListedBytes and has a "Language" value.
int ReadLanguageFileDisplayName(const wchar_t* path, wchar_t* name, size_t capacity);

// Chooses the table for a language code: frees previous when it was loaded from
// a file; a built-in table whose code equals code (ignoring case; "-" gives the
// key table); else the file for the code (see LoadLanguageFileForCode); else
// English. An empty code gives English.
LanguageTable SelectLanguageTable(LanguageTable previous, const char* code, const wchar_t* folder);
