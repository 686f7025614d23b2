// Layer III Huffman decoding tables (built once from ISO/IEC 11172-3 Annex B).
#pragma once
#include <cstdint>

namespace mpeg {

// A lookup table: entry = table[peek(rootBits)]. A leaf holds
// (length << 16) | symbol; a link holds 0x80000000 | (bits << 24) | offset of
// a second-level table indexed by the next `bits` bits, whose leaves hold the
// remaining length.
struct HuffLookup {
  const uint32_t* table = nullptr;
  int rootBits = 0;
  int linbits = 0;
  int valid = 0;  // 0 for the tables the standard leaves unused (4 and 14)
};

// Table for table_select 0..31 (0: all zero, no bits), and count1 table A.
const HuffLookup* HuffBigValueTables();  // 32 entries
const HuffLookup* HuffCount1TableA();

// Checks that every code table is a complete prefix code (Kraft sum 1, no
// conflicts); for the tests.
bool HuffTablesSelfCheck();

}  // namespace mpeg
