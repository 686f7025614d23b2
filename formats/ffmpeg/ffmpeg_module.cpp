#include "formats/ffmpeg/ffmpeg_module.h"

extern "C" {
#include <libavutil/log.h>
}

#include <new>

namespace {

FfmpegStream* State(InputModule* module) { return static_cast<FfmpegStream*>(module->state); }

void Release(InputModule* module) {
  FfmpegStreamDestroy(State(module));
  delete State(module);
  module->state = nullptr;
}

// Runs in either thread, so it opens a demuxer of its own.
int Test(InputModule* module, void*, const wchar_t* path) {
  FfmpegDemuxer demuxer;
  if (!FfmpegDemuxerOpen(&demuxer, State(module)->demuxers, path)) return 0;
  FfmpegDemuxerClose(&demuxer);
  return 1;
}

int Open(InputModule* module, void*, const wchar_t* path) { return FfmpegOpen(State(module), path); }
void Close(InputModule* module) { FfmpegClose(State(module)); }

int Seek(InputModule* module, uint32_t numerator, uint32_t denominator) {
  return FfmpegSeek(State(module), numerator, denominator);
}

void GetFormat(InputModule* module, FormatRecord* format) { *format = State(module)->format; }
int Read(InputModule* module, void* buffer, uint32_t* count) { return FfmpegRead(State(module), buffer, count); }
uint32_t GetPosition(InputModule* module) { return FfmpegPositionSeconds(State(module)); }

}  // namespace

int FfmpegModuleSetUp(InputModule* module, const FfmpegDemuxerSet* demuxers, const wchar_t* extensions,
                      void (*getInfo)(InputModule* module, FileInfoBlock* block)) {
  FfmpegStream* stream = new (std::nothrow) FfmpegStream{};
  if (!stream) return 0;
  if (!FfmpegStreamCreate(stream, demuxers)) {
    FfmpegStreamDestroy(stream);
    delete stream;
    return 0;
  }
  av_log_set_level(AV_LOG_QUIET);  // nobody reads a console
  InputModuleBind(module, stream, extensions, INPUT_MODULE_ROUTINES(getInfo));
  return 1;
}
