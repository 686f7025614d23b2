#include "editor/text_decode.h"

#include <cstdlib>

#include "base/code_page.h"
#include "base/text_decoding.h"

namespace {

// Enough of a file to tell UTF-16 from 8-bit text by its zero bytes.
constexpr size_t kSniffBytes = 65536;

int StartsWith(const unsigned char* bytes, size_t size, const unsigned char* mark, size_t length) {
  if (size < length) return 0;
  for (size_t i = 0; i < length; i++)
    if (bytes[i] != mark[i]) return 0;
  return 1;
}

// Text in UTF-16 without a mark has zero bytes in one half of the pairs only
// (the high bytes of Latin characters); 8-bit text has none, binary data both.
int LooksLikeUtf16(const unsigned char* bytes, size_t size, int* bigEndian) {
  size_t pairs = (size < kSniffBytes ? size : kSniffBytes) / 2;
  if (pairs == 0) return 0;
  size_t zeroFirst = 0, zeroSecond = 0;
  for (size_t i = 0; i < pairs; i++) {
    zeroFirst += bytes[2 * i] == 0;
    zeroSecond += bytes[2 * i + 1] == 0;
  }
  size_t zeros = zeroFirst > zeroSecond ? zeroFirst : zeroSecond;
  size_t others = zeroFirst > zeroSecond ? zeroSecond : zeroFirst;
  if (zeros * 2 < pairs || others * 16 > zeros) return 0;
  *bigEndian = zeroFirst > zeroSecond;
  return 1;
}

// Every byte sequence valid UTF-8, and at least one that is not ASCII.
int IsUtf8(const unsigned char* bytes, size_t size) {
  int wide = 0;
  for (size_t i = 0; i < size;) {
    if (bytes[i] < 0x80) {
      i++;
      continue;
    }
    size_t at = i;
    if (Utf8CodePoint(bytes, size, &i) == kReplacementCodePoint &&
        !(i - at == 3 && bytes[at] == 0xEF && bytes[at + 1] == 0xBF && bytes[at + 2] == 0xBD))
      return 0;
    wide = 1;
  }
  return wide;
}

int Allocate(TextBuffer* out, size_t characters) {
  out->text = static_cast<wchar_t*>(malloc((characters + 1) * sizeof(wchar_t)));
  out->length = 0;
  return out->text != nullptr;
}

void PutCodePoint(TextBuffer* out, uint32_t codePoint) {
  if (codePoint >= 0x10000) {
    codePoint -= 0x10000;
    out->text[out->length++] = static_cast<wchar_t>(0xD800 + (codePoint >> 10));
    out->text[out->length++] = static_cast<wchar_t>(0xDC00 + (codePoint & 0x3FF));
  } else {
    out->text[out->length++] = static_cast<wchar_t>(codePoint);
  }
}

int DecodeUtf8(const unsigned char* bytes, size_t size, TextBuffer* out) {
  if (!Allocate(out, size)) return 0;  // never more units than bytes
  for (size_t i = 0; i < size;) {
    size_t at = i;
    uint32_t codePoint = Utf8CodePoint(bytes, size, &i);
    if (codePoint == kReplacementCodePoint &&
        !(i - at == 3 && bytes[at] == 0xEF && bytes[at + 1] == 0xBF && bytes[at + 2] == 0xBD))
      out->problems |= kTextProblemInvalidUtf8;
    PutCodePoint(out, codePoint);
  }
  return 1;
}

int DecodeUtf16(const unsigned char* bytes, size_t size, int bigEndian, TextBuffer* out) {
  if (size % 2) out->problems |= kTextProblemOddByte;
  if (!Allocate(out, size / 2)) return 0;
  for (size_t i = 0; i + 1 < size; i += 2) {
    unsigned first = bytes[i], second = bytes[i + 1];
    out->text[out->length++] = static_cast<wchar_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
  }
  return 1;
}

int DecodeAnsi(const unsigned char* bytes, size_t size, TextBuffer* out) {
  if (!Allocate(out, size)) return 0;  // one unit per byte at most, in any ANSI code page
  out->length = CodePageToWide(kCodePageSystemAnsi, reinterpret_cast<const char*>(bytes), size, out->text, size + 1);
  return 1;
}

// The edit control ends its text at a NUL: each one becomes a blank.
void ReplaceNuls(TextBuffer* out) {
  for (size_t i = 0; i < out->length; i++) {
    if (out->text[i]) continue;
    out->text[i] = L' ';
    out->problems |= kTextProblemNul;
  }
}

}  // namespace

void TextBufferFree(TextBuffer* buffer) {
  free(buffer->text);
  buffer->text = nullptr;
  buffer->length = 0;
}

TextEncoding DetectTextEncoding(const unsigned char* bytes, size_t size, size_t* markBytes) {
  static const unsigned char kUtf8Mark[] = {0xEF, 0xBB, 0xBF};
  static const unsigned char kLittleMark[] = {0xFF, 0xFE};
  static const unsigned char kBigMark[] = {0xFE, 0xFF};
  *markBytes = 0;
  if (StartsWith(bytes, size, kUtf8Mark, 3)) return *markBytes = 3, kTextUtf8;
  if (StartsWith(bytes, size, kLittleMark, 2)) return *markBytes = 2, kTextUtf16LittleEndian;
  if (StartsWith(bytes, size, kBigMark, 2)) return *markBytes = 2, kTextUtf16BigEndian;
  int bigEndian = 0;
  if (LooksLikeUtf16(bytes, size, &bigEndian)) return bigEndian ? kTextUtf16BigEndian : kTextUtf16LittleEndian;
  return IsUtf8(bytes, size) ? kTextUtf8 : kTextAnsi;
}

int TextFileDecode(const unsigned char* bytes, size_t size, TextBuffer* out) {
  *out = TextBuffer{};
  size_t mark = 0;
  out->encoding = DetectTextEncoding(bytes, size, &mark);
  bytes += mark;
  size -= mark;
  int decoded = 0;
  switch (out->encoding) {
    case kTextUtf8: decoded = DecodeUtf8(bytes, size, out); break;
    case kTextUtf16LittleEndian: decoded = DecodeUtf16(bytes, size, 0, out); break;
    case kTextUtf16BigEndian: decoded = DecodeUtf16(bytes, size, 1, out); break;
    case kTextAnsi: decoded = DecodeAnsi(bytes, size, out); break;
  }
  if (!decoded) return 0;
  out->text[out->length] = 0;
  ReplaceNuls(out);
  return 1;
}
