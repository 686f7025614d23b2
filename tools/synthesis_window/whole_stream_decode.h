// The frame loop over a whole stream in memory: the synthesis-window tool
// decodes the conformance streams with it, and the decoder's tests use it too.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "formats/mpeg/mpeg_frame_decoder.h"

struct DecodedStream {
  std::vector<int16_t> pcm;
  int frames = 0;
  int channels = 0;
  int sampleRate = 0;
};

// Decodes a whole stream: find a header, check the frame size, decode.
// subbandCap: 0 for the default cap (31), 32 for full bandwidth.
// Streams that switch between mono and stereo are decoded in stereo and
// written at each frame's own channel count (as the reference PCM is).
inline DecodedStream DecodeWholeStream(const std::vector<uint8_t>& bits, int subbandCap = 0) {
  DecodedStream out;
  MpegDecoder* d = MpegDecoderCreate();
  MpegDecoderSetSubbandCap(d, subbandCap);
  std::vector<int16_t> frame(kMpegMaxFrameValues);
  size_t pos = 0;
  bool ready = false;
  int freeSize = 0;
  while (pos + 4 <= bits.size()) {
    MpegHeader h;
    int32_t rate = 0;
    size_t skipped = 0;
    int size = MpegFindHeader(bits.data() + pos, bits.size() - pos, &h, &rate, &skipped);
    if (size == 0 && h.bitRateIndex == 0 && freeSize > 0 && skipped == 0) size = freeSize;
    if (size == 0) {
      if (skipped == 0 && (bits[pos] != 0xFF)) {
        ++pos;
        continue;
      }
      pos += skipped + 1;
      continue;
    }
    pos += skipped;
    if (h.bitRateIndex == 0) freeSize = size;
    size_t total = static_cast<size_t>(size) + (h.padding ? (h.layerCode == 3 ? 4 : 1) : 0);
    if (!ready) {
      MpegHeader setup = h;
      if (setup.layerCode == 1) setup.mode = 0;  // Layer III: stereo output whatever the first frame
      if (!MpegDecoderSetUp(d, &setup, size, 0, 0, 0, 24000)) {
        ++pos;
        continue;
      }
      MpegDecoderInfo info;
      MpegDecoderGetInfo(d, &info);
      out.channels = static_cast<int>(info.channels);
      out.sampleRate = static_cast<int>(info.sampleRate);
      ready = true;
    }
    size_t avail = bits.size() - pos;
    if (total > avail) break;
    size_t consumed = 0, produced = 0;
    MpegDecodeFrame(d, bits.data() + pos, avail, frame.data(), &consumed, &produced);
    if (consumed == 0) {
      ++pos;
      continue;
    }
    size_t values = produced / 2;
    if (h.layerCode == 1 && h.mode == 3) {
      for (size_t i = 0; i < values; i += 2) out.pcm.push_back(frame[i]);
    } else {
      out.pcm.insert(out.pcm.end(), frame.begin(), frame.begin() + static_cast<std::ptrdiff_t>(values));
    }
    ++out.frames;
    pos += consumed;
  }
  MpegDecoderDestroy(d);
  return out;
}
