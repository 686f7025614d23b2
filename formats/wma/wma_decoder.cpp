#include "formats/wma/wma_decoder.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/mathematics.h>
}

#include <cmath>
#include <cstdio>

namespace {

constexpr int kIoBufferBytes = 32768;
constexpr int kPacketsToFindAudio = 4096;  // after a seek, before giving up

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

int SupportedSampleFormat(int format) {
  return format == AV_SAMPLE_FMT_FLTP || format == AV_SAMPLE_FMT_FLT || format == AV_SAMPLE_FMT_S16P ||
         format == AV_SAMPLE_FMT_S16;
}

int16_t FloatTo16(float value) {
  long scaled = lrintf(value * 32768.0f);
  return static_cast<int16_t>(scaled > 32767 ? 32767 : scaled < -32768 ? -32768 : scaled);
}

int16_t SampleAt(const AVFrame* frame, int channel, int index) {
  // Planar formats keep a plane per channel, packed ones interleave them.
  int planar = frame->format == AV_SAMPLE_FMT_FLTP || frame->format == AV_SAMPLE_FMT_S16P;
  const uint8_t* plane = frame->extended_data[planar ? channel : 0];
  int at = planar ? index : index * frame->ch_layout.nb_channels + channel;
  if (frame->format == AV_SAMPLE_FMT_FLTP || frame->format == AV_SAMPLE_FMT_FLT)
    return FloatTo16(reinterpret_cast<const float*>(plane)[at]);
  return reinterpret_cast<const int16_t*>(plane)[at];
}

// Hands a decoded frame to the ring in pieces, waiting for room; zero when a
// stop came first.
int WriteFrame(WmaStream* stream, const AVFrame* frame) {
  if (frame->format != stream->demuxer.codec->sample_fmt || frame->ch_layout.nb_channels < 1) return 1;
  int right = frame->ch_layout.nb_channels > 1 ? 1 : 0;
  int16_t piece[8192];
  uint32_t perPiece = static_cast<uint32_t>(sizeof piece) / stream->frameBytes;
  for (int at = 0; at < frame->nb_samples;) {
    uint32_t count = static_cast<uint32_t>(frame->nb_samples - at);
    if (count > perPiece) count = perPiece;
    int16_t* out = piece;
    for (uint32_t i = 0; i < count; ++i) {
      *out++ = SampleAt(frame, 0, at + int(i));
      if (stream->format.stereo) *out++ = SampleAt(frame, right, at + int(i));
    }
    uint32_t bytes = count * stream->frameBytes;
    if (!RingBufferWaitForSpace(&stream->ring, bytes, &stream->stop)) return 0;
    RingBufferWrite(&stream->ring, piece, bytes);
    at += int(count);
  }
  return 1;
}

int ReceiveFrames(WmaStream* stream) {
  while (!stream->stop && avcodec_receive_frame(stream->demuxer.codec, stream->frame) == 0) {
    int going = WriteFrame(stream, stream->frame);
    av_frame_unref(stream->frame);
    if (!going) return 0;
  }
  return !stream->stop;
}

// The decode thread: packets until the end of the file (or a read error, where
// a damaged file ends), then what the decoder still holds, then the end mark.
void DecodeLoop(WmaStream* stream) {
  WmaDemuxer* demuxer = &stream->demuxer;
  while (!stream->stop) {
    if (!stream->havePacket && av_read_frame(demuxer->format, stream->packet) < 0) {
      if (avcodec_send_packet(demuxer->codec, nullptr) >= 0 && !ReceiveFrames(stream)) return;
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

void StartThread(WmaStream* stream) {
  stream->stop = 0;
  stream->thread = std::thread(DecodeLoop, stream);
}

void StopThread(WmaStream* stream) {
  stream->stop = 1;
  RingBufferWake(&stream->ring);
  if (stream->thread.joinable()) stream->thread.join();
  stream->stop = 0;
}

AVStream* AudioStream(const WmaStream* stream) { return stream->demuxer.format->streams[stream->demuxer.streamIndex]; }

// Seeks the demuxer to sample and reads up to the stream's first packet there,
// which tells the sample where decoding restarts.
int SeekDemuxer(WmaStream* stream, uint64_t sample) {
  AVStream* audio = AudioStream(stream);
  AVRational perSample = {1, static_cast<int>(stream->format.sampleRate)};
  int64_t origin = audio->start_time != AV_NOPTS_VALUE ? audio->start_time : 0;
  int64_t time = av_rescale_q(static_cast<int64_t>(sample), perSample, audio->time_base) + origin;
  if (av_seek_frame(stream->demuxer.format, stream->demuxer.streamIndex, time, AVSEEK_FLAG_BACKWARD) < 0) return 0;
  avcodec_flush_buffers(stream->demuxer.codec);
  av_packet_unref(stream->packet);
  stream->havePacket = 0;
  stream->startSample = sample;
  for (int i = 0; i < kPacketsToFindAudio; ++i) {
    if (av_read_frame(stream->demuxer.format, stream->packet) < 0) return 1;  // the thread meets the end
    if (stream->packet->stream_index != stream->demuxer.streamIndex) {
      av_packet_unref(stream->packet);
      continue;
    }
    int64_t at = stream->packet->pts != AV_NOPTS_VALUE ? stream->packet->pts : stream->packet->dts;
    if (at != AV_NOPTS_VALUE) {
      int64_t reached = av_rescale_q(at - origin, audio->time_base, perSample);
      stream->startSample = reached > 0 ? static_cast<uint64_t>(reached) : 0;
    }
    stream->havePacket = 1;
    return 1;
  }
  return 1;
}

}  // namespace

int WmaDemuxerOpen(WmaDemuxer* demuxer, const wchar_t* path) {
  *demuxer = WmaDemuxer{};
  demuxer->streamIndex = -1;
  if (!ByteSourceOpenFile(&demuxer->source, path)) return 0;
  uint8_t* buffer = static_cast<uint8_t*>(av_malloc(kIoBufferBytes));
  demuxer->io = buffer ? avio_alloc_context(buffer, kIoBufferBytes, 0, &demuxer->source, ReadIo, nullptr, SeekIo) : nullptr;
  if (!demuxer->io) av_free(buffer);
  demuxer->format = demuxer->io ? avformat_alloc_context() : nullptr;
  if (!demuxer->format) {
    WmaDemuxerClose(demuxer);
    return 0;
  }
  demuxer->format->pb = demuxer->io;
  demuxer->format->flags |= AVFMT_FLAG_CUSTOM_IO;
  // A failed open frees the format context.
  if (avformat_open_input(&demuxer->format, "", av_find_input_format("asf"), nullptr) < 0 ||
      avformat_find_stream_info(demuxer->format, nullptr) < 0) {
    WmaDemuxerClose(demuxer);
    return 0;
  }
  const AVCodec* decoder = nullptr;
  demuxer->streamIndex = av_find_best_stream(demuxer->format, AVMEDIA_TYPE_AUDIO, -1, -1, &decoder, 0);
  if (demuxer->streamIndex >= 0 && decoder) demuxer->codec = avcodec_alloc_context3(decoder);
  if (!demuxer->codec ||
      avcodec_parameters_to_context(demuxer->codec, demuxer->format->streams[demuxer->streamIndex]->codecpar) < 0 ||
      avcodec_open2(demuxer->codec, decoder, nullptr) < 0 || !SupportedSampleFormat(demuxer->codec->sample_fmt) ||
      demuxer->codec->sample_rate <= 0 || demuxer->codec->ch_layout.nb_channels < 1) {
    WmaDemuxerClose(demuxer);
    return 0;
  }
  return 1;
}

void WmaDemuxerClose(WmaDemuxer* demuxer) {
  avcodec_free_context(&demuxer->codec);
  avformat_close_input(&demuxer->format);  // leaves our own I/O context alone
  if (demuxer->io) av_freep(&demuxer->io->buffer);
  avio_context_free(&demuxer->io);
  ByteSourceClose(&demuxer->source);
}

int WmaStreamCreate(WmaStream* stream) {
  stream->packet = av_packet_alloc();
  stream->frame = av_frame_alloc();
  return RingBufferCreate(&stream->ring, kWmaRingBytes) && stream->packet && stream->frame;
}

void WmaStreamDestroy(WmaStream* stream) {
  WmaClose(stream);
  av_packet_free(&stream->packet);
  av_frame_free(&stream->frame);
  RingBufferDestroy(&stream->ring);
}

int WmaOpen(WmaStream* stream, const wchar_t* path) {
  WmaClose(stream);
  if (!stream->ring.bytes || !stream->packet || !stream->frame || !WmaDemuxerOpen(&stream->demuxer, path)) return 0;
  const AVCodecContext* codec = stream->demuxer.codec;
  int64_t duration = stream->demuxer.format->duration;
  stream->format.sampleRate = static_cast<uint32_t>(codec->sample_rate);
  stream->format.stereo = codec->ch_layout.nb_channels > 1;
  stream->format.bits16 = 1;
  stream->format.bitRate = static_cast<uint32_t>(codec->bit_rate / 1000);
  stream->format.lengthSeconds = duration > 0 ? static_cast<uint32_t>(duration / AV_TIME_BASE) : 0;
  stream->durationSamples = duration > 0 ? uint64_t(av_rescale(duration, codec->sample_rate, AV_TIME_BASE)) : 0;
  stream->format.lengthMilliseconds = MillisecondsOf(stream->durationSamples, uint64_t(codec->sample_rate));
  stream->frameBytes = stream->format.stereo ? 4 : 2;
  stream->startSample = stream->samplesRead = 0;
  stream->havePacket = 0;
  stream->open = 1;
  RingBufferRestart(&stream->ring);
  StartThread(stream);
  return 1;
}

void WmaClose(WmaStream* stream) {
  StopThread(stream);
  if (stream->packet) av_packet_unref(stream->packet);
  stream->havePacket = 0;
  if (stream->open) WmaDemuxerClose(&stream->demuxer);
  stream->open = 0;
}

int WmaRead(WmaStream* stream, void* buffer, uint32_t* count) {
  uint32_t want = stream->frameBytes ? *count / stream->frameBytes * stream->frameBytes : 0;
  *count = 0;
  if (!stream->open) return 0;
  uint32_t got = 0;
  int complete = RingBufferRead(&stream->ring, buffer, want, &got, kWmaReadWaitMs);
  stream->samplesRead += got / stream->frameBytes;
  *count = got;
  return complete;
}

int WmaSeek(WmaStream* stream, uint32_t numerator, uint32_t denominator) {
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
  if (!moved && !SeekDemuxer(stream, current)) {
    // Nowhere to go on from: the stream ends.
    stream->startSample = current;
    RingBufferMarkEnd(&stream->ring);
    return 0;
  }
  StartThread(stream);
  return moved;
}

uint32_t WmaPositionSeconds(const WmaStream* stream) {
  if (!stream->open || !stream->format.sampleRate) return 0;
  return static_cast<uint32_t>((stream->startSample + stream->samplesRead) / stream->format.sampleRate);
}
