// The output module: the one sink for decoded PCM. It owns the sound device
// (waveOut through the wave mapper), a fixed ring of device buffers and the
// event the device signals when a buffer comes back, and pulls PCM from its
// source whenever a buffer is free. Player thread only.
#pragma once
#include <windows.h>
#include <mmsystem.h>

#include <cstdint>

#include "formats/input_module.h"
#include "player/pcm_source.h"

constexpr int kOutputBuffers = 16;
constexpr uint32_t kOutputBufferBytes = 32768;

struct OutputDevice;  // device handle, headers and buffer block; lives from Open to Close

struct OutputModule {
  // Non-zero when the device opened; on failure the module stays open in name
  // with no device, and every other operation finds nothing to do.
  int (*Open)(OutputModule* output, const FormatRecord* format);
  void (*Close)(OutputModule* output);
  // Fills every free buffer from the source, in index order; at the end of the
  // stream clears the source (the player then closes what fed it).
  void (*Write)(OutputModule* output);
  void (*Pause)(OutputModule* output, int pause);
  int (*IsDone)(OutputModule* output);
  void (*Flush)(OutputModule* output);
  void (*SetVolume)(OutputModule* output, uint32_t volume);
  uint32_t (*GetVolume)(OutputModule* output);
  PcmSource source;      // what is being played; no Read when nothing
  HANDLE deviceEvent;    // auto-reset, signalled by the device; null while closed
  OutputDevice* device;  // null while closed
};

// Installs the eight waveOut operations and clears the rest of the record.
void WaveOutputInstall(OutputModule* output);
// The device format for a format record (PCM, at most two channels).
void WaveFormatFromRecord(const FormatRecord* format, WAVEFORMATEX* wave);
