#include "formats/ffmpeg/ffmpeg_stream.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/mathematics.h>
#include <libavutil/mem.h>
#include <libswresample/swresample.h>
}

#include <cstdio>
#include <cstring>

namespace {

constexpr int kIoBufferBytes = 32768;
constexpr int kPacketsToFindAudio = 4096;  // looked through for the first frame, or for audio after a seek

int ReadIo(void* context, uint8_t* buffer, int size) {
  uint32_t got = size > 0 ? ByteSourceRead(static_cast<ByteSource*>(context), buffer, static_cast<uint32_t>(size)) : 0;
  return got ? static_cast<int>(got) : AVERROR_EOF;
}

int64_t SeekIo(void* context, int64_t offset, int whence) {
  ByteSource* source = static_cast<ByteSource*>(context);
  int64_t size = static_cast<int64_t>(ByteSourceSize(source));
  if (whence & AVSEEK_SIZE) return size;
  whence &= ~AVSEEK_FORCE;
  int64_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? static_cast<int64_t>(ByteSourceTell(source)) : size;
  int64_t to = base + offset;
  if (to < 0 || !ByteSourceSeek(source, static_cast<uint64_t>(to))) return AVERROR(EINVAL);
  return to;
}

// Sets the converter up for the frame's sample format and channels: 16-bit
// interleaved at the same rate (float rounds to the nearest step), and of more
// than two channels the first ones as they are, not a downmix.
int ConfigureConversion(FfmpegStream* stream, const AVFrame* frame) {
  int channels = frame->ch_layout.nb_channels;
  if (stream->convert && stream->convertFormat == frame->format && stream->convertChannels == channels) return 1;
  swr_free(&stream->convert);
  int outChannels = stream->format.stereo ? 2 : 1;
  AVChannelLayout in{}, out{};
  if (frame->ch_layout.order == AV_CHANNEL_ORDER_NATIVE) {
    av_channel_layout_copy(&in, &frame->ch_layout);
  } else {
    av_channel_layout_default(&in, channels);
  }
  av_channel_layout_default(&out, outChannels);
  int rate = static_cast<int>(stream->format.sampleRate);
  int ready = swr_alloc_set_opts2(&stream->convert, &out, AV_SAMPLE_FMT_S16, rate, &in,
                                  static_cast<AVSampleFormat>(frame->format), rate, 0, nullptr) >= 0;
  av_channel_layout_uninit(&in);
  if (ready && channels > 2) {
    double matrix[2 * 64] = {};
    if (channels > 64) ready = 0;
    for (int c = 0; ready && c < outChannels; ++c) matrix[c * channels + c] = 1.0;
    ready = ready && swr_set_matrix(stream->convert, matrix, channels) >= 0;
  }
  if (!ready || swr_init(stream->convert) < 0) {
    swr_free(&stream->convert);
    return 0;
  }
  stream->convertFormat = frame->format;
  stream->convertChannels = channels;
  return 1;
}

// The frame as 16-bit output in stream->converted; the sample frames made, or
// -1 when it cannot be converted.
int ConvertFrame(FfmpegStream* stream, const AVFrame* frame) {
  if (frame->nb_samples <= 0) return 0;
  // In bytes: the next file may have more channels than the one that sized the buffer.
  size_t bytes = size_t(frame->nb_samples) * stream->frameBytes;
  if (bytes > stream->convertedBytes) {
    av_freep(&stream->converted);
    stream->converted = static_cast<int16_t*>(av_malloc(bytes));
    stream->convertedBytes = stream->converted ? bytes : 0;
    if (!stream->converted) return -1;
  }
  uint8_t* out = reinterpret_cast<uint8_t*>(stream->converted);
  return swr_convert(stream->convert, &out, frame->nb_samples, const_cast<const uint8_t**>(frame->extended_data),
                     frame->nb_samples);
}

// Hands what is staged to the ring, waiting for room; zero when a stop came first.
int FlushStage(FfmpegStream* stream) {
  if (!stream->staged) return 1;
  if (!RingBufferWaitForSpace(&stream->ring, stream->staged, &stream->stop)) return 0;
  RingBufferWrite(&stream->ring, stream->stage, stream->staged);
  stream->staged = 0;
  return 1;
}

// Stages a decoded frame for the ring, which takes it in large pieces (a
// reader woken for every small frame costs more than the decoding); zero
// when a stop came first. A frame at another rate than the stream began with, or
// one that cannot be converted, is left out.
int WriteFrame(FfmpegStream* stream, const AVFrame* frame) {
  if (frame->ch_layout.nb_channels < 1 || static_cast<uint32_t>(frame->sample_rate) != stream->format.sampleRate ||
      !ConfigureConversion(stream, frame))
    return 1;
  int made = ConvertFrame(stream, frame);
  if (made <= 0) return 1;
  // What lies before the point a seek asked for is decoded, not heard.
  uint32_t skip = stream->skipSamples < uint64_t(made) ? static_cast<uint32_t>(stream->skipSamples) : uint32_t(made);
  stream->skipSamples -= skip;
  const uint8_t* from = reinterpret_cast<const uint8_t*>(stream->converted) + skip * stream->frameBytes;
  uint32_t left = (static_cast<uint32_t>(made) - skip) * stream->frameBytes;
  while (left) {
    uint32_t bytes = kFfmpegStageBytes - stream->staged;
    if (bytes > left) bytes = left;
    memcpy(stream->stage + stream->staged, from, bytes);
    stream->staged += bytes;
    from += bytes;
    left -= bytes;
    if (stream->staged == kFfmpegStageBytes && !FlushStage(stream)) return 0;
  }
  return 1;
}

int ReceiveFrames(FfmpegStream* stream) {
  while (!stream->stop && avcodec_receive_frame(stream->demuxer.codec, stream->frame) == 0) {
    int going = WriteFrame(stream, stream->frame);
    av_frame_unref(stream->frame);
    if (!going) return 0;
  }
  return !stream->stop;
}

// The decode thread: packets until the end of the file (or a read error, where
// a damaged file ends), then what the decoder still holds, then the end mark.
void DecodeLoop(FfmpegStream* stream) {
  FfmpegDemuxer* demuxer = &stream->demuxer;
  if (stream->haveFrame) {
    // The frame the open decoded goes first, then what its packet still holds.
    stream->haveFrame = 0;
    int going = WriteFrame(stream, stream->frame);
    av_frame_unref(stream->frame);
    if (!going || !ReceiveFrames(stream)) return;
  }
  while (!stream->stop) {
    if (!stream->havePacket && av_read_frame(demuxer->format, stream->packet) < 0) {
      if (avcodec_send_packet(demuxer->codec, nullptr) >= 0 && !ReceiveFrames(stream)) return;
      if (!FlushStage(stream)) return;
      RingBufferMarkEnd(&stream->ring);
      return;
    }
    stream->havePacket = 0;
    // A packet that does not decode is dropped whole.
    int fed = stream->packet->stream_index == demuxer->streamIndex &&
              avcodec_send_packet(demuxer->codec, stream->packet) >= 0;
    av_packet_unref(stream->packet);
    if (fed && !ReceiveFrames(stream)) return;
  }
}

void StartThread(FfmpegStream* stream) {
  stream->stop = 0;
  stream->staged = 0;
  stream->thread = std::thread(DecodeLoop, stream);
}

void StopThread(FfmpegStream* stream) {
  stream->stop = 1;
  RingBufferWake(&stream->ring);
  if (stream->thread.joinable()) stream->thread.join();
  stream->stop = 0;
}

AVStream* AudioStream(const FfmpegStream* stream) { return stream->demuxer.format->streams[stream->demuxer.streamIndex]; }

int Usable(const AVFrame* frame) {
  return frame->nb_samples > 0 && frame->sample_rate > 0 && frame->ch_layout.nb_channels > 0;
}

// Reads and decodes until the audio stream's first frame is in stream->frame.
// Zero when the file ends before one, or when so many packets (of any
// stream: a video whose sound is broken) gave none.
int DecodeFirstFrame(FfmpegStream* stream) {
  FfmpegDemuxer* demuxer = &stream->demuxer;
  for (int packets = 0; packets < kPacketsToFindAudio;) {
    if (avcodec_receive_frame(demuxer->codec, stream->frame) == 0) {
      if (Usable(stream->frame)) return 1;
      av_frame_unref(stream->frame);
      continue;
    }
    if (av_read_frame(demuxer->format, stream->packet) < 0) {
      // A file shorter than the decoder's delay: what it holds comes out now.
      if (avcodec_send_packet(demuxer->codec, nullptr) < 0) return 0;
      while (avcodec_receive_frame(demuxer->codec, stream->frame) == 0) {
        if (Usable(stream->frame)) return 1;
        av_frame_unref(stream->frame);
      }
      return 0;
    }
    ++packets;
    if (stream->packet->stream_index == demuxer->streamIndex)
      avcodec_send_packet(demuxer->codec, stream->packet);  // one that does not decode is passed over
    av_packet_unref(stream->packet);
  }
  return 0;
}

// Near the start a demuxer's seek may land past the first packets (Matroska
// skips those before its first index entry); opening the file afresh starts
// exactly as the first play did. On failure the stream is closed.
int Reopen(FfmpegStream* stream, uint64_t sample) {
  FfmpegDemuxerClose(&stream->demuxer);
  av_packet_unref(stream->packet);
  av_frame_unref(stream->frame);
  stream->havePacket = stream->haveFrame = 0;
  stream->open = FfmpegDemuxerOpen(&stream->demuxer, stream->demuxers, stream->path);
  if (!stream->open) return 0;
  stream->haveFrame = DecodeFirstFrame(stream);
  stream->startSample = sample;
  stream->skipSamples = sample;
  return 1;
}

// Seeks the demuxer half a second (and the codec's own pre-roll) before
// sample, so that the decoder has settled when the sound reaches it: the
// transform's overlap, Opus's pre-roll, and the longer memory of its speech
// coder, which a mere pre-roll leaves some LSBs off for a fifth of a second, and reads up to the
// stream's first packet there; packets wholly before that lead-in are passed
// over undecoded (a Matroska index may point seconds back). The decoded sound
// before sample is left out by WriteFrame, so playback starts at sample
// itself, or where the file lets it start when that is later.
int SeekDemuxer(FfmpegStream* stream, uint64_t sample) {
  AVStream* audio = AudioStream(stream);
  int rate = static_cast<int>(stream->format.sampleRate);
  AVRational perSample = {1, rate};
  uint64_t leadIn = uint64_t(rate) / 2;
  if (audio->codecpar->seek_preroll > 0 && audio->codecpar->sample_rate > 0)
    leadIn += uint64_t(av_rescale(audio->codecpar->seek_preroll, rate, audio->codecpar->sample_rate));
  if (sample <= leadIn) return Reopen(stream, sample);
  int64_t from = static_cast<int64_t>(sample - leadIn);
  // A negative start is the codec's delay (Opus), which the decoder leaves
  // out: the sound's first sample still has time 0.
  int64_t origin = audio->start_time != AV_NOPTS_VALUE && audio->start_time > 0 ? audio->start_time : 0;
  int64_t time = av_rescale_q(from, perSample, audio->time_base) + origin;
  if (av_seek_frame(stream->demuxer.format, stream->demuxer.streamIndex, time, AVSEEK_FLAG_BACKWARD) < 0) return 0;
  avcodec_flush_buffers(stream->demuxer.codec);
  av_packet_unref(stream->packet);
  av_frame_unref(stream->frame);
  stream->havePacket = 0;
  stream->haveFrame = 0;
  stream->startSample = sample;
  stream->skipSamples = 0;
  for (int i = 0; i < kPacketsToFindAudio; ++i) {
    if (av_read_frame(stream->demuxer.format, stream->packet) < 0) return 1;  // the thread meets the end
    if (stream->packet->stream_index != stream->demuxer.streamIndex) {
      av_packet_unref(stream->packet);
      continue;
    }
    int64_t at = stream->packet->pts != AV_NOPTS_VALUE ? stream->packet->pts : stream->packet->dts;
    if (at != AV_NOPTS_VALUE) {
      int64_t reached = av_rescale_q(at - origin, audio->time_base, perSample);
      int64_t ends = reached + av_rescale_q(stream->packet->duration, audio->time_base, perSample);
      if (stream->packet->duration > 0 && ends <= from && i + 1 < kPacketsToFindAudio) {
        av_packet_unref(stream->packet);
        continue;
      }
      // Samples the decoder drops itself (an encoder's priming) are not ours to skip.
      size_t sideBytes = 0;
      const uint8_t* side = av_packet_get_side_data(stream->packet, AV_PKT_DATA_SKIP_SAMPLES, &sideBytes);
      if (side && sideBytes >= 4) reached += int64_t(side[0] | side[1] << 8 | side[2] << 16 | uint32_t(side[3]) << 24);
      int64_t target = static_cast<int64_t>(sample);
      stream->skipSamples = target > reached ? uint64_t(target - reached) : 0;
      stream->startSample = target > reached ? sample : uint64_t(reached);
    }
    stream->havePacket = 1;
    return 1;
  }
  return 1;
}

// The set's demuxers as FFmpeg's format white list: a probe that picks any
// other demuxer fails before that demuxer reads the file. Zero when the
// names do not fit.
int WhiteList(const FfmpegDemuxerSet* set, char* out, size_t capacity) {
  size_t used = 0;
  for (const char* const* name = set->names; *name; ++name) {
    size_t length = strlen(*name);
    if (used + length + 2 > capacity) return 0;
    if (used) out[used++] = ',';
    memcpy(out + used, *name, length);
    used += length;
  }
  out[used] = 0;
  return used != 0;
}

// Our demuxers never need a second file; none may open one (a playlist or
// reference inside a crafted file).
int RefuseNestedOpen(AVFormatContext*, AVIOContext**, const char*, int, AVDictionary**) { return AVERROR(EPERM); }

int CodecAccepted(const AVCodec* decoder, const FfmpegDemuxerSet* set) {
  for (const int* codec = set->codecs; decoder && *codec; ++codec)
    if (decoder->id == *codec) return 1;
  return 0;
}

// The audio stream's duration in samples at rate, else the file's; 0 when neither is known.
uint64_t DurationSamples(const FfmpegDemuxer* demuxer, int rate) {
  const AVStream* audio = demuxer->format->streams[demuxer->streamIndex];
  if (audio->duration > 0) return uint64_t(av_rescale_q(audio->duration, audio->time_base, AVRational{1, rate}));
  int64_t duration = demuxer->format->duration;
  return duration > 0 ? uint64_t(av_rescale(duration, rate, AV_TIME_BASE)) : 0;
}

}  // namespace

int FfmpegDemuxerIs(const FfmpegDemuxer* demuxer, const char* name) {
  return demuxer->format && strcmp(demuxer->format->iformat->name, name) == 0;
}

int FfmpegDemuxerOpen(FfmpegDemuxer* demuxer, const FfmpegDemuxerSet* set, const wchar_t* path) {
  *demuxer = FfmpegDemuxer{};
  demuxer->streamIndex = -1;
  if (!ByteSourceOpenFile(&demuxer->source, path)) return 0;
  uint8_t* buffer = static_cast<uint8_t*>(av_malloc(kIoBufferBytes));
  demuxer->io = buffer ? avio_alloc_context(buffer, kIoBufferBytes, 0, &demuxer->source, ReadIo, nullptr, SeekIo) : nullptr;
  if (!demuxer->io) av_free(buffer);
  demuxer->format = demuxer->io ? avformat_alloc_context() : nullptr;
  if (!demuxer->format) {
    FfmpegDemuxerClose(demuxer);
    return 0;
  }
  char whiteList[256];
  demuxer->format->pb = demuxer->io;
  demuxer->format->flags |= AVFMT_FLAG_CUSTOM_IO;
  demuxer->format->io_open = RefuseNestedOpen;
  demuxer->format->format_whitelist = WhiteList(set, whiteList, sizeof whiteList) ? av_strdup(whiteList) : nullptr;
  // One name is forced, more are probed for. A failed open frees the format context.
  const AVInputFormat* forced = set->names[0] && !set->names[1] ? av_find_input_format(set->names[0]) : nullptr;
  if (!demuxer->format->format_whitelist || avformat_open_input(&demuxer->format, "", forced, nullptr) < 0 ||
      avformat_find_stream_info(demuxer->format, nullptr) < 0) {
    FfmpegDemuxerClose(demuxer);
    return 0;
  }
  const AVCodec* decoder = nullptr;
  demuxer->streamIndex = av_find_best_stream(demuxer->format, AVMEDIA_TYPE_AUDIO, -1, -1, &decoder, 0);
  if (demuxer->streamIndex >= 0 && CodecAccepted(decoder, set)) demuxer->codec = avcodec_alloc_context3(decoder);
  if (!demuxer->codec ||
      avcodec_parameters_to_context(demuxer->codec, demuxer->format->streams[demuxer->streamIndex]->codecpar) < 0 ||
      avcodec_open2(demuxer->codec, decoder, nullptr) < 0) {
    FfmpegDemuxerClose(demuxer);
    return 0;
  }
  return 1;
}

void FfmpegDemuxerClose(FfmpegDemuxer* demuxer) {
  avcodec_free_context(&demuxer->codec);
  avformat_close_input(&demuxer->format);  // leaves our own I/O context alone
  if (demuxer->io) av_freep(&demuxer->io->buffer);
  avio_context_free(&demuxer->io);
  ByteSourceClose(&demuxer->source);
}

int FfmpegStreamCreate(FfmpegStream* stream, const FfmpegDemuxerSet* demuxers) {
  stream->demuxers = demuxers;
  stream->packet = av_packet_alloc();
  stream->frame = av_frame_alloc();
  return RingBufferCreate(&stream->ring, kFfmpegRingBytes) && stream->packet && stream->frame;
}

void FfmpegStreamDestroy(FfmpegStream* stream) {
  FfmpegClose(stream);
  av_packet_free(&stream->packet);
  av_frame_free(&stream->frame);
  av_freep(&stream->converted);
  stream->convertedBytes = 0;
  RingBufferDestroy(&stream->ring);
}

int FfmpegOpen(FfmpegStream* stream, const wchar_t* path) {
  FfmpegClose(stream);
  if (!stream->ring.bytes || !stream->packet || !stream->frame ||
      !CopyTextBounded(stream->path, kMaxPathChars + 1, path) ||
      !FfmpegDemuxerOpen(&stream->demuxer, stream->demuxers, path))
    return 0;
  stream->open = 1;
  // The first frame, not the header, tells rate and channels: an AAC stream
  // with implicit SBR, for one, decodes at twice the rate its header names.
  if (!DecodeFirstFrame(stream)) {
    FfmpegClose(stream);
    return 0;
  }
  stream->haveFrame = 1;
  const AVFrame* first = stream->frame;
  int rate = first->sample_rate;
  const AVCodecContext* codec = stream->demuxer.codec;
  int64_t bitRate = codec->bit_rate > 0 ? codec->bit_rate : stream->demuxer.format->bit_rate;
  stream->format.sampleRate = static_cast<uint32_t>(rate);
  stream->format.stereo = first->ch_layout.nb_channels > 1;
  stream->format.bits16 = 1;
  stream->format.bitRate = bitRate > 0 ? static_cast<uint32_t>(bitRate / 1000) : 0;
  stream->durationSamples = DurationSamples(&stream->demuxer, rate);
  uint64_t seconds = stream->durationSamples / uint64_t(rate);
  stream->format.lengthSeconds = seconds < 0xFFFFFFFFu ? static_cast<uint32_t>(seconds) : 0xFFFFFFFFu;
  stream->format.lengthMilliseconds = MillisecondsOf(stream->durationSamples, uint64_t(rate));
  stream->frameBytes = stream->format.stereo ? 4 : 2;
  stream->startSample = stream->samplesRead = stream->skipSamples = 0;
  stream->havePacket = 0;
  RingBufferRestart(&stream->ring);
  StartThread(stream);
  return 1;
}

void FfmpegClose(FfmpegStream* stream) {
  StopThread(stream);
  if (stream->packet) av_packet_unref(stream->packet);
  if (stream->frame) av_frame_unref(stream->frame);
  stream->havePacket = stream->haveFrame = 0;
  swr_free(&stream->convert);
  if (stream->open) FfmpegDemuxerClose(&stream->demuxer);
  stream->open = 0;
}

int FfmpegRead(FfmpegStream* stream, void* buffer, uint32_t* count) {
  uint32_t want = stream->frameBytes ? *count / stream->frameBytes * stream->frameBytes : 0;
  *count = 0;
  if (!stream->open) return 0;
  uint32_t got = 0;
  int complete = RingBufferRead(&stream->ring, buffer, want, &got, kFfmpegReadWaitMs);
  stream->samplesRead += got / stream->frameBytes;
  *count = got;
  return complete;
}

int FfmpegSeek(FfmpegStream* stream, uint32_t numerator, uint32_t denominator) {
  if (!stream->open || !stream->durationSamples) return 0;
  uint64_t target = SeekTarget(stream->durationSamples, numerator, denominator);
  uint64_t current = stream->startSample + stream->samplesRead;
  StopThread(stream);
  RingBufferRestart(&stream->ring);
  stream->samplesRead = 0;
  if (target >= stream->durationSamples) {
    stream->startSample = stream->durationSamples;
    RingBufferMarkEnd(&stream->ring);
    return 1;
  }
  int moved = SeekDemuxer(stream, target);
  if (!moved && (!stream->open || !SeekDemuxer(stream, current))) {
    // Nowhere to go on from: the stream ends.
    stream->startSample = current;
    RingBufferMarkEnd(&stream->ring);
    return 0;
  }
  StartThread(stream);
  return moved;
}

uint32_t FfmpegPositionSeconds(const FfmpegStream* stream) {
  if (!stream->open || !stream->format.sampleRate) return 0;
  return static_cast<uint32_t>((stream->startSample + stream->samplesRead) / stream->format.sampleRate);
}
