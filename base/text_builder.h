// Bounded text assembly: appends stop at the capacity and mark the overflow,
// so a caller builds a text piece by piece and checks once at the end.
#pragma once
#include <cstddef>
#include <cstdint>

struct TextBuilder {
  wchar_t* text;
  size_t capacity;  // including the terminating zero
  size_t length;
  int overflow;
};

void TextBuilderStart(TextBuilder* builder, wchar_t* buffer, size_t capacity);
void TextAppend(TextBuilder* builder, const wchar_t* text);
void TextAppendChar(TextBuilder* builder, wchar_t c);
// Decimal digits, zero-padded to at least minDigits.
void TextAppendNumber(TextBuilder* builder, uint64_t value, int minDigits);
