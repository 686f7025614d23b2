// Internal declarations shared by the parts of the MPEG audio frame decoder.
#pragma once
#include <cstddef>
#include <cstdint>

#include "formats/mpeg/mpeg_bitstream.h"
#include "formats/mpeg/mpeg_frame_decoder.h"

namespace mpeg {

constexpr double kPi = 3.14159265358979323846;

// ---- Tables (mpeg_tables.cpp) ----
// Bit rate in kbit/s by [id][layer code][index]; 0 for free format and 15.
int BitRateKbps(int id, int layerCode, int index);
// Sample rate in Hz for a header (MPEG-1, MPEG-2 or MPEG 2.5), 0 when reserved.
int SampleRateHz(int syncKind, int id, int index);
// Index 0..8 of the sample rate for Layer III tables: 44.1, 48, 32, 22.05,
// 24, 16, 11.025, 12, 8 kHz.
int RateTableIndex(int syncKind, int id, int index);

// Layer III scale-factor band boundaries (lines) per rate table index.
const int16_t* LongBandBounds(int rateIndex);   // 23 entries, 0..576
const int16_t* ShortBandBounds(int rateIndex);  // 14 entries, 0..192

// Layer II allocation tables.
struct Layer2Class {
  int32_t steps;  // quantisation levels
  int32_t bits;   // bits per code (grouped: one code for three samples)
  int32_t grouped;
};
struct Layer2Table {
  int32_t sbLimit;
  uint8_t nbal[32];        // allocation bits per subband
  uint8_t classOf[32][16]; // allocation value -> class index + 1 (0: none)
};
const Layer2Class* Layer2Classes();  // 17 classes
// 0..3: MPEG-1 tables B.2a to B.2d; 4: MPEG-2 table B.1.
const Layer2Table* Layer2AllocationTable(int index);

// Scale factors of layers I and II (2^(1 - i/3)), 64 entries (63: 0).
const float* Layer12ScaleFactors();

// ---- Synthesis (mpeg_synthesis.cpp) ----
// The window's 257 independent values in units of 2^-16 (mpeg_synthesis_window.cpp).
extern const int32_t kSynthWindowUnits[257];
struct SynthState {
  alignas(16) float v[2048];  // the 1024-value V FIFO, held twice
  int pos;                            // write offset, multiple of 64
};
void SynthReset(SynthState* s);
// One block of 32 subband samples (scaled to 16-bit full scale) for one
// channel: writes 32 output values at out with stride values apart.
void SynthBlock(SynthState* s, const float* subbands, int16_t* out, int stride);
// Both channels of one block (s[0] left, s[1] right): 64 interleaved values at out.
void SynthBlockStereo(SynthState* s, const float* left, const float* right, int16_t* out);
// The matrixing alone: the 64 values V = N S into v and copy (16-byte aligned).
void SynthMatrix(const float* subbands, float* v, float* copy);
// 0 keeps the window loop at four lanes even where AVX is there (the tests
// compare both); 1, the default, lets it use eight.
void SynthAllowWideVectors(int allow);

// ---- Decoder state ----
constexpr int kReservoirBytes = 4096;
constexpr int kMainBufferBytes = kReservoirBytes + 4096 + 16;

struct Layer3Channel {
  alignas(16) float overlap[8][18][4];  // [subband / 4][sample][subband % 4]
};

// ---- Layer III hybrid filter bank (mpeg_imdct.cpp) ----
// Alias reduction between subbands 0..subbands-1 of xr (long-block order).
void Layer3AliasReduce(float* xr, int subbands);
// IMDCT, window and overlap-add of the first `subbands` subbands of xr (18
// lines each; short blocks in line-major, window-minor order); the others
// output their overlap alone. Writes samples[18][32] (16-byte aligned) with
// the frequency inversion of odd subbands applied.
void Layer3Imdct(const float* xr, int blockType, int mixed, int subbands, Layer3Channel* st, float (*samples)[32]);

}  // namespace mpeg

struct MpegDecoder {
  MpegDecoderInfo info;
  int setUp;
  // Stream parameters.
  int syncKind, id, layerCode, sampleRateIndex, sampleRate, rateIndex;
  int inChannels, outChannels, samplesPerChannel;
  int subbandLimit;
  int subbandCap;
  int subbandCapOverride;  // MpegDecoderSetSubbandCap; 0: the default cap
  int layer2Table;
  int freeFrameBytes;
  // Layer III.
  int reservoirBytes;
  alignas(16) uint8_t mainData[mpeg::kMainBufferBytes];
  mpeg::Layer3Channel l3[2];
  // Synthesis.
  mpeg::SynthState synth[2];
  // Work areas (kept here so that decoding allocates nothing).
  alignas(16) float work[2][576];
  alignas(16) int32_t quant[2][576];
};

namespace mpeg {
// Returned by a layer decoder for a frame that yields no output.
constexpr size_t kSkippedFrame = static_cast<size_t>(-1);
// Each returns the number of PCM values written (0 on a frame that cannot be decoded).
size_t DecodeLayer1(MpegDecoder* d, const MpegHeader& h, const uint8_t* frame, size_t frameBytes, int16_t* out);
size_t DecodeLayer2(MpegDecoder* d, const MpegHeader& h, const uint8_t* frame, size_t frameBytes, int16_t* out);
size_t DecodeLayer3(MpegDecoder* d, const MpegHeader& h, const uint8_t* frame, size_t frameBytes, int16_t* out);
}  // namespace mpeg
