// Playback through FFmpeg: a demuxer and the first audio stream's decoder on
// the program's own wide-character file source, decoding on a thread of their
// own into a ring that Read empties. Whatever the decoder gives (float,
// planar, 32-bit, more channels) leaves as 16-bit mono or stereo at the
// stream's rate; of wider streams the first two channels. Positions are
// counted in samples; a seek restarts the thread a little before the point
// sought and the sound starts at that very sample. The WMA module and the module for phone and web recordings share it.
#pragma once
#include <atomic>
#include <cstdint>
#include <thread>

#include "base/byte_source.h"
#include "base/ring_buffer.h"
#include "base/text_limits.h"
#include "formats/input_module.h"

struct AVIOContext;
struct AVFormatContext;
struct AVCodecContext;
struct AVPacket;
struct AVFrame;
struct SwrContext;

constexpr uint32_t kFfmpegRingBytes = 0x40000;
constexpr uint32_t kFfmpegStageBytes = 16384;  // written to the ring at once
constexpr uint32_t kFfmpegReadWaitMs = 3000;  // no data for this long ends the stream

// One file opened by a demuxer, with its first audio stream's decoder ready.
struct FfmpegDemuxer {
  ByteSource source;
  AVIOContext* io;
  AVFormatContext* format;
  AVCodecContext* codec;
  int streamIndex;
};

// The demuxers and codecs a module accepts: one demuxer name is used without
// probing; with more, the file is probed and must turn out to be one of them.
// The names are FFmpeg's (AVInputFormat.name), null-terminated; the codecs
// are AVCodecIDs, ended by 0 (AV_CODEC_ID_NONE), so that an FFmpeg built with
// more decoders still plays only what the module stands for.
struct FfmpegDemuxerSet {
  const char* const* names;
  const int* codecs;
};

// Non-zero when the file opens with one of the set's demuxers and its first
// audio stream has one of its codecs and a decoder for it.
int FfmpegDemuxerOpen(FfmpegDemuxer* demuxer, const FfmpegDemuxerSet* set, const wchar_t* path);
void FfmpegDemuxerClose(FfmpegDemuxer* demuxer);
// Non-zero when the opened file's demuxer is the one named.
int FfmpegDemuxerIs(const FfmpegDemuxer* demuxer, const char* name);

struct FfmpegStream {
  RingBuffer ring;  // created once, kept for the stream's lifetime
  const FfmpegDemuxerSet* demuxers;
  FfmpegDemuxer demuxer;
  wchar_t path[kMaxPathChars + 1];  // of the open file, for a seek to its start
  int open;
  FormatRecord format;
  uint32_t frameBytes;        // output bytes per sample frame
  uint64_t durationSamples;   // 0 when the demuxer knows no duration
  AVPacket* packet;           // the thread's; after a seek it already holds the first packet
  AVFrame* frame;
  int havePacket;
  int haveFrame;              // after the open: the first frame, not yet written
  SwrContext* convert;        // for the frames' present sample format and channels
  int convertFormat;
  int convertChannels;
  int16_t* converted;         // one frame's output
  size_t convertedBytes;      // its capacity
  uint8_t stage[kFfmpegStageBytes];  // whole sample frames for the ring
  uint32_t staged;
  std::thread thread;
  std::atomic<int> stop;
  uint64_t skipSamples;  // decoded after a seek but before the point sought: not written
  uint64_t startSample;  // where the ring's sound begins
  uint64_t samplesRead;  // taken from the ring since then
};

int FfmpegStreamCreate(FfmpegStream* stream, const FfmpegDemuxerSet* demuxers);
void FfmpegStreamDestroy(FfmpegStream* stream);
// Opens the file and decodes up to its first frame, whose rate and channels
// the output takes. Non-zero on success.
int FfmpegOpen(FfmpegStream* stream, const wchar_t* path);
void FfmpegClose(FfmpegStream* stream);
// count: capacity in, bytes delivered out (whole frames). Zero at the end, or
// when the decoder has given nothing for kFfmpegReadWaitMs.
int FfmpegRead(FfmpegStream* stream, void* buffer, uint32_t* count);
// Moves to numerator/denominator of the duration. Non-zero on success; on
// failure playback goes on from where it was.
int FfmpegSeek(FfmpegStream* stream, uint32_t numerator, uint32_t denominator);
uint32_t FfmpegPositionSeconds(const FfmpegStream* stream);
