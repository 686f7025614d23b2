// Arbitrary bytes through the FLAC metadata path: the whole input as a file
// for the block reader, and as a Vorbis comment block fed in pieces of
// varying size (as Ogg pages split it), with and without validation.
#include <cstddef>
#include <cstdint>
#include <initializer_list>

#include "base/byte_source.h"
#include "formats/flac/flac_metadata.h"
#include "formats/vorbis_comment.h"

namespace {

void Touch(const FileInfo& info) {
  volatile size_t total = 0;
  for (const wchar_t* text : {info.codecLabel, info.title, info.artist, info.album, info.comment, info.genre})
    for (const wchar_t* p = text; *p; ++p) total = total + 1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ByteSource source{};
  MemorySource memory{};
  ByteSourceOpenMemory(&source, &memory, data, size);
  FileInfo info;
  FileInfoClear(&info);
  FlacStreamInfo stream;
  if (FlacReadMetadata(&source, &stream, &info)) FlacTestVerdict(&stream);
  Touch(info);

  // The first byte steers the piece size.
  if (size < 1) return 0;
  size_t piece = 1 + data[0] % 61;
  for (int validate = 0; validate < 2; ++validate) {
    FileInfoClear(&info);
    VorbisCommentParser parser;
    VorbisCommentStart(&parser, &info, validate);
    for (size_t at = 1; at < size; at += piece) VorbisCommentFeed(&parser, data + at, size - at < piece ? size - at : piece);
    Touch(info);
  }
  return 0;
}
