// Layer III (ISO/IEC 11172-3 2.4.1.7, 2.4.2.7, 2.4.3.4; ISO/IEC 13818-3 for
// the low sampling frequencies and MPEG 2.5): bit reservoir, Huffman
// decoding, requantisation, stereo processing, reordering, and the frame
// loop through alias reduction, IMDCT and frequency inversion. Side
// information and scale factors are in mpeg_layer3_sideinfo.cpp.
#include <cmath>
#include <cstring>

#include "formats/mpeg/mpeg_huffman.h"
#include "formats/mpeg/mpeg_internal.h"
#include "formats/mpeg/mpeg_layer3_sideinfo.h"

// A test build counts the Huffman code words that streams use (table 32:
// count1 table A, 33: table B, the quadruple as x = vw, y = xy).
#ifdef MPEG_COUNT_HUFFMAN_CODES
void MpegHuffmanCodeSeen(int table, int x, int y);
#define HUFFMAN_CODE_SEEN(table, x, y) MpegHuffmanCodeSeen(table, x, y)
#else
#define HUFFMAN_CODE_SEEN(table, x, y) ((void)0)
#endif

namespace mpeg {
namespace {

// Values up to this magnitude (most of them) take the signed table.
constexpr int kSmallMax = 31;

struct Tables {
  float pow43[8207];
  float pow43Small[2 * kSmallMax + 1];  // sign(v) |v|^(4/3) at v + kSmallMax
  float gain[1280];  // 2^((q) / 4) for q = index - 1024
  float isMpeg1[7][2];
  float isMpeg2[2][32][2];
  Tables() {
    for (int i = 0; i < 8207; ++i) pow43[i] = static_cast<float>(std::pow(static_cast<double>(i), 4.0 / 3.0));
    for (int v = -kSmallMax; v <= kSmallMax; ++v) pow43Small[v + kSmallMax] = v < 0 ? -pow43[-v] : pow43[v];
    for (int i = 0; i < 1280; ++i) gain[i] = static_cast<float>(std::pow(2.0, (i - 1024) / 4.0));
    for (int p = 0; p < 7; ++p) {
      if (p == 6) {
        isMpeg1[p][0] = 1.0f;
        isMpeg1[p][1] = 0.0f;
      } else {
        double r = std::tan(p * kPi / 12.0);
        isMpeg1[p][0] = static_cast<float>(r / (1.0 + r));
        isMpeg1[p][1] = static_cast<float>(1.0 / (1.0 + r));
      }
    }
    for (int scale = 0; scale < 2; ++scale) {
      double io = scale ? std::sqrt(0.5) : std::pow(2.0, -0.25);
      for (int p = 0; p < 32; ++p) {
        double kl = 1.0, kr = 1.0;
        if (p & 1) kl = std::pow(io, (p + 1) / 2);
        else kr = std::pow(io, p / 2);
        isMpeg2[scale][p][0] = static_cast<float>(kl);
        isMpeg2[scale][p][1] = static_cast<float>(kr);
      }
    }
  }
};

const Tables& T() {
  static const Tables t;
  return t;
}

const uint8_t kPretab[22] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 3, 3, 3, 2, 0};

// Huffman decoding of big values and count1 into is[]; returns the end of
// the possibly non-zero lines, or -1 when the data make no sense.
int DecodeHuffmanLines(BitReader& br, size_t endBit, const GranuleInfo& g, int32_t* is) {
  const HuffLookup* tables = HuffBigValueTables();
  int bigEnd = g.bigValues * 2;
  int r1 = g.region1Start < bigEnd ? g.region1Start : bigEnd;
  int r2 = g.region2Start < bigEnd ? g.region2Start : bigEnd;
  if (r2 < r1) r2 = r1;
  const int bounds[4] = {0, r1, r2, bigEnd};
  int i = 0;
  for (int r = 0; r < 3; ++r) {
    const HuffLookup& t = tables[g.tableSelect[r]];
    int end = bounds[r + 1];
    if (i >= end) continue;
    if (!t.valid) return -1;
    if (g.tableSelect[r] == 0) {
      for (; i < end; ++i) is[i] = 0;
      continue;
    }
    const uint32_t* lut = t.table;
    const int root = t.rootBits;
    const int linbits = t.linbits;
    // An overrun shows in the position after the loop (it only grows); the
    // reader yields zero bits past its end.
    for (; i < end; i += 2) {
      uint32_t e = lut[br.Peek(root)];
      if (e & 0x80000000u) {
        br.Skip(root);
        e = lut[((e & 0xFFFFFFu) + br.Peek(static_cast<int>((e >> 24) & 0x1F)))];
      }
      br.Skip(static_cast<int>((e >> 16) & 0x1F));
      int x = static_cast<int>((e >> 4) & 15), y = static_cast<int>(e & 15);
      HUFFMAN_CODE_SEEN(g.tableSelect[r], x, y);
      if (linbits) {
        if (x == 15) x += static_cast<int>(br.Get(linbits));
        if (x && br.Bit()) x = -x;
        if (y == 15) y += static_cast<int>(br.Get(linbits));
        if (y && br.Bit()) y = -y;
      } else {
        // One sign bit per non-zero value, right after the code word;
        // taken without branches, whose outcome the data decide.
        const int sign = static_cast<int>(br.Peek(2));
        const int hasX = x != 0, hasY = y != 0;
        const int negX = (sign >> 1) & hasX;
        const int negY = (sign >> (1 - hasX)) & 1 & hasY;
        x = (x ^ -negX) + negX;
        y = (y ^ -negY) + negY;
        br.Skip(hasX + hasY);
      }
      is[i] = x;
      is[i + 1] = y;
    }
    if (br.Position() > endBit) return -1;
  }
  if (br.Position() > endBit) return -1;
  // Count1 region: quadruples until the part ends.
  const HuffLookup* a = HuffCount1TableA();
  while (i + 4 <= 576 && br.Position() < endBit) {
    int v;
    if (g.count1Table) {
      v = static_cast<int>(br.Get(4)) ^ 15;
      HUFFMAN_CODE_SEEN(33, v >> 2, v & 3);
    } else {
      uint32_t e = a->table[br.Peek(a->rootBits)];
      br.Skip(static_cast<int>((e >> 16) & 0x1F));
      v = static_cast<int>(e & 15);
      HUFFMAN_CODE_SEEN(32, v >> 2, v & 3);
    }
    int q[4] = {(v >> 3) & 1, (v >> 2) & 1, (v >> 1) & 1, v & 1};
    const int sign = static_cast<int>(br.Peek(4));
    int used = 0;
    for (int k = 0; k < 4; ++k) {
      const int has = q[k];  // 0 or 1; a sign bit follows each 1
      const int neg = (sign >> (3 - used)) & has;
      q[k] = has - 2 * neg;
      used += has;
    }
    br.Skip(used);
    if (br.Position() > endBit) break;  // the quadruple crossed the end: discarded
    is[i] = q[0];
    is[i + 1] = q[1];
    is[i + 2] = q[2];
    is[i + 3] = q[3];
    i += 4;
  }
  for (int k = i; k < 576; ++k) is[k] = 0;
  return i;
}

// Requantisation into xr over the band list (coded order).
void Requantize(const GranuleInfo& g, const BandList& bands, const uint8_t* scf, int preflag, const int32_t* is,
                int nz, float* xr) {
  const Tables& t = T();
  int line = 0;
  const int shift = 1 + g.scalefacScale;
  for (int b = 0; b < bands.count && line < nz; ++b) {
    int w = bands.window[b];
    int q = g.globalGain - 210;
    if (w < 0) q -= (scf[b] + (preflag ? kPretab[bands.sfb[b]] : 0)) << shift;
    else q -= 8 * g.subblockGain[w] + (scf[b] << shift);
    if (q < -1024) q = -1024;
    if (q > 255) q = 255;
    float gain = t.gain[q + 1024];
    int end = line + bands.width[b];
    if (end > 576) end = 576;
    for (; line < end; ++line) {
      int v = is[line];
      unsigned small = static_cast<unsigned>(v + kSmallMax);
      float f;
      if (small <= 2 * kSmallMax) {
        f = t.pow43Small[small];
      } else {
        int m = v < 0 ? -v : v;
        if (m > 8206) m = 8206;
        f = v < 0 ? -t.pow43[m] : t.pow43[m];
      }
      xr[line] = f * gain;
    }
  }
  for (; line < 576; ++line) xr[line] = 0.0f;
}

void MidSide(float* l, float* r, int from, int to) {
  const float s = 0.70710678118654752f;
  for (int i = from; i < to; ++i) {
    float m = l[i], d = r[i];
    l[i] = (m + d) * s;
    r[i] = (m - d) * s;
  }
}

// Stereo processing of one granule (both channels, coded order).
// Lines from `used` on are zero in both channels and stay so.
void Stereo(const MpegHeader& h, bool mpeg1, const GranuleInfo& right, const BandList& bands, const uint8_t* ist,
            int used, float* l, float* r) {
  const bool ms = h.mode == 1 && (h.modeExtension & 2);
  const bool intensity = h.mode == 1 && (h.modeExtension & 1);
  if (!intensity) {
    if (ms) MidSide(l, r, 0, used);
    return;
  }
  const Tables& t = T();
  // Last band of the right channel with a non-zero value, per window.
  int maxBand[3] = {-1, -1, -1};
  int start[40];
  {
    int line = 0;
    for (int b = 0; b < bands.count; ++b) {
      start[b] = line;
      int end = line + bands.width[b];
      for (int i = line; i < end && i < 576; ++i)
        if (r[i] != 0.0f) {
          int w = bands.window[b] < 0 ? 0 : bands.window[b];
          if (bands.window[b] < 0) maxBand[0] = maxBand[1] = maxBand[2] = b;
          else maxBand[w] = b;
          break;
        }
      line = end;
    }
  }
  if (bands.longCount > 0 && bands.longCount < bands.count) {
    int m = maxBand[0] > maxBand[1] ? maxBand[0] : maxBand[1];
    m = m > maxBand[2] ? m : maxBand[2];
    maxBand[0] = maxBand[1] = maxBand[2] = m;
  }
  uint8_t pos[40];
  for (int b = 0; b < bands.count; ++b) pos[b] = ist[b];
  // The top band of each window carries no scale factor: it takes the
  // position of the band below when that one is intensity coded.
  const int step = bands.longCount == bands.count ? 1 : 3;
  for (int w = 0; w < step; ++w) {
    int top = bands.count - step + w;
    int prev = top - step;
    int wi = bands.window[top] < 0 ? 0 : bands.window[top];
    pos[top] = (prev >= 0 && prev > maxBand[wi]) ? pos[prev] : kIllegal;
  }
  const int scale = right.sfCompress & 1;
  for (int b = 0; b < bands.count; ++b) {
    int wi = bands.window[b] < 0 ? 0 : bands.window[b];
    int from = start[b], to = start[b] + bands.width[b];
    if (to > 576) to = 576;
    unsigned p = pos[b];
    bool use = b > maxBand[wi] && p != kIllegal && (mpeg1 ? p < 7 : p < 32);
    if (use) {
      float kl, kr;
      if (mpeg1) {
        kl = t.isMpeg1[p][0];
        kr = t.isMpeg1[p][1];
      } else {
        kl = t.isMpeg2[scale][p][0];
        kr = t.isMpeg2[scale][p][1];
      }
      for (int i = from; i < to; ++i) {
        float x = l[i];
        l[i] = x * kl;
        r[i] = x * kr;
      }
    } else if (ms) {
      MidSide(l, r, from, to);
    }
  }
}

// Short-block reordering: coded order (band, window, line) to (band, line, window).
void Reorder(const BandList& bands, float* xr, float* tmp) {
  int line = 0;
  for (int b = 0; b < bands.longCount; ++b) line += bands.width[b];
  int base = line;
  for (int b = bands.longCount; b + 2 < bands.count; b += 3) {
    int n = bands.width[b];
    for (int w = 0; w < 3; ++w)
      for (int j = 0; j < n; ++j) tmp[3 * j + w] = xr[base + w * n + j];
    std::memcpy(xr + base, tmp, sizeof(float) * static_cast<size_t>(3 * n));
    base += 3 * n;
  }
}

}  // namespace

size_t DecodeLayer3(MpegDecoder* d, const MpegHeader& h, const uint8_t* frame, size_t frameBytes, int16_t* out) {
  const bool mpeg1 = h.id == 1;
  const int nch = h.mode == 3 ? 1 : 2;  // may change within a stream
  const int sideBytes = mpeg1 ? (nch == 1 ? 17 : 32) : (nch == 1 ? 9 : 17);
  size_t sideStart = 4 + (h.protection == 0 ? 2 : 0);
  size_t mainStart = sideStart + static_cast<size_t>(sideBytes);
  if (mainStart > frameBytes) return 0;
  SideInfo si;
  std::memset(&si, 0, sizeof(si));
  BitReader sbr(frame + sideStart, static_cast<size_t>(sideBytes));
  bool sideOk = ReadSideInfo(sbr, mpeg1, nch, d->rateIndex, &si);

  // Bit reservoir: append this frame's main data behind the kept bytes.
  size_t mainLen = frameBytes - mainStart;
  const size_t room = static_cast<size_t>(kMainBufferBytes) - 16 - static_cast<size_t>(d->reservoirBytes);
  if (mainLen > room) mainLen = room;
  std::memcpy(d->mainData + d->reservoirBytes, frame + mainStart, mainLen);
  const int have = d->reservoirBytes;
  const int total = have + static_cast<int>(mainLen);
  const bool reservoirOk = sideOk && si.mainDataBegin <= have;
  const uint8_t* mainData = d->mainData + (reservoirOk ? have - si.mainDataBegin : 0);
  const size_t mainBytes = reservoirOk ? static_cast<size_t>(total - (have - si.mainDataBegin)) : 0;

  if (!reservoirOk) {
    // The main data begin before the bytes held (first frames after set-up,
    // or a damaged stream): nothing is decoded, as in the reference
    // decoder; the frame's bytes still feed the reservoir.
    int keep = total < 1024 ? total : 1024;
    std::memmove(d->mainData, d->mainData + (total - keep), static_cast<size_t>(keep));
    d->reservoirBytes = keep;
    return kSkippedFrame;
  }
  const int granules = mpeg1 ? 2 : 1;
  const int limitLines = d->subbandLimit * 18;
  BitReader br(mainData, mainBytes);
  size_t bitPos = 0;
  static_assert(sizeof(d->quant[0]) == 576 * sizeof(int32_t), "work area");
  uint8_t scf[2][40];
  uint8_t ist[40];
  uint8_t saved[2][22];
  std::memset(saved, 0, sizeof(saved));
  std::memset(ist, kIllegal, sizeof(ist));
  alignas(16) float samples[2][18][32];
  alignas(16) float tmp[576];

  for (int gr = 0; gr < granules; ++gr) {
    int nz[2] = {0, 0};
    for (int ch = 0; ch < nch; ++ch) {
      const GranuleInfo& g = si.gr[gr][ch];
      float* xr = d->work[ch];
      int32_t* is = d->quant[ch];
      bool ok = reservoirOk;
      size_t endBit = bitPos + static_cast<size_t>(g.part23);
      if (ok && endBit > mainBytes * 8) ok = false;
      const BandList& bands = BandsOf(d->rateIndex, g);
      int preflag = g.preflag;
      if (ok) {
        br.Seek(bitPos);
        if (mpeg1) {
          ReadScalefactorsMpeg1(br, g, gr, si.scfsi[ch], scf[ch], saved[ch]);
        } else {
          bool isRight = ch == 1 && h.mode == 1 && (h.modeExtension & 1);
          uint8_t dummy[40];
          ReadScalefactorsLsf(br, g, isRight, bands, scf[ch], isRight ? ist : dummy, &preflag);
        }
        if (br.Position() > endBit || g.bigValues > 288) ok = false;
      }
      int n = ok ? DecodeHuffmanLines(br, endBit, g, is) : -1;
      if (n < 0) {
        std::memset(xr, 0, sizeof(float) * 576);
        nz[ch] = 0;
      } else {
        Requantize(g, bands, scf[ch], preflag, is, n, xr);
        nz[ch] = n;
      }
      bitPos = endBit;
    }
    if (nch == 2 && h.mode == 1 && h.modeExtension) {
      const GranuleInfo& right = si.gr[gr][1];
      if (mpeg1) {
        // MPEG-1 intensity positions are the right channel's scale factors.
        const BandList& rb = BandsOf(d->rateIndex, right);
        for (int b = 0; b < rb.count; ++b) ist[b] = scf[1][b];
      }
      // Both channels are zero above the higher of their last non-zero lines.
      const int used = nz[0] > nz[1] ? nz[0] : nz[1];
      Stereo(h, mpeg1, right, BandsOf(d->rateIndex, right), ist, used, d->work[0], d->work[1]);
      nz[0] = nz[1] = used;
    }
    for (int ch = 0; ch < nch; ++ch) {
      const GranuleInfo& g = si.gr[gr][ch];
      float* xr = d->work[ch];
      const BandList& bands = BandsOf(d->rateIndex, g);
      if (g.blockType == 2) Reorder(bands, xr, tmp);
      for (int i = limitLines; i < 576; ++i) xr[i] = 0.0f;
      // Subbands with data (plus one for the alias butterflies).
      int used = nz[ch] < limitLines ? nz[ch] : limitLines;
      if (g.blockType == 2) used = limitLines;
      int sbUsed = (used + 17) / 18;
      if (g.blockType != 2) Layer3AliasReduce(xr, sbUsed + 1 < 32 ? sbUsed + 1 : 32);
      else if (g.mixed) Layer3AliasReduce(xr, 2);
      Layer3Imdct(xr, g.blockType, g.mixed, sbUsed + 1 < 32 ? sbUsed + 1 : 32, &d->l3[ch], samples[ch]);
      for (int i = 0; i < 18; ++i)
        for (int sb = d->subbandLimit; sb < 32; ++sb) samples[ch][i][sb] = 0.0f;
    }
    int16_t* pcm = out + gr * 576 * d->outChannels;
    if (nch == 2 && d->outChannels == 2) {
      for (int i = 0; i < 18; ++i) SynthBlockStereo(d->synth, samples[0][i], samples[1][i], pcm + i * 64);
    } else {
      // Mono output takes the left channel of a stereo frame; a mono frame
      // in stereo output goes to both channels.
      const int oc = d->outChannels;
      for (int i = 0; i < 18; ++i) SynthBlock(&d->synth[0], samples[0][i], pcm + i * 32 * oc, oc);
      if (oc == 2)
        for (int i = 0; i < 576; ++i) pcm[2 * i + 1] = pcm[2 * i];
    }
  }
  // Keep the last bytes for the next frames' main_data_begin (at most 511).
  int keep = total < 1024 ? total : 1024;
  std::memmove(d->mainData, d->mainData + (total - keep), static_cast<size_t>(keep));
  d->reservoirBytes = keep;
  return static_cast<size_t>(granules * 576 * d->outChannels);
}

}  // namespace mpeg
