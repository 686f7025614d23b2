// Binds the WAV reader to the input-module record.
#include "wav_module.h"

#include <new>

#include "wav_reader.h"

namespace {

WavStream* State(InputModule* module) { return static_cast<WavStream*>(module->state); }

void Release(InputModule* module) {
  WavClose(State(module));
  delete State(module);
  module->state = nullptr;
}

// Every file is accepted here; Open does the real check.
int Test(InputModule*, void*, const wchar_t*) { return 1; }

int Open(InputModule* module, void*, const wchar_t* path) {
  ByteSource source{};
  WavClose(State(module));
  if (!ByteSourceOpenFile(&source, path)) return 0;
  return WavOpen(State(module), &source);
}

void Close(InputModule* module) { WavClose(State(module)); }

int Seek(InputModule* module, uint32_t numerator, uint32_t denominator) {
  return WavSeek(State(module), numerator, denominator);
}

void GetFormat(InputModule* module, FormatRecord* format) { *format = State(module)->format; }

void GetInfo(InputModule* module, FileInfoBlock* block) {
  const WavStream* stream = State(module);
  FileInfoClear(&block->info);
  FileInfoCopyText(block->info.codecLabel, kCodecLabelChars, L"WAV");
  block->info.channelMode = stream->format.stereo ? 2 : 1;
  block->info.sampleRate = stream->format.sampleRate;
  block->info.lengthSeconds = stream->format.lengthSeconds;
}

int Read(InputModule* module, void* buffer, uint32_t* count) { return WavRead(State(module), buffer, count); }

uint32_t GetPosition(InputModule* module) { return State(module)->secondsPlayed; }

}  // namespace

int WavModuleSetUp(InputModule* module) {
  WavStream* state = new (std::nothrow) WavStream{};
  if (!state) return 0;
  InputModuleBind(module, state, L"*.WAV", INPUT_MODULE_ROUTINES(GetInfo));
  return 1;
}
