// Language tables: every text the user sees is fetched from the current table
// by its identifier. Built in: English (default and fallback), German and the
// key table, all derived from the command list and the text list; further
// languages come from external files (language_file.h).
#pragma once
#include <cstddef>
#include <cstdint>

#include "commands/commands.h"

// Identifiers of the texts that are not commands' (text_list.h).
enum TextId : uint16_t {
  kTextLanguageName = 1,    // record 1 of every table: the language's display name
#define TPWR_TEXT(id, Name, ...) kText##Name = id,
#include "language/text_list.h"
};
// Key names are texts too: this base plus the virtual-key code (9008 Back ... 9145 Scroll).
constexpr uint16_t kTextKeyNameBase = 9000;

// One text. Record 0 holds the code page in its identifier (code page + 1 for
// 8-bit tables, 0 + 1 meaning the system ANSI code page; a negative value, the
// complement of the file's CP, for tables whose texts are already wide) and the
// language code as text ("US", "DE", "-"). Record 1 (identifier 1) holds the
// display name. A record with a null text ends the table.
struct LanguageRecord {
  int16_t id;
  const void* text;  // const char* in 8-bit tables, const wchar_t* in wide ones
};
// A table is reached through its first record.
using LanguageTable = const LanguageRecord*;

constexpr int16_t kLanguageCodePageAnsi = 0;
// Room for a language code: the setting supplies at most 3 characters.
constexpr size_t kLanguageCodeChars = 6;
// Longest status-bar help text and toolbar tooltip.
constexpr size_t kMenuHelpChars = 258;
constexpr size_t kTooltipChars = 80;

extern const LanguageRecord kLanguageTableEnglish[];
extern const LanguageRecord kLanguageTableGerman[];
extern const LanguageRecord kLanguageTableKeys[];

// The built-in tables in their fixed order: English, German, key table.
constexpr int kBuiltInLanguageCount = 3;
LanguageTable BuiltInLanguageTable(int index);
int IsBuiltInLanguageTable(LanguageTable table);
// The built-in table whose code (record 0) equals code, ignoring case; null when none.
LanguageTable FindBuiltInLanguageTable(const char* code);
// Frees a table loaded from a file; built-in tables and null are left alone.
void FreeLanguageTable(LanguageTable table);

int LanguageTableIsWide(LanguageTable table);
// Code page of an 8-bit table (0 = system ANSI).
uint32_t LanguageTableCodePage(LanguageTable table);
// Record with that text identifier (record 0 is never matched), or null.
const LanguageRecord* FindLanguageRecord(LanguageTable table, uint16_t id);
// Number of records before the terminator.
size_t LanguageRecordCount(LanguageTable table);

// Copies a text as stored, converted to wide, without replacing escapes.
// Returns its length; 0 also when the record is null.
size_t CopyLanguageRecordText(LanguageTable table, const LanguageRecord* record, wchar_t* buffer,
                              size_t capacity);
// The text with that identifier, tab escapes replaced; empty (0) when the table is
// null or lacks it. Returns the length.
size_t GetLanguageText(LanguageTable table, uint16_t id, wchar_t* buffer, size_t capacity);
// The language code of record 0 in 8-bit form (for an external table: "-").
size_t GetLanguageCode(LanguageTable table, char* buffer, size_t capacity);

// The current table; English until one is chosen.
LanguageTable CurrentLanguageTable();
void SetCurrentLanguageTable(LanguageTable table);
size_t GetText(uint16_t id, wchar_t* buffer, size_t capacity);

// Replaces each backslash followed by "t" with a tab, in place. Returns the new length.
size_t ReplaceTabEscapes(wchar_t* text);
// Cuts a text at its first ";" (the menu label). Returns the new length.
size_t CutAtSemicolon(wchar_t* text);
// Cuts a text at its first tab. Returns the new length.
size_t CutAtTab(wchar_t* text);
// Removes every "&" and cuts at the first "...". Returns the new length.
size_t PlainLabel(wchar_t* text);

// Status-bar help for a menu item: the part after the first ";" up to the next;
// without ";" a command shows its plain label and a popup nothing. A text that
// does not end in "." gets one. Returns the length.
size_t GetMenuHelpTextFrom(LanguageTable table, uint16_t id, int isPopup, wchar_t* buffer, size_t capacity);
size_t GetMenuHelpText(uint16_t id, int isPopup, wchar_t* buffer, size_t capacity);
// Toolbar tooltip: the third ";" part when present, else the label; cut at a tab,
// "&" removed, cut at "...". Returns the length.
size_t GetTooltipTextFrom(LanguageTable table, uint16_t id, wchar_t* buffer, size_t capacity);
size_t GetTooltipText(uint16_t id, wchar_t* buffer, size_t capacity);

// Language code for start-up: the stored code when not empty, else "DE" for a
// German system language (0x0407, 0x0807, 0x0C07, 0x1007, 0x1407), else "US".
// Returns non-zero when the result differs from the stored code (it is to be
// written back).
int ChooseLanguageCode(const char* storedCode, uint16_t systemLanguageId, char* code, size_t capacity);
