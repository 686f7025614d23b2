// Mark texts: formatting and reading, with every copy bounded.
#include "mark_text.h"

#include <cwchar>

#include "base/recording_time.h"

size_t QuotePath(const wchar_t* path, wchar_t* out, size_t capacity) {
  TextBuilder builder;
  TextBuilderStart(&builder, out, capacity);
  if (!wcschr(path, L' ') && !wcschr(path, L'"')) {
    TextAppend(&builder, path);
  } else {
    TextAppendChar(&builder, L'"');
    for (const wchar_t* c = path; *c; ++c) {
      if (*c == L'"') TextAppendChar(&builder, L'\\');
      TextAppendChar(&builder, *c);
    }
    TextAppendChar(&builder, L'"');
  }
  if (builder.overflow) {
    if (capacity) out[0] = 0;
    return 0;
  }
  return builder.length;
}

size_t FormatMarkDate(const MarkDate* date, wchar_t* out, size_t capacity) {
  TextBuilder builder;
  TextBuilderStart(&builder, out, capacity);
  TextAppendNumber(&builder, date->day, 2);
  TextAppendChar(&builder, L'.');
  TextAppendNumber(&builder, date->month, 2);
  TextAppendChar(&builder, L'.');
  TextAppendNumber(&builder, date->year, 4);
  TextAppendChar(&builder, L' ');
  TextAppendNumber(&builder, date->hour, 2);
  TextAppendChar(&builder, L':');
  TextAppendNumber(&builder, date->minute, 2);
  TextAppendChar(&builder, L':');
  TextAppendNumber(&builder, date->second, 2);
  return builder.length;
}

int IsZeroDateFileTime(uint64_t fileTime) { return fileTime < kOldestMarkFileTime; }

size_t WrapMark(const wchar_t* content, wchar_t* out, size_t capacity) {
  TextBuilder builder;
  TextBuilderStart(&builder, out, capacity);
  TextAppend(&builder, L"\r\n<");
  TextAppend(&builder, content);
  TextAppendChar(&builder, L'>');
  if (builder.overflow) {
    if (capacity) out[0] = 0;
    return 0;
  }
  return builder.length;
}

namespace {

// The text after label in the part of the line behind its first "<", blanks skipped.
const wchar_t* AfterLabel(const wchar_t* line, const wchar_t* label) {
  const wchar_t* open = wcschr(line, L'<');
  if (!open) return nullptr;
  const wchar_t* found = wcsstr(open + 1, label);
  if (!found) return nullptr;
  found += wcslen(label);
  while (*found == L' ') ++found;
  return found;
}

// A quoted path ends at the next quote that is not written as \" (QuotePath
// writes inner quotes that way); a bare one at the first blank. Both end at ">".
void ReadMarkPath(const wchar_t* from, wchar_t* out, size_t capacity) {
  TextBuilder builder;
  TextBuilderStart(&builder, out, capacity);
  int quoted = *from == L'"';
  if (quoted) ++from;
  for (size_t taken = 0; *from && *from != L'>' && taken < kMaxPathChars; ++from, ++taken) {
    if (quoted && from[0] == L'\\' && from[1] == L'"') {
      ++from;
    } else if (quoted ? *from == L'"' : *from == L' ') {
      break;
    }
    TextAppendChar(&builder, *from);
  }
}

}  // namespace

void ParseGoToLine(const wchar_t* line, GoToTarget* target) {
  target->soundPath[0] = 0;
  target->hasCue = 0;
  target->cueSeconds = 0;
  if (const wchar_t* path = AfterLabel(line, kSoundFileLabel))
    ReadMarkPath(path, target->soundPath, kMaxPathChars + 1);
  if (const wchar_t* cue = AfterLabel(line, kSoundCueLabel)) {
    target->hasCue = 1;
    target->cueSeconds = ParseRecordingTime(cue);
  }
}
