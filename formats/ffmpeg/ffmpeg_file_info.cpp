#include "formats/ffmpeg/ffmpeg_file_info.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/dict.h>
}

#include <cstring>

#include "base/code_page.h"

namespace {

// The stream's tags first (Ogg keeps its comments there), then the file's.
const char* Tag(const FfmpegDemuxer* demuxer, const char* key) {
  const AVDictionaryEntry* entry = av_dict_get(demuxer->format->streams[demuxer->streamIndex]->metadata, key, nullptr, 0);
  if (!entry) entry = av_dict_get(demuxer->format->metadata, key, nullptr, 0);
  return entry && entry->value ? entry->value : nullptr;
}

void TagText(const FfmpegDemuxer* demuxer, const char* key, wchar_t* out, int capacity) {
  const char* value = Tag(demuxer, key);
  if (value) Utf8ToWide(value, strlen(value), out, static_cast<size_t>(capacity));
}

const wchar_t* CodecLabel(int codecId) {
  switch (codecId) {
    case AV_CODEC_ID_AAC:
    case AV_CODEC_ID_AAC_LATM: return L"AAC";
    case AV_CODEC_ID_ALAC: return L"ALAC";
    case AV_CODEC_ID_OPUS: return L"Opus";
    case AV_CODEC_ID_AMR_NB: return L"AMR-NB";
    case AV_CODEC_ID_AMR_WB: return L"AMR-WB";
    case AV_CODEC_ID_WMAV1: return L"WMA1";
    case AV_CODEC_ID_WMAV2: return L"WMA2";
    default: return L"";
  }
}

}  // namespace

void FfmpegReadStreamFacts(const FfmpegDemuxer* demuxer, FileInfo* info) {
  const AVStream* audio = demuxer->format->streams[demuxer->streamIndex];
  const AVCodecContext* codec = demuxer->codec;
  if (codec->ch_layout.nb_channels > 0) info->channelMode = static_cast<uint16_t>(codec->ch_layout.nb_channels);
  if (codec->sample_rate > 0) info->sampleRate = static_cast<uint32_t>(codec->sample_rate);
  if (info->lengthSeconds) return;
  int64_t duration = demuxer->format->duration;
  if (audio->duration > 0) duration = av_rescale_q(audio->duration, audio->time_base, AV_TIME_BASE_Q);
  int64_t seconds = duration > 0 ? duration / AV_TIME_BASE : 0;
  info->lengthSeconds = seconds < 0xFFFFFFFF ? static_cast<uint32_t>(seconds) : 0xFFFFFFFFu;
}

void FfmpegReadFileInfo(const FfmpegDemuxer* demuxer, FileInfo* info) {
  const AVCodecParameters* codec = demuxer->format->streams[demuxer->streamIndex]->codecpar;
  FileInfoCopyText(info->codecLabel, kCodecLabelChars, CodecLabel(codec->codec_id));
  int64_t bitRate = codec->bit_rate > 0 ? codec->bit_rate : demuxer->format->bit_rate;
  info->bitRate = bitRate > 0 && bitRate / 1000 < 0x7FFFFFFF ? static_cast<int32_t>(bitRate / 1000) : 0;
  FfmpegReadStreamFacts(demuxer, info);
  TagText(demuxer, "title", info->title, kTagTextChars);
  TagText(demuxer, "artist", info->artist, kTagTextChars);
  TagText(demuxer, "album", info->album, kTagTextChars);
  TagText(demuxer, "comment", info->comment, kTagTextChars);
  TagText(demuxer, "genre", info->genre, kGenreChars);
  wchar_t number[32] = {};
  TagText(demuxer, "date", number, 32);
  info->year = FileInfoParseYear(number);
  number[0] = 0;
  TagText(demuxer, "track", number, 32);
  FileInfoParseTrack(number, &info->track, &info->trackTotal);
  FileInfoTrimTexts(info);
}
