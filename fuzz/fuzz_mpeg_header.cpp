// libFuzzer target: MPEG audio header parsing and sync search on arbitrary bytes.
#include <cstddef>
#include <cstdint>

#include "formats/mpeg/mpeg_frame_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  MpegHeader h;
  int32_t rate = 0;
  size_t skipped = 0;
  (void)MpegParseHeader(data, size, &h);
  (void)MpegParseHeaderWithBitRate(data, size, &h, &rate);
  size_t pos = 0;
  while (pos < size) {
    int n = MpegFindHeader(data + pos, size - pos, &h, &rate, &skipped);
    if (n > 0) {
      (void)MpegHeaderSampleRate(&h);
      (void)MpegHeaderSamplesPerFrame(&h);
      (void)MpegHeaderBitRate(&h);
      (void)MpegHeaderChannels(&h);
    }
    if (skipped == 0 && n == 0 && (size - pos < 2 || data[pos] != 0xFF)) break;
    pos += skipped + 1;
  }
  return 0;
}
