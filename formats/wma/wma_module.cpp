// Binds the WMA decoder and the ASF header walker to the input-module record.
#include "formats/wma/wma_module.h"

extern "C" {
#include <libavutil/log.h>
}

#include <new>

#include "formats/wma/asf_header.h"
#include "formats/wma/wma_decoder.h"

namespace {

WmaStream* State(InputModule* module) { return static_cast<WmaStream*>(module->state); }

void Release(InputModule* module) {
  WmaStreamDestroy(State(module));
  delete State(module);
  module->state = nullptr;
}

// Runs in either thread, so it opens a demuxer of its own.
int Test(InputModule*, void*, const wchar_t* path) {
  WmaDemuxer demuxer;
  if (!WmaDemuxerOpen(&demuxer, path)) return 0;
  WmaDemuxerClose(&demuxer);
  return 1;
}

int Open(InputModule* module, void*, const wchar_t* path) { return WmaOpen(State(module), path); }
void Close(InputModule* module) { WmaClose(State(module)); }

int Seek(InputModule* module, uint32_t numerator, uint32_t denominator) {
  return WmaSeek(State(module), numerator, denominator);
}

void GetFormat(InputModule* module, FormatRecord* format) { *format = State(module)->format; }

void GetInfo(InputModule*, FileInfoBlock* block) {
  FileInfoClear(&block->info);
  ByteSource source{};
  if (!ByteSourceOpenFile(&source, block->path)) return;
  AsfReadFileInfo(&source, &block->info);
  ByteSourceClose(&source);
}

int Read(InputModule* module, void* buffer, uint32_t* count) { return WmaRead(State(module), buffer, count); }
uint32_t GetPosition(InputModule* module) { return WmaPositionSeconds(State(module)); }

}  // namespace

int WmaModuleSetUp(InputModule* module) {
  WmaStream* stream = new (std::nothrow) WmaStream{};
  if (!stream) return 0;
  if (!WmaStreamCreate(stream)) {
    WmaStreamDestroy(stream);
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
