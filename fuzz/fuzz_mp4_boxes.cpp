// Arbitrary bytes as a whole file through the MP4 box walker.
#include "formats/mp4/mp4_info.h"
#include "fuzz_file_info.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return FuzzFileInfoReader(data, size, Mp4ReadFileInfo);
}
