// Host build: no system code pages, so everything but UTF-8 is read as
// Windows-1252 (the built-in tables are ASCII or Windows-1252 anyway).
#include "base/code_page.h"

uint32_t SystemAnsiCodePage() { return kCodePageWestern; }

size_t CodePageToWide(uint32_t codePage, const char* text, size_t length, wchar_t* out, size_t capacity) {
  if (codePage == kCodePageUtf8) return Utf8ToWide(text, length, out, capacity);
  return Cp1252ToWide(text, length, out, capacity);
}
