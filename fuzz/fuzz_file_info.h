// What the fuzzers of file-information readers share: arbitrary bytes as a
// whole file, and a walk over every text afterwards, so that a text left
// without its terminator inside its field shows under the sanitizers.
#pragma once
#include <cstddef>
#include <cstdint>
#include <initializer_list>

#include "base/byte_source.h"
#include "formats/file_info.h"

inline void TouchTexts(const FileInfo& info) {
  volatile size_t total = 0;
  for (const wchar_t* text : {info.codecLabel, info.title, info.artist, info.album, info.comment, info.genre})
    for (const wchar_t* p = text; *p; ++p) total = total + 1;
}

inline int FuzzFileInfoReader(const uint8_t* data, size_t size, int (*read)(ByteSource*, FileInfo*)) {
  ByteSource source{};
  MemorySource memory{};
  ByteSourceOpenMemory(&source, &memory, data, size);
  FileInfo info;
  FileInfoClear(&info);
  read(&source, &info);
  TouchTexts(info);
  return 0;
}
