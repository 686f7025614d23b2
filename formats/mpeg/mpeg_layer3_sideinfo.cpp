// Layer III side information, scale-factor band lists and scale factors
// (MPEG-1 and the MPEG-2 layout with its intensity-stereo positions).
#include "formats/mpeg/mpeg_layer3_sideinfo.h"

#include "formats/mpeg/mpeg_internal.h"

namespace mpeg {
namespace {

// Band lists per rate: [rate][0 long, 1 short, 2 mixed].
struct BandTables {
  BandList bands[9][3];
  BandTables() {
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

const BandTables& Bands() {
  static const BandTables t;
  return t;
}

const uint8_t kSlen[2][16] = {{0, 0, 0, 0, 3, 1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4},
                              {0, 1, 2, 3, 0, 1, 2, 3, 1, 2, 3, 1, 2, 3, 2, 3}};
// ISO/IEC 13818-3 table: scale factors per slen group, [row][block kind][group].
const uint8_t kLsfCounts[6][3][4] = {{{6, 5, 5, 5}, {9, 9, 9, 9}, {6, 9, 9, 9}},
                                     {{6, 5, 7, 3}, {9, 9, 12, 6}, {6, 9, 12, 6}},
                                     {{11, 10, 0, 0}, {18, 18, 0, 0}, {15, 18, 0, 0}},
                                     {{7, 7, 7, 0}, {12, 12, 12, 0}, {6, 15, 12, 0}},
                                     {{6, 6, 6, 3}, {12, 9, 9, 6}, {6, 12, 9, 6}},
                                     {{8, 8, 5, 0}, {15, 12, 9, 0}, {6, 18, 9, 0}}};

}  // namespace

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
  return Bands().bands[rateIndex][kind];
}

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

}  // namespace mpeg
