// RIFF/WAVE reading: finds the sound data and hands it out as 8- or 16-bit PCM
// of at most two channels, converting wider and float samples on the way. A
// data size of 0 or 0xFFFFFFFF, or one beyond the file, is what an interrupted
// or still running recorder leaves: the sound then runs to the end of the file.
#pragma once
#include <cstdint>

#include "base/byte_source.h"
#include "formats/input_module.h"

enum WavSampleKind : uint8_t {
  kWavUnsigned8,  // the stored form of 8-bit PCM
  kWavSigned16,
  kWavSigned24,
  kWavSigned32,
  kWavFloat32,
  kWavFloat64,
};

constexpr uint32_t kWavMaxChannels = 256;
constexpr uint32_t kWavMaxSampleRate = 768000;

struct WavStream {
  ByteSource source;     // closed while no file is open
  uint64_t dataStart;    // file offset of the first sound byte
  uint64_t dataSize;     // sound bytes known to be there, whole frames
  uint64_t dataLeft;     // of those, not yet read
  uint8_t openEnded;     // the header gives no usable size: the sound runs to the end of the file
  WavSampleKind kind;
  uint16_t channels;     // stored channels
  uint32_t blockAlign;   // stored bytes per frame
  uint16_t outFrame;     // delivered bytes per frame
  uint8_t convert;       // non-zero when samples are rewritten, not copied
  FormatRecord format;   // what Read delivers
  uint32_t bytesPerSecond;  // delivered bytes per second
  uint32_t secondsPlayed;
  uint32_t bytesIntoSecond;
};

// Takes ownership of the open source; on failure it is closed. Non-zero on success.
int WavOpen(WavStream* stream, ByteSource* source);
void WavClose(WavStream* stream);
// count: capacity in, bytes delivered out (whole frames only). Zero at the
// end; an open-ended file is measured again there, so one that grows while
// it plays plays on.
int WavRead(WavStream* stream, void* buffer, uint32_t* count);
// Moves to numerator/denominator of the sound data. Non-zero on success.
int WavSeek(WavStream* stream, uint32_t numerator, uint32_t denominator);
