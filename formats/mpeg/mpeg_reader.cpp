#include "formats/mpeg/mpeg_reader.h"

#include <cstring>
#include <new>

namespace {

constexpr int32_t kFrequencyLimit = 24000;
constexpr uint32_t kLargestPadding = 4;  // the Layer I padding slot
constexpr uint32_t kReservoirReach = 511;  // bytes a Layer III frame's main data may begin before it
constexpr uint32_t kMostPrerollFrames = 64;
constexpr uint32_t kWindowBytes = 8192;

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

// Frames decoded and dropped before the frame a seek lands in, so that it
// and the one before it (whose overlap it adds) have their main data in the
// reservoir, and the synthesis its history: the output is the same as if
// the stream had been played from its start.
uint32_t PrerollFrames(const MpegStreamFacts& facts) {
  const MpegHeader& h = facts.header;
  if (h.layerCode != 1) return 2;  // Layers I and II: the synthesis alone
  // The smallest frame the stream may hold: its own size when the bit rate
  // is constant, else that of the lowest bit rate.
  uint32_t frameBytes = facts.frameBytes;
  if (facts.variableBitRate) {
    uint8_t lowest[4] = {0xFF, static_cast<uint8_t>((h.syncKind == 1 ? 0xF0 : 0xE0) | (h.id << 3) | (h.layerCode << 1) | 1),
                         static_cast<uint8_t>(0x10 | (h.sampleRateIndex << 2)), static_cast<uint8_t>(h.mode << 6)};
    MpegHeader parsed{};
    int size = MpegParseHeader(lowest, sizeof lowest, &parsed);
    if (size > 0) frameBytes = static_cast<uint32_t>(size);
  }
  uint32_t side = h.id == 1 ? (h.mode == 3 ? 17 : 32) : (h.mode == 3 ? 9 : 17);
  uint32_t overhead = 4 + 2 + side;  // header, CRC, side information
  uint32_t data = frameBytes > overhead ? frameBytes - overhead : 1;
  uint32_t frames = 2 + (kReservoirReach + data - 1) / data;
  return frames < kMostPrerollFrames ? frames : kMostPrerollFrames;
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
  if (info.channels == 0 || info.channels > 2 || bytesPerValue != 2 || info.valuesPerFrame == 0 ||
      info.valuesPerFrame > kMpegMaxFrameValues || info.sampleRate == 0 ||
      info.valuesPerFrame / info.channels != stream->facts.samplesPerFrame)
    return 0;
  stream->pcmBytesPerFrame = info.valuesPerFrame * bytesPerValue;
  stream->channels = info.channels;
  stream->prerollFrames = PrerollFrames(stream->facts);
  stream->format.lengthSeconds = stream->facts.lengthSeconds;
  stream->format.lengthMilliseconds = MillisecondsOf(stream->facts.soundSamples, info.sampleRate);
  stream->format.bitRate = static_cast<uint32_t>(stream->facts.frameBitRate / 1000);
  stream->format.sampleRate = info.sampleRate;
  stream->format.stereo = info.channels > 1;
  stream->format.bits16 = 1;
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

// ---- Frame index ----

// The bytes of the frame whose four header bytes are at p, padding
// included, when the decoder takes it as a frame of this stream; else 0.
uint32_t FrameBytesAt(const uint8_t* p, const MpegStreamFacts& facts) {
  const MpegHeader& s = facts.header;
  int high = p[1] >> 4;
  if (p[0] != 0xFF || (high != 0xF && high != 0xE)) return 0;
  int syncKind = high == 0xF ? 1 : 2;
  int id = (p[1] >> 3) & 1;
  int layerCode = (p[1] >> 1) & 3;
  int bitRateIndex = p[2] >> 4;
  int sampleRateIndex = (p[2] >> 2) & 3;
  int padding = (p[2] >> 1) & 1;
  int single = (p[3] >> 6) == 3;
  if (syncKind != s.syncKind || id != s.id || layerCode != s.layerCode || sampleRateIndex != s.sampleRateIndex ||
      bitRateIndex == 15)
    return 0;
  if (layerCode != 1 && single != (s.mode == 3)) return 0;  // Layers I and II keep their channels
  int size;
  if (bitRateIndex == 0) {
    size = static_cast<int>(facts.frameBytes);  // free format: the size the scan measured
  } else {
    MpegHeader header{};
    size = MpegParseHeader(p, 4, &header);
  }
  if (size <= 0) return 0;
  return static_cast<uint32_t>(size) + (padding ? (layerCode == 3 ? 4u : 1u) : 0u);
}

// A window on the stream, so that walking the headers reads in blocks.
struct Window {
  uint8_t bytes[kWindowBytes];
  uint64_t start;
  uint32_t count;
};

// The four bytes at offset, or null when they are not there before end.
const uint8_t* HeaderAt(ByteSource* source, Window* window, uint32_t offset, uint32_t end) {
  if (uint64_t(offset) + 4 > end) return nullptr;
  if (offset < window->start || uint64_t(offset) + 4 > window->start + window->count) {
    uint32_t left = end - offset;
    window->start = offset;
    window->count = ReadAt(source, offset, window->bytes, left < kWindowBytes ? left : kWindowBytes);
    if (window->count < 4) return nullptr;
  }
  return window->bytes + (offset - window->start);
}

// Where the decoder would find its next frame, searching from offset on:
// the first header of the stream whose frame fits before end; end when none.
uint32_t FrameStartFrom(MpegStream* stream, Window* window, uint32_t offset, uint32_t end) {
  for (uint32_t at = offset; uint64_t(at) + 4 <= end; ++at) {
    const uint8_t* p = HeaderAt(&stream->source, window, at, end);
    if (!p) return end;
    if (p[0] != 0xFF) continue;
    uint32_t bytes = FrameBytesAt(p, stream->facts);
    if (bytes == 0) continue;
    return uint64_t(at) + bytes <= end ? at : end;
  }
  return end;
}

void Remember(MpegFrameIndex* index, uint32_t frame, uint32_t offset) {
  if (frame % index->stride) return;
  if (index->entries == kMpegIndexEntries) {
    for (uint32_t i = 0; i < kMpegIndexEntries / 2; ++i) index->offset[i] = index->offset[2 * i];
    index->entries = kMpegIndexEntries / 2;
    index->stride *= 2;
    if (frame % index->stride) return;
  }
  index->offset[index->entries++] = offset;  // frame == entries * stride
}

void StartIndex(MpegStream* stream) {
  MpegFrameIndex* index = &stream->index;
  uint32_t end = stream->facts.layout.streamSize;
  Window window{};
  index->known = 0;
  index->end = FrameStartFrom(stream, &window, stream->facts.audioStart, end);
  index->ended = index->end >= end;
  index->stride = 1;
  index->entries = 1;
  index->offset[0] = index->end;
}

// The offset of frame *frame. When the stream has fewer frames, *frame
// becomes their number and the offset the stream's end.
uint32_t FindFrame(MpegStream* stream, uint32_t* frame) {
  MpegFrameIndex* index = &stream->index;
  uint32_t end = stream->facts.layout.streamSize;
  Window window{};
  if (*frame >= index->known) {
    // Beyond what is known: walk on from there, remembering as we go.
    while (!index->ended && index->known < *frame) {
      const uint8_t* p = HeaderAt(&stream->source, &window, index->end, end);
      uint32_t bytes = p ? FrameBytesAt(p, stream->facts) : 0;
      if (bytes == 0) {
        index->ended = 1;
        break;
      }
      index->end = FrameStartFrom(stream, &window, index->end + bytes, end);
      ++index->known;
      if (index->end >= end) index->ended = 1;
      else Remember(index, index->known, index->end);
    }
    if (*frame >= index->known) {
      *frame = index->known;
      return index->ended ? end : index->end;
    }
  }
  // Inside what is known: from the entry at or before it.
  uint32_t entry = *frame / index->stride;
  uint32_t at = index->offset[entry];
  for (uint32_t k = entry * index->stride; k < *frame; ++k) {
    const uint8_t* p = HeaderAt(&stream->source, &window, at, end);
    uint32_t bytes = p ? FrameBytesAt(p, stream->facts) : 0;
    if (bytes == 0) return end;  // the file changed under us
    at = FrameStartFrom(stream, &window, at + bytes, end);
  }
  return at;
}

uint64_t EndSample(const MpegStreamFacts& facts) {
  return facts.trimmed ? uint64_t(facts.skipSamples) + facts.soundSamples : UINT64_MAX;
}

}  // namespace

int MpegOpen(MpegStream* stream, ByteSource* source) {
  MpegClose(stream);
  stream->source = *source;
  source->context = nullptr;
  memset(&stream->facts, 0, sizeof stream->facts);
  memset(&stream->format, 0, sizeof stream->format);
  if (!MpegAnalyseStream(&stream->source, &stream->facts) || !StartDecoding(stream)) {
    MpegClose(stream);
    return 0;
  }
  stream->streamOffset = stream->facts.audioStart;
  stream->framesDecoded = 0;
  stream->nextSample = stream->facts.skipSamples;
  stream->endSample = EndSample(stream->facts);
  StartIndex(stream);
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
  uint32_t capacity = *count;
  *count = 0;
  if (!ByteSourceIsOpen(&stream->source) || stream->pcmBytesPerFrame == 0) return 0;
  uint8_t* out = static_cast<uint8_t*>(buffer);
  const uint32_t samplesPerFrame = stream->facts.samplesPerFrame;
  const uint32_t sampleBytes = 2 * stream->channels;
  uint32_t delivered = 0;
  while (stream->nextSample < stream->endSample && uint64_t(delivered) + stream->pcmBytesPerFrame <= capacity) {
    uint32_t produced = 0;
    uint32_t consumed = 0;
    if (!DecodeOneFrame(stream, &produced, &consumed)) {
      stream->endSample = stream->nextSample;  // the end of the file
      break;
    }
    if (!consumed) continue;  // nothing decodable yet; the search moved on
    // The frame's samples that belong to the sound and are not yet handed
    // out; a frame that produced nothing (its main data were lost) still
    // takes its time.
    uint64_t first = uint64_t(stream->framesDecoded) * samplesPerFrame;
    uint64_t from = first > stream->nextSample ? first : stream->nextSample;
    uint64_t to = first + samplesPerFrame < stream->endSample ? first + samplesPerFrame : stream->endSample;
    uint64_t made = first + produced / sampleBytes;
    if (to > from) {
      uint64_t copied = to < made ? to : made;
      if (copied > from) {
        uint32_t bytes = static_cast<uint32_t>((copied - from) * sampleBytes);
        memcpy(out + delivered, reinterpret_cast<const uint8_t*>(stream->pcm) + (from - first) * sampleBytes, bytes);
        delivered += bytes;
      }
      stream->nextSample = to;
    }
    stream->streamOffset += consumed;
    ++stream->framesDecoded;
  }
  *count = delivered;
  return delivered > 0 || stream->nextSample < stream->endSample;
}

int MpegSeek(MpegStream* stream, uint32_t numerator, uint32_t denominator) {
  if (!ByteSourceIsOpen(&stream->source) || denominator == 0 || stream->pcmBytesPerFrame == 0) return 0;
  const MpegStreamFacts& facts = stream->facts;
  uint64_t total = facts.soundSamples;
  // total * numerator / denominator without overflow (numerator < denominator).
  uint64_t target = numerator >= denominator
                        ? total
                        : total / denominator * numerator + total % denominator * numerator / denominator;
  uint64_t sample = uint64_t(facts.skipSamples) + target;
  uint64_t frame = sample / facts.samplesPerFrame;
  uint64_t start = frame > stream->prerollFrames ? frame - stream->prerollFrames : 0;
  uint32_t found = start > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<uint32_t>(start);
  stream->streamOffset = FindFrame(stream, &found);
  stream->framesDecoded = found;
  stream->nextSample = sample;
  stream->endSample = EndSample(facts);
  // Bit reservoir and overlap belong to the old place.
  SetUpDecoder(stream);
  return 1;
}

uint32_t MpegPosition(const MpegStream* stream) {
  uint32_t rate = stream->facts.sampleRate;
  if (rate == 0 || stream->nextSample < stream->facts.skipSamples) return 0;
  uint64_t played = stream->nextSample - stream->facts.skipSamples;
  return static_cast<uint32_t>((played + rate / 2) / rate);
}

int MpegTestSource(ByteSource* source) {
  MpegStreamFacts facts;
  if (!MpegAnalyseStream(source, &facts) || facts.sampleRate == 0) return 0;
  // However short, a stream with frames is played; its length may round to 0 s.
  uint64_t seconds = (facts.soundSamples + facts.sampleRate / 2) / facts.sampleRate;
  return seconds < 0x7FFFFFFF ? static_cast<int>(seconds) + 1 : 0x7FFFFFFF;
}
