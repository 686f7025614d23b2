// Arbitrary bytes as a whole file through the ID3v2 and ID3v1 readers.
#include "formats/mpeg/id3_tags.h"
#include "fuzz_file_info.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return FuzzFileInfoReader(data, size, [](ByteSource* source, FileInfo* info) {
    Id3v2ReadTag(source, info);
    Id3v1ReadTag(source, info);
    FileInfoTrimTexts(info);
    return 1;
  });
}
