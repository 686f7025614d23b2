// Vorbis comments, the tags of Ogg Vorbis and FLAC files, parsed as their
// bytes arrive: a comment packet spread over many Ogg pages, or a block that
// carries a cover picture, needs no buffer of its own size.
#pragma once
#include <cstdint>

#include "formats/file_info.h"

// Bytes of a value kept for conversion: more than 255 UTF-16 units need.
constexpr uint32_t kVorbisValueKeep = 1024;
constexpr uint32_t kVorbisNameKeep = 12;  // "TRACKNUMBER" and its terminator

// Which fields a comment block set, so that a later block overwrites only those.
enum VorbisField : uint32_t {
  kVorbisTitle = 1, kVorbisArtist = 2, kVorbisAlbum = 4, kVorbisTrack = 8,
  kVorbisYear = 16, kVorbisGenre = 32, kVorbisComment = 64,
};

struct VorbisCommentParser {
  FileInfo* info;       // recognised comments go here
  uint32_t fieldsSet;   // VorbisField bits
  int validate;         // skip comments whose name or value is malformed
  int phase;            // what the next bytes are (see the .cpp)
  uint8_t length[4];    // a length field being gathered
  uint32_t lengthHave;
  uint64_t left;        // bytes left of the vendor text or the current comment
  uint32_t commentsLeft;
  // The comment being read.
  char name[kVorbisNameKeep];
  uint32_t nameLength;  // may exceed what is kept
  int inValue;          // past the "="
  int malformed;
  uint32_t utf8Pending;  // continuation bytes still due
  uint32_t utf8Code;
  uint32_t utf8Minimum;
  uint8_t value[kVorbisValueKeep];
  uint32_t valueKept;
};

// validate: comments must have a name of 0x20 to 0x7D before their "=" and a
// well-formed UTF-8 value (Ogg); without it, any comment with a "=" counts.
void VorbisCommentStart(VorbisCommentParser* parser, FileInfo* info, int validate);
// The next bytes of the comment block (the packet after its 7-byte header,
// or the FLAC block's body). Bytes after the last comment are ignored.
void VorbisCommentFeed(VorbisCommentParser* parser, const uint8_t* bytes, uint64_t count);
// Non-zero once the block's every comment has been read.
int VorbisCommentComplete(const VorbisCommentParser* parser);
// Copies the fields in mask from one record to another.
void VorbisCommentCopyFields(FileInfo* to, const FileInfo* from, uint32_t mask);
