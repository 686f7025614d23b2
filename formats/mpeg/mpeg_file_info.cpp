#include "formats/mpeg/mpeg_file_info.h"

#include "formats/mpeg/id3_tags.h"
#include "formats/mpeg/mpeg_scan.h"

namespace {

uint32_t ReadAt(ByteSource* source, uint64_t offset, void* buffer, uint32_t size) {
  return ByteSourceSeek(source, offset) ? ByteSourceRead(source, buffer, size) : 0;
}

// 1 mono, 2 stereo or two separate channels, 3 joint stereo.
uint16_t ChannelModeShown(uint32_t mode) { return mode == 3 ? 1 : mode == 1 ? 3 : 2; }

int FromFirstFrame(ByteSource* source, const MpegLayout* layout, FileInfo* info) {
  uint8_t block[kMpegScanBlockBytes];
  uint32_t want = layout->audioSize < sizeof block ? layout->audioSize : sizeof block;
  uint32_t got = want ? ReadAt(source, layout->dataStart, block, want) : 0;
  MpegFirstFrame frame;
  if (!MpegAnalyseFirstFrame(block, got, layout->audioSize, &frame)) return 0;
  info->channelMode = ChannelModeShown(frame.channelMode);
  info->sampleRate = frame.sampleRate;
  // A negative bit rate marks the average of a variable one.
  info->bitRate = frame.averageBitRate ? -static_cast<int32_t>(frame.averageBitRate / 1000)
                                       : static_cast<int32_t>(frame.bitRate / 1000);
  info->lengthSeconds = frame.lengthSeconds;
  return 1;
}

int FromStreamScan(ByteSource* source, FileInfo* info) {
  MpegStreamFacts facts;
  if (!MpegAnalyseStream(source, &facts)) return 0;
  info->channelMode = facts.header.mode == 3 ? 1 : 2;
  info->sampleRate = facts.sampleRate;
  info->bitRate = facts.frameBitRate / 1000;
  info->lengthSeconds = facts.sampleRate ? static_cast<uint32_t>((facts.soundSamples + facts.sampleRate / 2) / facts.sampleRate) : 0;
  return 1;
}

}  // namespace

int MpegReadFileInfo(ByteSource* source, FileInfo* info) {
  MpegLayout layout;
  int known = MpegLocateStream(source, &layout) &&
              (FromFirstFrame(source, &layout, info) || FromStreamScan(source, info));
  if (known) FileInfoCopyText(info->codecLabel, kCodecLabelChars, L"MP3");
  Id3v2ReadTag(source, info);
  Id3v1ReadTag(source, info);
  FileInfoTrimTexts(info);
  return known;
}
