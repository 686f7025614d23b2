// Constant tables of ISO/IEC 11172-3 and 13818-3: bit rates, sample rates,
// Layer III scale-factor bands, Layer II allocation tables, scale factors.
#include <cmath>

#include "formats/mpeg/mpeg_internal.h"

namespace mpeg {
namespace {

// [id][layer code 1..3 -> 0..2][index]: Layer III, Layer II, Layer I.
const int16_t kBitRates[2][3][16] = {
    {// MPEG-2 and 2.5
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},
     {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, 0}},
    {// MPEG-1
     {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0},
     {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0},
     {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, 0}}};

const int kRatesHz[9] = {44100, 48000, 32000, 22050, 24000, 16000, 11025, 12000, 8000};

const int16_t kLongBounds[9][23] = {
    {0, 4, 8, 12, 16, 20, 24, 30, 36, 44, 52, 62, 74, 90, 110, 134, 162, 196, 238, 288, 342, 418, 576},
    {0, 4, 8, 12, 16, 20, 24, 30, 36, 42, 50, 60, 72, 88, 106, 128, 156, 190, 230, 276, 330, 384, 576},
    {0, 4, 8, 12, 16, 20, 24, 30, 36, 44, 54, 66, 82, 102, 126, 156, 194, 240, 296, 364, 448, 550, 576},
    {0, 6, 12, 18, 24, 30, 36, 44, 54, 66, 80, 96, 116, 140, 168, 200, 238, 284, 336, 396, 464, 522, 576},
    {0, 6, 12, 18, 24, 30, 36, 44, 54, 66, 80, 96, 114, 136, 162, 194, 232, 278, 332, 394, 464, 540, 576},
    {0, 6, 12, 18, 24, 30, 36, 44, 54, 66, 80, 96, 116, 140, 168, 200, 238, 284, 336, 396, 464, 522, 576},
    {0, 6, 12, 18, 24, 30, 36, 44, 54, 66, 80, 96, 116, 140, 168, 200, 238, 284, 336, 396, 464, 522, 576},
    {0, 6, 12, 18, 24, 30, 36, 44, 54, 66, 80, 96, 116, 140, 168, 200, 238, 284, 336, 396, 464, 522, 576},
    {0, 12, 24, 36, 48, 60, 72, 88, 108, 132, 160, 192, 232, 280, 336, 400, 476, 566, 568, 570, 572, 574, 576}};

const int16_t kShortBounds[9][14] = {
    {0, 4, 8, 12, 16, 22, 30, 40, 52, 66, 84, 106, 136, 192},
    {0, 4, 8, 12, 16, 22, 28, 38, 50, 64, 80, 100, 126, 192},
    {0, 4, 8, 12, 16, 22, 30, 42, 58, 78, 104, 138, 180, 192},
    {0, 4, 8, 12, 18, 24, 32, 42, 56, 74, 100, 132, 174, 192},
    {0, 4, 8, 12, 18, 26, 36, 48, 62, 80, 104, 136, 180, 192},
    {0, 4, 8, 12, 18, 26, 36, 48, 62, 80, 104, 134, 174, 192},
    {0, 4, 8, 12, 18, 26, 36, 48, 62, 80, 104, 134, 174, 192},
    {0, 4, 8, 12, 18, 26, 36, 48, 62, 80, 104, 134, 174, 192},
    {0, 8, 16, 24, 36, 52, 72, 96, 124, 160, 162, 164, 166, 192}};

const Layer2Class kClasses[17] = {{3, 5, 1},     {5, 7, 1},     {7, 3, 0},     {9, 10, 1},    {15, 4, 0},
                                  {31, 5, 0},    {63, 6, 0},    {127, 7, 0},   {255, 8, 0},   {511, 9, 0},
                                  {1023, 10, 0}, {2047, 11, 0}, {4095, 12, 0}, {8191, 13, 0}, {16383, 14, 0},
                                  {32767, 15, 0}, {65535, 16, 0}};

// Rows of the allocation tables: the class (0-based) of allocation values 1, 2, ...
const int8_t kRowA[] = {0, 2, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, -1};
const int8_t kRowB[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 16, -1};
const int8_t kRowC[] = {0, 1, 2, 3, 4, 5, 16, -1};
const int8_t kRowD[] = {0, 1, 16, -1};
const int8_t kRowE[] = {0, 1, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, -1};
const int8_t kRowF[] = {0, 1, 3, 4, 5, 6, 7, -1};
const int8_t kRowG[] = {0, 1, 3, -1};
// The lower sampling frequencies' first four subbands: 3 to 16383 levels, 7 included.
const int8_t kRowH[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, -1};

struct Layer2Tables {
  Layer2Table t[5];
};

void SetRow(Layer2Table* t, int sb, int nbal, const int8_t* row) {
  t->nbal[sb] = static_cast<uint8_t>(nbal);
  for (int i = 0; i < 16; ++i) t->classOf[sb][i] = 0;
  for (int a = 1; a < (1 << nbal) && row[a - 1] >= 0; ++a) t->classOf[sb][a] = static_cast<uint8_t>(row[a - 1] + 1);
}

const Layer2Tables& L2() {
  static const Layer2Tables tables = [] {
    Layer2Tables x{};
    for (int k = 0; k < 2; ++k) {  // B.2a (27 subbands) and B.2b (30)
      Layer2Table* t = &x.t[k];
      t->sbLimit = k == 0 ? 27 : 30;
      for (int sb = 0; sb < t->sbLimit; ++sb) {
        if (sb < 3) SetRow(t, sb, 4, kRowA);
        else if (sb < 11) SetRow(t, sb, 4, kRowB);
        else if (sb < 23) SetRow(t, sb, 3, kRowC);
        else SetRow(t, sb, 2, kRowD);
      }
    }
    for (int k = 2; k < 4; ++k) {  // B.2c (8) and B.2d (12)
      Layer2Table* t = &x.t[k];
      t->sbLimit = k == 2 ? 8 : 12;
      for (int sb = 0; sb < t->sbLimit; ++sb) {
        if (sb < 2) SetRow(t, sb, 4, kRowE);
        else SetRow(t, sb, 3, kRowF);
      }
    }
    Layer2Table* t = &x.t[4];  // 13818-3 B.1
    t->sbLimit = 30;
    for (int sb = 0; sb < 30; ++sb) {
      if (sb < 4) SetRow(t, sb, 4, kRowH);
      else if (sb < 11) SetRow(t, sb, 3, kRowF);
      else SetRow(t, sb, 2, kRowG);
    }
    return x;
  }();
  return tables;
}

}  // namespace

int BitRateKbps(int id, int layerCode, int index) {
  if (id < 0 || id > 1 || layerCode < 1 || layerCode > 3 || index < 0 || index > 15) return 0;
  return kBitRates[id][layerCode - 1][index];
}

int RateTableIndex(int syncKind, int id, int index) {
  if (index < 0 || index > 2) return -1;
  if (id == 1) return syncKind == 1 ? index : -1;
  return syncKind == 2 ? 6 + index : 3 + index;
}

int SampleRateHz(int syncKind, int id, int index) {
  int r = RateTableIndex(syncKind, id, index);
  return r < 0 ? 0 : kRatesHz[r];
}

const int16_t* LongBandBounds(int rateIndex) { return kLongBounds[rateIndex]; }
const int16_t* ShortBandBounds(int rateIndex) { return kShortBounds[rateIndex]; }

const Layer2Class* Layer2Classes() { return kClasses; }
const Layer2Table* Layer2AllocationTable(int index) { return &L2().t[index]; }

const float* Layer12ScaleFactors() {
  static const struct Table {
    float v[64];
    Table() {
      for (int i = 0; i < 63; ++i) v[i] = static_cast<float>(std::pow(2.0, 1.0 - i / 3.0));
      v[63] = 0.0f;
    }
  } table;
  return table.v;
}

}  // namespace mpeg
