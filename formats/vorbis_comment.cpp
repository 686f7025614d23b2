#include "formats/vorbis_comment.h"

#include <cstring>

#include "base/code_page.h"

namespace {

enum Phase { kVendorLength, kVendor, kCount, kCommentLength, kComment, kDone };

struct FieldName {
  const char* name;
  uint32_t field;
};
constexpr FieldName kFields[] = {
    {"TITLE", kVorbisTitle}, {"ARTIST", kVorbisArtist}, {"ALBUM", kVorbisAlbum},
    {"TRACKNUMBER", kVorbisTrack}, {"DATE", kVorbisYear}, {"GENRE", kVorbisGenre},
    {"COMMENT", kVorbisComment},
};

uint32_t Le32(const uint8_t* p) {
  return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

uint32_t FieldOf(const VorbisCommentParser* parser) {
  if (parser->nameLength >= kVorbisNameKeep) return 0;
  for (const FieldName& field : kFields) {
    size_t i = 0;
    while (field.name[i] && i < parser->nameLength && field.name[i] == Upper(parser->name[i])) ++i;
    if (!field.name[i] && i == parser->nameLength) return field.field;
  }
  return 0;
}

// Checks one value byte: sequences of one to four bytes, nothing overlong, no
// surrogates, nothing above U+10FFFF.
void CheckUtf8(VorbisCommentParser* parser, uint8_t byte) {
  if (parser->utf8Pending) {
    if ((byte & 0xC0) != 0x80) {
      parser->malformed = 1;
      return;
    }
    parser->utf8Code = (parser->utf8Code << 6) | (byte & 0x3F);
    if (--parser->utf8Pending == 0) {
      uint32_t code = parser->utf8Code;
      if (code < parser->utf8Minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) parser->malformed = 1;
    }
    return;
  }
  if (byte < 0x80) return;
  static const uint32_t kMinimum[4] = {0, 0x80, 0x800, 0x10000};
  uint32_t extra = (byte & 0xE0) == 0xC0 ? 1 : (byte & 0xF0) == 0xE0 ? 2 : (byte & 0xF8) == 0xF0 ? 3 : 0;
  if (extra == 0) {
    parser->malformed = 1;
    return;
  }
  parser->utf8Pending = extra;
  parser->utf8Code = byte & (0x3F >> extra);
  parser->utf8Minimum = kMinimum[extra];
}

void StartComment(VorbisCommentParser* parser) {
  parser->nameLength = 0;
  parser->inValue = 0;
  parser->malformed = 0;
  parser->utf8Pending = 0;
  parser->valueKept = 0;
}

void Store(VorbisCommentParser* parser, uint32_t field) {
  FileInfo* info = parser->info;
  wchar_t text[kTagTextChars];
  Utf8ToWide(reinterpret_cast<const char*>(parser->value), parser->valueKept, text, kTagTextChars);
  switch (field) {
    case kVorbisTitle: FileInfoCopyText(info->title, kTagTextChars, text); break;
    case kVorbisArtist: FileInfoCopyText(info->artist, kTagTextChars, text); break;
    case kVorbisAlbum: FileInfoCopyText(info->album, kTagTextChars, text); break;
    case kVorbisTrack: FileInfoParseTrack(text, &info->track, &info->trackTotal); break;
    case kVorbisYear: info->year = FileInfoParseYear(text); break;
    case kVorbisGenre: FileInfoCopyText(info->genre, kGenreChars, text); break;
    case kVorbisComment: FileInfoCopyText(info->comment, kTagTextChars, text); break;
    default: return;
  }
  parser->fieldsSet |= field;
}

void FinishComment(VorbisCommentParser* parser) {
  if (!parser->inValue) return;  // no "=": not a comment
  if (parser->validate && (parser->malformed || parser->utf8Pending)) return;
  uint32_t field = FieldOf(parser);
  if (field) Store(parser, field);
}

void CommentByte(VorbisCommentParser* parser, uint8_t byte) {
  if (parser->inValue) {
    if (parser->validate) CheckUtf8(parser, byte);
    if (parser->valueKept < kVorbisValueKeep) parser->value[parser->valueKept++] = byte;
  } else if (byte == '=') {
    parser->inValue = 1;
  } else {
    if (byte < 0x20 || byte > 0x7D) parser->malformed |= parser->validate;
    // A name longer than the buffer is longer than any name we know.
    if (parser->nameLength < kVorbisNameKeep) parser->name[parser->nameLength++] = static_cast<char>(byte);
  }
}

// Gathers a 4-byte length; non-zero once it is complete.
int GatherLength(VorbisCommentParser* parser, const uint8_t** bytes, uint64_t* count) {
  while (parser->lengthHave < 4 && *count) {
    parser->length[parser->lengthHave++] = **bytes;
    ++*bytes;
    --*count;
  }
  if (parser->lengthHave < 4) return 0;
  parser->lengthHave = 0;
  return 1;
}

// The comment or vendor text a length announced begins; an empty one ends at once.
void BeginText(VorbisCommentParser* parser, int phase);

void EndText(VorbisCommentParser* parser) {
  if (parser->phase == kComment) {
    FinishComment(parser);
    --parser->commentsLeft;
  }
  parser->phase = parser->phase == kVendor ? kCount : parser->commentsLeft ? kCommentLength : kDone;
}

void BeginText(VorbisCommentParser* parser, int phase) {
  parser->left = Le32(parser->length);
  parser->phase = phase;
  if (phase == kComment) StartComment(parser);
  if (parser->left == 0) EndText(parser);
}

}  // namespace

void VorbisCommentStart(VorbisCommentParser* parser, FileInfo* info, int validate) {
  memset(parser, 0, sizeof *parser);
  parser->info = info;
  parser->validate = validate;
  parser->phase = kVendorLength;
}

void VorbisCommentFeed(VorbisCommentParser* parser, const uint8_t* bytes, uint64_t count) {
  while (count && parser->phase != kDone) {
    switch (parser->phase) {
      case kVendorLength:
        if (GatherLength(parser, &bytes, &count)) BeginText(parser, kVendor);
        break;
      case kCount:
        if (!GatherLength(parser, &bytes, &count)) break;
        parser->commentsLeft = Le32(parser->length);
        parser->phase = parser->commentsLeft ? kCommentLength : kDone;
        break;
      case kCommentLength:
        if (GatherLength(parser, &bytes, &count)) BeginText(parser, kComment);
        break;
      case kVendor:
      case kComment: {
        uint64_t take = parser->left < count ? parser->left : count;
        if (parser->phase == kComment)
          for (uint64_t i = 0; i < take; ++i) CommentByte(parser, bytes[i]);
        bytes += take;
        count -= take;
        parser->left -= take;
        if (parser->left == 0) EndText(parser);
        break;
      }
      default:
        return;
    }
  }
}

int VorbisCommentComplete(const VorbisCommentParser* parser) { return parser->phase == kDone; }

void VorbisCommentCopyFields(FileInfo* to, const FileInfo* from, uint32_t mask) {
  if (mask & kVorbisTitle) FileInfoCopyText(to->title, kTagTextChars, from->title);
  if (mask & kVorbisArtist) FileInfoCopyText(to->artist, kTagTextChars, from->artist);
  if (mask & kVorbisAlbum) FileInfoCopyText(to->album, kTagTextChars, from->album);
  if (mask & kVorbisTrack) {
    to->track = from->track;
    to->trackTotal = from->trackTotal;
  }
  if (mask & kVorbisYear) to->year = from->year;
  if (mask & kVorbisGenre) FileInfoCopyText(to->genre, kGenreChars, from->genre);
  if (mask & kVorbisComment) FileInfoCopyText(to->comment, kTagTextChars, from->comment);
}
