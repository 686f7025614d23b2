// The box walker behind MP4 file information. Box headers and the media
// header follow ISO/IEC 14496-12; the audio sample entries and the metadata
// items under "ilst" follow the layouts that iTunes-style files use.
#include "formats/mp4/mp4_info.h"

#include <cstring>

#include "base/code_page.h"
#include "formats/mpeg/id3_genres.h"

namespace {

constexpr uint64_t kSmallestFile = 127;
constexpr int kDeepest = 12;          // far beyond any real file; a crafted tower ends here
constexpr uint32_t kTextBytes = 511;  // of an item's value
constexpr uint32_t kItemHead = 8;     // a "data" payload starts with its type and locale

constexpr uint32_t Tag(const char (&name)[5]) {
  return (uint32_t(uint8_t(name[0])) << 24) | (uint32_t(uint8_t(name[1])) << 16) | (uint32_t(uint8_t(name[2])) << 8) |
         uint8_t(name[3]);
}
// The items whose names begin with the copyright sign (0xA9).
constexpr uint32_t Copyright(const char (&name)[4]) {
  return 0xA9000000u | (uint32_t(uint8_t(name[0])) << 16) | (uint32_t(uint8_t(name[1])) << 8) | uint8_t(name[2]);
}

uint16_t Be16(const uint8_t* p) { return static_cast<uint16_t>((p[0] << 8) | p[1]); }
uint32_t Be32(const uint8_t* p) { return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3]; }
uint64_t Be64(const uint8_t* p) { return (uint64_t(Be32(p)) << 32) | Be32(p + 4); }

struct Walk {
  ByteSource* source;
  FileInfo* info;
  int failed;          // a top-level header could not be read
  uint32_t timeScale;  // of the last media header, for the bit-rate fallback
  uint64_t duration;
  uint64_t lastTopSize;
  uint64_t mediaBytes;  // of the top-level "mdat" boxes
};

struct Box {
  uint32_t type;
  uint64_t start;    // of the header
  uint64_t payload;  // behind the header
  uint64_t end;      // as the header declares it, possibly beyond what holds it
};

enum HeaderResult { kHeaderFailed = -1, kLevelEnds = 0, kHeaderRead = 1 };

// The header at offset at, inside a level that ends at limit.
HeaderResult ReadHeader(ByteSource* source, uint64_t at, uint64_t limit, Box* box) {
  if (at >= limit || limit - at < 8) return kLevelEnds;
  uint8_t head[16];
  if (!ByteSourceSeek(source, at) || !ByteSourceReadExact(source, head, 8)) return kHeaderFailed;
  uint64_t size = Be32(head);
  uint64_t headerBytes = 8;
  if (size == 1) {
    if (limit - at < 16) return kLevelEnds;
    if (!ByteSourceReadExact(source, head + 8, 8)) return kHeaderFailed;
    size = Be64(head + 8);
    headerBytes = 16;
  } else if (size == 0) {
    size = limit - at;  // the box runs to the end of what holds it
  }
  if (size < headerBytes) return kLevelEnds;
  box->type = Be32(head + 4);
  box->start = at;
  box->payload = at + headerBytes;
  box->end = size > UINT64_MAX - at ? UINT64_MAX : at + size;
  return kHeaderRead;
}

// Reads up to capacity bytes of the payload (which ends at end); zero on a
// failed read, else the count in *got.
int ReadPayload(Walk* walk, const Box& box, uint64_t end, uint8_t* buffer, uint32_t capacity, uint32_t* got) {
  uint64_t available = end > box.payload ? end - box.payload : 0;
  *got = available < capacity ? static_cast<uint32_t>(available) : capacity;
  return ByteSourceSeek(walk->source, box.payload) && ByteSourceReadExact(walk->source, buffer, *got);
}

void ParseFileType(Walk* walk, const Box& box, uint64_t end) {
  uint8_t p[31];
  uint32_t n;
  if (!ReadPayload(walk, box, end, p, sizeof p, &n) || n < 4) return;
  char brand[4];
  for (int i = 0; i < 4; ++i) brand[i] = (p[i] >= 'a' && p[i] <= 'z') ? char(p[i] - 32) : char(p[i]);
  wchar_t* label = walk->info->codecLabel;
  if (brand[0] == 'M' && brand[1] == '4' && brand[3] == ' ') {
    for (int i = 0; i < 3; ++i) label[i] = static_cast<wchar_t>(uint8_t(brand[i]));
    label[3] = 0;
  } else if (brand[0] == 'M' && brand[1] == 'P' && brand[2] == '4') {
    FileInfoCopyText(label, kCodecLabelChars, L"MP4");
  }
}

void ParseMediaHeader(Walk* walk, const Box& box, uint64_t end) {
  uint8_t p[32];
  uint32_t n;
  if (!ReadPayload(walk, box, end, p, sizeof p, &n) || n < 20) return;
  uint32_t timeScale;
  uint64_t duration;
  if (p[0] == 1) {
    if (n < 32) return;
    timeScale = Be32(p + 20);
    duration = Be64(p + 24);
  } else {
    timeScale = Be32(p + 12);
    duration = Be32(p + 16);
    if (duration == 0xFFFFFFFFu) return;  // "unknown" in a 32-bit header
  }
  walk->timeScale = timeScale;
  walk->duration = duration;
  if (timeScale) {
    uint64_t seconds = duration / timeScale;
    walk->info->lengthSeconds = seconds > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(seconds);
  }
}

// An expandable descriptor length: up to four bytes of seven bits each.
uint32_t ReadExpandable(const uint8_t* p, uint32_t n, uint32_t* at) {
  uint32_t length = 0;
  for (int i = 0; i < 4 && *at < n; ++i) {
    uint8_t byte = p[(*at)++];
    length = (length << 7) | (byte & 0x7F);
    if (!(byte & 0x80)) break;
  }
  return length;
}

// The elementary stream descriptor: its decoder configuration holds the average bit rate.
void ParseEsds(Walk* walk, const Box& box, uint64_t end) {
  uint8_t p[64];
  uint32_t n;
  if (!ReadPayload(walk, box, end, p, sizeof p, &n) || n < 5) return;
  uint32_t at = 4;  // version and flags
  if (p[at++] == 3) {
    if (ReadExpandable(p, n, &at) < 20) return;
    at += 3;  // ES_ID and flags
  } else {
    at += 2;
  }
  if (at >= n || p[at++] != 4) return;
  if (ReadExpandable(p, n, &at) < 13 || n - at < 13) return;
  uint32_t average = Be32(p + at + 9);  // behind object type, stream type and buffer size, maximum rate
  if (average) walk->info->bitRate = static_cast<int32_t>((uint64_t{average} + 500) / 1000);
}

void ParseMp4a(Walk* walk, const Box& entry, uint64_t end) {
  uint8_t p[28];
  uint32_t n;
  if (!ReadPayload(walk, entry, end, p, sizeof p, &n) || n < 28) return;
  uint16_t version = Be16(p + 8);
  walk->info->channelMode = Be16(p + 16);
  walk->info->sampleRate = Be32(p + 22);  // packet size (0) and the integer part of the 16.16 rate
  // QuickTime's sound description versions 1 and 2 carry 16 and 36 more bytes.
  uint64_t next = entry.payload + 28 + (version == 1 ? 16 : version >= 2 ? 36 : 0);
  Box esds;
  if (ReadHeader(walk->source, next, end, &esds) == kHeaderRead && esds.type == Tag("esds"))
    ParseEsds(walk, esds, esds.end < end ? esds.end : end);
}

void ParseAlac(Walk* walk, const Box& entry, uint64_t end) {
  uint8_t p[34];
  uint32_t n;
  if (!ReadPayload(walk, entry, end, p, sizeof p, &n) || n < 34) return;
  walk->info->channelMode = Be16(p + 16);
  walk->info->sampleRate = Be16(p + 24);
}

void ParseSampleDescriptions(Walk* walk, const Box& box, uint64_t end) {
  uint8_t p[8];
  uint32_t n;
  if (!ReadPayload(walk, box, end, p, sizeof p, &n) || n < 8) return;
  uint32_t count = Be32(p + 4);
  uint64_t at = box.payload + 8;
  Box entry;
  for (uint32_t i = 0; i < count && ReadHeader(walk->source, at, end, &entry) == kHeaderRead; ++i) {
    uint64_t entryEnd = entry.end < end ? entry.end : end;
    if (entry.type == Tag("mp4a")) ParseMp4a(walk, entry, entryEnd);
    else if (entry.type == Tag("alac")) ParseAlac(walk, entry, entryEnd);
    at = entryEnd;
  }
}

void ItemText(const uint8_t* value, uint32_t length, wchar_t* dest, int capacity) {
  Utf8ToWide(reinterpret_cast<const char*>(value), length, dest, static_cast<size_t>(capacity));
}

// One child of "ilst": its "data" box holds the value.
void ReadItem(Walk* walk, const Box& item, uint64_t end) {
  uint64_t at = item.payload;
  Box data;
  for (;;) {
    if (ReadHeader(walk->source, at, end, &data) != kHeaderRead) return;
    if (data.type == Tag("data")) break;
    at = data.end;
  }
  uint8_t p[kItemHead + kTextBytes];
  uint32_t n;
  if (!ReadPayload(walk, data, data.end < end ? data.end : end, p, sizeof p, &n) || n < kItemHead) return;
  const uint8_t* value = p + kItemHead;
  uint32_t length = n - kItemHead;
  FileInfo* info = walk->info;
  switch (item.type) {
    case Copyright("nam"): ItemText(value, length, info->title, kTagTextChars); break;
    case Copyright("ART"): ItemText(value, length, info->artist, kTagTextChars); break;
    case Tag("aART"):
      if (!info->artist[0]) ItemText(value, length, info->artist, kTagTextChars);
      break;
    case Copyright("alb"): ItemText(value, length, info->album, kTagTextChars); break;
    case Copyright("cmt"): ItemText(value, length, info->comment, kTagTextChars); break;
    case Copyright("gen"): ItemText(value, length, info->genre, kGenreChars); break;
    case Copyright("day"): {
      wchar_t year[5];
      ItemText(value, length < 4 ? length : 4, year, 5);
      info->year = FileInfoParseYear(year);
      break;
    }
    case Tag("gnre"):
      if (length >= 2 && !info->genre[0] && Be16(value) >= 1) {
        const wchar_t* name = Id3GenreName(Be16(value) - 1u);
        if (name) FileInfoCopyText(info->genre, kGenreChars, name);
      }
      break;
    case Tag("trkn"):
      if (length >= 4 && !info->track && Be16(value + 2)) {
        info->track = Be16(value + 2);
        info->trackTotal = length >= 8 && !Be16(value) ? Be16(value + 4) : Be16(value);
      }
      break;
    case Tag("tmpo"):
      if (length >= 2 && !info->beatsPerMinute) info->beatsPerMinute = Be16(value);
      break;
    default: break;
  }
}

void WalkLevel(Walk* walk, uint64_t from, uint64_t limit, uint32_t parent, int depth);

// What a box means inside its parent (0 for the top level).
void VisitBox(Walk* walk, const Box& box, uint64_t end, uint32_t parent, int depth) {
  switch (box.type) {
    case Tag("ftyp"):
      if (!parent) ParseFileType(walk, box, end);
      return;
    case Tag("moov"):
    case Tag("trak"):
    case Tag("edts"):
    case Tag("mdia"):
    case Tag("minf"):
    case Tag("stbl"):
    case Tag("udta"):
    case Tag("ilst"): WalkLevel(walk, box.payload, end, box.type, depth + 1); return;
    case Tag("meta"): {
      uint8_t versionAndFlags[4];
      uint32_t n;
      if (ReadPayload(walk, box, end, versionAndFlags, 4, &n) && n == 4 && !Be32(versionAndFlags))
        WalkLevel(walk, box.payload + 4, end, box.type, depth + 1);
      return;
    }
    case Tag("mdhd"): ParseMediaHeader(walk, box, end); return;
    case Tag("stsd"): ParseSampleDescriptions(walk, box, end); return;
    default:
      if (parent == Tag("ilst")) ReadItem(walk, box, end);
      return;
  }
}

void WalkLevel(Walk* walk, uint64_t from, uint64_t limit, uint32_t parent, int depth) {
  if (depth > kDeepest) return;
  uint64_t at = from;
  for (;;) {
    Box box;
    HeaderResult result = ReadHeader(walk->source, at, limit, &box);
    if (result == kHeaderFailed && !parent) walk->failed = 1;
    if (result != kHeaderRead) return;
    if (!parent) {
      walk->lastTopSize = box.end - box.start;
      if (box.type == Tag("mdat")) walk->mediaBytes += walk->lastTopSize;
    }
    uint64_t end = box.end < limit ? box.end : limit;
    VisitBox(walk, box, end, parent, depth);
    at = end;
  }
}

// kbit/s from the size of the media data over the media's duration. The
// last top-level box stands in only when there is no "mdat": writers that put
// "moov" last are common, and its size says nothing about the sound.
int32_t FallbackBitRate(const Walk& walk) {
  if (!walk.timeScale || !walk.duration) return 0;
  uint64_t bytes = walk.mediaBytes ? walk.mediaBytes : walk.lastTopSize;
  // In floating point: the product of a 32-bit scale and a 64-bit size would overflow.
  double bitsPerSecond = double(walk.timeScale) * double(bytes) * 8.0 / double(walk.duration);
  double kbits = (bitsPerSecond + 500.0) / 1000.0;
  return kbits >= double(INT32_MAX) ? INT32_MAX : static_cast<int32_t>(kbits);
}

}  // namespace

int Mp4ReadFileInfo(ByteSource* source, FileInfo* info) {
  uint64_t size = ByteSourceSize(source);
  if (size < kSmallestFile) {
    FileInfoClear(info);
    return 0;
  }
  Walk walk{source, info, 0, 0, 0, 0, 0};
  WalkLevel(&walk, 0, size, 0, 0);
  if (walk.failed) {
    FileInfoClear(info);
    return 0;
  }
  if (!info->bitRate) info->bitRate = FallbackBitRate(walk);
  if (!info->codecLabel[0]) FileInfoCopyText(info->codecLabel, kCodecLabelChars, L"M4A");
  FileInfoTrimTexts(info);
  return 1;
}
