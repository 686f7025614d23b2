#include "formats/flac/flac_metadata.h"

#include <cstring>

#include "formats/id3v2_skip.h"
#include "formats/vorbis_comment.h"

namespace {

constexpr uint32_t kStreamInfoBytes = 34;
enum BlockType : uint8_t { kBlockStreamInfo = 0, kBlockVorbisComment = 4 };

uint32_t Be24(const uint8_t* p) { return (uint32_t(p[0]) << 16) | (uint32_t(p[1]) << 8) | p[2]; }

void ParseStreamInfo(const uint8_t* p, FlacStreamInfo* out) {
  // Bits: rate 20, channels - 1: 3, bits per sample - 1: 5, total samples 36.
  out->sampleRate = (uint32_t(p[10]) << 12) | (uint32_t(p[11]) << 4) | (p[12] >> 4);
  out->channels = ((p[12] >> 1) & 7) + 1;
  out->bitsPerSample = (((p[12] & 1) << 4) | (p[13] >> 4)) + 1;
  out->totalSamples = (uint64_t(p[13] & 0x0F) << 32) | (uint64_t(p[14]) << 24) | (uint64_t(p[15]) << 16) |
                      (uint64_t(p[16]) << 8) | p[17];
}

void StreamInfoToRecord(const FlacStreamInfo* stream, uint64_t fileSize, FileInfo* info) {
  info->channelMode = static_cast<uint16_t>(stream->channels);
  info->sampleRate = stream->sampleRate;
  if (!stream->sampleRate) return;
  uint64_t ms = stream->totalSamples * 1000 / stream->sampleRate;
  info->lengthSeconds = static_cast<uint32_t>((ms + 500) / 1000);
  if (fileSize && ms) info->bitRate = static_cast<int32_t>((fileSize * 8 + ms / 2) / ms);
}

// Feeds the block's body to the comment parser in pieces. Zero on a short read.
int ReadComments(ByteSource* source, uint32_t length, FileInfo* info) {
  VorbisCommentParser parser;
  VorbisCommentStart(&parser, info, 0);
  uint8_t piece[4096];
  int whole = 1;
  while (length && whole) {
    uint32_t want = length < sizeof piece ? length : static_cast<uint32_t>(sizeof piece);
    whole = ByteSourceReadExact(source, piece, want);
    if (whole) VorbisCommentFeed(&parser, piece, want);
    length -= want;
  }
  return whole;
}

}  // namespace

int FlacReadMetadata(ByteSource* source, FlacStreamInfo* streamInfo, FileInfo* info) {
  memset(streamInfo, 0, sizeof *streamInfo);
  uint64_t fileSize = ByteSourceSize(source);
  Id3v2SkipTag(source);
  uint8_t marker[4];
  int haveStreamInfo = 0;
  int whole = ByteSourceReadExact(source, marker, 4) && memcmp(marker, "fLaC", 4) == 0;
  for (int last = 0; whole && !last;) {
    uint8_t header[4];
    if (!ByteSourceReadExact(source, header, 4)) {
      whole = 0;
      break;
    }
    last = header[0] >> 7;
    uint32_t type = header[0] & 0x7F;
    uint32_t length = Be24(header + 1);
    uint64_t next = ByteSourceTell(source) + length;
    if (next > fileSize) {
      whole = 0;  // a block that the file does not hold
    } else if (type == kBlockStreamInfo && length >= kStreamInfoBytes && !haveStreamInfo) {
      uint8_t body[kStreamInfoBytes];
      whole = ByteSourceReadExact(source, body, kStreamInfoBytes);
      if (whole) ParseStreamInfo(body, streamInfo);
      haveStreamInfo = whole;
    } else if (type == kBlockVorbisComment && info) {
      whole = ReadComments(source, length, info);
    }
    if (whole) whole = ByteSourceSeek(source, next);
  }
  int read = whole && haveStreamInfo;
  if (info && !read) FileInfoClear(info);
  if (info && read) {
    StreamInfoToRecord(streamInfo, fileSize, info);
    FileInfoCopyText(info->codecLabel, kCodecLabelChars, L"FLAC");
    FileInfoTrimTexts(info);
  }
  return read;
}

int FlacTestVerdict(const FlacStreamInfo* streamInfo) {
  if (!streamInfo->sampleRate) return 0;
  uint64_t ms = (streamInfo->totalSamples * 1000 + streamInfo->sampleRate / 2) / streamInfo->sampleRate;
  if (ms < 1) return 0;
  uint64_t seconds = ms / 1000;
  return seconds > 0x7FFFFFFF ? 0x7FFFFFFF : seconds > 1 ? static_cast<int>(seconds) : 1;
}
