// The shortcut list as an HTML page (command HelpKeys): UTF-8 with a byte
// order mark, one table row per command that has a key. Names come from the
// language tables, which a user's language file may supply, so every text is
// written escaped and the page shows exactly the names.
#pragma once
#include <cstddef>
#include <cstdint>

#include "language/language.h"
#include "shortcuts/shortcut_table.h"

// Where the page's bytes go: write returns non-zero when all of them went.
struct ByteWriter {
  int (*write)(void* context, const char* bytes, size_t count);
  void* context;
};

// Writes the whole page; returns 0 at the first failed write.
int WriteShortcutsHtml(LanguageTable language, ShortcutTable* table, const ByteWriter* out);
// Text as UTF-8 with "&", "<", ">" and '"' escaped; 0 when a write failed.
int WriteHtmlText(const ByteWriter* out, const wchar_t* text);

// The file name to use in folder (with its trailing separator): "Keys.htm",
// else "1.htm", "2.htm", ... the first for which exists() says no. Returns 0
// when the path does not fit or no name is free.
using FileExistsRoutine = int (*)(const wchar_t* path);
int ChooseShortcutsPagePath(const wchar_t* folder, FileExistsRoutine exists, wchar_t* path, size_t capacity);

// Windows: writes the page in the temporary folder (the program's folder when
// there is none) in the current language. Non-zero when the whole page was
// written; path then names it. A failed write leaves no page behind.
int ExportShortcutsHtml(wchar_t* path, size_t capacity);
