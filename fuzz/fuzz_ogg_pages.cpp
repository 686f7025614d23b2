// Arbitrary bytes as a whole file through the Ogg page walker: page sync and
// CRC, the stream table, the Vorbis headers and their comments.
#include <cstddef>
#include <cstdint>
#include <initializer_list>

#include "base/byte_source.h"
#include "formats/ogg/ogg_file_info.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ByteSource source{};
  MemorySource memory{};
  ByteSourceOpenMemory(&source, &memory, data, size);
  FileInfo info;
  FileInfoClear(&info);
  OggReadFileInfo(&source, &info);
  // Every text must have stayed terminated inside its field.
  volatile size_t total = 0;
  for (const wchar_t* text : {info.codecLabel, info.title, info.artist, info.album, info.comment, info.genre})
    for (const wchar_t* p = text; *p; ++p) total = total + 1;
  return 0;
}
