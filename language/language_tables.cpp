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

// Two texts with one identifier (or one key) would show the wrong words
// without any other sign: the build refuses them.
namespace {
struct KeyRecord {
  int id;
  const char* text;
};
constexpr KeyRecord kEveryRecord[] = {
#define TPWR_PICK(key, english, german) key
#include "language/table_records.h"
#include "commands/command_list.h"
#include "language/table_records.h"
#include "language/text_list.h"
#undef TPWR_PICK
};

constexpr bool SameKey(const char* a, const char* b) {
  while (*a && *a == *b) ++a, ++b;
  return *a == *b;
}

constexpr bool RecordsAreDistinct() {
  constexpr size_t count = sizeof kEveryRecord / sizeof kEveryRecord[0];
  for (size_t i = 0; i < count; ++i)
    for (size_t j = i + 1; j < count; ++j)
      if (kEveryRecord[i].id == kEveryRecord[j].id || SameKey(kEveryRecord[i].text, kEveryRecord[j].text)) return false;
  return true;
}
static_assert(RecordsAreDistinct(), "two texts share an identifier or a key");
}  // namespace
