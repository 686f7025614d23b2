// Arbitrary bytes as a whole file through the ASF header walker.
#include "formats/wma/asf_header.h"
#include "fuzz_file_info.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return FuzzFileInfoReader(data, size, AsfReadFileInfo);
}
