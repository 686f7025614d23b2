// The text core of the settings file: sections, keys and entries found and
// edited in one NUL-terminated 8-bit buffer. Portable (no windows.h) so that
// the host build can run it under the sanitizers and the fuzzer.
#pragma once
#include <cstdint>

// An owned, NUL-terminated buffer (malloc); bytes is null while empty.
// length always equals strlen(bytes).
struct SettingsText {
  char* bytes;
  uint64_t length;
};

// Offsets of one entry line inside the text.
struct SettingsEntry {
  uint64_t lineStart;   // first byte of the key
  uint64_t valueStart;  // first byte after "=" and the spaces behind it
  uint64_t valueEnd;    // the CR, LF or NUL that ends the value
  uint64_t lineEnd;     // first byte after the line break
};

// Results of an edit.
constexpr int kTextFailed = 0;     // allocation failed or bad arguments; text unchanged
constexpr int kTextUnchanged = 1;  // the text already said so
constexpr int kTextChanged = 2;

// Bounds of the copies that enumeration hands to its callback.
constexpr int kEnumKeyBytes = 256;
constexpr int kEnumValueBytes = 4096;

// Copies length bytes into a new buffer; non-zero on success. The text cannot hold
// NUL bytes, and a file may have them (a block zeroed by a crash, a stray byte):
// a run of them becomes one LF where it stands between two pieces of line text
// and is dropped beside a line break or at either end. Dropping alone could join
// a value with the line after it, hiding that key or section header; a line break
// only ever splits the one line that held the NUL, whose value then reads up to
// the NUL as before.
int SettingsTextAssign(SettingsText* text, const char* bytes, uint64_t length);
void SettingsTextFree(SettingsText* text);

// Offset of the "[" of the section's header, or -1. Headers start the text or follow an LF.
int64_t SettingsFindSection(const char* text, const char* section);
// Offset of the first line after the section's body: the next line that starts
// with "[" or the end of the text. sectionStart is a result of SettingsFindSection.
uint64_t SettingsSectionEnd(const char* text, uint64_t sectionStart);
// Non-zero when the key is an entry of the section; fills entry.
int SettingsFindKey(const char* text, const char* section, const char* key, SettingsEntry* entry);

// Copies the value (cut at CR/LF and at size-1 bytes) into buffer. Returns non-zero
// when the key was found; an empty buffer otherwise.
int SettingsTextRead(const char* text, const char* section, const char* key, char* buffer, uint64_t size);

// Replaces, inserts or appends key=value; the value is cut at its first CR or LF
// so that it stays one line.
int SettingsTextWrite(SettingsText* text, const char* section, const char* key, const char* value);
// Removes the entry line with its line break.
int SettingsTextDeleteKey(SettingsText* text, const char* section, const char* key);
// Removes the header and the body up to the next header line.
int SettingsTextDeleteSection(SettingsText* text, const char* section);

// Called for every entry of a section; a non-zero result stops the walk.
using SettingsEnumRoutine = int (*)(const char* key, const char* value, void* context);
// Walks the lines of the section that hold "=": the key is the text before the
// first "=" without trailing spaces, the value the text after it without leading
// spaces. Returns the number of callbacks made.
uint32_t SettingsTextEnum(const char* text, const char* section, SettingsEnumRoutine routine, void* context);
// Copies the section's header and body into a new buffer, so that it can be
// walked without holding the store (free with SettingsTextFree). Non-zero when found.
int SettingsTextCopySection(const char* text, const char* section, SettingsText* copy);
