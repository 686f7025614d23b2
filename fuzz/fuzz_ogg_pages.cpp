// Arbitrary bytes as a whole file through the Ogg page walker: page sync and
// CRC, the stream table, the Vorbis headers and their comments.
#include "formats/ogg/ogg_file_info.h"
#include "fuzz_file_info.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return FuzzFileInfoReader(data, size, OggReadFileInfo);
}
