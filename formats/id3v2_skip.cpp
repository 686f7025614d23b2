#include "id3v2_skip.h"

uint64_t Id3v2SkipTag(ByteSource* source) {
  uint8_t header[10];
  uint64_t start = 0;
  ByteSourceSeek(source, 0);
  if (ByteSourceReadExact(source, header, sizeof header) && header[0] == 'I' && header[1] == 'D' &&
      header[2] == '3') {
    // Four 7-bit groups, most significant first.
    start = ((uint64_t(header[6]) & 0x7F) << 21) | ((uint64_t(header[7]) & 0x7F) << 14) |
            ((uint64_t(header[8]) & 0x7F) << 7) | (uint64_t(header[9]) & 0x7F);
    start += 10;
  }
  ByteSourceSeek(source, start);
  return start;
}
