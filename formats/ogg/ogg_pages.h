// Ogg pages taken out of a byte source one by one: the capture pattern is
// searched, the page checked against its CRC, and a page that fails is
// skipped, so that damage or junk in front (an ID3v2 tag) costs only the
// pages it touches.
#pragma once
#include <cstdint>

#include "base/byte_source.h"

constexpr uint32_t kOggHeaderBytes = 27;
constexpr uint32_t kOggMaxPageBytes = kOggHeaderBytes + 255 + 255 * 255;

enum OggPageFlag : uint8_t { kOggContinued = 1, kOggFirst = 2, kOggLast = 4 };

struct OggPage {
  uint8_t flags;        // OggPageFlag bits
  int64_t granule;      // -1: no packet ends on this page
  uint32_t serial;      // the logical stream's identifier
  uint32_t sequence;
  uint32_t segments;
  const uint8_t* lacing;  // segments lacing values
  const uint8_t* body;
  uint32_t bodySize;      // the sum of the lacing values
};

struct OggPageReader {
  ByteSource* source;
  uint32_t start;  // first unread byte in buffer
  uint32_t end;    // end of the bytes read
  int atEnd;       // the source has nothing more
  uint8_t buffer[2 * 65536];
};

void OggPageReaderStart(OggPageReader* reader, ByteSource* source);
// The next intact page, pointing into the reader's buffer until the next call.
// Zero at the end of the source.
int OggNextPage(OggPageReader* reader, OggPage* page);
