#include "base/recording_time.h"

#include "base/text_builder.h"

size_t FormatRecordingTime(uint32_t seconds, wchar_t* out, size_t capacity) {
  TextBuilder builder;
  TextBuilderStart(&builder, out, capacity);
  uint32_t hours = seconds / 3600;
  uint32_t rest = seconds % 3600;
  if (hours) {
    TextAppendNumber(&builder, hours, 1);
    TextAppendChar(&builder, L':');
  }
  TextAppendNumber(&builder, rest / 60, 2);
  TextAppendChar(&builder, L':');
  TextAppendNumber(&builder, rest % 60, 2);
  return builder.length;
}

uint32_t ParseRecordingTime(const wchar_t* text) {
  while (*text == L' ') ++text;
  uint32_t shifted = 0;
  uint32_t group = 0;
  for (; *text; ++text) {
    if (*text >= L'0' && *text <= L'9') {
      group = group * 10 + static_cast<uint32_t>(*text - L'0');
    } else if (*text == L':') {
      shifted = (shifted + group) * 60;
      group = 0;
    } else {
      break;
    }
  }
  return shifted + group;
}
