// Numbers in settings values: integers, "#" hex lists and signed lists, the font text.
#include <gtest/gtest.h>

#include <cstring>

#include "settings/settings_lists.h"

namespace {

TEST(SettingsNumbers, UnsignedText) {
  struct {
    const char* text;
    uint32_t value;
    int found;
  } cases[] = {
      {"0", 0, 1},           {"42", 42, 1},       {"4294967295", 0xFFFFFFFFu, 1}, {"99999999999", 0xFFFFFFFFu, 1},
      {"-1", 0xFFFFFFFFu, 1}, {"  7", 7, 1},      {"12abc", 12, 1},               {"", 0, 0},
      {"abc", 0, 0},          {"+5", 5, 1},
  };
  for (const auto& c : cases) {
    int found = -1;
    EXPECT_EQ(ParseUnsignedText(c.text, &found), c.value) << c.text;
    EXPECT_EQ(found, c.found) << c.text;
  }
}

TEST(SettingsNumbers, ReadList) {
  struct {
    const char* text;
    int count;
    int found;
    uint32_t values[4];
  } cases[] = {
      {"#ff,10,0", 3, 3, {0xff, 0x10, 0}},
      {"#FFFFFFFF,123456789", 2, 2, {0xFFFFFFFFu, 0xFFFFFFFFu}},
      {"10,-20,30", 3, 3, {10, static_cast<uint32_t>(-20), 30}},
      {"1,2,3,4", 2, 2, {1, 2}},
      {"1,2", 4, 2, {1, 2, 0, 0}},
      {"5\r\n6", 2, 1, {5, 0}},
      {"1,x,3", 3, 1, {1, 0, 0}},
      {"", 2, 0, {0, 0}},
      {"#", 2, 0, {0, 0}},
      {" 1 , 2", 2, 2, {1, 2}},
      {"-2147483649", 1, 1, {0x80000000u}},
      {"#zz", 1, 0, {0}},
  };
  for (const auto& c : cases) {
    uint32_t values[4] = {9, 9, 9, 9};
    EXPECT_EQ(ReadList(c.text, values, c.count), c.found) << c.text;
    for (int i = 0; i < c.count; i++) EXPECT_EQ(values[i], c.values[i]) << c.text << " value " << i;
    for (int i = c.count; i < 4; i++) EXPECT_EQ(values[i], 9u) << c.text << " beyond the count";
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
  FormatList(text, sizeof text, values, 0, 1, 0);
  EXPECT_STREQ(text, "#");
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
  uint64_t face = SplitFontText(full, numbers);
  EXPECT_STREQ(full + face, "Courier, New");
  const int32_t expected[kFontNumbers] = {-16, 0, 0, 0, 700, 1, 0, 0, 204, 3, 2, 1, 49};
  for (int i = 0; i < kFontNumbers; i++) EXPECT_EQ(numbers[i], expected[i]) << i;

  const char shortText[] = "-12,0,0";
  face = SplitFontText(shortText, numbers);
  EXPECT_EQ(face, strlen(shortText));
  EXPECT_EQ(numbers[0], -12);
  EXPECT_EQ(numbers[3], 0);

  const char emptyFields[] = ",,,,400,,,,,,,,,Arial";
  face = SplitFontText(emptyFields, numbers);
  EXPECT_STREQ(emptyFields + face, "Arial");
  EXPECT_EQ(numbers[4], 400);
}

}  // namespace
