// How transcript bytes become text: each encoding recognised with or without
// its byte-order mark, and what cannot be shown as stored reported.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/text_decode.h"

namespace {

TEST(TextDecode, EncodingsAndProblems) {
  struct {
    std::vector<unsigned char> bytes;
    std::wstring text;
    uint32_t problems;
  } cases[] = {
      {{}, L"", 0},
      {{'p', 'l', 'a', 'i', 'n'}, L"plain", 0},
      {{'C', 'a', 'f', 0xE9}, L"Caf\u00E9", 0},                                // ANSI: not UTF-8
      {{'G', 'r', 0xC3, 0xBC, 0xC3, 0x9F, 'e'}, L"Gr\u00FC\u00DFe", 0},         // UTF-8 without a mark
      {{0xEF, 0xBB, 0xBF, 0xD0, 0x9F, 0xD1, 0x80}, L"\u041F\u0440", 0},          // UTF-8 with one
      {{0xF0, 0x9F, 0x8E, 0xA7, '!'}, L"\xD83C\xDFA7!", 0},                     // beyond the BMP
      {{0xEF, 0xBB, 0xBF, 'a', 0xFF, 'b'}, L"a\uFFFDb", kTextProblemInvalidUtf8},
      {{0xFF, 0xFE}, L"", 0},                                                   // an empty UTF-16 file
      {{0xFF, 0xFE, 'A', 0, 'B', 0}, L"AB", 0},
      {{0xFE, 0xFF, 0, 'A', 0, 'B'}, L"AB", 0},
      {{0xFF, 0xFE, 'A', 0, 'B'}, L"A", kTextProblemOddByte},
      {{'H', 0, 'i', 0, '\r', 0, '\n', 0}, L"Hi\r\n", 0},                       // UTF-16 LE by its zeros
      {{0, 'H', 0, 'i'}, L"Hi", 0},                                             // UTF-16 BE by its zeros
      {{'h', 'e', 'l', 'l', 'o', 0, 'w', 'o', 'r', 'l', 'd'}, L"hello world", kTextProblemNul},
      {{0xFF, 0xFE, 'a', 0, 0, 0, 'b', 0}, L"a b", kTextProblemNul},
  };
  for (const auto& c : cases) {
    TextBuffer buffer{};
    ASSERT_TRUE(TextFileDecode(c.bytes.data(), c.bytes.size(), &buffer));
    EXPECT_EQ(std::wstring(buffer.text, buffer.length), c.text) << c.bytes.size() << " bytes";
    EXPECT_EQ(buffer.text[buffer.length], 0);
    EXPECT_EQ(buffer.problems, c.problems) << std::string(c.text.begin(), c.text.end());
    TextBufferFree(&buffer);
  }
}

}  // namespace
