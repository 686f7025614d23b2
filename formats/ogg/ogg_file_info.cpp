// The page walker: one entry per logical stream; a Vorbis stream's three
// header packets are read as their bytes arrive, then its pages only give
// their granule positions, the last of which is the stream's length.
#include "formats/ogg/ogg_file_info.h"

#include <cstring>
#include <new>

#include "formats/ogg/ogg_pages.h"
#include "formats/vorbis_comment.h"

namespace {

constexpr uint32_t kMaxStreams = 16;  // later streams are not looked at
constexpr uint32_t kIdentBytes = 30;
constexpr uint32_t kPacketTypeBytes = 7;  // the packet type and "vorbis"

enum HeaderState { kReadingHeaders, kHeadersDone, kBroken };

struct Stream {
  uint32_t serial;
  int vorbis;
  int state;              // HeaderState, for Vorbis streams
  uint32_t packet;        // header packet being read: 0 identification, 1 comment, 2 setup
  uint32_t packetBytes;   // bytes of it seen so far
  uint32_t nextSequence;
  uint8_t ident[kIdentBytes];
  uint8_t typeBytes[kPacketTypeBytes];
  int64_t lastGranule;
  FileInfo tags;          // this stream's comments, kept apart until its headers are whole
  VorbisCommentParser comments;
};

struct Walker {
  Stream streams[kMaxStreams];
  uint32_t count;
  OggPageReader pages;
};

uint32_t Le32(const uint8_t* p) {
  return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

int IsHeader(const uint8_t* bytes, uint32_t size, uint8_t type) {
  return size >= kPacketTypeBytes && bytes[0] == type && memcmp(bytes + 1, "vorbis", 6) == 0;
}

Stream* FindStream(Walker* walker, uint32_t serial) {
  for (uint32_t i = 0; i < walker->count; ++i)
    if (walker->streams[i].serial == serial) return &walker->streams[i];
  return nullptr;
}

// A page that begins a stream names its kind by its first packet.
Stream* AddStream(Walker* walker, const OggPage& page, FileInfo* info) {
  if (!(page.flags & kOggFirst) || walker->count == kMaxStreams) return nullptr;
  Stream* stream = &walker->streams[walker->count++];
  memset(stream, 0, sizeof *stream);
  stream->serial = page.serial;
  stream->nextSequence = page.sequence;
  uint32_t first = 0;
  for (uint32_t i = 0; i < page.segments; ++i) {
    first += page.lacing[i];
    if (page.lacing[i] < 255) break;
  }
  stream->vorbis = IsHeader(page.body, first, 1);
  if (stream->vorbis && !info->codecLabel[0]) FileInfoCopyText(info->codecLabel, kCodecLabelChars, L"Ogg Vorbis");
  VorbisCommentStart(&stream->comments, &stream->tags, 1);
  return stream;
}

void HeaderBytes(Stream* stream, const uint8_t* bytes, uint32_t count) {
  for (uint32_t i = 0; i < count && stream->packetBytes + i < kPacketTypeBytes; ++i)
    stream->typeBytes[stream->packetBytes + i] = bytes[i];
  if (stream->packet == 0) {
    for (uint32_t i = 0; i < count && stream->packetBytes + i < kIdentBytes; ++i)
      stream->ident[stream->packetBytes + i] = bytes[i];
  } else if (stream->packet == 1) {
    // The comment block follows the packet's type and "vorbis".
    uint32_t skip = stream->packetBytes < kPacketTypeBytes ? kPacketTypeBytes - stream->packetBytes : 0;
    if (skip < count) VorbisCommentFeed(&stream->comments, bytes + skip, count - skip);
  }
  stream->packetBytes += count;
}

// The identification header's facts and the comments go to the record once
// the third header has been seen whole.
void Accept(const Stream* stream, FileInfo* info) {
  const uint8_t* ident = stream->ident;
  info->channelMode = ident[11];
  info->sampleRate = Le32(ident + 12);
  int32_t nominal = static_cast<int32_t>(Le32(ident + 20));
  if (nominal > 0) info->bitRate = nominal / 1000;
  VorbisCommentCopyFields(info, &stream->tags, stream->comments.fieldsSet);
}

void EndHeaderPacket(Stream* stream, FileInfo* info) {
  uint8_t type = static_cast<uint8_t>(2 * stream->packet + 1);
  int good = IsHeader(stream->typeBytes, stream->packetBytes, type);
  if (stream->packet == 0)  // channels and rate must be there
    good = good && stream->packetBytes >= kIdentBytes && stream->ident[11] && Le32(stream->ident + 12);
  if (stream->packet == 1) good = good && VorbisCommentComplete(&stream->comments);
  if (!good) {
    stream->state = kBroken;
    return;
  }
  stream->packetBytes = 0;
  if (++stream->packet == 3) {
    stream->state = kHeadersDone;
    Accept(stream, info);
  }
}

void HeaderPage(Stream* stream, const OggPage& page, FileInfo* info) {
  // A lost page, or a packet that does not go on where it should, spoils the headers.
  int continued = (page.flags & kOggContinued) != 0;
  if (page.sequence != stream->nextSequence || continued != (stream->packetBytes != 0)) {
    stream->state = kBroken;
    return;
  }
  const uint8_t* body = page.body;
  for (uint32_t i = 0; i < page.segments && stream->state == kReadingHeaders; ++i) {
    HeaderBytes(stream, body, page.lacing[i]);
    body += page.lacing[i];
    if (page.lacing[i] < 255) EndHeaderPacket(stream, info);
  }
}

void WalkPage(Walker* walker, const OggPage& page, FileInfo* info) {
  Stream* stream = FindStream(walker, page.serial);
  if (!stream) stream = AddStream(walker, page, info);
  if (!stream || !stream->vorbis) return;
  if (stream->state == kReadingHeaders) HeaderPage(stream, page, info);
  stream->nextSequence = page.sequence + 1;
  if (page.granule >= 0) stream->lastGranule = page.granule;
}

}  // namespace

int OggReadFileInfo(ByteSource* source, FileInfo* info) {
  Walker* walker = new (std::nothrow) Walker;
  if (!walker) return 0;
  walker->count = 0;
  ByteSourceSeek(source, 0);
  OggPageReaderStart(&walker->pages, source);
  OggPage page;
  while (OggNextPage(&walker->pages, &page)) WalkPage(walker, page, info);
  for (uint32_t i = 0; i < walker->count; ++i) {
    const Stream& stream = walker->streams[i];
    if (stream.state == kHeadersDone)
      info->lengthSeconds = static_cast<uint32_t>(stream.lastGranule / Le32(stream.ident + 12));
  }
  delete walker;
  int found = info->codecLabel[0] != 0;
  if (found) FileInfoTrimTexts(info);
  return found;
}
