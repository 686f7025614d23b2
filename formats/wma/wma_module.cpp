// Binds FFmpeg's ASF demuxer and WMA decoders and the ASF header walker to
// the input-module record.
#include "formats/wma/wma_module.h"

extern "C" {
#include <libavcodec/codec_id.h>
#include <libavutil/log.h>
}

#include <new>

#include "formats/wma/asf_header.h"
#include "formats/ffmpeg/ffmpeg_stream.h"

namespace {

const char* const kAsf[] = {"asf", nullptr};
const int kWma[] = {AV_CODEC_ID_WMAV1, AV_CODEC_ID_WMAV2, AV_CODEC_ID_NONE};
const FfmpegDemuxerSet kDemuxers = {kAsf, kWma};

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

void GetInfo(InputModule*, FileInfoBlock* block) {
  FileInfoClear(&block->info);
  ByteSource source{};
  if (!ByteSourceOpenFile(&source, block->path)) return;
  AsfReadFileInfo(&source, &block->info);
  ByteSourceClose(&source);
}

int Read(InputModule* module, void* buffer, uint32_t* count) { return FfmpegRead(State(module), buffer, count); }
uint32_t GetPosition(InputModule* module) { return FfmpegPositionSeconds(State(module)); }

}  // namespace

int WmaModuleSetUp(InputModule* module) {
  FfmpegStream* stream = new (std::nothrow) FfmpegStream{};
  if (!stream) return 0;
  if (!FfmpegStreamCreate(stream, &kDemuxers)) {
    FfmpegStreamDestroy(stream);
    delete stream;
    return 0;
  }
  av_log_set_level(AV_LOG_QUIET);  // nobody reads a console
  module->state = stream;
  module->extensions = L"*.WMA";
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
