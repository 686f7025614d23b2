// The file-information record that every input module fills for the current
// file, and the small text rules that the readers share.
#pragma once
#include <cstdint>

#include "base/text_limits.h"

constexpr int kCodecLabelChars = 16;
constexpr int kGenreChars = 32;
constexpr int kTagTextChars = 256;

struct FileInfo {
  uint16_t channelMode;  // 1 mono, 2 stereo, 3 joint stereo; other formats: channel count
  uint16_t track;
  uint16_t trackTotal;
  uint16_t beatsPerMinute;
  uint16_t year;  // 0 when none or below 1900
  uint32_t lengthSeconds;
  uint32_t sampleRate;
  int32_t bitRate;  // kbit/s; negative = average of a variable bit rate
  wchar_t codecLabel[kCodecLabelChars];
  wchar_t genre[kGenreChars];
  wchar_t title[kTagTextChars];
  wchar_t artist[kTagTextChars];
  wchar_t album[kTagTextChars];
  wchar_t comment[kTagTextChars];
};

// The record travels with the path of its file right behind it.
struct FileInfoBlock {
  FileInfo info;
  wchar_t path[kMaxPathChars + 1];
};

void FileInfoClear(FileInfo* info);
// Copies at most capacity - 1 characters and always terminates.
void FileInfoCopyText(wchar_t* dest, int capacity, const wchar_t* text);
// Strips leading and trailing blanks of the label and the tag texts.
void FileInfoTrimTexts(FileInfo* info);
// Leading decimal digits; 0 when the text does not start with one.
uint32_t FileInfoLeadingNumber(const wchar_t* text);
// Year text: its leading number, or 0 below 1900.
uint16_t FileInfoParseYear(const wchar_t* text);
// Track text "n/m": the first run of digits and the next one after a non-digit.
void FileInfoParseTrack(const wchar_t* text, uint16_t* track, uint16_t* total);
