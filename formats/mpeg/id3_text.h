// Text of ID3 tags: the four encodings of ID3v2 frames and the 8-bit text of
// ID3v1, decoded into the wide text of the file-information record.
#pragma once
#include <cstdint>

enum Id3TextEncoding : uint8_t {
  kId3Latin1 = 0,      // ANSI text; read as Windows-1252, which Latin-1 is a subset of
  kId3Utf16Bom = 1,    // UTF-16 with a byte-order mark (little-endian when it is missing)
  kId3Utf16Be = 2,     // UTF-16 big-endian without a mark (ID3v2.4)
  kId3Utf8 = 3,        // ID3v2.4
  kId3SystemAnsi = 0xFF,  // not an ID3v2 encoding: ID3v1 text, in the system's ANSI code page
};

// Decodes count bytes up to the encoding's terminator into out (capacity
// characters, always terminated). Returns the bytes used, terminator
// included, so that a following string can be found.
uint32_t Id3DecodeText(const uint8_t* bytes, uint32_t count, uint32_t encoding, wchar_t* out, int capacity);

// Removes the unsynchronisation zeros (0xFF 0x00 becomes 0xFF) in place;
// returns the new length.
uint32_t Id3RemoveUnsync(uint8_t* bytes, uint32_t count);
