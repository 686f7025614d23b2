// Arbitrary bytes as a whole file through the MP4 box walker.
#include <cstddef>
#include <cstdint>
#include <initializer_list>

#include "base/byte_source.h"
#include "formats/mp4/mp4_info.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ByteSource source{};
  MemorySource memory{};
  ByteSourceOpenMemory(&source, &memory, data, size);
  FileInfo info;
  FileInfoClear(&info);
  Mp4ReadFileInfo(&source, &info);
  volatile size_t total = 0;
  for (const wchar_t* text : {info.codecLabel, info.title, info.artist, info.album, info.comment, info.genre})
    for (const wchar_t* p = text; *p; ++p) total = total + 1;
  return 0;
}
