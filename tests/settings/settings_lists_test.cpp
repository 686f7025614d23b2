// Numbers in settings values: integers, "#" hex lists and signed lists, the font text.
#include <gtest/gtest.h>

#include <cstring>

#include "settings/settings_lists.h"

namespace {

TEST(SettingsNumbers, UnsignedText) {
  struct { const char* text; uint32_t value; int found; } cases[] = {
      {"4294967295", 0xFFFFFFFFu, 1}, {"99999999999", 0xFFFFFFFFu, 1}, {"-1", 0xFFFFFFFFu, 1}, {"+5", 5, 1},
      {"  7", 7, 1},                  {"12abc", 12, 1},                {"abc", 0, 0},
  };
  for (const auto& c : cases) {
    int found = -1;
    EXPECT_EQ(ParseUnsignedText(c.text, &found), c.value) << c.text;
    EXPECT_EQ(found, c.found) << c.text;
  }
}

TEST(SettingsNumbers, ReadList) {
  // Values beyond the count stay untouched; the rest of the count is zero-filled.
  struct { const char* text; int count, found; uint32_t values[4]; } cases[] = {
      {"#ff,10,0", 3, 3, {0xff, 0x10, 0}}, {"#FFFFFFFF,123456789", 2, 2, {0xFFFFFFFFu, 0xFFFFFFFFu}},
      {"10,-20,30", 3, 3, {10, static_cast<uint32_t>(-20), 30}}, {"-2147483649", 1, 1, {0x80000000u}},
      {"1,2,3,4", 2, 2, {1, 2}},   {"1,2", 4, 2, {1, 2, 0, 0}}, {"5\r\n6", 2, 1, {5, 0}},
      {"1,x,3", 3, 1, {1, 0, 0}}, {"#", 2, 0, {0, 0}},         {" 1 , 2", 2, 2, {1, 2}},
  };
  for (const auto& c : cases) {
    uint32_t values[4] = {9, 9, 9, 9};
    EXPECT_EQ(ReadList(c.text, values, c.count), c.found) << c.text;
    for (int i = 0; i < 4; i++) EXPECT_EQ(values[i], i < c.count ? c.values[i] : 9u) << c.text << " value " << i;
  }
}

TEST(SettingsNumbers, FormatList) {
  const uint32_t values[] = {0xFFFFFF, 0, static_cast<uint32_t>(-5)};
  char text[64];
  EXPECT_EQ(FormatList(text, sizeof text, values, 3, 1, 0), strlen("#ffffff,0,fffffffb"));
  EXPECT_STREQ(text, "#ffffff,0,fffffffb");
  FormatList(text, sizeof text, values, 3, 0, 1);
  EXPECT_STREQ(text, "16777215,0,-5");
  FormatList(text, sizeof text, values, 3, 0, 0);
  EXPECT_STREQ(text, "16777215,0,4294967291");
  // Too small: nothing half-written.
  char small[8];
  EXPECT_EQ(FormatList(small, sizeof small, values, 3, 1, 0), 0u);
  EXPECT_STREQ(small, "");
  EXPECT_EQ(FormatList(small, 1, values, 1, 1, 0), 0u);
  EXPECT_EQ(FormatList(small, 0, values, 1, 1, 0), 0u);
}

TEST(SettingsNumbers, FontText) {
  int32_t numbers[kFontNumbers];
  const char full[] = "-16,0,0,0,700,1,0,0,204,3,2,1,49,Courier, New";
  EXPECT_STREQ(full + SplitFontText(full, numbers), "Courier, New");
  const int32_t expected[kFontNumbers] = {-16, 0, 0, 0, 700, 1, 0, 0, 204, 3, 2, 1, 49};
  EXPECT_EQ(memcmp(numbers, expected, sizeof numbers), 0);
  const char shortText[] = "-12,0,0";
  EXPECT_EQ(SplitFontText(shortText, numbers), strlen(shortText));
  EXPECT_EQ(numbers[0], -12);
  const char emptyFields[] = ",,,,400,,,,,,,,,Arial";
  EXPECT_STREQ(emptyFields + SplitFontText(emptyFields, numbers), "Arial");
  EXPECT_EQ(numbers[4], 400);
}

}  // namespace
