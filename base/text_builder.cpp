#include "base/text_builder.h"

void TextBuilderStart(TextBuilder* builder, wchar_t* buffer, size_t capacity) {
  builder->text = buffer;
  builder->capacity = capacity;
  builder->length = 0;
  builder->overflow = capacity == 0;
  if (capacity) buffer[0] = 0;
}

void TextAppendChar(TextBuilder* builder, wchar_t c) {
  if (builder->length + 1 >= builder->capacity) {
    builder->overflow = 1;
    return;
  }
  builder->text[builder->length++] = c;
  builder->text[builder->length] = 0;
}

void TextAppend(TextBuilder* builder, const wchar_t* text) {
  for (; *text; ++text) TextAppendChar(builder, *text);
}

void TextAppendNumber(TextBuilder* builder, uint64_t value, int minDigits) {
  wchar_t digits[24];
  int count = 0;
  do {
    digits[count++] = static_cast<wchar_t>(L'0' + value % 10);
    value /= 10;
  } while (value && count < 24);
  while (count < minDigits && count < 24) digits[count++] = L'0';
  while (count) TextAppendChar(builder, digits[--count]);
}
