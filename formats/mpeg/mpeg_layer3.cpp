// Layer III (ISO/IEC 11172-3 2.4.1.7, 2.4.2.7, 2.4.3.4; ISO/IEC 13818-3 for
// the low sampling frequencies and MPEG 2.5): side information, bit
// reservoir, scale factors, Huffman decoding, requantisation, stereo
// processing, reordering, alias reduction, IMDCT, frequency inversion.
#include <cmath>
#include <cstring>

#include "formats/mpeg/mpeg_huffman.h"
#include "formats/mpeg/mpeg_internal.h"

namespace mpeg {
namespace {

struct GranuleInfo {
  int part23;
  int bigValues;
  int globalGain;
  int sfCompress;
  int windowSwitching;
  int blockType;
  int mixed;
  int tableSelect[3];
  int subblockGain[3];
  int region1Start;  // lines
  int region2Start;
  int preflag;
  int scalefacScale;
  int count1Table;
};

struct SideInfo {
  int mainDataBegin;
  int scfsi[2][4];
  GranuleInfo gr[2][2];
};

// A granule's scale-factor bands in coded order: long bands, then short
// bands with their three windows one after the other.
struct BandList {
  int count;
  int longCount;         // entries that are long bands
  int16_t width[40];
  int8_t window[40];     // -1 long, else 0..2
  int8_t sfb[40];        // band number (long or short)
};

// Values up to this magnitude (most of them) take the signed table.
constexpr int kSmallMax = 31;

struct Tables {
  float pow43[8207];
  float pow43Small[2 * kSmallMax + 1];  // sign(v) |v|^(4/3) at v + kSmallMax
  float gain[1280];  // 2^((q) / 4) for q = index - 1024
  float isMpeg1[7][2];
  float isMpeg2[2][32][2];
  BandList bands[9][3];  // [rate][0 long, 1 short, 2 mixed]
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
    for (int r = 0; r < 9; ++r) {
      const int16_t* lb = LongBandBounds(r);
      const int16_t* sb = ShortBandBounds(r);
      BandList& L = bands[r][0];
      L.count = 22;
      L.longCount = 22;
      for (int b = 0; b < 22; ++b) {
        L.width[b] = static_cast<int16_t>(lb[b + 1] - lb[b]);
        L.window[b] = -1;
        L.sfb[b] = static_cast<int8_t>(b);
      }
      for (int kind = 1; kind < 3; ++kind) {
        BandList& B = bands[r][kind];
        int n = 0;
        int first = 0;
        if (kind == 2) {
          int nLong = r < 3 ? 8 : 6;
          for (int b = 0; b < nLong; ++b, ++n) {
            B.width[n] = static_cast<int16_t>(lb[b + 1] - lb[b]);
            B.window[n] = -1;
            B.sfb[n] = static_cast<int8_t>(b);
          }
          first = 3;
        }
        B.longCount = n;
        for (int b = first; b < 13; ++b)
          for (int w = 0; w < 3; ++w, ++n) {
            B.width[n] = static_cast<int16_t>(sb[b + 1] - sb[b]);
            B.window[n] = static_cast<int8_t>(w);
            B.sfb[n] = static_cast<int8_t>(b);
          }
        B.count = n;
      }
    }
  }
};

const Tables& T() {
  static const Tables t;
  return t;
}

const uint8_t kPretab[22] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 3, 3, 3, 2, 0};
const uint8_t kSlen[2][16] = {{0, 0, 0, 0, 3, 1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4},
                              {0, 1, 2, 3, 0, 1, 2, 3, 1, 2, 3, 1, 2, 3, 2, 3}};
// ISO/IEC 13818-3 table: scale factors per slen group, [row][block kind][group].
const uint8_t kLsfCounts[6][3][4] = {{{6, 5, 5, 5}, {9, 9, 9, 9}, {6, 9, 9, 9}},
                                     {{6, 5, 7, 3}, {9, 9, 12, 6}, {6, 9, 12, 6}},
                                     {{11, 10, 0, 0}, {18, 18, 0, 0}, {15, 18, 0, 0}},
                                     {{7, 7, 7, 0}, {12, 12, 12, 0}, {6, 15, 12, 0}},
                                     {{6, 6, 6, 3}, {12, 9, 9, 6}, {6, 12, 9, 6}},
                                     {{8, 8, 5, 0}, {15, 12, 9, 0}, {6, 18, 9, 0}}};

constexpr uint8_t kIllegal = 255;

// Reads the side information; false when it makes no sense.
bool ReadSideInfo(BitReader& br, bool mpeg1, int nch, int rateIndex, SideInfo* si) {
  const int16_t* lb = LongBandBounds(rateIndex);
  si->mainDataBegin = static_cast<int>(br.Get(mpeg1 ? 9 : 8));
  br.Skip(mpeg1 ? (nch == 1 ? 5 : 3) : (nch == 1 ? 1 : 2));
  if (mpeg1)
    for (int ch = 0; ch < nch; ++ch)
      for (int g = 0; g < 4; ++g) si->scfsi[ch][g] = static_cast<int>(br.Bit());
  const int granules = mpeg1 ? 2 : 1;
  for (int gr = 0; gr < granules; ++gr)
    for (int ch = 0; ch < nch; ++ch) {
      GranuleInfo& g = si->gr[gr][ch];
      g.part23 = static_cast<int>(br.Get(12));
      g.bigValues = static_cast<int>(br.Get(9));
      g.globalGain = static_cast<int>(br.Get(8));
      g.sfCompress = static_cast<int>(br.Get(mpeg1 ? 4 : 9));
      g.windowSwitching = static_cast<int>(br.Bit());
      if (g.windowSwitching) {
        g.blockType = static_cast<int>(br.Get(2));
        g.mixed = static_cast<int>(br.Bit());
        g.tableSelect[0] = static_cast<int>(br.Get(5));
        g.tableSelect[1] = static_cast<int>(br.Get(5));
        g.tableSelect[2] = 0;
        for (int w = 0; w < 3; ++w) g.subblockGain[w] = static_cast<int>(br.Get(3));
        if (g.blockType == 0) return false;
        // Short blocks: region 0 is the first three short bands of each
        // window (36 lines at every rate but 8 kHz, where they are wider).
        if (g.blockType == 2) g.region1Start = g.mixed ? 36 : 3 * ShortBandBounds(rateIndex)[3];
        else g.region1Start = lb[8];
        g.region2Start = 576;
      } else {
        g.blockType = 0;
        g.mixed = 0;
        for (int r = 0; r < 3; ++r) g.tableSelect[r] = static_cast<int>(br.Get(5));
        g.subblockGain[0] = g.subblockGain[1] = g.subblockGain[2] = 0;
        int r0 = static_cast<int>(br.Get(4));
        int r1 = static_cast<int>(br.Get(3));
        int i1 = r0 + 1, i2 = r0 + r1 + 2;
        g.region1Start = lb[i1 > 22 ? 22 : i1];
        g.region2Start = lb[i2 > 22 ? 22 : i2];
      }
      g.preflag = mpeg1 ? static_cast<int>(br.Bit()) : 0;
      g.scalefacScale = static_cast<int>(br.Bit());
      g.count1Table = static_cast<int>(br.Bit());
    }
  return true;
}

const BandList& BandsOf(int rateIndex, const GranuleInfo& g) {
  int kind = g.blockType == 2 ? (g.mixed ? 2 : 1) : 0;
  return T().bands[rateIndex][kind];
}

// MPEG-1 scale factors into scf (band-list order).
void ReadScalefactorsMpeg1(BitReader& br, const GranuleInfo& g, int gr, const int scfsi[4], uint8_t* scf,
                           uint8_t* saved) {
  int slen1 = kSlen[0][g.sfCompress], slen2 = kSlen[1][g.sfCompress];
  if (g.blockType == 2) {
    int n = 0;
    if (g.mixed) {
      for (int b = 0; b < 8; ++b) scf[n++] = static_cast<uint8_t>(br.Get(slen1));
      for (int k = 0; k < 9; ++k) scf[n++] = static_cast<uint8_t>(br.Get(slen1));
    } else {
      for (int k = 0; k < 18; ++k) scf[n++] = static_cast<uint8_t>(br.Get(slen1));
    }
    for (int k = 0; k < 18; ++k) scf[n++] = static_cast<uint8_t>(br.Get(slen2));
    scf[n++] = 0;
    scf[n++] = 0;
    scf[n++] = 0;
    return;
  }
  static const int kGroup[5] = {0, 6, 11, 16, 21};
  for (int grp = 0; grp < 4; ++grp) {
    int slen = grp < 2 ? slen1 : slen2;
    for (int b = kGroup[grp]; b < kGroup[grp + 1]; ++b) {
      if (gr == 1 && scfsi[grp]) scf[b] = saved[b];
      else scf[b] = static_cast<uint8_t>(br.Get(slen));
    }
  }
  scf[21] = 0;
  for (int b = 0; b < 22; ++b) saved[b] = scf[b];
}

// MPEG-2 scale factors; for the intensity-stereo right channel also the
// intensity positions (kIllegal where the value is the group's maximum).
void ReadScalefactorsLsf(BitReader& br, const GranuleInfo& g, bool isRight, const BandList& bands, uint8_t* scf,
                         uint8_t* ist, int* preflag) {
  int slen[4] = {0, 0, 0, 0};
  int row;
  int sfc = g.sfCompress;
  *preflag = 0;
  if (!isRight) {
    if (sfc < 400) {
      slen[0] = (sfc >> 4) / 5;
      slen[1] = (sfc >> 4) % 5;
      slen[2] = (sfc & 15) >> 2;
      slen[3] = sfc & 3;
      row = 0;
    } else if (sfc < 500) {
      sfc -= 400;
      slen[0] = (sfc >> 2) / 5;
      slen[1] = (sfc >> 2) % 5;
      slen[2] = sfc & 3;
      row = 1;
    } else {
      sfc -= 500;
      slen[0] = sfc / 3;
      slen[1] = sfc % 3;
      row = 2;
      *preflag = 1;
    }
  } else {
    int isc = sfc >> 1;
    if (isc < 180) {
      slen[0] = isc / 36;
      slen[1] = (isc % 36) / 6;
      slen[2] = (isc % 36) % 6;
      row = 3;
    } else if (isc < 244) {
      isc -= 180;
      slen[0] = (isc % 64) >> 4;
      slen[1] = (isc % 16) >> 2;
      slen[2] = isc % 4;
      row = 4;
    } else {
      isc -= 244;
      slen[0] = isc / 3;
      slen[1] = isc % 3;
      row = 5;
    }
  }
  int kind = g.blockType == 2 ? (g.mixed ? 2 : 1) : 0;
  int n = 0;
  for (int grp = 0; grp < 4; ++grp) {
    int count = kLsfCounts[row][kind][grp];
    int maxValue = (1 << slen[grp]) - 1;
    for (int k = 0; k < count && n < bands.count; ++k, ++n) {
      int v = static_cast<int>(br.Get(slen[grp]));
      scf[n] = static_cast<uint8_t>(v);
      ist[n] = v == maxValue ? kIllegal : static_cast<uint8_t>(v);
    }
  }
  for (; n < bands.count; ++n) {
    scf[n] = 0;
    ist[n] = kIllegal;
  }
}

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
    } else {
      uint32_t e = a->table[br.Peek(a->rootBits)];
      br.Skip(static_cast<int>((e >> 16) & 0x1F));
      v = static_cast<int>(e & 15);
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
