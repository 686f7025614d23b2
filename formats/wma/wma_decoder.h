// WMA playback: FFmpeg's ASF demuxer and WMA decoders on the program's own
// wide-character file source, decoding on a thread of their own into a ring
// that Read empties. Positions are counted in samples; a seek restarts the
// thread at the packet the demuxer reached.
#pragma once
#include <atomic>
#include <cstdint>
#include <thread>

#include "base/byte_source.h"
#include "base/ring_buffer.h"
#include "formats/input_module.h"

struct AVIOContext;
struct AVFormatContext;
struct AVCodecContext;
struct AVPacket;
struct AVFrame;

constexpr uint32_t kWmaRingBytes = 0x40000;
constexpr uint32_t kWmaReadWaitMs = 3000;  // no data for this long ends the stream

// One file opened by the demuxer, with its audio stream's decoder ready.
struct WmaDemuxer {
  ByteSource source;
  AVIOContext* io;
  AVFormatContext* format;
  AVCodecContext* codec;
  int streamIndex;
};

// Non-zero when the file opens and its first audio stream has a decoder.
int WmaDemuxerOpen(WmaDemuxer* demuxer, const wchar_t* path);
void WmaDemuxerClose(WmaDemuxer* demuxer);

struct WmaStream {
  RingBuffer ring;  // created once, kept for the module's lifetime
  WmaDemuxer demuxer;
  int open;
  FormatRecord format;
  uint32_t frameBytes;        // output bytes per sample frame
  uint64_t durationSamples;   // 0 when the demuxer knows no duration
  AVPacket* packet;           // the thread's; after a seek it already holds the first packet
  AVFrame* frame;
  int havePacket;
  std::thread thread;
  std::atomic<int> stop;
  uint64_t startSample;  // where the ring's sound begins
  uint64_t samplesRead;  // taken from the ring since then
};

int WmaStreamCreate(WmaStream* stream);
void WmaStreamDestroy(WmaStream* stream);
int WmaOpen(WmaStream* stream, const wchar_t* path);
void WmaClose(WmaStream* stream);
// count: capacity in, bytes delivered out (whole frames). Zero at the end, or
// when the decoder has given nothing for kWmaReadWaitMs.
int WmaRead(WmaStream* stream, void* buffer, uint32_t* count);
// Moves to numerator/denominator of the duration. Non-zero on success; on
// failure playback goes on from where it was.
int WmaSeek(WmaStream* stream, uint32_t numerator, uint32_t denominator);
uint32_t WmaPositionSeconds(const WmaStream* stream);
