// Layer III side information and scale factors: the per-granule records
// that the rest of the Layer III decoder works from.
#pragma once
#include <cstdint>

#include "formats/mpeg/mpeg_bitstream.h"

namespace mpeg {

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

// An intensity position that must not be used (the group's maximum value).
constexpr uint8_t kIllegal = 255;

// Reads the side information; false when it makes no sense.
bool ReadSideInfo(BitReader& br, bool mpeg1, int nch, int rateIndex, SideInfo* si);
// The band list for a granule's block kind at a rate table index (0..8).
const BandList& BandsOf(int rateIndex, const GranuleInfo& g);
// MPEG-1 scale factors into scf (band-list order); saved keeps them for the
// second granule's scfsi reuse.
void ReadScalefactorsMpeg1(BitReader& br, const GranuleInfo& g, int gr, const int scfsi[4], uint8_t* scf,
                           uint8_t* saved);
// MPEG-2 scale factors; for the intensity-stereo right channel also the
// intensity positions (kIllegal where the value is the group's maximum).
void ReadScalefactorsLsf(BitReader& br, const GranuleInfo& g, bool isRight, const BandList& bands, uint8_t* scf,
                         uint8_t* ist, int* preflag);

}  // namespace mpeg
