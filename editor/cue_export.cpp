#include "editor/cue_export.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>

#include "base/product.h"
#include "editor/mark_text.h"

namespace {

// A growing block of output bytes; once an allocation fails it stays failed.
struct ByteOutput {
  uint8_t* bytes;
  size_t length, capacity;
  int failed;
};

void Append(ByteOutput* out, const void* data, size_t size) {
  if (out->failed) return;
  if (out->length + size > out->capacity) {
    size_t capacity = out->capacity ? out->capacity : 4096;
    while (capacity < out->length + size) capacity *= 2;
    auto* grown = static_cast<uint8_t*>(realloc(out->bytes, capacity));
    if (!grown) {
      out->failed = 1;
      return;
    }
    out->bytes = grown;
    out->capacity = capacity;
  }
  memcpy(out->bytes + out->length, data, size);
  out->length += size;
}

void AppendText(ByteOutput* out, const char* text) { Append(out, text, strlen(text)); }

// UTF-16 (or, where wchar_t is wider, UTF-32) to UTF-8; an unpaired
// surrogate becomes U+FFFD.
void AppendUtf8(ByteOutput* out, const wchar_t* text, size_t length) {
  for (size_t i = 0; i < length; ++i) {
    uint32_t c = static_cast<uint32_t>(text[i]);
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < length && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000)
      c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<uint32_t>(text[++i]) - 0xDC00);
    else if ((c >= 0xD800 && c < 0xE000) || c > 0x10FFFF)
      c = 0xFFFD;
    uint8_t bytes[4];
    size_t n = 0;
    if (c < 0x80) {
      bytes[n++] = static_cast<uint8_t>(c);
    } else if (c < 0x800) {
      bytes[n++] = static_cast<uint8_t>(0xC0 | (c >> 6));
      bytes[n++] = static_cast<uint8_t>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      bytes[n++] = static_cast<uint8_t>(0xE0 | (c >> 12));
      bytes[n++] = static_cast<uint8_t>(0x80 | ((c >> 6) & 0x3F));
      bytes[n++] = static_cast<uint8_t>(0x80 | (c & 0x3F));
    } else {
      bytes[n++] = static_cast<uint8_t>(0xF0 | (c >> 18));
      bytes[n++] = static_cast<uint8_t>(0x80 | ((c >> 12) & 0x3F));
      bytes[n++] = static_cast<uint8_t>(0x80 | ((c >> 6) & 0x3F));
      bytes[n++] = static_cast<uint8_t>(0x80 | (c & 0x3F));
    }
    Append(out, bytes, n);
  }
}

// One caption's text as the format needs it: WebVTT cue text is markup, a
// table row is one line without tabs.
void AppendCaptionText(ByteOutput* out, CueExportFormat format, const wchar_t* text, size_t length) {
  size_t plain = 0;
  for (size_t i = 0; i < length; ++i) {
    const char* replacement = nullptr;
    wchar_t c = text[i];
    if (format == kCueWebVtt) replacement = c == L'&' ? "&amp;" : c == L'<' ? "&lt;" : c == L'>' ? "&gt;" : nullptr;
    if (format == kCueTable && (c == L'\t' || c == L'\n')) replacement = " ";
    if (format != kCueTable && c == L'\n') replacement = "\r\n";
    if (!replacement) continue;
    AppendUtf8(out, text + plain, i - plain);
    AppendText(out, replacement);
    plain = i + 1;
  }
  AppendUtf8(out, text + plain, length - plain);
}

void AppendTime(ByteOutput* out, uint64_t ms, char fractionSeparator) {
  char text[48];
  snprintf(text, sizeof text, "%02llu:%02u:%02u%c%03u", static_cast<unsigned long long>(ms / 3600000),
           static_cast<unsigned>(ms / 60000 % 60), static_cast<unsigned>(ms / 1000 % 60), fractionSeparator,
           static_cast<unsigned>(ms % 1000));
  AppendText(out, text);
}

// A caption in the making: the text of its span, lines joined by '\n'.
struct Caption {
  int64_t startMs;  // before the offset
  wchar_t* text;
  size_t length, capacity;
  int failed;
};

void AddCaptionLine(Caption* caption, const wchar_t* line, size_t length) {
  while (length && (*line == L' ' || *line == L'\t')) ++line, --length;
  while (length && (line[length - 1] == L' ' || line[length - 1] == L'\t')) --length;
  if (!length || caption->failed) return;
  size_t need = caption->length + length + 1;
  if (need > caption->capacity) {
    size_t capacity = need * 2;
    auto* grown = static_cast<wchar_t*>(realloc(caption->text, capacity * sizeof(wchar_t)));
    if (!grown) {
      caption->failed = 1;
      return;
    }
    caption->text = grown;
    caption->capacity = capacity;
  }
  if (caption->length) caption->text[caption->length++] = L'\n';
  wmemcpy(caption->text + caption->length, line, length);
  caption->length += length;
}

struct Writer {
  ByteOutput out;
  const CueExportOptions* options;
  uint32_t written;  // captions so far
  Caption caption;
};

int64_t Shifted(const Writer* writer, int64_t ms) {
  int64_t shifted = ms + int64_t{writer->options->offsetSeconds} * 1000;
  return shifted < 0 ? 0 : shifted;
}

// Writes the caption in the making as the span up to endMs (negative: no
// later cue) and starts the next at nextStartMs.
void CloseCaption(Writer* writer, int64_t endMs, int64_t nextStartMs) {
  Caption* caption = &writer->caption;
  if (caption->failed) writer->out.failed = 1;
  if (caption->length && !caption->failed) {
    int64_t start = caption->startMs;
    int64_t known = static_cast<int64_t>(writer->options->recordingMs);
    int64_t end = endMs > start ? endMs : endMs < 0 && known > start ? known : start + kLastCaptionMs;
    ByteOutput* out = &writer->out;
    char separator = writer->options->format == kCueSubRip ? ',' : '.';
    char number[16];
    snprintf(number, sizeof number, "%u\r\n", ++writer->written);
    if (writer->options->format == kCueSubRip) AppendText(out, number);
    AppendTime(out, static_cast<uint64_t>(Shifted(writer, start)), separator);
    AppendText(out, writer->options->format == kCueTable ? "\t" : " --> ");
    AppendTime(out, static_cast<uint64_t>(Shifted(writer, end)), separator);
    AppendText(out, writer->options->format == kCueTable ? "\t" : "\r\n");
    AppendCaptionText(out, writer->options->format, caption->text, caption->length);
    AppendText(out, writer->options->format == kCueTable ? "\r\n" : "\r\n\r\n");
  }
  caption->length = 0;
  caption->startMs = nextStartMs;
}

int IsDigits(const wchar_t* text, size_t count) {
  for (size_t i = 0; i < count; ++i)
    if (text[i] < L'0' || text[i] > L'9') return 0;
  return 1;
}

// The marks that are not captions: the file marks, the date and the version.
int IsOtherMark(const wchar_t* inside, size_t length) {
  static const wchar_t* const kLabels[] = {kSoundFileLabel, kTextFileLabel};
  for (const wchar_t* label : kLabels)
    if (length >= wcslen(label) && !wcsncmp(inside, label, wcslen(label))) return 1;
  // "dd.mm.yyyy hh:mm:ss"
  if (length == 19 && IsDigits(inside, 2) && inside[2] == L'.' && IsDigits(inside + 3, 2) && inside[5] == L'.' &&
      IsDigits(inside + 6, 4) && inside[10] == L' ' && IsDigits(inside + 11, 2) && inside[13] == L':' &&
      IsDigits(inside + 14, 2) && inside[16] == L':' && IsDigits(inside + 17, 2))
    return 1;
  size_t name = wcslen(kProductName);
  return length > name + 9 && !wcsncmp(inside, kProductName, name) && !wcsncmp(inside + name, L" Version ", 9);
}

// One line: a cue mark closes the caption before it (what precedes the mark on
// its line is still the old caption's) and starts the next; other marks vanish.
void ReadLine(Writer* writer, const wchar_t* line, size_t length) {
  size_t textStart = 0;
  for (size_t at = 0; at < length;) {
    const wchar_t* open = wmemchr(line + at, L'<', length - at);
    const wchar_t* close = open ? wmemchr(open, L'>', length - static_cast<size_t>(open - line)) : nullptr;
    if (!close) break;
    at = static_cast<size_t>(open - line) + 1;
    size_t insideLength = static_cast<size_t>(close - open - 1);
    if (insideLength > kMarkContentChars) continue;
    wchar_t mark[kMarkContentChars + 2];
    mark[0] = L'<';
    wmemcpy(mark + 1, open + 1, insideLength);
    mark[insideLength + 1] = 0;
    GoToTarget target;
    ParseGoToLine(mark, &target);
    if (!target.hasCue && !IsOtherMark(open + 1, insideLength)) continue;
    AddCaptionLine(&writer->caption, line + textStart, static_cast<size_t>(open - line) - textStart);
    if (target.hasCue) {
      int64_t cueMs = int64_t{target.cueSeconds} * 1000;
      CloseCaption(writer, cueMs, cueMs);
    }
    textStart = at = static_cast<size_t>(close - line) + 1;
  }
  AddCaptionLine(&writer->caption, line + textStart, length - textStart);
}

}  // namespace

uint8_t* ExportCues(const wchar_t* text, size_t length, const CueExportOptions* options, size_t* size) {
  Writer writer{};
  writer.options = options;
  if (options->format == kCueWebVtt) AppendText(&writer.out, "WEBVTT\r\n\r\n");
  if (options->format == kCueTable) AppendText(&writer.out, "\xEF\xBB\xBFStart\tEnd\tText\r\n");
  for (size_t at = 0; at < length;) {
    size_t end = at;
    while (end < length && text[end] != L'\r' && text[end] != L'\n') ++end;
    ReadLine(&writer, text + at, end - at);
    at = end < length && text[end] == L'\r' && end + 1 < length && text[end + 1] == L'\n' ? end + 2 : end + 1;
  }
  CloseCaption(&writer, -1, 0);
  free(writer.caption.text);
  if (!writer.out.bytes) Append(&writer.out, "", 1), writer.out.length = 0;  // no caption: an empty file
  if (writer.out.failed) {
    free(writer.out.bytes);
    *size = 0;
    return nullptr;
  }
  *size = writer.out.length;
  return writer.out.bytes;
}

CueExportFormat CueFormatOfName(const wchar_t* name) {
  const wchar_t* dot = wcsrchr(name, L'.');
  if (!dot || wcslen(dot) != 4) return kCueSubRip;
  wchar_t extension[4];
  for (int i = 0; i < 3; ++i) extension[i] = static_cast<wchar_t>(dot[1 + i] | 0x20);
  extension[3] = 0;
  if (!wcscmp(extension, L"vtt")) return kCueWebVtt;
  if (!wcscmp(extension, L"tsv")) return kCueTable;
  return kCueSubRip;
}
