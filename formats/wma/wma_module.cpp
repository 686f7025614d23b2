// The WMA module: FFmpeg's ASF demuxer and WMA decoders on the shared decode
// thread, with file information from the ASF header walker.
#include "formats/wma/wma_module.h"

extern "C" {
#include <libavcodec/codec_id.h>
}

#include "formats/ffmpeg/ffmpeg_module.h"
#include "formats/wma/asf_header.h"

namespace {

const char* const kAsf[] = {"asf", nullptr};
const int kWma[] = {AV_CODEC_ID_WMAV1, AV_CODEC_ID_WMAV2, AV_CODEC_ID_NONE};
const FfmpegDemuxerSet kDemuxers = {kAsf, kWma};

void GetInfo(InputModule*, FileInfoBlock* block) {
  FileInfoClear(&block->info);
  ByteSource source{};
  if (!ByteSourceOpenFile(&source, block->path)) return;
  AsfReadFileInfo(&source, &block->info);
  ByteSourceClose(&source);
}

}  // namespace

int WmaModuleSetUp(InputModule* module) { return FfmpegModuleSetUp(module, &kDemuxers, L"*.WMA", GetInfo); }
