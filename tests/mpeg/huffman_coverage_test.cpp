// The Huffman code tables are confirmed code word by code word: the Layer III
// conformance streams use every code word of every table, and each stream
// decodes to within 1 LSB of its reference output. A wrong pair for any code
// word would show there as a wrong spectral value or a lost bit position.
#include <gtest/gtest.h>

#include <iterator>
#include <string>

#include "mpeg_decode_helpers.h"

namespace {
unsigned long gSeen[34][16][16];
}  // namespace

void MpegHuffmanCodeSeen(int table, int x, int y) {
  if (table >= 0 && table < 34 && x >= 0 && x < 16 && y >= 0 && y < 16) ++gSeen[table][x][y];
}

namespace {

// Tables first..last share one code (they differ in linbits only); 32 and 33
// are the count1 tables, the quadruple counted as a 4 x 4 pair.
struct CodeTable {
  int first, last, size;
};
const CodeTable kCodeTables[] = {{1, 1, 2},   {2, 2, 3},   {3, 3, 3},    {5, 5, 4},    {6, 6, 4},   {7, 7, 6},
                                 {8, 8, 6},   {9, 9, 6},   {10, 10, 8},  {11, 11, 8},  {12, 12, 8}, {13, 13, 16},
                                 {15, 15, 16}, {16, 23, 16}, {24, 31, 16}, {32, 32, 4}, {33, 33, 4}};

TEST(HuffmanTables, EveryCodeWordIsConfirmedByTheConformanceStreams) {
  ASSERT_FALSE(TestFolder("TPWR_TESTDATA").empty()) << "TPWR_TESTDATA is not set";
  for (size_t s = kFirstLayer3Stream; s < std::size(kConformanceStreams); ++s) {
    const char* name = kConformanceStreams[s];
    std::vector<uint8_t> bits, ref;
    ASSERT_TRUE(ReadConformanceStream(name, &bits, &ref)) << name;
    DecodedStream out = DecodeWholeStream(bits, 32);
    Difference diff = Compare(out.pcm, ref, 0);
    EXPECT_GT(diff.count, ref.size() / 4) << name;
    EXPECT_LE(diff.maxAbs, 1) << name;
  }
  for (const CodeTable& t : kCodeTables) {
    std::string missing;
    for (int x = 0; x < t.size; ++x)
      for (int y = 0; y < t.size; ++y) {
        unsigned long seen = 0;
        for (int table = t.first; table <= t.last; ++table) seen += gSeen[table][x][y];
        if (!seen) missing += " (" + std::to_string(x) + "," + std::to_string(y) + ")";
      }
    EXPECT_TRUE(missing.empty()) << "table " << t.first << " never uses" << missing;
  }
}

}  // namespace
