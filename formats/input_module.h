// The input-module record: the one contract through which the player drives
// every decoder, built in or loaded from a plug-in. Free of windows.h so the
// decoders that implement it build on any host.
#pragma once
#include <cstdint>

#include "formats/file_info.h"

// What Read delivers.
struct FormatRecord {
  uint32_t lengthSeconds;  // 0 = unknown
  uint32_t bitRate;        // kbit/s, 0 = none
  uint32_t sampleRate;     // Hz
  uint32_t stereo;         // non-zero: two interleaved channels
  uint32_t bits16;         // non-zero: 16-bit signed, else 8-bit unsigned
  // The exact length, for seeks to a time; 0 = unknown (seeks then go by lengthSeconds).
  uint32_t lengthMilliseconds;
};

struct InputModule {
  const wchar_t* extensions;  // "*.WAV;*.XYZ"; null marks an empty slot
  void* state;                // the module's own block, allocated by its set-up
  void (*Release)(InputModule* module);
  int (*Test)(InputModule* module, void* owner, const wchar_t* path);
  int (*Open)(InputModule* module, void* owner, const wchar_t* path);
  void (*Close)(InputModule* module);
  int (*Seek)(InputModule* module, uint32_t numerator, uint32_t denominator);
  void (*GetFormat)(InputModule* module, FormatRecord* format);
  // Fills block->info for the file whose path is block->path.
  void (*GetInfo)(InputModule* module, FileInfoBlock* block);
  // count: capacity in, bytes delivered out. Zero at the end of the stream or on an error.
  int (*Read)(InputModule* module, void* buffer, uint32_t* count);
  uint32_t (*GetPosition)(InputModule* module);
};

// A module's operations, for InputModuleBind.
struct InputModuleRoutines {
  void (*Release)(InputModule* module);
  int (*Test)(InputModule* module, void* owner, const wchar_t* path);
  int (*Open)(InputModule* module, void* owner, const wchar_t* path);
  void (*Close)(InputModule* module);
  int (*Seek)(InputModule* module, uint32_t numerator, uint32_t denominator);
  void (*GetFormat)(InputModule* module, FormatRecord* format);
  void (*GetInfo)(InputModule* module, FileInfoBlock* block);
  int (*Read)(InputModule* module, void* buffer, uint32_t* count);
  uint32_t (*GetPosition)(InputModule* module);
};

// Fills the record: its state, its extension list and its operations.
inline void InputModuleBind(InputModule* module, void* state, const wchar_t* extensions, const InputModuleRoutines& r) {
  module->state = state;
  module->extensions = extensions;
  module->Release = r.Release;
  module->Test = r.Test;
  module->Open = r.Open;
  module->Close = r.Close;
  module->Seek = r.Seek;
  module->GetFormat = r.GetFormat;
  module->GetInfo = r.GetInfo;
  module->Read = r.Read;
  module->GetPosition = r.GetPosition;
}

// The operations of a module whose functions bear the routines' own names.
#define INPUT_MODULE_ROUTINES(getInfo)                                                                   \
  InputModuleRoutines {                                                                                \
    .Release = Release, .Test = Test, .Open = Open, .Close = Close, .Seek = Seek, .GetFormat = GetFormat, \
    .GetInfo = getInfo, .Read = Read, .GetPosition = GetPosition                                       \
  }

// Milliseconds of units counted at perSecond a second (samples, bytes),
// without overflow; 0 when the rate is unknown, the maximum when it does not fit.
inline uint32_t MillisecondsOf(uint64_t units, uint64_t perSecond) {
  if (!perSecond) return 0;
  uint64_t seconds = units / perSecond;
  if (seconds >= 0xFFFFFFFFu / 1000) return 0xFFFFFFFFu;
  return static_cast<uint32_t>(seconds * 1000 + units % perSecond * 1000 / perSecond);
}

// The sample (or any unit) at numerator/denominator of total, in 64 bits
// without overflow; total itself for fractions of one or more.
inline uint64_t SeekTarget(uint64_t total, uint32_t numerator, uint32_t denominator) {
  if (denominator == 0 || numerator >= denominator) return total;
  return total / denominator * numerator + total % denominator * numerator / denominator;
}
