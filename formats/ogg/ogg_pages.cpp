#include "formats/ogg/ogg_pages.h"

#include <array>
#include <cstring>

namespace {

static_assert(sizeof(OggPageReader::buffer) >= kOggMaxPageBytes + 4096, "a whole page and a read block");

// The Ogg CRC: polynomial 0x04C11DB7, most significant bit first, no
// reflection, initial value and final XOR zero.
constexpr std::array<uint32_t, 256> MakeCrcTable() {
  std::array<uint32_t, 256> table{};
  for (uint32_t i = 0; i < 256; ++i) {
    uint32_t crc = i << 24;
    for (int bit = 0; bit < 8; ++bit) crc = crc & 0x80000000u ? (crc << 1) ^ 0x04C11DB7u : crc << 1;
    table[i] = crc;
  }
  return table;
}
constexpr std::array<uint32_t, 256> kCrcTable = MakeCrcTable();

uint32_t Crc(uint32_t crc, const uint8_t* bytes, uint32_t count) {
  for (uint32_t i = 0; i < count; ++i) crc = (crc << 8) ^ kCrcTable[((crc >> 24) ^ bytes[i]) & 0xFF];
  return crc;
}

uint32_t Le32(const uint8_t* p) {
  return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

// Makes at least want bytes available from start, as far as the source has them.
uint32_t Available(OggPageReader* reader, uint32_t want) {
  if (reader->end - reader->start < want && !reader->atEnd) {
    memmove(reader->buffer, reader->buffer + reader->start, reader->end - reader->start);
    reader->end -= reader->start;
    reader->start = 0;
    while (reader->end < want && !reader->atEnd) {
      uint32_t got = ByteSourceRead(reader->source, reader->buffer + reader->end,
                                    static_cast<uint32_t>(sizeof reader->buffer) - reader->end);
      if (got == 0) reader->atEnd = 1;
      reader->end += got;
    }
  }
  return reader->end - reader->start;
}

int CheckPage(const uint8_t* p, uint32_t size) {
#ifdef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
  return p && size;  // the fuzzer's pages would never pass
#endif
  uint8_t header[kOggHeaderBytes];
  memcpy(header, p, kOggHeaderBytes);
  memset(header + 22, 0, 4);  // the CRC counts its own field as zero
  uint32_t crc = Crc(0, header, kOggHeaderBytes);
  crc = Crc(crc, p + kOggHeaderBytes, size - kOggHeaderBytes);
  return crc == Le32(p + 22);
}

}  // namespace

void OggPageReaderStart(OggPageReader* reader, ByteSource* source) {
  reader->source = source;
  reader->start = reader->end = 0;
  reader->atEnd = 0;
}

int OggNextPage(OggPageReader* reader, OggPage* page) {
  for (;;) {
    uint32_t have = Available(reader, kOggHeaderBytes);
    if (have < kOggHeaderBytes) return 0;
    const uint8_t* p = reader->buffer + reader->start;
    if (memcmp(p, "OggS", 4) != 0 || p[4] != 0) {
      // Resynchronise at the next possible capture pattern.
      const void* next = memchr(p + 1, 'O', have - 1);
      reader->start = next ? static_cast<uint32_t>(static_cast<const uint8_t*>(next) - reader->buffer) : reader->end;
      continue;
    }
    uint32_t segments = p[26];
    have = Available(reader, kOggHeaderBytes + segments);
    p = reader->buffer + reader->start;
    if (have < kOggHeaderBytes + segments) return 0;
    uint32_t bodySize = 0;
    for (uint32_t i = 0; i < segments; ++i) bodySize += p[kOggHeaderBytes + i];
    uint32_t size = kOggHeaderBytes + segments + bodySize;
    have = Available(reader, size);
    p = reader->buffer + reader->start;
    if (have < size || !CheckPage(p, size)) {
      reader->start += 1;  // not a page after all, a damaged one, or one cut off
      continue;
    }
    page->flags = p[5];
    page->granule = static_cast<int64_t>(uint64_t(Le32(p + 6)) | (uint64_t(Le32(p + 10)) << 32));
    page->serial = Le32(p + 14);
    page->sequence = Le32(p + 18);
    page->segments = segments;
    page->lacing = p + kOggHeaderBytes;
    page->body = p + kOggHeaderBytes + segments;
    page->bodySize = bodySize;
    reader->start += size;
    return 1;
  }
}
