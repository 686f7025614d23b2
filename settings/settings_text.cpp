#include "settings/settings_text.h"

#include <cstdlib>
#include <cstring>

namespace {

int IsLineBreak(char c) { return c == '\r' || c == '\n'; }

// Offset of the CR, LF or NUL that ends the line holding offset.
uint64_t LineEnd(const char* text, uint64_t offset) {
  while (text[offset] && !IsLineBreak(text[offset])) offset++;
  return offset;
}

// Offset of the next line's first byte: past the end of this line and past every
// line break behind it (empty lines are skipped).
uint64_t NextLine(const char* text, uint64_t offset) {
  offset = LineEnd(text, offset);
  while (IsLineBreak(text[offset])) offset++;
  return offset;
}

// Length of the bytes up to the first CR, LF or NUL.
uint64_t OneLineLength(const char* value) {
  uint64_t length = 0;
  while (value[length] && !IsLineBreak(value[length])) length++;
  return length;
}

int EndsWith(const char* bytes, uint64_t length, const char* tail) {
  uint64_t tailLength = strlen(tail);
  return length >= tailLength && memcmp(bytes + length - tailLength, tail, tailLength) == 0;
}

// Replaces the bytes [start, end) of the text with insert (insertLength bytes).
int Splice(SettingsText* text, uint64_t start, uint64_t end, const char* insert, uint64_t insertLength) {
  uint64_t removed = end - start;
  if (insertLength <= removed) {
    if (!text->bytes) return kTextUnchanged;
    memcpy(text->bytes + start, insert, insertLength);
    memmove(text->bytes + start + insertLength, text->bytes + end, text->length - end + 1);
    text->length -= removed - insertLength;
    return kTextChanged;
  }
  uint64_t newLength = text->length + (insertLength - removed);
  if (newLength >= SIZE_MAX) return kTextFailed;
  char* grown = static_cast<char*>(malloc(static_cast<size_t>(newLength + 1)));
  if (!grown) return kTextFailed;
  if (text->bytes) memcpy(grown, text->bytes, static_cast<size_t>(start));
  memcpy(grown + start, insert, static_cast<size_t>(insertLength));
  if (text->bytes) memcpy(grown + start + insertLength, text->bytes + end, static_cast<size_t>(text->length - end));
  grown[newLength] = 0;
  free(text->bytes);
  text->bytes = grown;
  text->length = newLength;
  return kTextChanged;
}

// Builds "key=value" plus CR LF, optionally preceded by CR LF and a header, into a
// new buffer. Returns null on allocation failure.
char* BuildLines(const char* lead, const char* section, const char* key, const char* value, uint64_t* length) {
  uint64_t leadLength = strlen(lead);
  uint64_t sectionLength = section ? strlen(section) : 0;
  uint64_t keyLength = strlen(key);
  uint64_t valueLength = OneLineLength(value);
  uint64_t total = leadLength + (section ? sectionLength + 4 : 0) + keyLength + 1 + valueLength + 2;
  char* lines = static_cast<char*>(malloc(static_cast<size_t>(total + 1)));
  if (!lines) return nullptr;
  char* out = lines;
  memcpy(out, lead, leadLength), out += leadLength;
  if (section) {
    *out++ = '[';
    memcpy(out, section, sectionLength), out += sectionLength;
    memcpy(out, "]\r\n", 3), out += 3;
  }
  memcpy(out, key, keyLength), out += keyLength;
  *out++ = '=';
  memcpy(out, value, valueLength), out += valueLength;
  memcpy(out, "\r\n", 2), out += 2;
  *out = 0;
  *length = total;
  return lines;
}

int InsertLines(SettingsText* text, uint64_t at, const char* lead, const char* section, const char* key,
                const char* value) {
  uint64_t length = 0;
  char* lines = BuildLines(lead, section, key, value, &length);
  if (!lines) return kTextFailed;
  int result = Splice(text, at, at, lines, length);
  free(lines);
  return result;
}

const char* TextOrEmpty(const SettingsText* text) { return text->bytes ? text->bytes : ""; }

}  // namespace

int SettingsTextAssign(SettingsText* text, const char* bytes, uint64_t length) {
  if (length >= SIZE_MAX) return 0;
  char* copy = static_cast<char*>(malloc(static_cast<size_t>(length + 1)));
  if (!copy) return 0;
  uint64_t used = 0;
  for (uint64_t i = 0; i < length; i++) {
    if (bytes[i])
      copy[used++] = bytes[i];
    else if (used && !IsLineBreak(copy[used - 1]) && i + 1 < length && bytes[i + 1] && !IsLineBreak(bytes[i + 1]))
      copy[used++] = '\n';  // the last NUL of a run between two pieces of line text
  }
  copy[used] = 0;
  free(text->bytes);
  text->bytes = copy;
  text->length = used;
  return 1;
}

void SettingsTextFree(SettingsText* text) {
  free(text->bytes);
  text->bytes = nullptr;
  text->length = 0;
}

int64_t SettingsFindSection(const char* text, const char* section) {
  if (!text || !section) return -1;
  uint64_t nameLength = strlen(section);
  for (const char* hit = strchr(text, '['); hit; hit = strchr(hit, '[')) {
    uint64_t offset = static_cast<uint64_t>(hit - text);
    // A UTF-8 file's byte order mark may stand before the first header.
    int lineStart = offset == 0 || text[offset - 1] == '\n' || (offset == 3 && memcmp(text, "\xEF\xBB\xBF", 3) == 0);
    if (lineStart && strncmp(hit + 1, section, nameLength) == 0 &&
        hit[1 + nameLength] == ']')
      return static_cast<int64_t>(offset);
    offset = LineEnd(text, offset);
    if (!text[offset]) break;
    hit = text + offset;
  }
  return -1;
}

uint64_t SettingsSectionEnd(const char* text, uint64_t sectionStart) {
  uint64_t line = NextLine(text, sectionStart);
  while (text[line] && text[line] != '[') line = NextLine(text, line);
  return line;
}

int SettingsFindKey(const char* text, const char* section, const char* key, SettingsEntry* entry) {
  if (!key) return 0;
  int64_t header = SettingsFindSection(text, section);
  if (header < 0) return 0;
  uint64_t keyLength = strlen(key);
  for (uint64_t line = NextLine(text, static_cast<uint64_t>(header)); text[line] && text[line] != '[';
       line = NextLine(text, line)) {
    if (strncmp(text + line, key, keyLength) != 0) continue;
    uint64_t at = line + keyLength;
    while (text[at] == ' ') at++;
    if (text[at] != '=') continue;
    at++;
    while (text[at] == ' ') at++;
    entry->lineStart = line;
    entry->valueStart = at;
    entry->valueEnd = LineEnd(text, at);
    uint64_t end = entry->valueEnd;
    if (text[end] == '\r') end++;
    if (text[end] == '\n') end++;
    entry->lineEnd = end;
    return 1;
  }
  return 0;
}

int SettingsTextRead(const char* text, const char* section, const char* key, char* buffer, uint64_t size) {
  if (size) buffer[0] = 0;
  SettingsEntry entry;
  if (!text || !SettingsFindKey(text, section, key, &entry)) return 0;
  if (!size) return 1;
  uint64_t length = entry.valueEnd - entry.valueStart;
  if (length > size - 1) length = size - 1;
  memcpy(buffer, text + entry.valueStart, static_cast<size_t>(length));
  buffer[length] = 0;
  return 1;
}

int SettingsTextWrite(SettingsText* text, const char* section, const char* key, const char* value) {
  if (!section || !key || !value) return kTextFailed;
  const char* bytes = TextOrEmpty(text);
  SettingsEntry entry;
  if (SettingsFindKey(bytes, section, key, &entry)) {
    uint64_t valueLength = OneLineLength(value);
    uint64_t oldLength = entry.valueEnd - entry.valueStart;
    if (valueLength == oldLength && memcmp(bytes + entry.valueStart, value, valueLength) == 0) return kTextUnchanged;
    return Splice(text, entry.valueStart, entry.valueEnd, value, valueLength);
  }
  int64_t header = SettingsFindSection(bytes, section);
  if (header >= 0) {
    uint64_t end = SettingsSectionEnd(bytes, static_cast<uint64_t>(header));
    const char* body = bytes + header;
    uint64_t bodyLength = end - static_cast<uint64_t>(header);
    uint64_t at = end;
    const char* lead = "";
    if (EndsWith(body, bodyLength, "\r\n\r\n"))
      at -= 2;  // the new line goes before the empty line that separates the sections
    else if (!EndsWith(body, bodyLength, "\r\n"))
      lead = "\r\n";
    return InsertLines(text, at, lead, nullptr, key, value);
  }
  // A text that already ends in an empty line keeps just that one as the separator:
  // its last CR LF is replaced by the separator of the new section.
  uint64_t at = text->length;
  if (text->length > 4 && EndsWith(bytes, text->length, "\r\n\r\n")) at -= 2;
  uint64_t length = 0;
  char* lines = BuildLines(text->length ? "\r\n" : "", section, key, value, &length);
  if (!lines) return kTextFailed;
  int result = Splice(text, at, text->length, lines, length);
  free(lines);
  return result;
}

int SettingsTextDeleteKey(SettingsText* text, const char* section, const char* key) {
  SettingsEntry entry;
  if (!section || !SettingsFindKey(TextOrEmpty(text), section, key, &entry)) return kTextUnchanged;
  return Splice(text, entry.lineStart, entry.lineEnd, "", 0);
}

int SettingsTextDeleteSection(SettingsText* text, const char* section) {
  int64_t header = SettingsFindSection(TextOrEmpty(text), section);
  if (header < 0) return kTextUnchanged;
  uint64_t end = SettingsSectionEnd(text->bytes, static_cast<uint64_t>(header));
  return Splice(text, static_cast<uint64_t>(header), end, "", 0);
}

uint32_t SettingsTextEnum(const char* text, const char* section, SettingsEnumRoutine routine, void* context) {
  int64_t header = SettingsFindSection(text, section);
  if (header < 0 || !routine) return 0;
  uint32_t calls = 0;
  char key[kEnumKeyBytes];
  char value[kEnumValueBytes];
  for (uint64_t line = NextLine(text, static_cast<uint64_t>(header)); text[line] && text[line] != '[';
       line = NextLine(text, line)) {
    uint64_t end = LineEnd(text, line);
    const void* found = memchr(text + line, '=', static_cast<size_t>(end - line));
    if (!found) continue;
    uint64_t equals = static_cast<uint64_t>(static_cast<const char*>(found) - text);
    uint64_t keyEnd = equals;
    while (keyEnd > line && text[keyEnd - 1] == ' ') keyEnd--;
    if (keyEnd == line) continue;
    uint64_t keyLength = keyEnd - line;
    if (keyLength > kEnumKeyBytes - 1) keyLength = kEnumKeyBytes - 1;
    memcpy(key, text + line, static_cast<size_t>(keyLength));
    key[keyLength] = 0;
    uint64_t valueStart = equals + 1;
    while (text[valueStart] == ' ') valueStart++;
    uint64_t valueLength = end - valueStart;
    if (valueLength > kEnumValueBytes - 1) valueLength = kEnumValueBytes - 1;
    memcpy(value, text + valueStart, static_cast<size_t>(valueLength));
    value[valueLength] = 0;
    calls++;
    if (routine(key, value, context)) break;
  }
  return calls;
}

int SettingsTextCopySection(const char* text, const char* section, SettingsText* copy) {
  int64_t header = SettingsFindSection(text, section);
  if (header < 0) return 0;
  uint64_t end = SettingsSectionEnd(text, static_cast<uint64_t>(header));
  return SettingsTextAssign(copy, text + header, end - static_cast<uint64_t>(header));
}
