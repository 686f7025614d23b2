// Wrapping for the printout: a line that does not fit the page goes on in
// further printed lines instead of being cut.
#include "editor/print_layout.h"

namespace {

int IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == 0x3000; }
int IsHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }

// Where to end a printed line of rest when only fits characters fit: after
// the last word that fits, else (one long word) right at the page edge,
// never between the halves of a surrogate pair.
size_t BreakPoint(const wchar_t* rest, size_t remaining, size_t fits, size_t* next) {
  for (size_t at = fits; at > 0; --at) {
    if (!IsBlank(rest[at])) continue;
    size_t end = at;
    while (end > 0 && IsBlank(rest[end - 1])) --end;
    if (end == 0) break;  // only blanks in front: the word itself is too long
    *next = at;
    while (*next < remaining && IsBlank(rest[*next])) ++*next;
    return end;
  }
  size_t end = fits ? fits : 1;
  if (IsHighSurrogate(rest[end - 1])) end = end > 1 ? end - 1 : 2;
  if (end > remaining) end = remaining;
  *next = end;
  return end;
}

}  // namespace

int PrintAtEnd(const PrintText* text, const PrintCursor* cursor) { return cursor->line >= text->lineCount; }

int PrintNextPiece(const PrintText* text, const PrintMeasure* measure, PrintCursor* cursor, const wchar_t** piece,
                   size_t* count) {
  if (PrintAtEnd(text, cursor)) return 0;
  const PrintLine& line = text->lines[cursor->line];
  const wchar_t* rest = text->text + line.start + cursor->offset;
  size_t remaining = line.length - cursor->offset;
  size_t measured = remaining < kPrintMeasureChars ? remaining : kPrintMeasureChars;
  size_t fits = measured ? measure->fit(measure->context, rest, measured, measure->width) : 0;
  *piece = rest;
  if (fits >= remaining) {
    *count = remaining;
    cursor->line++;
    cursor->offset = 0;
    return 1;
  }
  size_t next = 0;
  *count = BreakPoint(rest, remaining, fits, &next);
  cursor->offset += next;
  if (cursor->offset >= line.length) {
    cursor->line++;
    cursor->offset = 0;
  }
  return 1;
}

uint32_t PrintLinesPerPage(int32_t pageHeight, int32_t lineHeight) {
  if (lineHeight <= 0 || pageHeight < lineHeight) return 1;
  return static_cast<uint32_t>(pageHeight / lineHeight);
}

PrintCopies PrintCopyPlan(uint32_t copies, int collate) {
  if (copies == 0) copies = 1;
  return collate ? PrintCopies{copies, 1} : PrintCopies{1, copies};
}
