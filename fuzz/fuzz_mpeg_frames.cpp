// libFuzzer target: arbitrary bytes decoded frame by frame through set-up and
// decode with the sync-search loop the reader uses.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "formats/mpeg/mpeg_frame_decoder.h"

constexpr int kMaxFrames = 24;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static MpegDecoder* d = MpegDecoderCreate();
  static std::vector<int16_t> out(kMpegMaxFrameValues);
  // Input copied to its own allocation so that ASan sees every overrun.
  std::vector<uint8_t> buf(data, data + size);
  // Odd sizes decode all 32 subbands (the conformance set-up), even ones the
  // default 31.
  MpegDecoderSetSubbandCap(d, (size & 1) ? 32 : 0);
  bool ready = false;
  size_t pos = 0;
  int frames = 0;
  // A few dozen frames reach every state the decoder keeps (reservoir,
  // overlap, synthesis memory); more only slow the search down.
  while (pos < size && frames < kMaxFrames) {
    MpegHeader h;
    int32_t rate = 0;
    size_t skipped = 0;
    int n = MpegFindHeader(buf.data() + pos, size - pos, &h, &rate, &skipped);
    if (n == 0) {
      if (skipped == 0 && (size - pos < 2 || buf[pos] != 0xFF)) break;
      pos += skipped + 1;
      continue;
    }
    pos += skipped;
    if (!ready) {
      if (!MpegDecoderSetUp(d, &h, n, 0, 0, 0, 24000)) {
        ++pos;
        continue;
      }
      MpegDecoderInfo info;
      MpegDecoderGetInfo(d, &info);
      if (info.valuesPerFrame > kMpegMaxFrameValues) abort();
      ready = true;
    }
    size_t consumed = 0, produced = 0;
    // Sometimes hand over exactly the bytes left, sometimes less.
    size_t avail = size - pos;
    MpegDecodeFrame(d, buf.data() + pos, avail, out.data(), &consumed, &produced);
    if (produced > kMpegMaxFrameValues * 2 || consumed > avail) abort();
    if (consumed == 0) {
      // Reset and resynchronise, as the reader does.
      ready = false;
      ++pos;
      continue;
    }
    pos += consumed;
    ++frames;
  }
  return 0;
}
