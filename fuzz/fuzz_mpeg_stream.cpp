// Arbitrary bytes as an MPEG audio file: the stream scan, Open, Read with
// resynchronisation, both kinds of seek, and the file-information analysis.
#include <cstddef>
#include <cstdint>

#include "base/byte_source.h"
#include "formats/mpeg/mpeg_file_info.h"
#include "formats/mpeg/mpeg_reader.h"

namespace {

// One stream reused for every input, as the module reuses its state.
MpegStream gStream{};
uint8_t gPcm[3 * 4608];

void ReadSome(int calls) {
  for (int i = 0; i < calls; ++i) {
    uint32_t count = i % 3 == 0 ? 4607 : sizeof gPcm;
    if (!MpegRead(&gStream, gPcm, &count)) return;
    if (count > sizeof gPcm) __builtin_trap();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ByteSource source{};
  MemorySource memory{};
  ByteSourceOpenMemory(&source, &memory, data, size);
  MpegTestSource(&source);
  FileInfo info;
  FileInfoClear(&info);
  MpegReadFileInfo(&source, &info);

  ByteSourceOpenMemory(&source, &memory, data, size);
  if (MpegOpen(&gStream, &source)) {
    ReadSome(12);
    uint32_t numerator = size > 0 ? data[size - 1] : 0;
    MpegSeek(&gStream, numerator, 200);
    ReadSome(6);
    MpegSeek(&gStream, numerator, 0);
    ReadSome(3);
    MpegPosition(&gStream);
  }
  MpegClose(&gStream);
  return 0;
}
