// Arbitrary bytes as a whole file through the ID3v2 and ID3v1 readers.
#include <cstddef>
#include <cstdint>
#include <initializer_list>

#include "base/byte_source.h"
#include "formats/file_info.h"
#include "formats/mpeg/id3_tags.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ByteSource source{};
  MemorySource memory{};
  ByteSourceOpenMemory(&source, &memory, data, size);
  FileInfo info;
  FileInfoClear(&info);
  Id3v2ReadTag(&source, &info);
  Id3v1ReadTag(&source, &info);
  FileInfoTrimTexts(&info);
  // Every text must have stayed terminated inside its field.
  volatile size_t total = 0;
  for (const wchar_t* text : {info.title, info.artist, info.album, info.comment, info.genre})
    for (const wchar_t* p = text; *p; ++p) total = total + 1;
  return 0;
}
