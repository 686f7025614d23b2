// The header walker: each object is read only within its own size, and each
// object within the header's; a field that lies beyond what the file holds
// ends the walk with what was found so far.
#include "formats/wma/asf_header.h"

#include <cstring>

namespace {

constexpr uint32_t kObjectHeaderBytes = 24;  // GUID and 64-bit size
constexpr uint32_t kHeaderObjectBytes = 30;  // plus the object count and two reserved bytes

// GUIDs as they are stored: the first three fields little-endian.
struct Guid {
  uint8_t bytes[16];
};
constexpr Guid kHeaderObject = {{0x30, 0x26, 0xB2, 0x75, 0x8E, 0x66, 0xCF, 0x11, 0xA6, 0xD9, 0x00, 0xAA, 0x00, 0x62, 0xCE, 0x6C}};
constexpr Guid kFileProperties = {{0xA1, 0xDC, 0xAB, 0x8C, 0x47, 0xA9, 0xCF, 0x11, 0x8E, 0xE4, 0x00, 0xC0, 0x0C, 0x20, 0x53, 0x65}};
constexpr Guid kStreamProperties = {{0x91, 0x07, 0xDC, 0xB7, 0xB7, 0xA9, 0xCF, 0x11, 0x8E, 0xE6, 0x00, 0xC0, 0x0C, 0x20, 0x53, 0x65}};
constexpr Guid kAudioMedia = {{0x40, 0x9E, 0x69, 0xF8, 0x4D, 0x5B, 0xCF, 0x11, 0xA8, 0xFD, 0x00, 0x80, 0x5F, 0x5C, 0x44, 0x2B}};
constexpr Guid kContentDescription = {{0x33, 0x26, 0xB2, 0x75, 0x8E, 0x66, 0xCF, 0x11, 0xA6, 0xD9, 0x00, 0xAA, 0x00, 0x62, 0xCE, 0x6C}};
constexpr Guid kExtendedContentDescription = {{0x40, 0xA4, 0xD0, 0xD2, 0x07, 0xE3, 0xD2, 0x11, 0x97, 0xF0, 0x00, 0xA0, 0xC9, 0x5E, 0xA8, 0x50}};

enum ValueType : uint16_t { kValueText = 0, kValueDword = 3 };

uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t Le32(const uint8_t* p) { return uint32_t(Le16(p)) | (uint32_t(Le16(p + 2)) << 16); }
uint64_t Le64(const uint8_t* p) { return uint64_t(Le32(p)) | (uint64_t(Le32(p + 4)) << 32); }
int Is(const uint8_t* guid, const Guid& known) { return memcmp(guid, known.bytes, 16) == 0; }

// Reads within [at, end) of the object being walked; zero when the bytes are
// not all there.
struct Cursor {
  ByteSource* source;
  uint64_t at;
  uint64_t end;
};

int Take(Cursor* cursor, void* out, uint32_t count) {
  if (count > cursor->end - cursor->at || !ByteSourceSeek(cursor->source, cursor->at) ||
      !ByteSourceReadExact(cursor->source, out, count))
    return 0;
  cursor->at += count;
  return 1;
}

int Skip(Cursor* cursor, uint64_t count) {
  if (count > cursor->end - cursor->at) return 0;
  cursor->at += count;
  return 1;
}

int TakeLe16(Cursor* cursor, uint16_t* value) {
  uint8_t bytes[2];
  if (!Take(cursor, bytes, 2)) return 0;
  *value = Le16(bytes);
  return 1;
}

// A UTF-16LE string of byteCount bytes, kept up to capacity - 1 units.
int TakeText(Cursor* cursor, uint32_t byteCount, wchar_t* out, int capacity) {
  uint8_t bytes[2 * kTagTextChars];
  uint32_t keep = byteCount < 2 * uint32_t(capacity - 1) ? byteCount & ~1u : 2 * uint32_t(capacity - 1);
  if (keep > sizeof bytes || !Take(cursor, bytes, keep) || !Skip(cursor, byteCount - keep)) return 0;
  uint32_t units = 0;
  while (units < keep / 2 && Le16(bytes + 2 * units)) {
    out[units] = static_cast<wchar_t>(Le16(bytes + 2 * units));
    ++units;
  }
  out[units] = 0;
  return 1;
}

void FileProperties(Cursor* cursor, FileInfo* info, uint64_t* playMs, uint32_t* maxBitRate) {
  uint8_t fields[80];  // from offset 24 to the maximum bit rate's end at 104
  if (!Take(cursor, fields, sizeof fields)) return;
  uint64_t duration = Le64(fields + 40) / 10000;  // 100-ns units to milliseconds
  uint64_t preroll = Le64(fields + 56);
  *playMs = duration > preroll ? duration - preroll : 0;
  *maxBitRate = Le32(fields + 76);
  info->bitRate = static_cast<int32_t>(*maxBitRate / 1000);
}

void StreamProperties(Cursor* cursor, FileInfo* info) {
  uint8_t fields[66];  // the stream type at offset 24 to the average bytes per second at 86
  if (!Take(cursor, fields, sizeof fields) || !Is(fields, kAudioMedia) || Le32(fields + 40) < 12) return;
  uint16_t channels = Le16(fields + 56);
  if (channels < 3) info->channelMode = channels;
  info->sampleRate = Le32(fields + 58);
  info->bitRate = static_cast<int32_t>(uint64_t(Le32(fields + 62)) * 8 / 1000);
}

void ContentDescription(Cursor* cursor, FileInfo* info) {
  uint8_t lengths[10];
  if (!Take(cursor, lengths, sizeof lengths)) return;
  // Title, author, copyright, description, rating.
  wchar_t* targets[5] = {info->title, info->artist, nullptr, info->comment, nullptr};
  for (int i = 0; i < 5; ++i) {
    uint16_t length = Le16(lengths + 2 * i);
    int ok = targets[i] ? TakeText(cursor, length, targets[i], kTagTextChars) : Skip(cursor, length);
    if (!ok) return;
  }
}

int NameIs(const wchar_t* name, const wchar_t* known) {
  while (*name && *name == *known) ++name, ++known;
  return *name == *known;
}

// One descriptor's value, the cursor standing at its type.
int Descriptor(Cursor* cursor, const wchar_t* name, FileInfo* info) {
  uint16_t type, length;
  if (!TakeLe16(cursor, &type) || !TakeLe16(cursor, &length)) return 0;
  wchar_t text[kTagTextChars];
  if (type == kValueText && NameIs(name, L"WM/Genre")) return TakeText(cursor, length, info->genre, kGenreChars);
  if (type == kValueText && NameIs(name, L"WM/AlbumTitle")) return TakeText(cursor, length, info->album, kTagTextChars);
  if (type == kValueText && NameIs(name, L"WM/Year")) {
    if (!TakeText(cursor, length, text, kTagTextChars)) return 0;
    info->year = FileInfoParseYear(text);
    return 1;
  }
  if (type == kValueText && NameIs(name, L"WM/Track")) {
    if (!TakeText(cursor, length, text, kTagTextChars)) return 0;
    FileInfoParseTrack(text, &info->track, &info->trackTotal);
    return 1;
  }
  if (type == kValueDword && length == 4 && NameIs(name, L"WM/Track")) {
    uint8_t value[4];
    if (!Take(cursor, value, 4)) return 0;
    // Counted from 0 in this form.
    uint64_t track = uint64_t(Le32(value)) + 1;
    info->track = track > 0xFFFF ? 0xFFFF : static_cast<uint16_t>(track);
    return 1;
  }
  return Skip(cursor, length);
}

void ExtendedContentDescription(Cursor* cursor, FileInfo* info) {
  uint16_t count;
  if (!TakeLe16(cursor, &count)) return;
  for (uint32_t i = 0; i < count; ++i) {
    uint16_t nameLength;
    wchar_t name[32];  // longer than any name looked for
    if (!TakeLe16(cursor, &nameLength) || !TakeText(cursor, nameLength, name, 32) || !Descriptor(cursor, name, info))
      return;
  }
}

}  // namespace

int AsfReadFileInfo(ByteSource* source, FileInfo* info) {
  uint8_t header[kHeaderObjectBytes];
  if (!ByteSourceSeek(source, 0) || !ByteSourceReadExact(source, header, sizeof header) || !Is(header, kHeaderObject))
    return 0;
  uint64_t fileSize = ByteSourceSize(source);
  uint64_t headerEnd = Le64(header + 16);
  if (headerEnd > fileSize) headerEnd = fileSize;
  if (headerEnd < kHeaderObjectBytes) headerEnd = kHeaderObjectBytes;
  uint32_t objects = Le32(header + 24);
  uint64_t playMs = 0;
  uint32_t maxBitRate = 0;
  uint64_t at = kHeaderObjectBytes;
  for (uint32_t i = 0; i < objects && headerEnd - at >= kObjectHeaderBytes; ++i) {
    Cursor cursor = {source, at, headerEnd};
    uint8_t object[kObjectHeaderBytes];
    if (!Take(&cursor, object, sizeof object)) break;
    uint64_t size = Le64(object + 16);
    if (size < kObjectHeaderBytes || size > headerEnd - at) break;
    cursor.end = at + size;
    if (Is(object, kFileProperties)) FileProperties(&cursor, info, &playMs, &maxBitRate);
    else if (Is(object, kStreamProperties)) StreamProperties(&cursor, info);
    else if (Is(object, kContentDescription)) ContentDescription(&cursor, info);
    else if (Is(object, kExtendedContentDescription)) ExtendedContentDescription(&cursor, info);
    at += size;
  }
  // The play time, less the preroll, is the length the decoder plays; only
  // without one is the length estimated from the size and the bit rate.
  if (playMs) info->lengthSeconds = static_cast<uint32_t>(playMs / 1000);
  else if (maxBitRate && fileSize > at) info->lengthSeconds = static_cast<uint32_t>((fileSize - at) * 8 / maxBitRate);
  FileInfoCopyText(info->codecLabel, kCodecLabelChars, L"WMA");
  FileInfoTrimTexts(info);
  return 1;
}
