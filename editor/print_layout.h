// The printed page's layout over plain text: lines wider than the page are
// wrapped at blanks by measured width onto further printed lines, pages hold
// a whole number of lines, and copies come collated or page by page. The
// measuring is the caller's (the printer's font); nothing here draws.
// Portable: no windows.h.
#pragma once
#include <cstddef>
#include <cstdint>

// One line of the document as the editor counts it: where it starts in the
// text and how long it is, without its line break.
struct PrintLine {
  size_t start;
  size_t length;
};
struct PrintText {
  const wchar_t* text;
  const PrintLine* lines;
  uint32_t lineCount;
};

// How many of the count characters of text fit in width; the caller's font
// measures them.
using PrintFitRoutine = size_t (*)(void* context, const wchar_t* text, size_t count, int32_t width);
struct PrintMeasure {
  PrintFitRoutine fit;
  void* context;
  int32_t width;
};
// A line is measured this many characters at a time; no page is wider.
constexpr size_t kPrintMeasureChars = 4096;

// Where the next printed line begins.
struct PrintCursor {
  uint32_t line;
  size_t offset;
};

int PrintAtEnd(const PrintText* text, const PrintCursor* cursor);
// The next printed line: *piece and *count (an empty line gives 0
// characters). The cursor moves past it and past the blanks where the line was
// wrapped. Returns 0 at the end of the text.
int PrintNextPiece(const PrintText* text, const PrintMeasure* measure, PrintCursor* cursor, const wchar_t** piece,
                   size_t* count);

// Whole lines of lineHeight in pageHeight, at least one.
uint32_t PrintLinesPerPage(int32_t pageHeight, int32_t lineHeight);

// Copies collated: the page sequence "copies" times over (passes), each page
// once. Not collated: one pass, each page "copies" times in a row (repeats).
struct PrintCopies {
  uint32_t passes;
  uint32_t repeats;
};
PrintCopies PrintCopyPlan(uint32_t copies, int collate);
