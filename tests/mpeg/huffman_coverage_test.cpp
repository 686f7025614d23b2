// The Huffman code tables are confirmed code word by code word: the Layer III
// conformance streams use every code word of every table, and each stream
// decodes to within 1 LSB of its reference output. A wrong pair for any code
// word would show there as a wrong spectral value or a lost bit position.
#include <gtest/gtest.h>

#include <string>

#include "mpeg_decode_helpers.h"
#include "test_support.h"

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

const char* const kLayer3Streams[] = {
    "l3-compl",  "l3-he_32khz", "l3-he_44khz",         "l3-he_48khz",         "l3-he_free",
    "l3-he_mode", "l3-hecommon", "l3-si",              "l3-si_block",         "l3-si_huff",
    "l3-sin1k0db", "M2L3_bitrate_16_all", "M2L3_bitrate_22_all", "M2L3_bitrate_24_all", "M2L3_compl24",
    "M2L3_noise"};

TEST(HuffmanTables, EveryCodeWordIsConfirmedByTheConformanceStreams) {
  std::wstring folder = TestFolder("TPWR_TESTDATA");
  ASSERT_FALSE(folder.empty()) << "TPWR_TESTDATA is not set";
  for (const char* name : kLayer3Streams) {
    std::string base = std::string("mpeg-conformance/") + name;
    std::vector<uint8_t> bits = ReadWholeFile(TestPath(folder, base + ".bit"));
    std::vector<uint8_t> ref = ReadWholeFile(TestPath(folder, base + ".pcm"));
    ASSERT_FALSE(bits.empty() || ref.empty()) << name;
    DecodedStream out = DecodeWholeStream(bits, 32);
    Difference diff = Compare(out.pcm, ref, 0);
    EXPECT_GT(diff.count, ref.size() / 4) << name;
    EXPECT_LE(diff.maxAbs, 1) << name;
  }
  long words = 0;
  for (const CodeTable& t : kCodeTables) {
    std::string missing;
    for (int x = 0; x < t.size; ++x)
      for (int y = 0; y < t.size; ++y) {
        unsigned long seen = 0;
        for (int table = t.first; table <= t.last; ++table) seen += gSeen[table][x][y];
        if (!seen) missing += " (" + std::to_string(x) + "," + std::to_string(y) + ")";
        ++words;
      }
    EXPECT_TRUE(missing.empty()) << "table " << t.first << " never uses" << missing;
  }
  EXPECT_EQ(words, 1410);
}

}  // namespace
