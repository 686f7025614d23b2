#include "formats/mpeg/mpeg_scan.h"

#include <cstring>

#include "formats/mpeg/id3_tags.h"

namespace {

constexpr uint64_t kLargestFile = 0x80000000u;  // 2 GiB: offsets stay 32-bit
constexpr uint32_t kSkipBlockBytes = 1024;
constexpr uint32_t kLargestScannedFrame = 1441;

// kbit/s by table row and bit-rate index; index 15 is invalid.
const uint16_t kBitRates[5][16] = {
    {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, 0},  // MPEG-1 Layer I
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0},     // MPEG-1 Layer II
    {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0},      // MPEG-1 Layer III
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, 0},     // MPEG-2/2.5 Layer I
    {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},         // MPEG-2/2.5 Layer II, III
};
const uint32_t kSampleRates[3][3] = {{44100, 48000, 32000}, {22050, 24000, 16000}, {11025, 12000, 8000}};

uint32_t Be32(const uint8_t* p) {
  return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
}

uint32_t ReadAt(ByteSource* source, uint64_t offset, void* buffer, uint32_t size) {
  return ByteSourceSeek(source, offset) ? ByteSourceRead(source, buffer, size) : 0;
}

uint16_t Crc16(const uint8_t* bytes, uint32_t count) {
  uint32_t crc = 0;
  for (uint32_t i = 0; i < count; ++i) {
    crc ^= bytes[i];
    for (int bit = 0; bit < 8; ++bit) crc = crc & 1 ? (crc >> 1) ^ 0xA001 : crc >> 1;
  }
  return static_cast<uint16_t>(crc);
}

// LAME's extension at offset at of the frame: 9 bytes of encoder name, the
// delay and padding as two 12-bit numbers at 21, and at 34 a CRC-16 of the
// frame up to there. Taken when the CRC holds or LAME or FFmpeg (which
// writes the same extension) signed it: other writers leave anything here.
void ReadLameExtension(const uint8_t* bytes, uint32_t count, uint32_t at, MpegXing* xing) {
  if (uint64_t(at) + kLameTagBytes > count) return;
  const uint8_t* tag = bytes + at;
  uint16_t stored = static_cast<uint16_t>((tag[34] << 8) | tag[35]);
  int signedByName = memcmp(tag, "LAME", 4) == 0 || memcmp(tag, "Lavc", 4) == 0 || memcmp(tag, "Lavf", 4) == 0;
  if (!signedByName && Crc16(bytes, at + 34) != stored) return;
  xing->lame = 1;
  xing->encoderDelay = (uint32_t(tag[21]) << 4) | (tag[22] >> 4);
  xing->encoderPadding = (uint32_t(tag[22] & 0x0F) << 8) | tag[23];
}

// The Xing or Info header of the first frame; every field only as far as the bytes reach.
void ReadXing(const uint8_t* bytes, uint32_t count, uint32_t offset, MpegXing* xing) {
  if (count < offset + 8) return;
  int info = memcmp(bytes + offset, "Info", 4) == 0;
  if (!info && memcmp(bytes + offset, "Xing", 4) != 0) return;
  xing->present = 1;
  xing->info = static_cast<uint32_t>(info);
  uint32_t flags = Be32(bytes + offset + 4);
  uint32_t at = offset + 8;
  if ((flags & 0x1) && at + 4 <= count) {
    xing->frames = Be32(bytes + at);
    xing->flags |= 0x1;
  }
  if (flags & 0x1) at += 4;
  if ((flags & 0x2) && at + 4 <= count) {
    xing->bytes = Be32(bytes + at);
    xing->flags |= 0x2;
  }
  if (flags & 0x2) at += 4;
  if ((flags & 0x4) && at + kXingTableBytes <= count) {
    memcpy(xing->table, bytes + at, kXingTableBytes);
    xing->flags |= 0x4;
  }
  if (flags & 0x4) at += kXingTableBytes;
  xing->flags |= flags & 0x8;
  if (flags & 0x8) at += 4;
  ReadLameExtension(bytes, count, at, xing);
}

// The sound of frames frames behind an information frame: LAME's delay and
// padding, and the synthesis delay that every decoder adds, are not sound.
// The padding counts only where the last frames are there (whole); delay
// and padding that leave no sound of the whole are not believed.
void ReckonSound(const MpegXing& xing, uint32_t layerCode, uint64_t frames, uint32_t samplesPerFrame, int whole,
                 uint32_t* skip, uint32_t* trimmed, uint64_t* sound) {
  uint64_t samples = frames * samplesPerFrame;
  uint64_t added = uint64_t(xing.encoderDelay) + xing.encoderPadding;
  int lame = xing.lame && layerCode == 1 && !(whole && samples <= added);
  *skip = lame ? xing.encoderDelay + kMpegDecoderDelay : 0;
  *trimmed = lame && whole;
  *sound = *trimmed ? samples - added : samples > *skip ? samples - *skip : 0;
}

uint32_t XingOffset(const MpegFirstFrame* frame) {
  int single = frame->channelMode == 3;
  if (frame->version == 3) return single ? 21 : 36;
  return single ? 13 : 21;
}

// Skips zero bytes from offset on; returns the first non-zero offset or end.
uint64_t SkipZeros(ByteSource* source, uint64_t offset, uint64_t end) {
  uint8_t block[kSkipBlockBytes];
  while (offset < end) {
    uint32_t got = ReadAt(source, offset, block, sizeof block);
    if (got == 0) return end;
    for (uint32_t i = 0; i < got; ++i)
      if (block[i] != 0) return offset + i;
    offset += got;
  }
  return end;
}

uint64_t FindByteFF(ByteSource* source, uint64_t offset, uint64_t end) {
  uint8_t block[kSkipBlockBytes];
  while (offset < end) {
    uint32_t got = ReadAt(source, offset, block, sizeof block);
    if (got == 0) return end;
    const void* hit = memchr(block, 0xFF, got);
    if (hit) return offset + uint64_t(static_cast<const uint8_t*>(hit) - block);
    offset += got;
  }
  return end;
}

int IsSync(const uint8_t* p) { return p[0] == 0xFF && (p[1] & 0xE0) == 0xE0; }

int Consistent(const MpegHeader* before, const MpegHeader* next, int nextSize) {
  return nextSize < int(kLargestScannedFrame) && (next->layerCode == 1 || next->layerCode == 2) &&
         next->sampleRateIndex == before->sampleRateIndex && next->layerCode == before->layerCode &&
         next->id == before->id && next->mode == before->mode;
}

// Looks for three consistent headers in a row in one block. Every header
// parsed is left in facts, so a scan that never succeeds keeps the last one.
int ScanBlock(const uint8_t* block, uint32_t count, MpegStreamFacts* facts) {
  uint32_t pos = 0;
  int inRow = 0;
  MpegHeader before{};
  while (pos + 1 < count && inRow < 3) {
    MpegHeader header{};
    int32_t bitRate = 0;
    size_t skipped = 0;
    int size = MpegFindHeader(block + pos, count - pos, &header, &bitRate, &skipped);
    if (size <= 0) {
      // A sync without a valid header: the run is broken, look on behind it.
      if (skipped + 1 >= count - pos || !IsSync(block + pos + skipped)) return 0;
      pos += static_cast<uint32_t>(skipped) + 1;
      inRow = 0;
      continue;
    }
    facts->header = header;
    facts->frameBytes = static_cast<uint32_t>(size);
    facts->frameBitRate = bitRate;
    inRow = inRow > 0 && Consistent(&before, &header, size) ? inRow + 1 : 1;
    before = header;
    uint32_t slot = header.layerCode == 3 ? 4 : 1;
    uint64_t next = uint64_t(pos) + skipped + uint64_t(size) + uint32_t(header.padding ? slot : 0);
    if (next >= count) break;
    pos = static_cast<uint32_t>(next);
  }
  return inRow >= 3;
}

// The analysis of a block that begins at offset with a frame header. The
// first information frame found has the last word; its frame is no sound.
void TakeFirstFrame(const MpegFirstFrame* frame, const uint8_t* block, uint32_t count, uint32_t offset,
                    MpegStreamFacts* facts) {
  if (facts->xing.present) return;
  facts->lengthSeconds = frame->lengthSeconds;
  if (!frame->xing.present) return;
  uint32_t length = frame->frameLength;
  if (length == 0) {  // free format: measured
    MpegHeader header{};
    int size = MpegParseHeader(block, count, &header);
    length = size > 0 ? uint32_t(size) + (header.padding ? 1 : 0) : 0;
  }
  if (length == 0 || uint64_t(offset) + length > facts->layout.streamSize) return;
  facts->xing = frame->xing;
  facts->frameTotal = frame->soundFrames;
  facts->cut = frame->cut;
  facts->audioStart = offset + length;
  facts->variableBitRate = !frame->xing.info && frame->xing.frames;
}

void ScanFrames(ByteSource* source, MpegStreamFacts* facts) {
  const MpegLayout& layout = facts->layout;
  uint32_t offset = layout.dataStart;
  uint8_t block[kMpegScanBlockBytes];
  for (uint32_t round = 0; round < kMpegScanRounds && offset < layout.streamSize; ++round) {
    uint32_t left = layout.streamSize - offset;
    uint32_t got = ReadAt(source, offset, block, left < sizeof block ? left : sizeof block);
    if (got == 0) return;
    MpegFirstFrame frame;
    if (MpegAnalyseFirstFrame(block, got, layout.audioSize, &frame)) TakeFirstFrame(&frame, block, got, offset, facts);
    offset += got;
    facts->frameBytes = 0;
    if (ScanBlock(block, got, facts)) {
      facts->consistent = 1;
      return;
    }
    if (!MpegResync(source, offset, layout.streamSize, &offset)) return;
  }
}

// Bytes of an average frame times the sample rate; 0 when the bit rate is not
// known exactly (free format), so that the parsed frame size is used instead.
uint64_t AverageFrameScaled(const MpegStreamFacts* facts) {
  if (facts->header.bitRateIndex == 0 || facts->frameBitRate <= 0 || facts->sampleRate == 0) return 0;
  return uint64_t(facts->frameBitRate) * facts->samplesPerFrame / 8;
}

}  // namespace

int MpegAnalyseFirstFrame(const uint8_t* bytes, uint32_t count, uint64_t audioSize, MpegFirstFrame* frame) {
  memset(frame, 0, sizeof *frame);
  if (count < 5 || bytes[0] != 0xFF || (bytes[1] & 0xE0) != 0xE0) return 0;
  uint32_t version = (bytes[1] >> 3) & 3;
  uint32_t layerCode = (bytes[1] >> 1) & 3;
  uint32_t bitRateIndex = bytes[2] >> 4;
  uint32_t sampleRateIndex = (bytes[2] >> 2) & 3;
  if (version == 1 || layerCode == 0 || bitRateIndex == 15 || sampleRateIndex == 3) return 0;
  int mpeg1 = version == 3;
  uint32_t row = mpeg1 ? (layerCode == 3 ? 0 : layerCode == 2 ? 1 : 2) : (layerCode == 3 ? 3 : 4);
  frame->version = version;
  frame->layerCode = layerCode;
  frame->bitRate = uint32_t(kBitRates[row][bitRateIndex]) * 1000;
  frame->sampleRate = kSampleRates[mpeg1 ? 0 : version == 2 ? 1 : 2][sampleRateIndex];
  frame->channelMode = bytes[3] >> 6;
  frame->samplesPerFrame = layerCode == 3 ? 384 : (layerCode == 1 && !mpeg1) ? 576 : 1152;
  uint32_t padding = (bytes[2] >> 1) & 1;
  if (frame->bitRate) {
    frame->frameLength = layerCode == 3 ? (12 * frame->bitRate / frame->sampleRate + padding) * 4
                                        : frame->samplesPerFrame / 8 * frame->bitRate / frame->sampleRate + padding;
  }
  uint32_t xingOffset = XingOffset(frame);
  if (layerCode == 1 && audioSize >= xingOffset + 8) ReadXing(bytes, count, xingOffset, &frame->xing);
  if (frame->xing.frames) {
    if (!frame->xing.info) {
      // Bytes per frame over the time of one frame, in whole kbit/s.
      uint64_t bytesTotal = frame->xing.bytes ? frame->xing.bytes : audioSize;
      uint64_t rate = bytesTotal * 8 * frame->sampleRate / (uint64_t(frame->xing.frames) * frame->samplesPerFrame);
      frame->averageBitRate = rate > 0xFFFFFFFFu ? 0 : static_cast<uint32_t>(rate - rate % 1000);
    }
    // The counted frames tell the length, less what LAME added around the
    // sound; of a cut file, the share of them that is there.
    uint64_t frames = frame->xing.frames;
    if (frame->xing.bytes && audioSize < frame->xing.bytes) {
      frame->cut = 1;
      frames = frames * audioSize / frame->xing.bytes;
    }
    frame->soundFrames = static_cast<uint32_t>(frames);
    uint32_t skip = 0;
    uint32_t trimmed = 0;
    uint64_t sound = 0;
    ReckonSound(frame->xing, layerCode, frames, frame->samplesPerFrame, !frame->cut, &skip, &trimmed, &sound);
    frame->lengthSeconds = static_cast<uint32_t>((sound + frame->sampleRate / 2) / frame->sampleRate);
  } else if (frame->frameLength > 0 && audioSize >= frame->frameLength) {
    uint64_t rate = frame->averageBitRate ? frame->averageBitRate : frame->bitRate;
    frame->lengthSeconds = static_cast<uint32_t>((audioSize * 8 + rate / 2) / rate);
  }
  return 1;
}

uint64_t MpegSkipId3v2(ByteSource* source, uint64_t fileSize) {
  uint8_t bytes[kId3v2HeaderBytes];
  Id3v2Header header;
  if (!Id3v2ParseHeader(bytes, ReadAt(source, 0, bytes, sizeof bytes), &header)) return 0;
  uint64_t start = Id3v2TagBytes(&header);
  if (start >= fileSize) return fileSize;
  uint8_t four[4] = {};
  if (ReadAt(source, start, four, 1) == 1 && four[0] == 0) start = SkipZeros(source, start, fileSize);
  // Some writers end the padding with a lone 0xFF and three zeros.
  if (ReadAt(source, start, four, 4) == 4 && four[0] == 0xFF && four[1] == 0 && four[2] == 0 && four[3] == 0)
    start = SkipZeros(source, start + 4, fileSize);
  if (ReadAt(source, start, four, 1) != 1 || four[0] != 0xFF) start = FindByteFF(source, start, fileSize);
  return start;
}

int MpegLocateStream(ByteSource* source, MpegLayout* layout) {
  memset(layout, 0, sizeof *layout);
  layout->fileSize = ByteSourceSize(source);
  if (layout->fileSize >= kLargestFile) return 0;
  uint64_t streamSize = layout->fileSize - (Id3v1Present(source, layout->fileSize) ? kId3v1Bytes : 0);
  uint64_t dataStart = MpegSkipId3v2(source, layout->fileSize);
  if (dataStart > streamSize) dataStart = streamSize;
  layout->streamSize = static_cast<uint32_t>(streamSize);
  layout->dataStart = static_cast<uint32_t>(dataStart);
  layout->audioSize = layout->streamSize - layout->dataStart;
  return 1;
}

int MpegResync(ByteSource* source, uint32_t from, uint32_t end, uint32_t* offset) {
  uint8_t block[kMpegResyncBytes];
  while (from < end) {
    uint32_t left = end - from;
    uint32_t got = ReadAt(source, from, block, left < sizeof block ? left : sizeof block);
    if (got < 2) return 0;
    for (uint32_t i = 0; i + 1 < got; ++i) {
      if (IsSync(block + i)) {
        *offset = from + i;
        return 1;
      }
    }
    from += got - 1;  // the last byte may begin a sync that continues in the next block
  }
  return 0;
}

int MpegAnalyseStream(ByteSource* source, MpegStreamFacts* facts) {
  memset(facts, 0, sizeof *facts);
  if (!MpegLocateStream(source, &facts->layout)) return 0;
  ScanFrames(source, facts);
  if (facts->frameBytes == 0) return 0;
  facts->samplesPerFrame = MpegHeaderSamplesPerFrame(&facts->header);
  facts->sampleRate = MpegHeaderSampleRate(&facts->header);
  const MpegXing& xing = facts->xing;
  if (!xing.present) facts->audioStart = facts->layout.dataStart;
  if (facts->frameTotal == 0) {  // no count from an information frame
    uint64_t audio = facts->layout.streamSize - facts->audioStart;
    uint64_t scaled = AverageFrameScaled(facts);
    // Rounded: the padding slots make the average frame a fraction of a byte longer.
    uint64_t total = scaled ? (audio * facts->sampleRate + scaled / 2) / scaled : audio / facts->frameBytes;
    facts->frameTotal = static_cast<uint32_t>(total);
  }
  ReckonSound(xing, static_cast<uint32_t>(facts->header.layerCode), facts->frameTotal, facts->samplesPerFrame,
              xing.frames && !facts->cut, &facts->skipSamples, &facts->trimmed, &facts->soundSamples);
  return facts->frameTotal != 0;
}

uint32_t MpegFramesToSeconds(uint64_t frames, uint32_t samplesPerFrame, uint32_t sampleRate) {
  if (sampleRate == 0) return 0;
  return static_cast<uint32_t>((frames * samplesPerFrame + sampleRate / 2) / sampleRate);
}
