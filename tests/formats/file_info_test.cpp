// The text rules that every reader applies to the file-information record.
#include <gtest/gtest.h>

#include "formats/file_info.h"

TEST(FileInfoText, YearsAndTracks) {
  struct { const wchar_t* text; uint16_t year; } years[] = {
      {L"1899", 0}, {L"1900", 1900}, {L"2004-05-01", 2004}, {L"", 0}, {L"abc", 0}, {L"99999999999", 0xFFFF},
  };
  for (const auto& y : years) EXPECT_EQ(FileInfoParseYear(y.text), y.year);
  struct { const wchar_t* text; uint16_t track, total; } tracks[] = {
      {L"3/12", 3, 12}, {L"7", 7, 0}, {L"", 0, 0}, {L" 4 of 9", 4, 9}, {L"/5", 5, 0},
  };
  for (const auto& t : tracks) {
    uint16_t track = 99, total = 99;
    FileInfoParseTrack(t.text, &track, &total);
    EXPECT_EQ(track, t.track);
    EXPECT_EQ(total, t.total);
  }
}

TEST(FileInfoText, TrimAndBoundedCopy) {
  FileInfo info{};
  FileInfoCopyText(info.title, kTagTextChars, L"  Interview one \t");
  FileInfoCopyText(info.codecLabel, kCodecLabelChars, L"A label much longer than sixteen");
  FileInfoCopyText(info.artist, kTagTextChars, L"   ");
  FileInfoTrimTexts(&info);
  EXPECT_STREQ(info.title, L"Interview one");
  EXPECT_STREQ(info.codecLabel, L"A label much lo");
  EXPECT_STREQ(info.artist, L"");
  // A record that lost its terminator is cut, not overrun.
  for (wchar_t& c : info.genre) c = L'x';
  FileInfoTrimTexts(&info);
  EXPECT_EQ(wcslen(info.genre), size_t(kGenreChars - 1));
}
