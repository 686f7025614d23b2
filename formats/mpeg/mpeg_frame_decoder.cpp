// MPEG audio frame decoder: set-up, information and frame decoding.
#include "formats/mpeg/mpeg_frame_decoder.h"

#include <cstring>
#include <new>

#include "formats/mpeg/mpeg_internal.h"

namespace {

// Layer II allocation table (0..3: B.2a-d, 4: MPEG-2 B.1) or -1 when the
// combination of sample rate, mode and bit rate selects none.
int PickLayer2Table(const MpegHeader& h, int frameBytes, int sampleRate) {
  if (h.id == 0) return 4;
  int kbps = mpeg::BitRateKbps(1, 2, h.bitRateIndex);
  if (h.bitRateIndex == 0) {
    // Free format: the rate follows from the frame size.
    if (frameBytes <= 0) return -1;
    kbps = static_cast<int>(static_cast<int64_t>(frameBytes) * sampleRate / 144000);
  } else {
    // ISO/IEC 11172-3 2.4.2.3: allowed combinations of bit rate and mode.
    bool mono = h.mode == 3;
    if (!mono && (kbps == 32 || kbps == 48 || kbps == 56 || kbps == 80)) return -1;
    if (mono && kbps >= 224) return -1;
  }
  int perChannel = h.mode == 3 ? kbps : kbps / 2;
  if ((sampleRate == 48000 && perChannel >= 56) || (perChannel >= 56 && perChannel <= 80)) return 0;
  if (sampleRate != 48000 && perChannel >= 96) return 1;
  if (sampleRate != 32000 && perChannel <= 48) return 2;
  return 3;
}

}  // namespace

MpegDecoder* MpegDecoderCreate() {
  MpegDecoder* d = new (std::nothrow) MpegDecoder;
  if (d) std::memset(static_cast<void*>(d), 0, sizeof(*d));
  return d;
}

void MpegDecoderDestroy(MpegDecoder* decoder) { delete decoder; }

int MpegDecoderSetUp(MpegDecoder* d, const MpegHeader* h, int32_t frameBytes, int32_t reduction, int32_t transform,
                     int32_t conversion, int32_t frequencyLimit) {
  (void)transform;
  (void)conversion;
  if (!d || !h) return 0;
  d->setUp = 0;
  std::memset(&d->info, 0, sizeof(d->info));
  if (h->layerCode < 1 || h->layerCode > 3 || h->sampleRateIndex < 0 || h->sampleRateIndex > 2) return 0;
  if (h->syncKind != 1 && h->syncKind != 2) return 0;
  if (h->syncKind == 2 && h->id != 0) return 0;
  if (h->id != 0 && h->id != 1) return 0;
  int rate = mpeg::SampleRateHz(h->syncKind, h->id, h->sampleRateIndex);
  if (rate <= 0) return 0;
  int layer2Table = 0;
  if (h->layerCode == 2) {
    layer2Table = PickLayer2Table(*h, frameBytes, rate);
    if (layer2Table < 0) return 0;
  }
  if (reduction < 0 || reduction > 2) reduction = 0;
  d->syncKind = h->syncKind;
  d->id = h->id;
  d->layerCode = h->layerCode;
  d->sampleRateIndex = h->sampleRateIndex;
  d->sampleRate = rate;
  d->rateIndex = mpeg::RateTableIndex(h->syncKind, h->id, h->sampleRateIndex);
  d->inChannels = h->mode == 3 ? 1 : 2;
  d->outChannels = d->inChannels;
  d->samplesPerChannel = static_cast<int>(MpegHeaderSamplesPerFrame(h));
  d->layer2Table = layer2Table;
  d->freeFrameBytes = frameBytes > 0 ? frameBytes : 0;
  // Subband limit.
  int limit = frequencyLimit < 1000 ? 1000 : frequencyLimit;
  int n = static_cast<int>((static_cast<int64_t>(limit) * 64 + rate / 2) / rate);
  int cap = 32 >> reduction;
  if (cap > 8) cap -= 1;
  if (d->subbandCapOverride > 0 && d->subbandCapOverride <= 32) cap = d->subbandCapOverride;
  if (n > cap) n = cap;
  d->subbandCap = n;  // Layer II: cut per frame to the allocation table's subbands
  if (h->layerCode == 2 && n > mpeg::Layer2AllocationTable(layer2Table)->sbLimit)
    n = mpeg::Layer2AllocationTable(layer2Table)->sbLimit;
  d->subbandLimit = n;
  // Clear all memory of earlier frames.
  d->reservoirBytes = 0;
  std::memset(d->mainData, 0, sizeof(d->mainData));
  std::memset(d->l3, 0, sizeof(d->l3));
  mpeg::SynthReset(&d->synth[0]);
  mpeg::SynthReset(&d->synth[1]);
  d->info.channels = static_cast<uint32_t>(d->outChannels);
  d->info.valuesPerFrame = static_cast<uint32_t>(d->outChannels * d->samplesPerChannel);
  d->info.sampleRate = static_cast<uint32_t>(rate);
  d->info.bitsPerSample = 16;
  d->info.frameBytes = static_cast<uint32_t>(frameBytes);
  d->info.reserved = 0;
  d->setUp = 1;
  return 1;
}

void MpegDecoderSetSubbandCap(MpegDecoder* d, int32_t cap) {
  if (d) d->subbandCapOverride = cap;
}

void MpegDecoderGetInfo(const MpegDecoder* d, MpegDecoderInfo* info) {
  if (!info) return;
  if (!d) {
    std::memset(info, 0, sizeof(*info));
    return;
  }
  *info = d->info;
}

void MpegDecodeFrame(MpegDecoder* d, const uint8_t* input, size_t inputBytes, int16_t* output, size_t* consumed,
                     size_t* produced) {
  if (consumed) *consumed = 0;
  if (produced) *produced = 0;
  if (!d || !d->setUp || !input || !output || inputBytes < 4) return;
  MpegHeader h;
  int size = 0;
  if (input[0] != 0xFF) return;
  // Header fields without the free-format measurement.
  {
    uint8_t b1 = input[1], b2 = input[2], b3 = input[3];
    int high = b1 >> 4;
    if (high != 0xF && high != 0xE) return;
    h.syncKind = high == 0xF ? 1 : 2;
    h.id = (b1 >> 3) & 1;
    h.layerCode = (b1 >> 1) & 3;
    h.protection = b1 & 1;
    h.bitRateIndex = b2 >> 4;
    h.sampleRateIndex = (b2 >> 2) & 3;
    h.padding = (b2 >> 1) & 1;
    h.privateBit = b2 & 1;
    h.mode = b3 >> 6;
    h.modeExtension = (b3 >> 4) & 3;
    h.copyright = (b3 >> 3) & 1;
    h.original = (b3 >> 2) & 1;
    h.emphasis = b3 & 3;
  }
  if (h.syncKind != d->syncKind || h.id != d->id || h.layerCode != d->layerCode ||
      h.sampleRateIndex != d->sampleRateIndex || h.bitRateIndex == 15)
    return;
  // Layers I and II keep the channel count of the set-up; Layer III frames
  // may change it (the output keeps the set-up's channels).
  if (h.layerCode != 1 && (h.mode == 3 ? 1 : 2) != d->inChannels) return;
  if (h.bitRateIndex == 0) {
    size = d->freeFrameBytes;
    if (size <= 0) {
      MpegHeader measured;
      size = MpegParseHeader(input, inputBytes, &measured);
    }
  } else {
    size = MpegParseHeader(input, 4, &h);
  }
  if (size <= 0) return;
  size_t total = static_cast<size_t>(size) + (h.padding ? (h.layerCode == 3 ? 4u : 1u) : 0u);
  if (total > inputBytes) return;
  size_t values = 0;
  switch (h.layerCode) {
    case 3:
      values = mpeg::DecodeLayer1(d, h, input, total, output);
      break;
    case 2:
      {
        // MPEG-1 allocation table of this frame's bit rate (it may change in a stream).
        int table = PickLayer2Table(h, size, d->sampleRate);
        if (table < 0) break;
        d->layer2Table = table;
      }
      values = mpeg::DecodeLayer2(d, h, input, total, output);
      break;
    default:
      values = mpeg::DecodeLayer3(d, h, input, total, output);
      break;
  }
  if (values == mpeg::kSkippedFrame) {
    if (consumed) *consumed = total;
    return;
  }
  if (values == 0) {
    // Undecodable frame: silence of the frame's length keeps the timing.
    values = static_cast<size_t>(d->samplesPerChannel * d->outChannels);
    std::memset(output, 0, values * sizeof(int16_t));
  }
  if (consumed) *consumed = total;
  if (produced) *produced = values * sizeof(int16_t);
}
