// Text rules shared by the readers that fill the file-information record.
#include "file_info.h"

#include <cstring>

namespace {

int IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; }
int IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

void TrimText(wchar_t* text, int capacity) {
  int length = 0;
  while (length < capacity && text[length]) ++length;
  if (length == capacity) {  // never trust a record that lost its terminator
    text[capacity - 1] = 0;
    length = capacity - 1;
  }
  int start = 0;
  while (start < length && IsBlank(text[start])) ++start;
  int end = length;
  while (end > start && IsBlank(text[end - 1])) --end;
  memmove(text, text + start, static_cast<size_t>(end - start) * sizeof(wchar_t));
  text[end - start] = 0;
}

uint16_t ClampToU16(uint32_t value) { return value > 0xFFFF ? 0xFFFF : static_cast<uint16_t>(value); }

}  // namespace

void FileInfoClear(FileInfo* info) { memset(info, 0, sizeof *info); }

void FileInfoCopyText(wchar_t* dest, int capacity, const wchar_t* text) {
  if (capacity > 0) CopyTextBounded(dest, static_cast<size_t>(capacity), text);
}

void FileInfoTrimTexts(FileInfo* info) {
  TrimText(info->codecLabel, kCodecLabelChars);
  TrimText(info->genre, kGenreChars);
  TrimText(info->title, kTagTextChars);
  TrimText(info->artist, kTagTextChars);
  TrimText(info->album, kTagTextChars);
  TrimText(info->comment, kTagTextChars);
}

uint32_t FileInfoLeadingNumber(const wchar_t* text) {
  uint32_t value = 0;
  for (; IsDigit(*text); ++text) {
    value = value * 10 + static_cast<uint32_t>(*text - L'0');
    if (value > 100000000) break;  // far beyond any field; stops overflow
  }
  return value;
}

uint16_t FileInfoParseYear(const wchar_t* text) {
  uint32_t year = FileInfoLeadingNumber(text);
  return year < 1900 ? 0 : ClampToU16(year);
}

void FileInfoParseTrack(const wchar_t* text, uint16_t* track, uint16_t* total) {
  while (*text && !IsDigit(*text)) ++text;
  *track = ClampToU16(FileInfoLeadingNumber(text));
  while (IsDigit(*text)) ++text;
  while (*text && !IsDigit(*text)) ++text;
  *total = ClampToU16(FileInfoLeadingNumber(text));
}
