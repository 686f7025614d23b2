// Portable 8-bit to UTF-16 converters.
#include "base/code_page.h"

#include "base/text_decoding.h"

size_t Utf8ToWide(const char* text, size_t length, wchar_t* out, size_t capacity) {
  if (capacity == 0) return 0;
  const uint8_t* bytes = reinterpret_cast<const uint8_t*>(text);
  size_t written = 0;
  size_t index = 0;
  while (index < length) {
    size_t next = index;
    uint32_t codePoint = Utf8CodePoint(bytes, length, &next);
    size_t units = codePoint >= 0x10000 ? 2 : 1;
    if (written + units > capacity - 1) break;
    if (units == 2) {
      codePoint -= 0x10000;
      out[written++] = static_cast<wchar_t>(0xD800 + (codePoint >> 10));
      out[written++] = static_cast<wchar_t>(0xDC00 + (codePoint & 0x3FF));
    } else {
      out[written++] = static_cast<wchar_t>(codePoint);
    }
    index = next;
  }
  out[written] = 0;
  return written;
}

size_t Cp1252ToWide(const char* text, size_t length, wchar_t* out, size_t capacity) {
  if (capacity == 0) return 0;
  size_t written = 0;
  for (size_t i = 0; i < length && written < capacity - 1; i++) {
    uint8_t byte = static_cast<uint8_t>(text[i]);
    out[written++] = static_cast<wchar_t>(Cp1252CodePoint(byte));
  }
  out[written] = 0;
  return written;
}
