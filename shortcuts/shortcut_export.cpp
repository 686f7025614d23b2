// The HTML page of the shortcuts, written through a byte writer.
#include "shortcuts/shortcut_export.h"

#include <cstdio>
#include <cstring>
#include <cwchar>

#include "shortcuts/key_names.h"
#include "shortcuts/shortcut_editor.h"

namespace {

constexpr size_t kCellChars = 256;
constexpr uint32_t kRowColors[2] = {0xF4F3FA, 0xFFFFFF};
constexpr unsigned kMaxPageNumber = 9999;

const char kStyle[] =
    "<style type=\"text/css\">body {background:#FFFFFF;color:#000000;FONT-FAMILY:Verdana,Arial;font-size:80%;}"
    "table {background:#FFFFFF;color:#000000;FONT-FAMILY:Verdana,Arial;font-size:100%;}</style>\r\n";

int Put(const ByteWriter* out, const char* text) { return out->write(out->context, text, strlen(text)); }

// One UTF-8 sequence for a code point below 0x110000; returns its length.
size_t EncodeUtf8(uint32_t point, char* bytes) {
  if (point < 0x80) {
    bytes[0] = static_cast<char>(point);
    return 1;
  }
  if (point < 0x800) {
    bytes[0] = static_cast<char>(0xC0 | (point >> 6));
    bytes[1] = static_cast<char>(0x80 | (point & 0x3F));
    return 2;
  }
  if (point < 0x10000) {
    bytes[0] = static_cast<char>(0xE0 | (point >> 12));
    bytes[1] = static_cast<char>(0x80 | ((point >> 6) & 0x3F));
    bytes[2] = static_cast<char>(0x80 | (point & 0x3F));
    return 3;
  }
  bytes[0] = static_cast<char>(0xF0 | (point >> 18));
  bytes[1] = static_cast<char>(0x80 | ((point >> 12) & 0x3F));
  bytes[2] = static_cast<char>(0x80 | ((point >> 6) & 0x3F));
  bytes[3] = static_cast<char>(0x80 | (point & 0x3F));
  return 4;
}

// The next code point of UTF-16 text (wchar_t holds UTF-16 units on Windows
// and whole code points on the host); a lone surrogate becomes U+FFFD.
uint32_t NextCodePoint(const wchar_t** text) {
  uint32_t unit = static_cast<uint32_t>(**text);
  ++*text;
  if (unit >= 0xD800 && unit <= 0xDBFF) {
    uint32_t low = static_cast<uint32_t>(**text);
    if (low >= 0xDC00 && low <= 0xDFFF) {
      ++*text;
      return 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
    }
    return 0xFFFD;
  }
  if ((unit >= 0xDC00 && unit <= 0xDFFF) || unit > 0x10FFFF) return 0xFFFD;
  return unit;
}

const char* EscapeOf(uint32_t point) {
  switch (point) {
    case '&': return "&amp;";
    case '<': return "&lt;";
    case '>': return "&gt;";
    case '"': return "&quot;";
    default: return nullptr;
  }
}

int PutCell(const ByteWriter* out, const char* tag, const wchar_t* text) {
  char open[8], close[8];
  snprintf(open, sizeof open, "<%s>", tag);
  snprintf(close, sizeof close, "</%s>", tag);
  return Put(out, open) && WriteHtmlText(out, text) && Put(out, close);
}

uint16_t LowestCode(const ShortcutTable* table, uint16_t command) {
  for (uint16_t code = 1; code < kShortcutCodeCount; ++code)
    if (table->keyMap[code] == command) return code;
  return 0;
}

int PutRows(LanguageTable language, ShortcutTable* table, const ByteWriter* out) {
  size_t written = 0;
  for (const CommandName* entry = table->commands; entry && entry->command; ++entry) {
    uint16_t code = entry->name ? LowestCode(table, entry->command) : 0;
    if (!code) continue;
    wchar_t name[kShortcutRowNameChars], keys[kCellChars];
    ShortcutRowName(language, entry, name, kShortcutRowNameChars);
    ShortcutTextIn(language, table, code, keys, kCellChars);
    char row[32];
    snprintf(row, sizeof row, "<tr bgcolor=\"#%06x\">", static_cast<unsigned>(kRowColors[written++ % 2]));
    if (!Put(out, row) || !PutCell(out, "td", name) || !PutCell(out, "td", keys) || !Put(out, "</tr>\r\n")) return 0;
  }
  return 1;
}

}  // namespace

int WriteHtmlText(const ByteWriter* out, const wchar_t* text) {
  char bytes[kCellChars * 6];
  size_t used = 0;
  while (*text) {
    uint32_t point = NextCodePoint(&text);
    const char* escape = EscapeOf(point);
    if (escape) {
      size_t length = strlen(escape);
      memcpy(bytes + used, escape, length);
      used += length;
    } else {
      used += EncodeUtf8(point, bytes + used);
    }
    if (used + 8 > sizeof bytes) {  // room for the longest piece stays
      if (!out->write(out->context, bytes, used)) return 0;
      used = 0;
    }
  }
  return !used || out->write(out->context, bytes, used);
}

int WriteShortcutsHtml(LanguageTable language, ShortcutTable* table, const ByteWriter* out) {
  wchar_t text[kCellChars];
  if (!Put(out, "\xEF\xBB\xBF<html><head>\r\n") || !Put(out, kStyle) || !Put(out, "</head><body>")) return 0;
  if (GetLanguageText(language, kTextKeyboardShortcuts, text, kCellChars))
    if (!PutCell(out, "h3", text) || !Put(out, "\r\n")) return 0;
  if (!Put(out, "<table border=0>\r\n<tr>")) return 0;
  GetLanguageText(language, kTextName, text, kCellChars);
  if (!PutCell(out, "th", text)) return 0;
  GetLanguageText(language, kTextShortcut, text, kCellChars);
  if (!PutCell(out, "th", text) || !Put(out, "</tr>\r\n")) return 0;
  return PutRows(language, table, out) && Put(out, "</table></body></html>");
}

int ChooseShortcutsPagePath(const wchar_t* folder, FileExistsRoutine exists, wchar_t* path, size_t capacity) {
  for (unsigned number = 0; number <= kMaxPageNumber; ++number) {
    int length = number ? swprintf(path, capacity, L"%ls%u.htm", folder, number)
                        : swprintf(path, capacity, L"%lsKeys.htm", folder);
    if (length < 0 || static_cast<size_t>(length) >= capacity) return 0;
    if (!exists(path)) return 1;
  }
  return 0;
}
