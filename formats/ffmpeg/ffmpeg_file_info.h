// File information from what FFmpeg's demuxer read: the tags it gathered
// (Vorbis comments of Opus, Matroska tags, ID3 of raw AAC) and the audio
// stream's codec, rate, channels, bit rate and length.
#pragma once
#include "formats/ffmpeg/ffmpeg_stream.h"

// Fills info, which the caller has cleared, from an opened demuxer.
void FfmpegReadFileInfo(const FfmpegDemuxer* demuxer, FileInfo* info);
// Only the channels and the rate as the decoder sees them (an MP4 sample
// entry may carry the template's two channels, or the core rate of HE-AAC),
// and the length where info has none.
void FfmpegReadStreamFacts(const FfmpegDemuxer* demuxer, FileInfo* info);
