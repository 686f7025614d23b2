#include "formats/mpeg/id3_tags.h"

#include <cstring>
#include <cwchar>

#include "formats/mpeg/id3_genres.h"
#include "formats/mpeg/id3_text.h"

namespace {

// The part of a frame body that is read for a text: enough for a full field
// in UTF-16 plus its encoding byte.
constexpr uint32_t kTextBodyBytes = 513;
// Raw bytes fetched per frame: the text part, doubled for unsynchronisation
// zeros, plus group and length prefixes.
constexpr uint32_t kRawBodyBytes = 2 * kTextBodyBytes + 8;

enum Id3Target : uint8_t { kTitle, kSubtitle, kArtist, kAlbum, kComment, kGenre, kYear, kTrack, kBeats };

struct FrameRule {
  char id[5];       // 2.3 and 2.4
  char shortId[4];  // 2.2
  Id3Target target;
};

const FrameRule kFrameRules[] = {
    {"COMM", "COM", kComment}, {"TALB", "TAL", kAlbum},  {"TBPM", "TBP", kBeats},  {"TCON", "TCO", kGenre},
    {"TIT2", "TT2", kTitle},   {"TIT3", "TT3", kSubtitle}, {"TOAL", "TOT", kAlbum}, {"TOPE", "TOA", kArtist},
    {"TORY", "TOR", kYear},    {"TPE1", "TP1", kArtist}, {"TPE4", "TP4", kArtist}, {"TRCK", "TRK", kTrack},
    {"TYER", "TYE", kYear},
    // 2.4 replaced the year frame by the recording time ("2004-05-01").
    {"TDRC", "", kYear},
};

struct TagWalk {
  ByteSource* source;
  Id3v2Header header;
  uint64_t end;  // end of the frames, limited to the bytes present
  wchar_t subtitle[kTagTextChars];
};

uint32_t Be32(const uint8_t* p) {
  return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
}
uint32_t Syncsafe32(const uint8_t* p) {
  return (uint32_t(p[0] & 0x7F) << 21) | (uint32_t(p[1] & 0x7F) << 14) | (uint32_t(p[2] & 0x7F) << 7) |
         (p[3] & 0x7F);
}

uint32_t ReadAt(ByteSource* source, uint64_t offset, void* buffer, uint32_t size) {
  return ByteSourceSeek(source, offset) ? ByteSourceRead(source, buffer, size) : 0;
}

int IsFrameIdChar(uint8_t c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }

// A plausible place for a frame header or for the padding behind the frames.
int LooksLikeFrameStart(TagWalk* walk, uint64_t offset) {
  if (offset == walk->end) return 1;
  if (offset > walk->end) return 0;
  uint8_t id[4] = {};
  uint32_t got = ReadAt(walk->source, offset, id, 4);
  if (got == 0) return 0;
  if (id[0] == 0) return 1;
  if (got < 4) return 0;
  return IsFrameIdChar(id[0]) && IsFrameIdChar(id[1]) && IsFrameIdChar(id[2]) && IsFrameIdChar(id[3]);
}

// 2.4 sizes are 7-bit groups, but some writers stored plain numbers: take the
// plain reading only when the 7-bit one leads nowhere and the plain one does.
uint32_t FrameSize24(TagWalk* walk, uint64_t bodyStart, const uint8_t* sizeBytes) {
  uint32_t syncsafe = Syncsafe32(sizeBytes);
  uint32_t plain = Be32(sizeBytes);
  if (plain == syncsafe || LooksLikeFrameStart(walk, bodyStart + syncsafe)) return syncsafe;
  return LooksLikeFrameStart(walk, bodyStart + plain) ? plain : syncsafe;
}

const FrameRule* FindRule(const uint8_t* id, int shortIds) {
  for (const FrameRule& rule : kFrameRules) {
    const char* name = shortIds ? rule.shortId : rule.id;
    size_t length = shortIds ? 3 : 4;
    if (strlen(name) == length && memcmp(name, id, length) == 0) return &rule;
  }
  return nullptr;
}

wchar_t* TargetText(FileInfo* info, TagWalk* walk, Id3Target target, int* capacity) {
  *capacity = kTagTextChars;
  switch (target) {
    case kTitle: return info->title;
    case kSubtitle: return walk->subtitle;
    case kArtist: return info->artist;
    case kAlbum: return info->album;
    case kComment: return info->comment;
    case kGenre: *capacity = kGenreChars; return info->genre;
    default: return nullptr;
  }
}

// Reads the part of a frame body that carries its text: prefixes removed,
// unsynchronisation undone. Returns the bytes in body, 0 when the frame is
// compressed or encrypted and so cannot be read.
uint32_t ReadFrameBody(TagWalk* walk, uint64_t offset, uint32_t size, const uint8_t* flags, uint8_t* body) {
  uint32_t got = ReadAt(walk->source, offset, body, size < kRawBodyBytes ? size : kRawBodyBytes);
  uint32_t skip = 0;
  int unsync = (walk->header.flags & 0x80) != 0;
  if (walk->header.major == 3) {
    if (flags[1] & 0xC0) return 0;  // compressed or encrypted
    if (flags[1] & 0x20) skip += 1;  // group byte
  } else if (walk->header.major == 4) {
    if (flags[1] & 0x0C) return 0;
    if (flags[1] & 0x40) skip += 1;
    if (flags[1] & 0x01) skip += 4;  // data length indicator
    unsync = unsync || (flags[1] & 0x02);
  }
  if (skip >= got) return 0;
  memmove(body, body + skip, got - skip);
  got -= skip;
  if (unsync) got = Id3RemoveUnsync(body, got);
  return got < kTextBodyBytes ? got : kTextBodyBytes;
}

// The text of a text or comment frame body.
void FrameText(const uint8_t* body, uint32_t count, Id3Target target, wchar_t* out, int capacity) {
  out[0] = 0;
  if (count < 2) return;
  uint32_t encoding = body[0];
  uint32_t start = 1;
  if (target == kComment) {
    // Language code, then a short description ending with a zero of the encoding's width.
    if (count < 4) return;
    start = 4;
    wchar_t description[kTagTextChars];
    start += Id3DecodeText(body + start, count - start, encoding, description, kTagTextChars);
    if (start >= count) return;
  }
  Id3DecodeText(body + start, count - start, encoding, out, capacity);
}

void ApplyFrame(TagWalk* walk, FileInfo* info, const FrameRule* rule, uint64_t offset, uint32_t size,
                const uint8_t* flags) {
  int capacity = 0;
  wchar_t* field = TargetText(info, walk, rule->target, &capacity);
  if (field && field[0]) return;  // an earlier frame or tag filled it
  uint8_t body[kRawBodyBytes];
  uint32_t count = ReadFrameBody(walk, offset, size, flags, body);
  wchar_t text[kTagTextChars];
  FrameText(body, count, rule->target, text, kTagTextChars);
  switch (rule->target) {
    case kYear: info->year = FileInfoParseYear(text); break;
    case kBeats: {
      uint32_t beats = FileInfoLeadingNumber(text);
      info->beatsPerMinute = static_cast<uint16_t>(beats > 0xFFFF ? 0xFFFF : beats);
      break;
    }
    case kTrack: FileInfoParseTrack(text, &info->track, &info->trackTotal); break;
    default: FileInfoCopyText(field, capacity, text); break;
  }
}

uint64_t SkipExtendedHeader(TagWalk* walk, uint64_t offset) {
  if (!(walk->header.flags & 0x40) || walk->header.major < 3) return offset;
  uint8_t size[4];
  if (ReadAt(walk->source, offset, size, 4) != 4) return walk->end;
  // 2.3 counts the bytes after the size field; 2.4 counts the whole header.
  uint64_t length = walk->header.major == 3 ? 4 + uint64_t(Be32(size)) : Syncsafe32(size);
  return offset + length;
}

void WalkFrames(TagWalk* walk, FileInfo* info) {
  int shortIds = walk->header.major == 2;
  uint32_t headerBytes = shortIds ? 6 : 10;
  uint64_t offset = SkipExtendedHeader(walk, kId3v2HeaderBytes);
  while (offset + headerBytes <= walk->end) {
    uint8_t frame[10];
    if (ReadAt(walk->source, offset, frame, headerBytes) != headerBytes || frame[0] == 0) return;
    uint64_t bodyStart = offset + headerBytes;
    uint32_t size = shortIds ? (uint32_t(frame[3]) << 16) | (uint32_t(frame[4]) << 8) | frame[5]
                    : walk->header.major == 4 ? FrameSize24(walk, bodyStart, frame + 4)
                                              : Be32(frame + 4);
    if (bodyStart + size > walk->end) size = static_cast<uint32_t>(walk->end - bodyStart);
    const FrameRule* rule = FindRule(frame, shortIds);
    static const uint8_t kNoFlags[2] = {0, 0};
    if (rule) ApplyFrame(walk, info, rule, bodyStart, size, shortIds ? kNoFlags : frame + 8);
    offset = bodyStart + size;
  }
}

int IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// Reads the decimal number at text; -1 when there are no digits or it is absurdly long.
long ParseGenreNumber(const wchar_t* text, int* digits) {
  long value = 0;
  int count = 0;
  for (; IsDigit(text[count]); ++count) {
    if (count >= 9) return -1;
    value = value * 10 + (text[count] - L'0');
  }
  *digits = count;
  return count ? value : -1;
}

void GenreNameInto(wchar_t* genre, int capacity, long number) {
  const wchar_t* name = number >= 0 ? Id3GenreName(static_cast<uint32_t>(number)) : nullptr;
  FileInfoCopyText(genre, capacity, name ? name : L"");
}

void TrimBlanks(wchar_t* text) {
  int length = 0;
  while (text[length]) ++length;
  int start = 0;
  while (start < length && (text[start] == L' ' || text[start] == L'\t')) ++start;
  while (length > start && (text[length - 1] == L' ' || text[length - 1] == L'\t')) --length;
  memmove(text, text + start, static_cast<size_t>(length - start) * sizeof(wchar_t));
  text[length - start] = 0;
}

// An ID3v1 text: 8-bit, cut at the first zero, trimmed, stored if the field is empty.
void StoreV1Text(const uint8_t* bytes, uint32_t count, wchar_t* field, int capacity) {
  wchar_t text[kTagTextChars];
  Id3DecodeText(bytes, count, kId3SystemAnsi, text, kTagTextChars);
  TrimBlanks(text);
  if (!field[0]) FileInfoCopyText(field, capacity, text);
}

}  // namespace

int Id3v2ParseHeader(const uint8_t* bytes, uint32_t count, Id3v2Header* header) {
  if (count < kId3v2HeaderBytes || memcmp(bytes, "ID3", 3) != 0) return 0;
  uint8_t major = bytes[3];
  uint8_t revision = bytes[4];
  int accepted = (major == 2 && revision <= 1) || ((major == 3 || major == 4) && revision == 0);
  if (!accepted) return 0;
  header->major = major;
  header->revision = revision;
  header->flags = bytes[5];
  header->size = Syncsafe32(bytes + 6);
  return 1;
}

uint64_t Id3v2TagBytes(const Id3v2Header* header) {
  uint64_t footer = header->major == 4 && (header->flags & 0x10) ? kId3v2HeaderBytes : 0;
  return kId3v2HeaderBytes + uint64_t(header->size) + footer;
}

int Id3v2ReadTag(ByteSource* source, FileInfo* info) {
  TagWalk walk{};
  walk.source = source;
  uint8_t bytes[kId3v2HeaderBytes];
  uint32_t got = ReadAt(source, 0, bytes, sizeof bytes);
  if (!Id3v2ParseHeader(bytes, got, &walk.header)) return 0;
  uint64_t present = ByteSourceSize(source);
  walk.end = kId3v2HeaderBytes + uint64_t(walk.header.size);
  if (walk.end > present) walk.end = present;
  // 2.2 used this flag for a compression nobody defined: such a tag cannot be read.
  if (walk.header.major == 2 && (walk.header.flags & 0x40)) return 1;
  WalkFrames(&walk, info);
  if (!info->title[0] && walk.subtitle[0]) FileInfoCopyText(info->title, kTagTextChars, walk.subtitle);
  Id3ResolveGenre(info->genre, kGenreChars);
  return 1;
}

int Id3v1Present(ByteSource* source, uint64_t size) {
  uint8_t magic[3];
  return size >= kId3v1Bytes && ReadAt(source, size - kId3v1Bytes, magic, 3) == 3 && memcmp(magic, "TAG", 3) == 0;
}

int Id3v1ReadTag(ByteSource* source, FileInfo* info) {
  uint64_t size = ByteSourceSize(source);
  uint8_t tag[kId3v1Bytes];
  if (size < kId3v1Bytes || ReadAt(source, size - kId3v1Bytes, tag, kId3v1Bytes) != kId3v1Bytes ||
      memcmp(tag, "TAG", 3) != 0)
    return 0;
  StoreV1Text(tag + 3, 30, info->title, kTagTextChars);
  StoreV1Text(tag + 33, 30, info->artist, kTagTextChars);
  StoreV1Text(tag + 63, 30, info->album, kTagTextChars);
  if (info->year == 0) {
    wchar_t year[8];
    Id3DecodeText(tag + 93, 4, kId3SystemAnsi, year, 8);
    info->year = FileInfoParseYear(year);
  }
  // ID3v1.1: a zero at 125 makes byte 126 the track number.
  int hasTrack = tag[125] == 0;
  StoreV1Text(tag + 97, hasTrack ? 28 : 30, info->comment, kTagTextChars);
  if (hasTrack && info->track == 0) info->track = tag[126];
  if (!info->genre[0]) GenreNameInto(info->genre, kGenreChars, tag[127] < kId3GenreCount ? tag[127] : -1);
  return 1;
}

void Id3ResolveGenre(wchar_t* genre, int capacity) {
  int digits = 0;
  if (genre[0] == L'(') {
    long number = ParseGenreNumber(genre + 1, &digits);
    if (number < 0 || genre[1 + digits] != L')') return;
    // Only the plain form "(%ld)" counts: "(017)" stays as it is.
    if (digits > 1 && genre[1] == L'0') return;
    const wchar_t* rest = genre + 2 + digits;
    if (*rest) {
      memmove(genre, rest, (wcslen(rest) + 1) * sizeof(wchar_t));
    } else {
      GenreNameInto(genre, capacity, number);
    }
    return;
  }
  long number = ParseGenreNumber(genre, &digits);
  if (number >= 0 && genre[digits] == 0) GenreNameInto(genre, capacity, number);
}
