// How the bytes of a transcript file become text: UTF-8 with or without a
// byte-order mark, UTF-16 little- or big-endian with a mark or recognised by
// its zero bytes, else 8-bit text in the system's ANSI code page. Whatever
// cannot be shown as stored is replaced and reported, so that the document
// can warn and ask before it replaces the original. Portable: no windows.h.
#pragma once
#include <cstddef>
#include <cstdint>

// What the text shown differs from the file in.
enum TextProblem : uint32_t {
  kTextProblemNul = 1,          // NUL characters, shown as blanks
  kTextProblemInvalidUtf8 = 2,  // byte sequences that are not UTF-8, shown as U+FFFD
  kTextProblemOddByte = 4,      // a last byte that is half a UTF-16 character, left out
};

enum TextEncoding { kTextAnsi, kTextUtf8, kTextUtf16LittleEndian, kTextUtf16BigEndian };

// A transcript's text in wide characters, NUL-terminated, on the heap.
struct TextBuffer {
  wchar_t* text;
  size_t length;       // characters, without the terminating NUL
  uint32_t problems;   // TextProblem bits
  TextEncoding encoding;
};
void TextBufferFree(TextBuffer* buffer);

// The encoding of a file's bytes and the length of its byte-order mark.
TextEncoding DetectTextEncoding(const unsigned char* bytes, size_t size, size_t* markBytes);
// Decodes a whole file. Zero only when memory runs out.
int TextFileDecode(const unsigned char* bytes, size_t size, TextBuffer* out);
