#include "base/text_decoding.h"

namespace {

constexpr uint16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// Length of the sequence a lead byte starts, 0 for a byte that cannot lead.
int Utf8SequenceLength(uint8_t lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

}  // namespace

uint16_t Cp1252CodePoint(uint8_t byte) { return byte >= 0x80 && byte <= 0x9F ? kCp1252High[byte - 0x80] : byte; }

uint32_t Utf8CodePoint(const uint8_t* text, size_t length, size_t* index) {
  size_t at = *index;
  int sequence = Utf8SequenceLength(text[at]);
  if (sequence == 0 || at + static_cast<size_t>(sequence) > length) {
    *index = at + 1;
    return kReplacementCodePoint;
  }
  if (sequence == 1) {
    *index = at + 1;
    return text[at];
  }
  uint32_t codePoint = text[at] & (0xFF >> (sequence + 1));
  for (int i = 1; i < sequence; i++) {
    uint8_t trail = text[at + static_cast<size_t>(i)];
    if ((trail & 0xC0) != 0x80) {
      *index = at + 1;
      return kReplacementCodePoint;
    }
    codePoint = (codePoint << 6) | (trail & 0x3F);
  }
  constexpr uint32_t kMinimum[5] = {0, 0, 0x80, 0x800, 0x10000};
  if (codePoint < kMinimum[sequence] || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) {
    *index = at + 1;
    return kReplacementCodePoint;
  }
  *index = at + static_cast<size_t>(sequence);
  return codePoint;
}
