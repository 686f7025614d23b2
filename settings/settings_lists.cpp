#include "settings/settings_lists.h"

#include <cstdio>
#include <cstring>

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Parses one number at text[*at]; non-zero when it had a digit. Values that do not
// fit in 32 bits saturate, as the C library's 32-bit conversions do.
int ParseOne(const char* text, uint64_t* at, int hex, uint32_t* value) {
  uint64_t i = *at;
  while (text[i] == ' ' || text[i] == '\t') i++;
  int negative = 0;
  if (!hex && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  uint64_t magnitude = 0;
  int digits = 0;
  for (;; i++) {
    int digit = hex ? HexDigit(text[i]) : (text[i] >= '0' && text[i] <= '9' ? text[i] - '0' : -1);
    if (digit < 0) break;
    digits++;
    magnitude = magnitude * (hex ? 16 : 10) + static_cast<uint64_t>(digit);
    if (magnitude > 0xFFFFFFFFull) magnitude = 0x100000000ull;  // stays above the limit, no wrap
  }
  *at = i;
  if (!digits) return 0;
  if (!negative) {
    *value = magnitude > 0xFFFFFFFFull ? 0xFFFFFFFFu : static_cast<uint32_t>(magnitude);
  } else {
    uint64_t limit = 0x80000000ull;
    *value = magnitude >= limit ? 0x80000000u : static_cast<uint32_t>(0u - static_cast<uint32_t>(magnitude));
  }
  return 1;
}

}  // namespace

uint32_t ParseUnsignedText(const char* text, int* found) {
  uint64_t at = 0;
  while (text[at] == ' ' || text[at] == '\t') at++;
  int negative = text[at] == '-';
  if (negative || text[at] == '+') at++;
  uint32_t value = 0;
  int ok = ParseOne(text, &at, 0, &value);
  if (found) *found = ok;
  if (!ok) return 0;
  return negative ? 0u - value : value;
}

int ReadList(const char* text, uint32_t* values, int count) {
  int found = 0;
  uint64_t at = 0;
  int hex = text[0] == '#';
  if (hex) at = 1;
  while (found < count) {
    uint32_t value = 0;
    if (!ParseOne(text, &at, hex, &value)) break;
    values[found++] = value;
    while (text[at] == ' ' || text[at] == '\t') at++;
    if (text[at] != ',') break;
    at++;
  }
  for (int i = found; i < count; i++) values[i] = 0;
  return found;
}

uint64_t FormatList(char* out, uint64_t size, const uint32_t* values, int count, int hex, int isSigned) {
  if (!size) return 0;
  out[0] = 0;
  uint64_t used = 0;
  if (hex) {
    if (size < 2) return 0;
    out[used++] = '#';
    out[used] = 0;
  }
  for (int i = 0; i < count; i++) {
    char number[16];
    if (hex)
      snprintf(number, sizeof number, "%lx", static_cast<unsigned long>(values[i]));
    else if (isSigned)
      snprintf(number, sizeof number, "%ld", static_cast<long>(static_cast<int32_t>(values[i])));
    else
      snprintf(number, sizeof number, "%lu", static_cast<unsigned long>(values[i]));
    uint64_t length = strlen(number) + (i ? 1 : 0);
    if (used + length + 1 > size) {
      out[0] = 0;
      return 0;
    }
    if (i) out[used++] = ',';
    memcpy(out + used, number, strlen(number));
    used += strlen(number);
    out[used] = 0;
  }
  return used;
}

uint64_t SplitFontText(const char* text, int32_t numbers[kFontNumbers]) {
  for (int i = 0; i < kFontNumbers; i++) numbers[i] = 0;
  uint64_t at = 0;
  for (int i = 0; i < kFontNumbers; i++) {
    uint64_t fieldStart = at;
    uint32_t value = 0;
    if (ParseOne(text, &fieldStart, 0, &value)) numbers[i] = static_cast<int32_t>(value);
    while (text[at] && text[at] != ',') at++;
    if (!text[at]) return at;
    at++;
  }
  return at;
}
