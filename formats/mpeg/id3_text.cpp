#include "formats/mpeg/id3_text.h"

#include "base/code_page.h"
#include "base/text_decoding.h"

namespace {

// Appends one code point, as a surrogate pair where wchar_t holds UTF-16.
void Put(uint32_t code, wchar_t* out, int capacity, int* length) {
  if (code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) code = kReplacementCodePoint;
  if constexpr (sizeof(wchar_t) == 2) {
    if (code >= 0x10000) {
      if (*length + 2 > capacity - 1) {
        // No half pairs: the text ends here, and nothing more is appended.
        while (*length < capacity - 1) out[(*length)++] = 0;
        return;
      }
      code -= 0x10000;
      out[(*length)++] = static_cast<wchar_t>(0xD800 + (code >> 10));
      out[(*length)++] = static_cast<wchar_t>(0xDC00 + (code & 0x3FF));
      return;
    }
  }
  if (*length < capacity - 1) out[(*length)++] = static_cast<wchar_t>(code);
}

uint32_t DecodeAnsi(const uint8_t* bytes, uint32_t count, wchar_t* out, int capacity, int* length) {
  uint32_t i = 0;
  for (; i < count && bytes[i]; ++i) {
    Put(Cp1252CodePoint(bytes[i]), out, capacity, length);
  }
  return i < count ? i + 1 : i;
}

uint32_t DecodeSystemAnsi(const uint8_t* bytes, uint32_t count, wchar_t* out, int capacity, int* length) {
  uint32_t text = 0;
  while (text < count && bytes[text]) ++text;
  *length = static_cast<int>(
      CodePageToWide(kCodePageSystemAnsi, reinterpret_cast<const char*>(bytes), text, out, static_cast<size_t>(capacity)));
  return text < count ? text + 1 : text;
}

uint32_t DecodeUtf16(const uint8_t* bytes, uint32_t count, int bigEndian, wchar_t* out, int capacity,
                     int* length) {
  uint32_t i = 0;
  // An odd trailing byte is not half a character worth keeping.
  for (; i + 1 < count; i += 2) {
    uint32_t unit = bigEndian ? (uint32_t(bytes[i]) << 8) | bytes[i + 1] : (uint32_t(bytes[i + 1]) << 8) | bytes[i];
    if (unit == 0) return i + 2;
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 3 < count) {
      uint32_t low = bigEndian ? (uint32_t(bytes[i + 2]) << 8) | bytes[i + 3]
                               : (uint32_t(bytes[i + 3]) << 8) | bytes[i + 2];
      if (low >= 0xDC00 && low <= 0xDFFF) {
        Put(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00), out, capacity, length);
        i += 2;
        continue;
      }
    }
    Put(unit, out, capacity, length);
  }
  return count;
}

uint32_t DecodeUtf8(const uint8_t* bytes, uint32_t count, wchar_t* out, int capacity, int* length) {
  size_t i = 0;
  while (i < count) {
    if (bytes[i] == 0) return static_cast<uint32_t>(i + 1);
    Put(Utf8CodePoint(bytes, count, &i), out, capacity, length);
  }
  return count;
}

}  // namespace

uint32_t Id3DecodeText(const uint8_t* bytes, uint32_t count, uint32_t encoding, wchar_t* out, int capacity) {
  if (capacity <= 0) return 0;
  int length = 0;
  uint32_t used = 0;
  switch (encoding) {
    case kId3Utf16Bom:
    case kId3Utf16Be: {
      int bigEndian = encoding == kId3Utf16Be;
      uint32_t start = 0;
      if (count >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
        bigEndian = 0;
        start = 2;
      } else if (count >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF) {
        bigEndian = 1;
        start = 2;
      }
      used = start + DecodeUtf16(bytes + start, count - start, bigEndian, out, capacity, &length);
      break;
    }
    case kId3Utf8: used = DecodeUtf8(bytes, count, out, capacity, &length); break;
    case kId3SystemAnsi: used = DecodeSystemAnsi(bytes, count, out, capacity, &length); break;
    default: used = DecodeAnsi(bytes, count, out, capacity, &length); break;
  }
  out[length] = 0;
  return used;
}

uint32_t Id3RemoveUnsync(uint8_t* bytes, uint32_t count) {
  uint32_t kept = 0;
  for (uint32_t i = 0; i < count; ++i) {
    bytes[kept++] = bytes[i];
    if (bytes[i] == 0xFF && i + 1 < count && bytes[i + 1] == 0) ++i;
  }
  return kept;
}
