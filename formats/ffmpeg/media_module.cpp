// Binds FFmpeg's demuxers for the MP4 family, Ogg, Matroska, ADTS and AMR to
// the input-module record; file information comes from the MP4 box walker for
// the MP4 family and from FFmpeg's tags for the others.
#include "formats/ffmpeg/media_module.h"

extern "C" {
#include <libavcodec/codec_id.h>
#include <libavutil/log.h>
}

#include <new>

#include "formats/ffmpeg/ffmpeg_file_info.h"
#include "formats/ffmpeg/ffmpeg_stream.h"
#include "formats/mp4/mp4_info.h"

namespace {

constexpr const char* kMp4Family = "mov,mp4,m4a,3gp,3g2,mj2";
const char* const kNames[] = {kMp4Family, "ogg", "matroska,webm", "aac", "amr", nullptr};
const int kCodecs[] = {AV_CODEC_ID_AAC,    AV_CODEC_ID_AAC_LATM, AV_CODEC_ID_ALAC,
                      AV_CODEC_ID_OPUS,   AV_CODEC_ID_AMR_NB,   AV_CODEC_ID_AMR_WB, AV_CODEC_ID_NONE};
const FfmpegDemuxerSet kDemuxers = {kNames, kCodecs};

FfmpegStream* State(InputModule* module) { return static_cast<FfmpegStream*>(module->state); }

void Release(InputModule* module) {
  FfmpegStreamDestroy(State(module));
  delete State(module);
  module->state = nullptr;
}

// Runs in either thread, so it opens a demuxer of its own.
int Test(InputModule*, void*, const wchar_t* path) {
  FfmpegDemuxer demuxer;
  if (!FfmpegDemuxerOpen(&demuxer, &kDemuxers, path)) return 0;
  FfmpegDemuxerClose(&demuxer);
  return 1;
}

int Open(InputModule* module, void*, const wchar_t* path) { return FfmpegOpen(State(module), path); }
void Close(InputModule* module) { FfmpegClose(State(module)); }

int Seek(InputModule* module, uint32_t numerator, uint32_t denominator) {
  return FfmpegSeek(State(module), numerator, denominator);
}

void GetFormat(InputModule* module, FormatRecord* format) { *format = State(module)->format; }

int ReadMp4Info(const wchar_t* path, FileInfo* info) {
  ByteSource source{};
  if (!ByteSourceOpenFile(&source, path)) return 0;
  int read = Mp4ReadFileInfo(&source, info);
  ByteSourceClose(&source);
  return read;
}

void GetInfo(InputModule*, FileInfoBlock* block) {
  FileInfoClear(&block->info);
  FfmpegDemuxer demuxer;
  if (!FfmpegDemuxerOpen(&demuxer, &kDemuxers, block->path)) return;
  if (FfmpegDemuxerIs(&demuxer, kMp4Family) && ReadMp4Info(block->path, &block->info)) {
    FfmpegReadStreamFacts(&demuxer, &block->info);
  } else {
    FfmpegReadFileInfo(&demuxer, &block->info);
  }
  FfmpegDemuxerClose(&demuxer);
}

int Read(InputModule* module, void* buffer, uint32_t* count) { return FfmpegRead(State(module), buffer, count); }
uint32_t GetPosition(InputModule* module) { return FfmpegPositionSeconds(State(module)); }

}  // namespace

int MediaModuleSetUp(InputModule* module) {
  FfmpegStream* stream = new (std::nothrow) FfmpegStream{};
  if (!stream) return 0;
  if (!FfmpegStreamCreate(stream, &kDemuxers)) {
    FfmpegStreamDestroy(stream);
    delete stream;
    return 0;
  }
  av_log_set_level(AV_LOG_QUIET);  // nobody reads a console
  module->state = stream;
  module->extensions = kMediaExtensions;
  module->Release = Release;
  module->Test = Test;
  module->Open = Open;
  module->Close = Close;
  module->Seek = Seek;
  module->GetFormat = GetFormat;
  module->GetInfo = GetInfo;
  module->Read = Read;
  module->GetPosition = GetPosition;
  return 1;
}
