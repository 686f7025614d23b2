// The input-module record over the FFmpeg decode thread, shared by the WMA
// module and the module for phone and web recordings: they differ only in
// their demuxer set, their extensions and how they read file information.
#pragma once
#include "formats/ffmpeg/ffmpeg_stream.h"

// Fills the record with the shared operations, getInfo and a new stream that
// holds the ring buffer for the module's lifetime. Non-zero on success.
int FfmpegModuleSetUp(InputModule* module, const FfmpegDemuxerSet* demuxers, const wchar_t* extensions,
                      void (*getInfo)(InputModule* module, FileInfoBlock* block));
