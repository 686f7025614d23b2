// The mark texts: quoted paths, the Go to reading of a mark line, the date
// text and its zero date.
#include <gtest/gtest.h>

#include <string>

#include "editor/mark_text.h"

namespace {

std::wstring Quote(const wchar_t* path) {
  wchar_t text[kMaxPathChars * 2 + 3];
  QuotePath(path, text, sizeof text / sizeof text[0]);
  return text;
}

TEST(QuotedPath, OnlyBlanksAndQuotesAreQuoted) {
  EXPECT_EQ(Quote(L"C:\\talks\\one.wav"), L"C:\\talks\\one.wav");
  EXPECT_EQ(Quote(L"C:\\my talks\\one.wav"), L"\"C:\\my talks\\one.wav\"");
  EXPECT_EQ(Quote(L"a\"b.wav"), L"\"a\\\"b.wav\"");
  EXPECT_EQ(Quote(L""), L"");
}

TEST(QuotedPath, RefusesWhatDoesNotFit) {
  wchar_t text[8];
  EXPECT_EQ(QuotePath(L"abcdefg", text, 8), 7u);
  EXPECT_EQ(QuotePath(L"abcdefgh", text, 8), 0u);
  EXPECT_STREQ(text, L"");
  EXPECT_EQ(QuotePath(L"a b c", text, 8), 7u);
  EXPECT_EQ(QuotePath(L"a b cd", text, 8), 0u);
}

GoToTarget Parse(const std::wstring& line) {
  GoToTarget target;
  ParseGoToLine(line.c_str(), &target);
  return target;
}

// What a sound mark writes must come back from Go to unchanged.
TEST(GoToLine, SoundPathsRoundTrip) {
  const wchar_t* paths[] = {
      L"C:\\talks\\one.wav", L"C:\\my talks\\one two.wav", L"Z:\\q\"uote\\x.wav", L"\\\\server\\share\\a b\\c.mp3",
  };
  for (const wchar_t* path : paths) {
    wchar_t content[kMarkContentChars], line[kMarkLineChars];
    std::wstring body = std::wstring(kSoundFileLabel) + L" " + Quote(path);
    ASSERT_TRUE(WrapMark(body.c_str(), line, kMarkLineChars));
    GoToTarget plain = Parse(line);
    EXPECT_STREQ(plain.soundPath, path);
    EXPECT_FALSE(plain.hasCue);
    std::wstring verbose = body + L" 123456 01.02.2020 10:11:12 Sound Cue:1:02:09";
    ASSERT_TRUE(WrapMark(verbose.c_str(), content, kMarkContentChars));
    GoToTarget both = Parse(std::wstring(L"said so ") + content + L" and more text");
    EXPECT_STREQ(both.soundPath, path);
    EXPECT_TRUE(both.hasCue);
    EXPECT_EQ(both.cueSeconds, 3729u);
  }
}

// A plain cue mark and a plain path are the panel tests' and the round trip's.
TEST(GoToLine, PartsAndTheirEnds) {
  struct { const wchar_t* line; const wchar_t* path; int hasCue; uint32_t seconds; } cases[] = {
      {L"<Sound Cue:90> more", L"", 1, 90},
      {L"text <Sound Cue:   1:00:00>", L"", 1, 3600},
      {L"<Sound File:C:\\a.wav 12 01.01.2001 00:00:00>", L"C:\\a.wav", 0, 0},
      {L"<Sound File: \"C:\\a b.wav>", L"C:\\a b.wav", 0, 0},  // the quote is never closed
      {L"Sound Cue: 00:05 without a bracket", L"", 0, 0},
      {L"<Text File: C:\\t.txt>", L"", 0, 0},
      {L"", L"", 0, 0},
      {L"<Sound Cue: x>", L"", 1, 0},
  };
  for (const auto& c : cases) {
    GoToTarget target = Parse(c.line);
    EXPECT_STREQ(target.soundPath, c.path) << std::wstring(c.line).size();
    EXPECT_EQ(target.hasCue, c.hasCue);
    EXPECT_EQ(target.cueSeconds, c.seconds);
  }
}

TEST(GoToLine, APathLongerThanThePathLimitIsCut) {
  std::wstring line = L"<Sound File: " + std::wstring(3000, L'a') + L">";
  GoToTarget target = Parse(line);
  EXPECT_EQ(std::wstring(target.soundPath), std::wstring(kMaxPathChars, L'a'));
}

TEST(MarkDate, DayFirstAndAllZero) {
  wchar_t text[kMarkDateChars];
  MarkDate date = {7, 3, 2026, 9, 5, 0};
  FormatMarkDate(&date, text, kMarkDateChars);
  EXPECT_STREQ(text, L"07.03.2026 09:05:00");
  MarkDate zero{};
  FormatMarkDate(&zero, text, kMarkDateChars);
  EXPECT_STREQ(text, L"00.00.0000 00:00:00");
}

TEST(MarkLine, WrappedOnALineOfItsOwn) {
  wchar_t line[32];
  EXPECT_EQ(WrapMark(L"Sound Cue: 03:07", line, 32), 20u);
  EXPECT_STREQ(line, L"\r\n<Sound Cue: 03:07>");
  wchar_t small[8];
  EXPECT_EQ(WrapMark(L"Sound Cue: 03:07", small, 8), 0u) << "never a cut mark";
  EXPECT_STREQ(small, L"");
}

}  // namespace
