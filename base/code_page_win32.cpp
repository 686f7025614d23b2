// Windows: the system converts, so the ANSI code page of the machine and any
// installed code page work; an unknown code page falls back to Windows-1252.
#include <windows.h>

#include <cstdlib>

#include "base/code_page.h"

uint32_t SystemAnsiCodePage() { return GetACP(); }

size_t CodePageToWide(uint32_t codePage, const char* text, size_t length, wchar_t* out, size_t capacity) {
  if (capacity == 0) return 0;
  out[0] = 0;
  if (length == 0) return 0;
  if (length > 0x7FFFFFFF) length = 0x7FFFFFFF;
  UINT systemCodePage = codePage == kCodePageSystemAnsi ? CP_ACP : codePage;
  int needed = MultiByteToWideChar(systemCodePage, 0, text, static_cast<int>(length), nullptr, 0);
  if (needed <= 0) return Cp1252ToWide(text, length, out, capacity);
  if (static_cast<size_t>(needed) < capacity) {
    int written = MultiByteToWideChar(systemCodePage, 0, text, static_cast<int>(length), out, needed);
    if (written < 0) written = 0;
    out[written] = 0;
    return static_cast<size_t>(written);
  }
  // Too long for the buffer: convert whole into a scratch block, keep the start.
  wchar_t* scratch = static_cast<wchar_t*>(malloc(static_cast<size_t>(needed) * sizeof(wchar_t)));
  if (!scratch) return 0;
  int written = MultiByteToWideChar(systemCodePage, 0, text, static_cast<int>(length), scratch, needed);
  size_t kept = written > 0 ? static_cast<size_t>(written) : 0;
  if (kept > capacity - 1) kept = capacity - 1;
  for (size_t i = 0; i < kept; i++) out[i] = scratch[i];
  out[kept] = 0;
  free(scratch);
  return kept;
}
