#include "formats/mpeg/mpeg_reader.h"

#include <cstring>
#include <new>

namespace {

constexpr int32_t kFrequencyLimit = 24000;
constexpr uint32_t kLargestPadding = 4;  // the Layer I padding slot

uint32_t ReadAt(ByteSource* source, uint64_t offset, void* buffer, uint32_t size) {
  return ByteSourceSeek(source, offset) ? ByteSourceRead(source, buffer, size) : 0;
}

int SetUpDecoder(MpegStream* stream) {
  return MpegDecoderSetUp(stream->decoder, &stream->facts.header, static_cast<int32_t>(stream->facts.frameBytes),
                          0, 0, 0, kFrequencyLimit);
}

int EnsureInput(MpegStream* stream, uint32_t bytes) {
  if (stream->inputCapacity >= bytes) return 1;
  uint8_t* larger = new (std::nothrow) uint8_t[bytes];
  if (!larger) return 0;
  delete[] stream->input;
  stream->input = larger;
  stream->inputCapacity = bytes;
  return 1;
}

// Decoder set-up and the format record that follows from it.
int StartDecoding(MpegStream* stream) {
  if (!stream->decoder) {
    stream->decoder = MpegDecoderCreate();
    // All 32 subbands: the decoder's default drops the top one, which at
    // 8 kHz is 3.875-4 kHz and carries speech.
    MpegDecoderSetSubbandCap(stream->decoder, 32);
  }
  if (!stream->decoder || !SetUpDecoder(stream)) return 0;
  MpegDecoderInfo info{};
  MpegDecoderGetInfo(stream->decoder, &info);
  // The decoder's own count bounds the output: for MPEG-2 Layer II it is
  // 1152 samples per channel, not the 576 of Layer III.
  uint32_t bytesPerValue = info.bitsPerSample / 8;
  if (info.channels == 0 || bytesPerValue != 2 || info.valuesPerFrame == 0 ||
      info.valuesPerFrame > kMpegMaxFrameValues || info.sampleRate == 0)
    return 0;
  stream->pcmBytesPerFrame = info.valuesPerFrame * bytesPerValue;
  stream->format.lengthSeconds = stream->facts.lengthSeconds;
  stream->format.bitRate = static_cast<uint32_t>(stream->facts.frameBitRate / 1000);
  stream->format.sampleRate = info.sampleRate;
  stream->format.stereo = info.channels > 1;
  stream->format.bits16 = 1;
  // Time is counted in the decoder's own samples per channel.
  stream->facts.samplesPerFrame = info.valuesPerFrame / info.channels;
  stream->facts.sampleRate = info.sampleRate;
  uint32_t frameRoom = stream->facts.frameBytes + kLargestPadding;
  return EnsureInput(stream, frameRoom > kMpegResyncBytes ? frameRoom : kMpegResyncBytes);
}

// One frame: up to kMpegReadAttempts tries, each resynchronising after a
// frame the decoder refused. Returns 0 at the end of the stream; *produced
// and *consumed tell what the frame gave.
int DecodeOneFrame(MpegStream* stream, uint32_t* produced, uint32_t* consumed) {
  *produced = 0;
  *consumed = 0;
  uint32_t end = stream->facts.layout.streamSize;
  for (uint32_t attempt = 0; attempt < kMpegReadAttempts; ++attempt) {
    uint32_t left = stream->streamOffset < end ? end - stream->streamOffset : 0;
    uint32_t want = left < stream->inputCapacity ? left : stream->inputCapacity;
    uint32_t got = want ? ReadAt(&stream->source, stream->streamOffset, stream->input, want) : 0;
    if (got == 0) return 0;
    size_t used = 0;
    size_t made = 0;
    MpegDecodeFrame(stream->decoder, stream->input, got, stream->pcm, &used, &made);
    if (used > 0) {
      *consumed = static_cast<uint32_t>(used > got ? got : used);
      uint32_t limit = stream->pcmBytesPerFrame;
      *produced = static_cast<uint32_t>(made > limit ? limit : made);
      return 1;
    }
    // The decoder lost its footing: start it afresh at the next sync behind this byte.
    SetUpDecoder(stream);
    if (got < stream->inputCapacity) return 0;  // the end of the file: nothing more can follow
    uint32_t next = 0;
    if (!MpegResync(&stream->source, stream->streamOffset + 1, end, &next)) return 0;
    stream->streamOffset = next;
  }
  return 1;  // nothing decodable here, but the stream goes on
}

}  // namespace

int MpegOpen(MpegStream* stream, ByteSource* source) {
  MpegClose(stream);
  stream->source = *source;
  source->context = nullptr;
  memset(&stream->facts, 0, sizeof stream->facts);
  memset(&stream->format, 0, sizeof stream->format);
  stream->framesDecoded = 0;
  if (!MpegAnalyseStream(&stream->source, &stream->facts) || !StartDecoding(stream)) {
    MpegClose(stream);
    return 0;
  }
  stream->streamOffset = stream->facts.layout.dataStart;
  return 1;
}

void MpegClose(MpegStream* stream) { ByteSourceClose(&stream->source); }

void MpegRelease(MpegStream* stream) {
  MpegClose(stream);
  if (stream->decoder) MpegDecoderDestroy(stream->decoder);
  stream->decoder = nullptr;
  delete[] stream->input;
  stream->input = nullptr;
  stream->inputCapacity = 0;
}

int MpegRead(MpegStream* stream, void* buffer, uint32_t* count) {
  if (!ByteSourceIsOpen(&stream->source) || stream->pcmBytesPerFrame == 0) return 0;
  uint8_t* out = static_cast<uint8_t*>(buffer);
  uint32_t delivered = 0;
  int more = 1;
  while (uint64_t(delivered) + stream->pcmBytesPerFrame <= *count) {
    uint32_t produced = 0;
    uint32_t consumed = 0;
    more = DecodeOneFrame(stream, &produced, &consumed);
    if (!more) break;
    if (consumed) {
      memcpy(out + delivered, stream->pcm, produced);
      delivered += produced;
      stream->streamOffset += consumed;
      ++stream->framesDecoded;
    }
    if (stream->framesDecoded >= stream->facts.frameTotal) break;
  }
  *count = delivered;
  return more;
}

int MpegSeek(MpegStream* stream, uint32_t numerator, uint32_t denominator) {
  if (!ByteSourceIsOpen(&stream->source)) return 0;
  const MpegStreamFacts& facts = stream->facts;
  if (facts.variableBitRate) {
    // The table maps per cent of the playing time to 1/256ths of the bytes;
    // between its entries the place is interpolated (thousandths of a per cent).
    uint64_t milli = denominator == 0 || denominator == 100 ? uint64_t(numerator) * 1000
                                                           : uint64_t(numerator) * 100000 / denominator;
    if (milli >= 100000) return 1;  // the end is no place to go: stay
    uint32_t percent = static_cast<uint32_t>(milli / 1000);
    uint64_t low = facts.xing.flags & 0x4 ? facts.xing.table[percent] : percent * 256 / 100;
    uint64_t high = percent + 1 >= kXingTableBytes ? 256
                    : facts.xing.flags & 0x4     ? facts.xing.table[percent + 1]
                                                 : (percent + 1) * 256 / 100;
    uint64_t mark = low * 1000 + (high > low ? (high - low) * (milli % 1000) : 0);  // 1/256000ths
    uint64_t bytes = facts.xing.bytes ? facts.xing.bytes : facts.layout.audioSize;
    stream->framesDecoded = static_cast<uint32_t>(uint64_t(facts.xing.frames) * milli / 100000);
    uint64_t offset = facts.layout.dataStart + bytes * mark / 256000;
    stream->streamOffset = offset > facts.layout.streamSize ? facts.layout.streamSize : static_cast<uint32_t>(offset);
  } else {
    if (denominator == 0) return 0;
    uint64_t frame = uint64_t(facts.frameTotal) * numerator / denominator;
    if (frame > facts.frameTotal) frame = facts.frameTotal;
    stream->framesDecoded = static_cast<uint32_t>(frame);
    stream->streamOffset = MpegFrameOffset(&facts, stream->framesDecoded);
  }
  // Bit reservoir and overlap belong to the old place.
  SetUpDecoder(stream);
  return 1;
}

uint32_t MpegPosition(const MpegStream* stream) {
  return MpegFramesToSeconds(stream->framesDecoded, stream->facts.samplesPerFrame, stream->facts.sampleRate);
}

int MpegTestSource(ByteSource* source) {
  MpegStreamFacts facts;
  if (!MpegAnalyseStream(source, &facts)) return 0;
  // However short, a stream with frames is played; its length may round to 0 s.
  uint32_t seconds = MpegFramesToSeconds(facts.frameTotal, facts.samplesPerFrame, facts.sampleRate);
  return seconds < 0x7FFFFFFF ? static_cast<int>(seconds) + 1 : 0x7FFFFFFF;
}
