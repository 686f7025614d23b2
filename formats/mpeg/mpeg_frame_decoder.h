// MPEG audio frame decoding (MPEG-1, MPEG-2 low sampling frequencies and
// MPEG 2.5; layers I, II and III): header parsing and sync search, set-up for
// one stream, and decoding one frame at a time into interleaved 16-bit PCM.
#pragma once
#include <cstddef>
#include <cstdint>

// The fields of a frame header, in stream order.
struct MpegHeader {
  int32_t syncKind;         // 1: 0xFFF sync (MPEG-1/2); 2: 0xFFE with id clear (MPEG 2.5)
  int32_t id;               // 1 = MPEG-1, 0 = MPEG-2 or 2.5
  int32_t layerCode;        // 3 = Layer I, 2 = Layer II, 1 = Layer III
  int32_t protection;       // 0 = a CRC follows the header
  int32_t bitRateIndex;     // 0 = free format
  int32_t sampleRateIndex;  // 3 is reserved
  int32_t padding;
  int32_t privateBit;
  int32_t mode;             // 0 stereo, 1 joint stereo, 2 dual channel, 3 single channel
  int32_t modeExtension;
  int32_t copyright;
  int32_t original;
  int32_t emphasis;
};

struct MpegDecoderInfo {
  uint32_t channels;        // output channels, 1 or 2
  uint32_t valuesPerFrame;  // channels x samples per channel
  uint32_t sampleRate;      // Hz
  uint32_t bitsPerSample;   // 16
  uint32_t frameBytes;      // as passed to set-up
  uint32_t reserved;        // always 0
};

constexpr size_t kMpegMaxFrameValues = 1152 * 2;  // output values of the largest frame

// Frame size in bytes without the padding slot, or 0 when bytes (count of
// them available) do not start with a valid header. A free-format frame is
// measured by finding the next matching header in the buffer.
int MpegParseHeader(const uint8_t* bytes, size_t count, MpegHeader* header);
// As MpegParseHeader; also the bit rate in bit/s (free format: derived from
// the measured frame size).
int MpegParseHeaderWithBitRate(const uint8_t* bytes, size_t count, MpegHeader* header, int32_t* bitRate);
// Scans for the first candidate sync; 0 when none is found before the end.
// Otherwise *skipped = bytes before it, and the result of MpegParseHeaderWithBitRate there.
int MpegFindHeader(const uint8_t* bytes, size_t count, MpegHeader* header, int32_t* bitRate, size_t* skipped);

// Header facts the reader needs without a decoder.
uint32_t MpegHeaderSampleRate(const MpegHeader* header);       // Hz, 0 when reserved
uint32_t MpegHeaderSamplesPerFrame(const MpegHeader* header);  // per channel
uint32_t MpegHeaderBitRate(const MpegHeader* header);          // kbit/s from the table, 0 free/invalid
uint32_t MpegHeaderChannels(const MpegHeader* header);         // 1 for single channel, else 2

// One decoder per stream; all of its memory is inside the object.
struct MpegDecoder;
MpegDecoder* MpegDecoderCreate();
void MpegDecoderDestroy(MpegDecoder* decoder);
// Non-zero on success. Clears reservoir, overlap and synthesis memory, so it
// also serves as the reset after a seek. The reader passes reduction,
// transform and conversion 0 and a frequency limit of 24000 Hz.
int MpegDecoderSetUp(MpegDecoder* decoder, const MpegHeader* header, int32_t frameBytes, int32_t reduction,
                     int32_t transform, int32_t conversion, int32_t frequencyLimit);
// Beyond the interface the reader uses: overrides the subband cap of later
// set-ups (1..32; 0 restores the default cap, 31 at full rate). The reader
// and the conformance tests use 32, the full bandwidth of ISO/IEC 11172-3:
// at the low sampling rates the top subband is audible.
void MpegDecoderSetSubbandCap(MpegDecoder* decoder, int32_t cap);
void MpegDecoderGetInfo(const MpegDecoder* decoder, MpegDecoderInfo* info);
// Decodes the frame at input (inputBytes available, the whole frame among them)
// into output (room for kMpegMaxFrameValues values). *consumed and *produced
// are bytes; both 0 when input does not start with a valid frame of the stream.
// *produced is 0 with *consumed > 0 for a Layer III frame whose main data
// begin before the bytes the decoder holds (the first frames after set-up or
// a reset may do so): such a frame only feeds the bit reservoir, as in the
// reference decoder. A Layer III stream may switch between single-channel
// and stereo frames; the output keeps the set-up's channel count.
void MpegDecodeFrame(MpegDecoder* decoder, const uint8_t* input, size_t inputBytes, int16_t* output,
                     size_t* consumed, size_t* produced);
