// Reading external language files into wide language tables.
#include "language/language_file.h"

#include <cstdlib>
#include <cstring>

#include "base/code_page.h"
#include "base/byte_source.h"
#include "base/text_limits.h"

namespace {

// Growing heap block that becomes the table: records first, then the texts.
// Texts are placed by offset and the pointers made absolute at the end, since
// the block moves while it grows.
struct TableBlock {
  uint8_t* bytes;
  size_t used;
  size_t capacity;
};

size_t UnitCount(const LanguageFileView* view) {
  size_t bytes = view->size - view->start;
  return view->encoding == kLanguageFileUtf16 ? bytes / 2 : bytes;
}

uint32_t UnitAt(const LanguageFileView* view, size_t index) {
  if (view->encoding == kLanguageFileUtf16) {
    size_t at = view->start + index * 2;
    return static_cast<uint32_t>(view->data[at] | (view->data[at + 1] << 8));
  }
  return view->data[view->start + index];
}

int KeyMatchesAt(const LanguageFileView* view, size_t units, size_t at, const char* key, size_t keyLength) {
  if (at + keyLength > units) return 0;
  for (size_t i = 0; i < keyLength; i++) {
    if (UnitAt(view, at + i) != static_cast<uint8_t>(key[i])) return 0;
  }
  return 1;
}

// Copies the line's units [from, end) into text as wide characters.
size_t CopyLineText(const LanguageFileView* view, size_t from, size_t end, wchar_t* text, size_t capacity) {
  size_t count = end - from;
  if (count > kLanguageFileTextChars) count = kLanguageFileTextChars;
  const char* bytes = reinterpret_cast<const char*>(view->data + view->start + from);
  switch (view->encoding) {
    case kLanguageFileUtf16: {
      size_t length = 0;
      for (; length < count && length < capacity - 1; length++) {
        text[length] = static_cast<wchar_t>(UnitAt(view, from + length));
      }
      text[length] = 0;
      return length;
    }
    case kLanguageFileUtf8:
      // Do not split a character at the byte limit.
      if (count < end - from) {
        while (count > 0 && (static_cast<uint8_t>(bytes[count]) & 0xC0) == 0x80) count--;
      }
      return Utf8ToWide(bytes, count, text, capacity);
    case kLanguageFileAnsi:
      break;
  }
  return CodePageToWide(kCodePageSystemAnsi, bytes, count, text, capacity);
}

size_t ReplaceLineFeedEscapes(wchar_t* text) {
  size_t write = 0;
  for (size_t read = 0; text[read]; read++) {
    if (text[read] == L'\\' && text[read + 1] == L'n') {
      text[write++] = L'\n';
      read++;
    } else {
      text[write++] = text[read];
    }
  }
  text[write] = 0;
  return write;
}

int ReserveBlock(TableBlock* block, size_t more) {
  if (block->used + more <= block->capacity) return 1;
  size_t capacity = block->capacity ? block->capacity : 16384;
  while (capacity < block->used + more) capacity *= 2;
  uint8_t* grown = static_cast<uint8_t*>(realloc(block->bytes, capacity));
  if (!grown) return 0;
  block->bytes = grown;
  block->capacity = capacity;
  return 1;
}

// Appends a wide text with its terminator; returns its offset, or 0 on failure
// (offset 0 is inside the records, so never a text's).
size_t AppendText(TableBlock* block, const wchar_t* text, size_t length) {
  size_t bytes = (length + 1) * sizeof(wchar_t);
  if (!ReserveBlock(block, bytes)) return 0;
  size_t offset = block->used;
  memcpy(block->bytes + offset, text, length * sizeof(wchar_t));
  memset(block->bytes + offset + length * sizeof(wchar_t), 0, sizeof(wchar_t));
  block->used += bytes;
  return offset;
}

// The text a record of the new table gets.
size_t TextForRecord(const LanguageFileView* view, size_t index, wchar_t* text, size_t capacity) {
  const LanguageRecord* keyRecord = &kLanguageTableKeys[index];
  size_t length = 0;
  if (index == 0) return CopyLanguageRecordText(kLanguageTableKeys, keyRecord, text, capacity);
  const char* key = index == 1 ? "Language" : static_cast<const char*>(keyRecord->text);
  if (FindLanguageFileText(view, key, text, capacity, &length)) return length;
  if (index == 1) {
    for (; kLanguageFileDefaultName[length] && length < capacity - 1; length++) {
      text[length] = kLanguageFileDefaultName[length];
    }
    text[length] = 0;
    return length;
  }
  const LanguageRecord* english = FindLanguageRecord(kLanguageTableEnglish, static_cast<uint16_t>(keyRecord->id));
  return CopyLanguageRecordText(kLanguageTableEnglish, english, text, capacity);
}

}  // namespace

void OpenLanguageFileView(LanguageFileView* view, const void* data, size_t size) {
  view->data = static_cast<const uint8_t*>(data);
  view->size = data ? size : 0;
  view->start = 0;
  view->encoding = kLanguageFileAnsi;
  if (view->size >= 2 && view->data[0] == 0xFF && view->data[1] == 0xFE) {
    view->encoding = kLanguageFileUtf16;
    view->start = 2;
  } else if (view->size >= 3 && view->data[0] == 0xEF && view->data[1] == 0xBB && view->data[2] == 0xBF) {
    view->encoding = kLanguageFileUtf8;
    view->start = 3;
  }
}

int FindLanguageFileText(const LanguageFileView* view, const char* key, wchar_t* text, size_t capacity,
                         size_t* length) {
  *length = 0;
  if (capacity == 0) return 0;
  text[0] = 0;
  size_t keyLength = strlen(key);
  size_t units = UnitCount(view);
  if (keyLength == 0) return 0;
  for (size_t at = 0; at + keyLength < units; at++) {
    if (!KeyMatchesAt(view, units, at, key, keyLength)) continue;
    size_t after = at + keyLength;
    while (after < units && UnitAt(view, after) == '_') after++;
    if (after >= units || UnitAt(view, after) != '=') continue;
    size_t from = after + 1;
    size_t end = from;
    while (end < units && UnitAt(view, end) != '\r' && UnitAt(view, end) != '\n') end++;
    CopyLineText(view, from, end, text, capacity);
    *length = ReplaceLineFeedEscapes(text);
    return 1;
  }
  return 0;
}

uint32_t LanguageFileCodePage(const LanguageFileView* view) {
  wchar_t text[16];
  size_t length = 0;
  if (!FindLanguageFileText(view, "CP", text, sizeof text / sizeof text[0], &length)) return 0;
  uint32_t value = 0;
  for (size_t i = 0; i < length && text[i] >= L'0' && text[i] <= L'9'; i++) {
    value = value * 10 + static_cast<uint32_t>(text[i] - L'0');
    if (value > 32767) return 32767;
  }
  return value;
}

LanguageRecord* BuildLanguageTableFromFile(const void* data, size_t size) {
  LanguageFileView view;
  OpenLanguageFileView(&view, data, size);
  size_t count = LanguageRecordCount(kLanguageTableKeys);
  size_t headerBytes = (count + 1) * sizeof(LanguageRecord);
  TableBlock block = {nullptr, 0, 0};
  if (!ReserveBlock(&block, headerBytes)) return nullptr;
  block.used = headerBytes;
  constexpr size_t kTextCapacity = kLanguageFileTextChars + 1;
  wchar_t* text = static_cast<wchar_t*>(malloc(kTextCapacity * sizeof(wchar_t)));
  size_t* offsets = static_cast<size_t*>(calloc(count + 1, sizeof(size_t)));
  int complete = text && offsets;
  for (size_t i = 0; complete && i < count; i++) {
    size_t length = TextForRecord(&view, i, text, kTextCapacity);
    offsets[i] = AppendText(&block, text, length);
    complete = offsets[i] != 0;
  }
  free(text);
  if (!complete) {
    free(offsets);
    free(block.bytes);
    return nullptr;
  }
  LanguageRecord* table = reinterpret_cast<LanguageRecord*>(block.bytes);
  for (size_t i = 0; i < count; i++) {
    table[i].id = kLanguageTableKeys[i].id;
    table[i].text = block.bytes + offsets[i];
  }
  table[0].id = static_cast<int16_t>(~static_cast<int32_t>(LanguageFileCodePage(&view)));
  table[count].id = 0;
  table[count].text = nullptr;
  free(offsets);
  return table;
}

uint8_t* ReadLanguageFile(const wchar_t* path, size_t* size) {
  *size = 0;
  ByteSource source;
  if (!ByteSourceOpenFile(&source, path)) return nullptr;
  uint64_t fileSize = ByteSourceSize(&source);
  uint8_t* bytes = nullptr;
  if (fileSize <= kLanguageFileMaxBytes) bytes = static_cast<uint8_t*>(malloc(fileSize ? fileSize : 1));
  if (bytes && fileSize && !ByteSourceReadExact(&source, bytes, static_cast<uint32_t>(fileSize))) {
    free(bytes);
    bytes = nullptr;
  }
  ByteSourceClose(&source);
  if (bytes) *size = static_cast<size_t>(fileSize);
  return bytes;
}

LanguageRecord* LoadLanguageFileForCode(const wchar_t* folder, const char* code) {
  if (!folder || !code || !code[0]) return nullptr;
  wchar_t path[kMaxPathChars + 1];
  size_t length = 0;
  for (; folder[length] && length < kMaxPathChars; length++) path[length] = folder[length];
  wchar_t name[16] = L"_";
  size_t nameLength = 1;
  for (size_t i = 0; code[i] && i < kLanguageCodeChars; i++) {
    // The code comes from the settings file: it must not lead out of the folder.
    if (code[i] == '\\' || code[i] == '/' || code[i] == ':' || code[i] == '.') return nullptr;
    name[nameLength++] = static_cast<uint8_t>(code[i]);
  }
  if (nameLength == 2) name[nameLength++] = L' ';
  for (const wchar_t* extension = L".LNG"; *extension; extension++) name[nameLength++] = *extension;
  if (length + nameLength > kMaxPathChars) return nullptr;
  for (size_t i = 0; i < nameLength; i++) path[length + i] = name[i];
  path[length + nameLength] = 0;
  size_t size = 0;
  uint8_t* bytes = ReadLanguageFile(path, &size);
  if (!bytes) {
    const wchar_t fallback[] = L"_US.LNG";
    for (size_t i = 0; i < sizeof fallback / sizeof fallback[0]; i++) path[length + i] = fallback[i];
    bytes = ReadLanguageFile(path, &size);
  }
  if (!bytes) return nullptr;
  LanguageRecord* table = BuildLanguageTableFromFile(bytes, size);
  free(bytes);
  return table;
}

int ReadLanguageFileDisplayName(const wchar_t* path, wchar_t* name, size_t capacity) {
  if (capacity == 0) return 0;
  name[0] = 0;
  size_t size = 0;
  uint8_t* bytes = ReadLanguageFile(path, &size);
  if (!bytes) return 0;
  int found = 0;
  if (size > kLanguageFileMinListedBytes) {
    LanguageFileView view;
    OpenLanguageFileView(&view, bytes, size);
    size_t length = 0;
    found = FindLanguageFileText(&view, "Language", name, capacity, &length) && length > 0;
  }
  free(bytes);
  return found;
}

LanguageTable SelectLanguageTable(LanguageTable previous, const char* code, const wchar_t* folder) {
  FreeLanguageTable(previous);
  if (!code || !code[0]) return kLanguageTableEnglish;
  LanguageTable builtIn = FindBuiltInLanguageTable(code);
  if (builtIn) return builtIn;
  LanguageRecord* loaded = LoadLanguageFileForCode(folder, code);
  return loaded ? loaded : kLanguageTableEnglish;
}
