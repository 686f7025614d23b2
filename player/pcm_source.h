// Where the output module pulls its PCM from: a routine and its context. The
// player thread puts the current input module behind it, and a stage (speed
// change, a plug-in's ring buffer) can stand between decoder and device
// without the output module knowing either.
#pragma once
#include <cstdint>

struct PcmSource {
  void* context;
  // count: capacity in, bytes delivered out. Zero at the end of the stream or
  // on an error (the bytes delivered still count).
  int (*Read)(void* context, void* buffer, uint32_t* count);
};

inline int PcmSourceIsSet(const PcmSource& source) { return source.Read != nullptr; }
