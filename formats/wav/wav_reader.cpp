// RIFF/WAVE parsing and sample delivery.
#include "wav_reader.h"

#include <cstring>

#include "formats/id3v2_skip.h"

namespace {

constexpr uint16_t kFormatPcm = 1;
constexpr uint16_t kFormatFloat = 3;
constexpr uint16_t kFormatExtensible = 0xFFFE;
// The sub-format GUIDs of WAVE_FORMAT_EXTENSIBLE share these 14 bytes after
// their leading 16-bit format tag.
constexpr uint8_t kGuidTail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                   0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t Le32(const uint8_t* p) {
  return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

// Reads chunk headers from the current offset until one named id; returns its
// payload size with the source at the payload, or -1.
int64_t FindChunk(ByteSource* source, const char* id) {
  uint8_t header[8];
  while (ByteSourceReadExact(source, header, sizeof header)) {
    uint32_t size = Le32(header + 4);
    if (memcmp(header, id, 4) == 0) return size;
    uint64_t next = ByteSourceTell(source) + size + (size & 1);
    if (!ByteSourceSeek(source, next)) return -1;
  }
  return -1;
}

// Decides how the stored samples are delivered; zero for layouts we cannot
// play: no or too many channels, a rate no device plays, or a block align
// that is not channels x bytes per sample (the reader steps by it).
int ChooseLayout(WavStream* stream, const uint8_t* fmt, uint32_t fmtSize) {
  uint16_t tag = Le16(fmt);
  uint32_t channels = Le16(fmt + 2);
  uint32_t rate = Le32(fmt + 4);
  uint32_t blockAlign = Le16(fmt + 12);
  uint32_t bits = Le16(fmt + 14);
  if (tag == kFormatExtensible) {
    if (fmtSize < 40 || memcmp(fmt + 26, kGuidTail, sizeof kGuidTail) != 0) return 0;
    tag = Le16(fmt + 24);
  }
  uint32_t bytes = (bits + 7) / 8;
  if (tag == kFormatPcm && bytes >= 1 && bytes <= 4) {
    static const WavSampleKind kByWidth[] = {kWavUnsigned8, kWavSigned16, kWavSigned24, kWavSigned32};
    stream->kind = kByWidth[bytes - 1];
  } else if (tag == kFormatFloat && (bits == 32 || bits == 64)) {
    stream->kind = bits == 32 ? kWavFloat32 : kWavFloat64;
  } else {
    return 0;
  }
  if (channels == 0 || channels > kWavMaxChannels || rate == 0 || rate > kWavMaxSampleRate) return 0;
  if (blockAlign != channels * bytes) return 0;
  stream->channels = static_cast<uint16_t>(channels);
  stream->blockAlign = blockAlign;
  uint32_t outChannels = channels >= 2 ? 2 : 1;
  // 8- and 16-bit mono or stereo PCM is handed out as stored; everything else
  // becomes 16-bit, first two channels.
  stream->convert = !(tag == kFormatPcm && bytes <= 2 && channels <= 2);
  int bits16 = stream->convert || bytes == 2;
  stream->outFrame = static_cast<uint16_t>(outChannels * (bits16 ? 2 : 1));
  stream->format.sampleRate = rate;
  stream->format.stereo = outChannels == 2;
  stream->format.bits16 = static_cast<uint32_t>(bits16);
  stream->format.bitRate = 0;
  stream->bytesPerSecond = rate * stream->outFrame;  // at most 768000 x 4
  return 1;
}

// Whole frames of sound in the file as it is now, from the data's start.
uint64_t WholeFramesPresent(WavStream* stream) {
  uint64_t size = ByteSourceSize(&stream->source);
  uint64_t present = size > stream->dataStart ? size - stream->dataStart : 0;
  return present - present % stream->blockAlign;
}

void SetLength(WavStream* stream) {
  uint64_t storedPerSecond = uint64_t(stream->format.sampleRate) * stream->blockAlign;
  uint64_t seconds = stream->dataSize / storedPerSecond;
  stream->format.lengthSeconds = seconds > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<uint32_t>(seconds);
  stream->format.lengthMilliseconds = MillisecondsOf(stream->dataSize, storedPerSecond);
}

int ReadHeaders(WavStream* stream) {
  ByteSource* source = &stream->source;
  Id3v2SkipTag(source);
  uint8_t riff[12];
  if (!ByteSourceReadExact(source, riff, sizeof riff) || memcmp(riff, "RIFF", 4) != 0 ||
      memcmp(riff + 8, "WAVE", 4) != 0)
    return 0;
  int64_t fmtSize = FindChunk(source, "fmt ");
  if (fmtSize < 16) return 0;
  uint8_t fmt[40] = {};
  uint32_t keep = fmtSize < 40 ? static_cast<uint32_t>(fmtSize) : 40;
  uint64_t fmtStart = ByteSourceTell(source);
  if (!ByteSourceReadExact(source, fmt, keep) || !ChooseLayout(stream, fmt, keep)) return 0;
  // The sound data is searched after the format chunk only.
  if (!ByteSourceSeek(source, fmtStart + uint64_t(fmtSize) + (fmtSize & 1))) return 0;
  int64_t dataSize = FindChunk(source, "data");
  if (dataSize < 0) return 0;
  stream->dataStart = ByteSourceTell(source);
  uint64_t present = WholeFramesPresent(stream);
  // A recorder that was cut off, or is still writing, leaves 0 or all ones,
  // or a size the file does not (yet) reach: then the sound is all there is.
  stream->openEnded = dataSize == 0 || dataSize == 0xFFFFFFFF || uint64_t(dataSize) > present;
  uint64_t declared = uint64_t(dataSize) - uint64_t(dataSize) % stream->blockAlign;
  stream->dataSize = stream->openEnded ? present : declared;
  stream->dataLeft = stream->dataSize;
  SetLength(stream);
  return 1;
}

// An open-ended file measured again: non-zero when it grew.
int TakeGrowth(WavStream* stream) {
  if (!stream->openEnded) return 0;
  uint64_t present = WholeFramesPresent(stream);
  if (present <= stream->dataSize) return 0;
  // Back to the first unread byte: a read that met the old end may have
  // left the file's place inside a frame, and its end-of-file state set.
  uint64_t read = stream->dataSize - stream->dataLeft;
  if (!ByteSourceSeek(&stream->source, stream->dataStart + read)) return 0;
  stream->dataLeft += present - stream->dataSize;
  stream->dataSize = present;
  SetLength(stream);
  return 1;
}

int32_t ClampTo16(int64_t value) {
  return value > 32767 ? 32767 : value < -32768 ? -32768 : static_cast<int32_t>(value);
}

// Rounds a wider integer sample to 16 bits.
int32_t Narrow(int64_t value, int shift) { return ClampTo16((value + (int64_t(1) << (shift - 1))) >> shift); }

int32_t FloatTo16(double value) {
  double scaled = value * 32768.0;
  if (!(scaled == scaled)) return 0;  // NaN is silence
  // Clamped before the conversion: a value beyond int64_t (or infinite) has none.
  if (scaled >= 32767.0) return 32767;
  if (scaled <= -32768.0) return -32768;
  return static_cast<int32_t>(scaled < 0 ? scaled - 0.5 : scaled + 0.5);
}

int32_t StoredSampleTo16(WavSampleKind kind, const uint8_t* p) {
  switch (kind) {
    case kWavUnsigned8: return (int32_t(p[0]) - 128) * 256;
    case kWavSigned16: return int16_t(Le16(p));
    case kWavSigned24: return Narrow(int32_t((uint32_t(p[0]) << 8) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 24)) >> 8, 8);
    case kWavSigned32: return Narrow(int32_t(Le32(p)), 16);
    case kWavFloat32: {
      uint32_t bits = Le32(p);
      float value;
      memcpy(&value, &bits, sizeof value);
      return FloatTo16(value);
    }
    case kWavFloat64: {
      uint64_t bits = uint64_t(Le32(p)) | (uint64_t(Le32(p + 4)) << 32);
      double value;
      memcpy(&value, &bits, sizeof value);
      return FloatTo16(value);
    }
  }
  return 0;
}

void ConvertFrames(const WavStream* stream, const uint8_t* in, uint32_t frames, uint8_t* out) {
  uint32_t width = stream->blockAlign / stream->channels;
  uint32_t outChannels = stream->format.stereo ? 2 : 1;
  for (uint32_t f = 0; f < frames; ++f, in += stream->blockAlign) {
    for (uint32_t c = 0; c < outChannels; ++c) {
      int32_t sample = StoredSampleTo16(stream->kind, in + c * width);
      *out++ = static_cast<uint8_t>(sample & 0xFF);
      *out++ = static_cast<uint8_t>((sample >> 8) & 0xFF);
    }
  }
}

// Reads up to frames whole stored frames into dest; returns the frames read.
uint32_t ReadStoredFrames(WavStream* stream, uint8_t* dest, uint32_t frames) {
  uint64_t want = uint64_t(frames) * stream->blockAlign;
  if (want > stream->dataLeft) want = stream->dataLeft;  // whole frames too
  uint32_t got = ByteSourceRead(&stream->source, dest, static_cast<uint32_t>(want));
  got -= got % stream->blockAlign;
  if (got < want) {
    // A short read is the end of what is there: forget the rest.
    stream->dataSize -= stream->dataLeft - got;
    stream->dataLeft = 0;
  } else {
    stream->dataLeft -= got;
  }
  return got / stream->blockAlign;
}

uint32_t ReadConverted(WavStream* stream, uint8_t* out, uint32_t capacity) {
  uint8_t stored[12288];
  uint32_t perPass = sizeof stored / stream->blockAlign;  // at least 6: frames are at most 2048 bytes
  uint32_t delivered = 0;
  while (capacity - delivered >= stream->outFrame && stream->dataLeft) {
    uint32_t frames = (capacity - delivered) / stream->outFrame;
    uint32_t got = ReadStoredFrames(stream, stored, frames < perPass ? frames : perPass);
    if (got == 0) break;
    ConvertFrames(stream, stored, got, out + delivered);
    delivered += got * stream->outFrame;
  }
  return delivered;
}

uint32_t ReadSome(WavStream* stream, uint8_t* out, uint32_t capacity) {
  return stream->convert ? ReadConverted(stream, out, capacity)
                         : ReadStoredFrames(stream, out, capacity / stream->blockAlign) * stream->blockAlign;
}

}  // namespace

int WavOpen(WavStream* stream, ByteSource* source) {
  WavClose(stream);
  stream->source = *source;
  source->context = nullptr;
  if (!ReadHeaders(stream)) {
    WavClose(stream);
    return 0;
  }
  stream->secondsPlayed = 0;
  stream->bytesIntoSecond = 0;
  return 1;
}

void WavClose(WavStream* stream) {
  ByteSourceClose(&stream->source);
  stream->dataLeft = 0;
}

int WavRead(WavStream* stream, void* buffer, uint32_t* count) {
  uint32_t capacity = *count;
  *count = 0;  // the caller queues what the count says, also at the end
  if (!ByteSourceIsOpen(&stream->source)) return 0;
  uint8_t* out = static_cast<uint8_t*>(buffer);
  uint32_t delivered = ReadSome(stream, out, capacity);
  // At the known end of an open-ended file: it may have grown meanwhile.
  while (stream->dataLeft == 0 && capacity - delivered >= stream->outFrame && TakeGrowth(stream)) {
    uint32_t more = ReadSome(stream, out + delivered, capacity - delivered);
    if (more == 0) break;
    delivered += more;
  }
  if (delivered == 0) return 0;
  *count = delivered;
  stream->bytesIntoSecond += delivered;
  if (stream->bytesPerSecond) {
    stream->secondsPlayed += stream->bytesIntoSecond / stream->bytesPerSecond;
    stream->bytesIntoSecond %= stream->bytesPerSecond;
  }
  return 1;
}

int WavSeek(WavStream* stream, uint32_t numerator, uint32_t denominator) {
  if (!ByteSourceIsOpen(&stream->source) || denominator == 0) return 0;
  TakeGrowth(stream);  // a fraction of what is there now
  uint64_t target = SeekTarget(stream->dataSize, numerator, denominator);
  // Whole frames that also lie on a 4-byte boundary.
  uint32_t step = stream->blockAlign;
  while (step % 4) step += stream->blockAlign;
  target -= target % step;
  if (!ByteSourceSeek(&stream->source, stream->dataStart + target)) return 0;
  stream->dataLeft = stream->dataSize - target;
  uint64_t delivered = target / stream->blockAlign * stream->outFrame;
  stream->secondsPlayed = static_cast<uint32_t>(delivered / stream->bytesPerSecond);
  stream->bytesIntoSecond = static_cast<uint32_t>(delivered % stream->bytesPerSecond);
  return 1;
}
