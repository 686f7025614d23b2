// The MPEG audio reader: opens a stream found by the scan, decodes it frame
// by frame into interleaved 16-bit PCM, seeks by fraction (through the Xing
// table when there is one) and counts the time handed out.
#pragma once
#include <cstdint>

#include "formats/byte_source.h"
#include "formats/mpeg/mpeg_frame_decoder.h"
#include "formats/mpeg/mpeg_scan.h"
#include "player/input_module.h"

constexpr uint32_t kMpegReadAttempts = 32;

struct MpegStream {
  ByteSource source;          // closed while no file is open
  MpegStreamFacts facts;      // layout, scanned header, totals, Xing header
  FormatRecord format;        // length, bit rate (kbit/s), sample rate, stereo, 16-bit
  MpegDecoder* decoder;       // created on first use, kept across files
  uint32_t pcmBytesPerFrame;  // output bytes of one frame
  uint32_t streamOffset;      // file offset of the next byte for the decoder
  uint32_t framesDecoded;     // since Open or Seek, counted from the stream start
  uint8_t* input;             // one frame's worth of stream bytes, kept across files
  uint32_t inputCapacity;
  int16_t pcm[kMpegMaxFrameValues];  // one decoded frame before it is copied out
};

// Takes ownership of the open source; on failure it is closed. Non-zero on success.
int MpegOpen(MpegStream* stream, ByteSource* source);
void MpegClose(MpegStream* stream);
// Frees what the stream keeps across files; the stream is closed first.
void MpegRelease(MpegStream* stream);
// count: capacity in, bytes delivered out (whole frames). Zero at the end of the stream.
int MpegRead(MpegStream* stream, void* buffer, uint32_t* count);
// Moves to numerator/denominator of the stream. Non-zero on success.
int MpegSeek(MpegStream* stream, uint32_t numerator, uint32_t denominator);
// Whole seconds of the frames decoded so far, rounded to the nearest second.
uint32_t MpegPosition(const MpegStream* stream);

// Test's verdict on a file: its length in seconds plus one (1 for a file
// shorter than half a second), or 0 when it is refused (no frames).
int MpegTestSource(ByteSource* source);
