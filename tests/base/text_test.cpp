// The ground floor's text helpers: code-page conversion, the time-of-recording
// text and its parser.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "base/code_page.h"
#include "base/recording_time.h"

namespace {

std::wstring Time(uint32_t seconds) {
  wchar_t text[kRecordingTimeChars];
  FormatRecordingTime(seconds, text, kRecordingTimeChars);
  return text;
}

TEST(RecordingTime, ShortFormBelowOneHourUnpaddedHoursAboveCutAtTheBuffer) {
  struct { uint32_t seconds; const wchar_t* text; } cases[] = {
      {0, L"00:00"}, {187, L"03:07"}, {3599, L"59:59"}, {3600, L"1:00:00"}, {3729, L"1:02:09"},
      {4294967295u, L"1193046:28:15"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Time(c.seconds), c.text) << c.seconds;
    EXPECT_EQ(ParseRecordingTime(c.text), c.seconds) << "read back";
  }
  wchar_t text[4] = {L'x', L'x', L'x', L'x'};
  FormatRecordingTime(3729, text, 4);
  EXPECT_STREQ(text, L"1:0");
  wchar_t none[1] = {L'x'};
  EXPECT_EQ(FormatRecordingTime(75, none, 1), 0u);
  EXPECT_EQ(none[0], 0);
}

TEST(PositionParser, GroupsShiftByMinutesAndHours) {
  struct { const wchar_t* text; uint32_t seconds; } cases[] = {
      {L"90", 90},      {L"1:30", 90},  {L"1:02:09>", 3729}, {L"   03:07", 187}, {L"2:99:99", 2 * 3600 + 99 * 60 + 99},
      {L"   ", 0},      {L"x12", 0},    {L"-5", 0},          {L"12 34", 12},     {L"5:", 300},
      {L":30", 30},     {L"1:2:3:4", ((1 * 60 + 2) * 60 + 3) * 60 + 4},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseRecordingTime(c.text), c.seconds) << "'" << std::wstring(c.text).size();
}

}  // namespace

TEST(CodePages, PortableConverters) {
  struct { const char* bytes; const wchar_t* wide; } utf8[] = {
      // Two and three bytes; outside the BMP a surrogate pair; a cut sequence, an
      // overlong form, an encoded surrogate and a stray continuation byte.
      {"\xC3\x96" "ffnen", L"\u00D6ffnen"}, {"\xE2\x82\xAC", L"\u20AC"}, {"\xF0\x9F\x8E\xB5", L"\xD83C\xDFB5"},
      {"a\xC3", L"a\uFFFD"}, {"\xC0\xAF" "x", L"\uFFFD\uFFFDx"}, {"\xED\xA0\x80", L"\uFFFD\uFFFD\uFFFD"},
      {"\x80", L"\uFFFD"},
  };
  for (const auto& c : utf8) {
    wchar_t out[16];
    Utf8ToWide(c.bytes, strlen(c.bytes), out, 16);
    EXPECT_EQ(std::wstring(out), std::wstring(c.wide)) << c.bytes;
  }
  struct { const char* bytes; const wchar_t* wide; } western[] = {
      {"\xD6\xFF", L"\u00D6\u00FF"}, {"\x80\x85\x9F", L"\u20AC\u2026\u0178"}, {"\x81", L"\u0081"},
  };
  for (const auto& c : western) {
    wchar_t out[16];
    Cp1252ToWide(c.bytes, strlen(c.bytes), out, 16);
    EXPECT_EQ(std::wstring(out), std::wstring(c.wide));
  }
  // Bounded: a pair that does not fit whole is left out.
  wchar_t out[3];
  EXPECT_EQ(Utf8ToWide("a\xF0\x9F\x8E\xB5", 5, out, 3), 1u);
  EXPECT_EQ(Cp1252ToWide("abcdef", 6, out, 3), 2u);
  EXPECT_STREQ(out, L"ab");
  EXPECT_EQ(CodePageToWide(kCodePageUtf8, "\xC3\xBC", 2, out, 3), 1u);
  EXPECT_EQ(out[0], L'\u00FC');
  EXPECT_EQ(CodePageToWide(kCodePageWestern, "\xFC", 1, out, 3), 1u);
  EXPECT_EQ(out[0], L'\u00FC');
}
