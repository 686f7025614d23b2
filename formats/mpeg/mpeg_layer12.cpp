// Layers I and II (ISO/IEC 11172-3 2.4.1.5-2.4.1.6 and 2.4.3.2-2.4.3.3;
// ISO/IEC 13818-3 for the low sampling frequencies).
#include <cstring>

#include "formats/mpeg/mpeg_internal.h"

namespace mpeg {
namespace {

// Requantised sample of a code v of a quantiser with `steps` levels:
// (2v - (steps - 1)) / steps (the standard's C (s' + D) for every class).
inline float Dequant(uint32_t v, int steps) {
  return static_cast<float>(2 * static_cast<int>(v) - (steps - 1)) / static_cast<float>(steps);
}

// Runs the synthesis over `blocks` blocks of 32 subband samples per channel.
void Synthesize(MpegDecoder* d, const float (*sb)[32], int channels, int blocks, int16_t* out, int outChannels) {
  if (channels == 2 && outChannels == 2) {
    for (int b = 0; b < blocks; ++b) SynthBlockStereo(d->synth, sb[b * 2], sb[b * 2 + 1], out + b * 64);
    return;
  }
  for (int b = 0; b < blocks; ++b)
    for (int ch = 0; ch < channels; ++ch)
      SynthBlock(&d->synth[ch], sb[(b * 2) + ch], out + b * 32 * outChannels + ch, outChannels);
}

// Grouped codes of the 3-, 5- and 9-level quantisers split into their three
// samples, 4 bits each (first sample lowest).
const uint16_t (*Layer2Ungroup())[1024] {
  static const struct Table {
    uint16_t v[3][1024];
    Table() {
      const int steps[3] = {3, 5, 9};
      for (int c = 0; c < 3; ++c)
        for (int code = 0; code < 1024; ++code) {
          int n = steps[c];
          v[c][code] = static_cast<uint16_t>((code % n) | ((code / n) % n) << 4 | ((code / n / n) % n) << 8);
        }
    }
  } t;
  return t.v;
}

}  // namespace

size_t DecodeLayer1(MpegDecoder* d, const MpegHeader& h, const uint8_t* frame, size_t frameBytes, int16_t* out) {
  BitReader br(frame, frameBytes);
  br.Skip(32);
  if (h.protection == 0) br.Skip(16);
  const int nch = d->inChannels;
  const int bound = h.mode == 1 ? (h.modeExtension + 1) * 4 : 32;
  uint8_t alloc[2][32];
  uint8_t scf[2][32];
  for (int sb = 0; sb < 32; ++sb) {
    if (sb < bound) {
      for (int ch = 0; ch < nch; ++ch) alloc[ch][sb] = static_cast<uint8_t>(br.Get(4));
    } else {
      alloc[0][sb] = alloc[1][sb] = static_cast<uint8_t>(br.Get(4));
    }
  }
  for (int sb = 0; sb < 32; ++sb)
    for (int ch = 0; ch < nch; ++ch) {
      if (alloc[ch][sb] == 15) return 0;  // forbidden value
      scf[ch][sb] = alloc[ch][sb] ? static_cast<uint8_t>(br.Get(6)) : 0;
    }
  const float* sfTable = Layer12ScaleFactors();
  const int limit = d->subbandLimit;
  // Twelve blocks of 32 samples per channel; interleaved [block][ch][sb].
  alignas(16) float sbs[24][32];
  for (int s = 0; s < 12; ++s) {
    for (int ch = 0; ch < 2; ++ch) std::memset(sbs[s * 2 + ch], 0, sizeof(sbs[0]));
    for (int sb = 0; sb < 32; ++sb) {
      if (sb < bound) {
        for (int ch = 0; ch < nch; ++ch) {
          int a = alloc[ch][sb];
          if (!a) continue;
          int bits = a + 1;
          float x = Dequant(br.Get(bits), (1 << bits) - 1) * sfTable[scf[ch][sb]];
          if (sb < limit) sbs[s * 2 + ch][sb] = x;
        }
      } else {
        int a = alloc[0][sb];
        if (!a) continue;
        int bits = a + 1;
        float q = Dequant(br.Get(bits), (1 << bits) - 1);
        for (int ch = 0; ch < nch; ++ch)
          if (sb < limit) sbs[s * 2 + ch][sb] = q * sfTable[scf[ch][sb]];
      }
    }
  }
  Synthesize(d, sbs, nch, 12, out, d->outChannels);
  return static_cast<size_t>(384 * d->outChannels);
}

size_t DecodeLayer2(MpegDecoder* d, const MpegHeader& h, const uint8_t* frame, size_t frameBytes, int16_t* out) {
  BitReader br(frame, frameBytes);
  br.Skip(32);
  if (h.protection == 0) br.Skip(16);
  const Layer2Table* table = Layer2AllocationTable(d->layer2Table);
  const Layer2Class* classes = Layer2Classes();
  const uint16_t(*ungroup)[1024] = Layer2Ungroup();
  const int nch = d->inChannels;
  const int sbLimit = table->sbLimit;
  int bound = h.mode == 1 ? (h.modeExtension + 1) * 4 : sbLimit;
  if (bound > sbLimit) bound = sbLimit;
  uint8_t alloc[2][32] = {};  // class index + 1, 0 = no allocation
  for (int sb = 0; sb < sbLimit; ++sb) {
    int nbal = table->nbal[sb];
    if (sb < bound) {
      for (int ch = 0; ch < nch; ++ch) alloc[ch][sb] = table->classOf[sb][br.Get(nbal)];
    } else {
      alloc[0][sb] = alloc[1][sb] = table->classOf[sb][br.Get(nbal)];
    }
  }
  uint8_t scfsi[2][32] = {};
  for (int sb = 0; sb < sbLimit; ++sb)
    for (int ch = 0; ch < nch; ++ch)
      if (alloc[ch][sb]) scfsi[ch][sb] = static_cast<uint8_t>(br.Get(2));
  uint8_t scf[2][32][3] = {};
  for (int sb = 0; sb < sbLimit; ++sb)
    for (int ch = 0; ch < nch; ++ch) {
      if (!alloc[ch][sb]) continue;
      uint8_t* s = scf[ch][sb];
      switch (scfsi[ch][sb]) {
        case 0:
          s[0] = static_cast<uint8_t>(br.Get(6));
          s[1] = static_cast<uint8_t>(br.Get(6));
          s[2] = static_cast<uint8_t>(br.Get(6));
          break;
        case 1:
          s[0] = s[1] = static_cast<uint8_t>(br.Get(6));
          s[2] = static_cast<uint8_t>(br.Get(6));
          break;
        case 2:
          s[0] = s[1] = s[2] = static_cast<uint8_t>(br.Get(6));
          break;
        default:
          s[0] = static_cast<uint8_t>(br.Get(6));
          s[1] = s[2] = static_cast<uint8_t>(br.Get(6));
          break;
      }
    }
  const float* sfTable = Layer12ScaleFactors();
  const int limit = d->subbandCap < sbLimit ? d->subbandCap : sbLimit;
  d->subbandLimit = limit;
  const int outValues = 1152 * d->outChannels;
  // The allocated subbands of the frame as one flat list, so the twelve
  // granules walk only those; codes of subbands above the output limit are
  // still read, then dropped. A sample is (2v - (steps - 1)) times, per third
  // of the frame and output channel, scale factor / steps.
  struct Coded {
    int bits;                // bits per code
    const uint16_t* groups;  // grouped codes: their table, else null
    int offset;              // steps - 1
    int outs;                // output channels fed: 0 (above the limit), 1 or 2
    int column[2];           // place in a block of [ch][sb]
    float scale[2][3];
  };
  Coded coded[64];
  int count = 0;
  for (int sb = 0; sb < sbLimit; ++sb) {
    const int chans = sb < bound ? nch : 1;
    for (int ch = 0; ch < chans; ++ch) {
      const int c = alloc[ch][sb];
      if (!c) continue;
      const Layer2Class& q = classes[c - 1];
      Coded& k = coded[count++];
      k.bits = q.bits;
      k.groups = q.grouped ? ungroup[q.steps == 3 ? 0 : q.steps == 5 ? 1 : 2] : nullptr;
      k.offset = q.steps - 1;
      k.outs = 0;
      if (sb >= limit) continue;
      const float perStep = 1.0f / static_cast<float>(q.steps);
      // Joint stereo above the bound: one set of samples, each channel's own scale.
      const int last = sb < bound ? ch : nch - 1;
      for (int oc = sb < bound ? ch : 0; oc <= last; ++oc) {
        k.column[k.outs] = oc * 32 + sb;
        for (int part = 0; part < 3; ++part) k.scale[k.outs][part] = sfTable[scf[oc][sb][part]] * perStep;
        ++k.outs;
      }
    }
  }
  // Three blocks of [ch][sb], decoded per granule of three. Every granule
  // writes the same places, so the others are cleared once per frame.
  alignas(16) float sbs[6][32];
  std::memset(sbs, 0, sizeof(sbs));
  float* const blocks = &sbs[0][0];
  for (int gr = 0; gr < 12; ++gr) {
    const int part = gr >> 2;
    for (int i = 0; i < count; ++i) {
      const Coded& k = coded[i];
      uint32_t v0, v1, v2;
      if (k.groups) {
        // One code for three samples; an out-of-range code stays within the levels.
        const uint32_t packed = k.groups[br.Get(k.bits)];
        v0 = packed & 15;
        v1 = (packed >> 4) & 15;
        v2 = packed >> 8;
      } else if (k.bits <= 10) {
        // Three codes fit one read.
        const uint32_t word = br.Get(3 * k.bits);
        const uint32_t mask = (1u << k.bits) - 1;
        v0 = word >> (2 * k.bits);
        v1 = (word >> k.bits) & mask;
        v2 = word & mask;
      } else {
        v0 = br.Get(k.bits);
        v1 = br.Get(k.bits);
        v2 = br.Get(k.bits);
      }
      const float f0 = static_cast<float>(static_cast<int>(2 * v0) - k.offset);
      const float f1 = static_cast<float>(static_cast<int>(2 * v1) - k.offset);
      const float f2 = static_cast<float>(static_cast<int>(2 * v2) - k.offset);
      for (int o = 0; o < k.outs; ++o) {
        const float scale = k.scale[o][part];
        float* x = blocks + k.column[o];
        x[0] = f0 * scale;
        x[64] = f1 * scale;
        x[128] = f2 * scale;
      }
    }
    Synthesize(d, sbs, nch, 3, out + gr * 3 * 32 * d->outChannels, d->outChannels);
  }
  return static_cast<size_t>(outValues);
}

}  // namespace mpeg
