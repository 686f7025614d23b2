// Arbitrary bytes through the FLAC metadata path: the whole input as a file
// for the block reader, and as a Vorbis comment block fed in pieces of
// varying size (as Ogg pages split it), with and without validation.
#include <cstddef>
#include <cstdint>
#include <initializer_list>

#include "base/byte_source.h"
#include "formats/flac/flac_metadata.h"
#include "formats/vorbis_comment.h"
#include "fuzz_file_info.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ByteSource source{};
  MemorySource memory{};
  ByteSourceOpenMemory(&source, &memory, data, size);
  FileInfo info;
  FileInfoClear(&info);
  FlacStreamInfo stream;
  if (FlacReadMetadata(&source, &stream, &info)) FlacTestVerdict(&stream);
  TouchTexts(info);

  // The first byte steers the piece size.
  if (size < 1) return 0;
  size_t piece = 1 + data[0] % 61;
  for (int validate = 0; validate < 2; ++validate) {
    FileInfoClear(&info);
    VorbisCommentParser parser;
    VorbisCommentStart(&parser, &info, validate);
    for (size_t at = 1; at < size; at += piece) VorbisCommentFeed(&parser, data + at, size - at < piece ? size - at : piece);
    TouchTexts(info);
  }
  return 0;
}
