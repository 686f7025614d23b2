// The text of the marks that tie a transcript to its recording: quoted paths,
// file dates, the mark wrapping and the reading of a mark line for Go to.
// Portable: no windows.h.
#pragma once
#include <cstddef>
#include <cstdint>

#include "base/text_builder.h"
#include "base/text_limits.h"

constexpr size_t kMarkContentChars = 1200;  // content inside the angle brackets
constexpr size_t kMarkLineChars = 1300;     // "\r\n<content>"
constexpr size_t kMarkDateChars = 24;

constexpr wchar_t kSoundCueLabel[] = L"Sound Cue:";
constexpr wchar_t kSoundFileLabel[] = L"Sound File:";
constexpr wchar_t kTextFileLabel[] = L"Text File:";

// The path unchanged, or in double quotes with inner quotes as \" when it
// holds a blank or a double quote. Returns the length; 0 when it does not fit.
size_t QuotePath(const wchar_t* path, wchar_t* out, size_t capacity);

// A calendar time as the marks show it, day first.
struct MarkDate {
  uint16_t day, month, year, hour, minute, second;
};
// "%02u.%02u.%04u %02u:%02u:%02u". Returns the length.
size_t FormatMarkDate(const MarkDate* date, wchar_t* out, size_t capacity);
// File times (100 ns since 1601, UTC) before 1979-12-31 22:46:40 are written as the all-zero date.
constexpr uint64_t kOldestMarkFileTime = (uint64_t{27846549} << 32) | 0xA33AC800u;
int IsZeroDateFileTime(uint64_t fileTime);

// "\r\n<content>". Returns the length; 0 when it does not fit.
size_t WrapMark(const wchar_t* content, wchar_t* out, size_t capacity);

// What Go to finds on a line: a sound file to open and a position to seek to.
struct GoToTarget {
  wchar_t soundPath[kMaxPathChars + 1];  // empty: no file part
  int hasCue;
  uint32_t cueSeconds;
};
// Reads the "Sound File:" and "Sound Cue:" parts after the line's first "<".
void ParseGoToLine(const wchar_t* line, GoToTarget* target);
