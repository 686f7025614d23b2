// Portable 8-bit to UTF-16 converters.
#include "app/code_page.h"

namespace {

// Windows-1252 differs from Latin-1 only in 0x80-0x9F; undefined bytes map to
// themselves, as the system's converter does.
constexpr uint16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

constexpr uint32_t kReplacementChar = 0xFFFD;

// Length of the sequence a lead byte starts, 0 for a byte that cannot lead.
int Utf8SequenceLength(uint8_t lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

// Decodes one code point at text[*index]; an invalid or cut sequence gives
// U+FFFD and consumes one byte so that decoding resynchronises.
uint32_t DecodeUtf8(const uint8_t* text, size_t length, size_t* index) {
  size_t at = *index;
  int sequence = Utf8SequenceLength(text[at]);
  if (sequence == 0 || at + static_cast<size_t>(sequence) > length) {
    *index = at + 1;
    return kReplacementChar;
  }
  if (sequence == 1) {
    *index = at + 1;
    return text[at];
  }
  uint32_t codePoint = text[at] & (0xFF >> (sequence + 1));
  for (int i = 1; i < sequence; i++) {
    uint8_t trail = text[at + static_cast<size_t>(i)];
    if ((trail & 0xC0) != 0x80) {
      *index = at + 1;
      return kReplacementChar;
    }
    codePoint = (codePoint << 6) | (trail & 0x3F);
  }
  constexpr uint32_t kMinimum[5] = {0, 0, 0x80, 0x800, 0x10000};
  if (codePoint < kMinimum[sequence] || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) {
    *index = at + 1;
    return kReplacementChar;
  }
  *index = at + static_cast<size_t>(sequence);
  return codePoint;
}

}  // namespace

size_t Utf8ToWide(const char* text, size_t length, wchar_t* out, size_t capacity) {
  if (capacity == 0) return 0;
  const uint8_t* bytes = reinterpret_cast<const uint8_t*>(text);
  size_t written = 0;
  size_t index = 0;
  while (index < length) {
    size_t next = index;
    uint32_t codePoint = DecodeUtf8(bytes, length, &next);
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
    out[written++] = static_cast<wchar_t>(byte >= 0x80 && byte <= 0x9F ? kCp1252High[byte - 0x80] : byte);
  }
  out[written] = 0;
  return written;
}
