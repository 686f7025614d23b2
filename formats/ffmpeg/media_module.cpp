// The module for phone and web recordings: FFmpeg's demuxers for the MP4
// family, Ogg, Matroska, ADTS and AMR on the shared decode thread; file
// information from the MP4 box walker for the MP4 family and from FFmpeg's
// tags for the others.
#include "formats/ffmpeg/media_module.h"

extern "C" {
#include <libavcodec/codec_id.h>
}

#include "formats/ffmpeg/ffmpeg_file_info.h"
#include "formats/ffmpeg/ffmpeg_module.h"
#include "formats/mp4/mp4_info.h"

namespace {

constexpr const char* kMp4Family = "mov,mp4,m4a,3gp,3g2,mj2";
const char* const kNames[] = {kMp4Family, "ogg", "matroska,webm", "aac", "amr", nullptr};
const int kCodecs[] = {AV_CODEC_ID_AAC,    AV_CODEC_ID_AAC_LATM, AV_CODEC_ID_ALAC,
                      AV_CODEC_ID_OPUS,   AV_CODEC_ID_AMR_NB,   AV_CODEC_ID_AMR_WB, AV_CODEC_ID_NONE};
const FfmpegDemuxerSet kDemuxers = {kNames, kCodecs};

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

}  // namespace

int MediaModuleSetUp(InputModule* module) { return FfmpegModuleSetUp(module, &kDemuxers, kMediaExtensions, GetInfo); }
