// File byte sources for the host build (sanitizers, fuzzers, benchmarks).
#include <cstdio>
#include <cstdlib>
#include <cwchar>

#include "base/byte_source.h"
#include "base/text_limits.h"

namespace {

uint32_t FileRead(void* context, void* buffer, uint32_t size) {
  return static_cast<uint32_t>(fread(buffer, 1, size, static_cast<FILE*>(context)));
}

int FileSeek(void* context, uint64_t offset) {
  return fseeko(static_cast<FILE*>(context), static_cast<off_t>(offset), SEEK_SET) == 0;
}

uint64_t FileTell(void* context) {
  off_t at = ftello(static_cast<FILE*>(context));
  return at < 0 ? 0 : static_cast<uint64_t>(at);
}

uint64_t FileSize(void* context) {
  FILE* file = static_cast<FILE*>(context);
  off_t at = ftello(file);
  if (at < 0 || fseeko(file, 0, SEEK_END) != 0) return 0;
  off_t end = ftello(file);
  fseeko(file, at, SEEK_SET);
  return end < 0 ? 0 : static_cast<uint64_t>(end);
}

void FileClose(void* context) { fclose(static_cast<FILE*>(context)); }

}  // namespace

// Paths are UTF-32 here; the file system takes UTF-8.
int HostPathBytes(const wchar_t* path, char* out, size_t capacity) {
  size_t n = 0;
  for (; *path; ++path) {
    uint32_t c = static_cast<uint32_t>(*path);
    char bytes[4];
    size_t len;
    if (c < 0x80) { bytes[0] = static_cast<char>(c); len = 1; }
    else if (c < 0x800) { bytes[0] = static_cast<char>(0xC0 | (c >> 6)); bytes[1] = static_cast<char>(0x80 | (c & 0x3F)); len = 2; }
    else if (c < 0x10000) { bytes[0] = static_cast<char>(0xE0 | (c >> 12)); bytes[1] = static_cast<char>(0x80 | ((c >> 6) & 0x3F)); bytes[2] = static_cast<char>(0x80 | (c & 0x3F)); len = 3; }
    else { bytes[0] = static_cast<char>(0xF0 | (c >> 18)); bytes[1] = static_cast<char>(0x80 | ((c >> 12) & 0x3F)); bytes[2] = static_cast<char>(0x80 | ((c >> 6) & 0x3F)); bytes[3] = static_cast<char>(0x80 | (c & 0x3F)); len = 4; }
    if (n + len + 1 > capacity) return 0;
    for (size_t i = 0; i < len; ++i) out[n++] = bytes[i];
  }
  out[n] = 0;
  return 1;
}

int ByteSourceOpenFile(ByteSource* source, const wchar_t* path) {
  source->context = nullptr;
  char utf8[kMaxPathChars * 4 + 1];
  if (!HostPathBytes(path, utf8, sizeof utf8)) return 0;
  FILE* file = fopen(utf8, "rb");
  if (!file) return 0;
  source->context = file;
  source->read = FileRead;
  source->seek = FileSeek;
  source->tell = FileTell;
  source->size = FileSize;
  source->close = FileClose;
  return 1;
}
