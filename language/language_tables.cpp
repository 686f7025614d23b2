// The built-in language tables, derived from the command list and the text
// list: English (8-bit, system code page, all ASCII; the default and the
// fallback), German (Windows-1252) and the key table (the four-letter keys
// that external language files use; chosen as a language with the code "-",
// every menu shows its keys, a help for translators).
#include "language/language.h"

const LanguageRecord kLanguageTableEnglish[] = {
    {kLanguageCodePageAnsi + 1, "US"},
    {kTextLanguageName, "English"},
#define TPWR_PICK(key, english, german) english
#include "language/table_records.h"
#include "commands/command_list.h"
#include "language/table_records.h"
#include "language/text_list.h"
#undef TPWR_PICK
    {0, nullptr},
};

const LanguageRecord kLanguageTableGerman[] = {
    {1252 + 1, "DE"},
    {kTextLanguageName, "German (Deutsch)"},
#define TPWR_PICK(key, english, german) german
#include "language/table_records.h"
#include "commands/command_list.h"
#include "language/table_records.h"
#include "language/text_list.h"
#undef TPWR_PICK
    {0, nullptr},
};

const LanguageRecord kLanguageTableKeys[] = {
    {kLanguageCodePageAnsi + 1, "-"},
    {kTextLanguageName, "Extl"},
#define TPWR_PICK(key, english, german) key
#include "language/table_records.h"
#include "commands/command_list.h"
#include "language/table_records.h"
#include "language/text_list.h"
#undef TPWR_PICK
    {0, nullptr},
};
