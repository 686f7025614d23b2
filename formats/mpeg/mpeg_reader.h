// The MPEG audio reader: opens a stream found by the scan, decodes it frame
// by frame into interleaved 16-bit PCM, leaves out the information frame and
// what LAME recorded as delay and padding (so that its times are those of
// other players), seeks to the sample by fraction and counts the time handed
// out.
#pragma once
#include <cstdint>

#include "base/byte_source.h"
#include "formats/mpeg/mpeg_frame_decoder.h"
#include "formats/mpeg/mpeg_scan.h"
#include "formats/input_module.h"

constexpr uint32_t kMpegReadAttempts = 32;
constexpr uint32_t kMpegIndexEntries = 1024;

// Where frames begin, learnt by walking the headers: the offsets of frames
// 0, stride, 2 stride, ... (counted from the facts' audioStart). When the
// table is full every other entry goes and the stride doubles.
struct MpegFrameIndex {
  uint32_t offset[kMpegIndexEntries];
  uint32_t entries;
  uint32_t stride;  // a power of two
  uint32_t known;   // frames whose start is known: 0 .. known
  uint32_t end;     // offset of frame `known`, or the end of the stream
  uint32_t ended;   // non-zero when frame `known` does not exist
};

struct MpegStream {
  ByteSource source;          // closed while no file is open
  MpegStreamFacts facts;      // layout, scanned header, totals, information frame
  FormatRecord format;        // length, bit rate (kbit/s), sample rate, stereo, 16-bit
  MpegDecoder* decoder;       // created on first use, kept across files
  uint32_t pcmBytesPerFrame;  // output bytes of one frame
  uint32_t channels;          // of the output
  uint32_t prerollFrames;     // decoded and dropped before a seek's frame
  uint32_t streamOffset;      // file offset of the next byte for the decoder
  uint32_t framesDecoded;     // the next frame's number, counted from audioStart
  // Decoded samples per channel, counted from the first sample of the frame
  // at audioStart: the next one to hand out, and the end of the sound.
  uint64_t nextSample;
  uint64_t endSample;
  uint8_t* input;             // one frame's worth of stream bytes, kept across files
  uint32_t inputCapacity;
  MpegFrameIndex index;
  int16_t pcm[kMpegMaxFrameValues];  // one decoded frame before it is copied out
};

// Takes ownership of the open source; on failure it is closed. Non-zero on success.
int MpegOpen(MpegStream* stream, ByteSource* source);
void MpegClose(MpegStream* stream);
// Frees what the stream keeps across files; the stream is closed first.
void MpegRelease(MpegStream* stream);
// count: capacity in, bytes delivered out (whole sample frames). Zero, with
// nothing delivered, at the end of the stream.
int MpegRead(MpegStream* stream, void* buffer, uint32_t* count);
// Moves to numerator/denominator of the sound (1 or more: its end), to the
// sample. Non-zero on success.
int MpegSeek(MpegStream* stream, uint32_t numerator, uint32_t denominator);
// The samples handed out so far (from the place of the last seek), in
// seconds rounded to the nearest second.
uint32_t MpegPosition(const MpegStream* stream);

// Test's verdict on a file: its length in seconds plus one (1 for a file
// shorter than half a second), or 0 when it is refused (no frames).
int MpegTestSource(ByteSource* source);
