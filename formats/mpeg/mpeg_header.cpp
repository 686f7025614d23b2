// MPEG audio frame headers: parsing, free-format measurement and sync search.
#include <cstring>

#include "formats/mpeg/mpeg_frame_decoder.h"
#include "formats/mpeg/mpeg_internal.h"

namespace {

// The 50 Hz rows of the standard: MPEG-1 and MPEG-2 (MPEG 2.5: half the MPEG-2 row).
const int kRate50[2][3] = {{441, 480, 320}, {882, 960, 640}};

// Fields of the four header bytes; false when the sync, layer, sample-rate
// index or bit-rate index rule out a header.
bool Fields(const uint8_t* b, size_t count, MpegHeader* h) {
  if (count < 4 || b[0] != 0xFF) return false;
  int high = b[1] >> 4;
  MpegHeader x;
  if (high == 0xF) x.syncKind = 1;
  else if (high == 0xE) x.syncKind = 2;
  else return false;
  x.id = (b[1] >> 3) & 1;
  if (x.syncKind == 2 && x.id == 1) return false;  // 0xFFE with the id bit set is reserved
  x.layerCode = (b[1] >> 1) & 3;
  x.protection = b[1] & 1;
  x.bitRateIndex = b[2] >> 4;
  x.sampleRateIndex = (b[2] >> 2) & 3;
  x.padding = (b[2] >> 1) & 1;
  x.privateBit = b[2] & 1;
  x.mode = b[3] >> 6;
  x.modeExtension = (b[3] >> 4) & 3;
  x.copyright = (b[3] >> 3) & 1;
  x.original = (b[3] >> 2) & 1;
  x.emphasis = b[3] & 3;
  if (x.layerCode == 0 || x.sampleRateIndex == 3 || x.bitRateIndex == 15) return false;
  *h = x;
  return true;
}

// Frame size without padding for a bit-rate index above 0.
int TableFrameSize(const MpegHeader& h) {
  int b = mpeg::BitRateKbps(h.id, h.layerCode, h.bitRateIndex);
  int r = kRate50[h.id][h.sampleRateIndex];
  if (b <= 0 || r <= 0) return 0;
  int mpeg25 = h.syncKind == 2 ? 2 : 1;  // MPEG 2.5: half the rate of the MPEG-2 row
  switch (h.layerCode) {
    case 3:
      return (240 * mpeg25 * b / r) * 4;
    case 2:
      return 2880 * mpeg25 * b / r;
    default:
      if (h.id == 1) return 2880 * b / r;
      return h.syncKind == 2 ? 2880 * b / r : 1440 * b / r;
  }
}

int PaddingSlot(const MpegHeader& h) { return h.layerCode == 3 ? 4 : 1; }

// Measures a free-format frame: the distance to the next position that
// starts with the same two header bytes, confirmed by the starts after it.
int FreeFormatSize(const uint8_t* b, size_t count, const MpegHeader& h) {
  size_t limit = count < 10000 ? count : 10000;
  int pad0 = h.padding ? PaddingSlot(h) : 0;
  int slot = PaddingSlot(h);
  for (size_t pos = 24; pos < 2000 && pos + 1 < limit; ++pos) {
    if (b[pos] != b[0] || b[pos + 1] != b[1]) continue;
    int size = static_cast<int>(pos) - pad0;
    if (size <= 0) continue;
    // The candidate frame must fit, and every further start must repeat.
    size_t next = pos;
    bool ok = true;
    int frames = 0;
    while (next + 2 < limit) {
      if (b[next] != b[0] || b[next + 1] != b[1]) {
        ok = false;
        break;
      }
      int pad = (b[next + 2] >> 1) & 1 ? slot : 0;
      size_t end = next + static_cast<size_t>(size) + static_cast<size_t>(pad);
      if (end <= limit) ++frames;
      next = end;
    }
    if (ok && frames >= 1) return size;
  }
  return 0;
}

}  // namespace

int MpegParseHeaderWithBitRate(const uint8_t* bytes, size_t count, MpegHeader* header, int32_t* bitRate) {
  if (bitRate) *bitRate = 0;
  MpegHeader h;
  if (!bytes || !Fields(bytes, count, &h)) return 0;
  int size;
  int32_t rate;
  if (h.bitRateIndex > 0) {
    size = TableFrameSize(h);
    rate = mpeg::BitRateKbps(h.id, h.layerCode, h.bitRateIndex) * 1000;
  } else {
    size = FreeFormatSize(bytes, count, h);
    uint32_t spf = MpegHeaderSamplesPerFrame(&h);
    uint32_t sr = MpegHeaderSampleRate(&h);
    rate = spf ? static_cast<int32_t>(static_cast<uint64_t>(size) * 8u * sr / spf) : 0;
  }
  if (size <= 0) return 0;
  if (header) *header = h;
  if (bitRate) *bitRate = rate;
  return size;
}

int MpegParseHeader(const uint8_t* bytes, size_t count, MpegHeader* header) {
  return MpegParseHeaderWithBitRate(bytes, count, header, nullptr);
}

int MpegFindHeader(const uint8_t* bytes, size_t count, MpegHeader* header, int32_t* bitRate, size_t* skipped) {
  if (bitRate) *bitRate = 0;
  if (skipped) *skipped = 0;
  if (!bytes) return 0;
  for (size_t i = 0; i + 1 < count; ++i) {
    if (bytes[i] != 0xFF) continue;
    int high = bytes[i + 1] >> 4;
    if (high != 0xF && high != 0xE) continue;
    if (skipped) *skipped = i;
    return MpegParseHeaderWithBitRate(bytes + i, count - i, header, bitRate);
  }
  return 0;
}

uint32_t MpegHeaderSampleRate(const MpegHeader* h) {
  return static_cast<uint32_t>(mpeg::SampleRateHz(h->syncKind, h->id, h->sampleRateIndex));
}

uint32_t MpegHeaderSamplesPerFrame(const MpegHeader* h) {
  switch (h->layerCode) {
    case 3:
      return 384;
    case 2:
      return 1152;
    case 1:
      return h->id == 1 ? 1152 : 576;
    default:
      return 0;
  }
}

uint32_t MpegHeaderBitRate(const MpegHeader* h) {
  return static_cast<uint32_t>(mpeg::BitRateKbps(h->id, h->layerCode, h->bitRateIndex));
}

uint32_t MpegHeaderChannels(const MpegHeader* h) { return h->mode == 3 ? 1 : 2; }
