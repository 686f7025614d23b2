// ID3 tags of MPEG audio files: the ID3v2 tag at the front (versions 2.2, 2.3
// and 2.4) and the 128-byte ID3v1 tag at the end, read into the
// file-information record. A text field that is already filled is kept, so
// the tag read first wins.
#pragma once
#include <cstdint>

#include "base/byte_source.h"
#include "formats/file_info.h"

constexpr uint32_t kId3v2HeaderBytes = 10;
constexpr uint32_t kId3v1Bytes = 128;

struct Id3v2Header {
  uint8_t major;     // 2, 3 or 4
  uint8_t revision;
  uint8_t flags;     // 0x80 unsynchronisation, 0x40 extended header, 0x10 footer (2.4)
  uint32_t size;     // bytes behind the header, footer excluded
};

// Non-zero when bytes (count of them) begin a tag of version 2.2.0, 2.2.1, 2.3.0 or 2.4.0.
int Id3v2ParseHeader(const uint8_t* bytes, uint32_t count, Id3v2Header* header);
// Bytes the whole tag occupies at the start of the file, footer included.
uint64_t Id3v2TagBytes(const Id3v2Header* header);

// Reads the ID3v2 tag at offset 0 of source; zero when there is none.
int Id3v2ReadTag(ByteSource* source, FileInfo* info);
// Reads the ID3v1 tag in the last 128 bytes of source; zero when there is none.
int Id3v1ReadTag(ByteSource* source, FileInfo* info);
// Non-zero when the last 128 bytes of a source of size bytes begin with "TAG".
int Id3v1Present(ByteSource* source, uint64_t size);

// Replaces a numbered genre reference, "(17)", "(17)Rock" or "17", by what it
// stands for: the list's name, the text behind the reference, or nothing
// when the number lies outside the list.
void Id3ResolveGenre(wchar_t* genre, int capacity);
