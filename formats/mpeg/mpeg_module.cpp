// Binds the MPEG audio reader to the input-module record.
#include "formats/mpeg/mpeg_module.h"

#include <new>

#include "formats/mpeg/mpeg_file_info.h"
#include "formats/mpeg/mpeg_reader.h"

namespace {

MpegStream* State(InputModule* module) { return static_cast<MpegStream*>(module->state); }

void Release(InputModule* module) {
  MpegRelease(State(module));
  delete State(module);
  module->state = nullptr;
}

// Runs in either thread, so it reads the file through a source of its own.
int Test(InputModule*, void*, const wchar_t* path) {
  ByteSource source{};
  if (!ByteSourceOpenFile(&source, path)) return 0;
  int verdict = MpegTestSource(&source);
  ByteSourceClose(&source);
  return verdict;
}

int Open(InputModule* module, void*, const wchar_t* path) {
  ByteSource source{};
  MpegClose(State(module));
  if (!ByteSourceOpenFile(&source, path)) return 0;
  return MpegOpen(State(module), &source);
}

void Close(InputModule* module) { MpegClose(State(module)); }

int Seek(InputModule* module, uint32_t numerator, uint32_t denominator) {
  return MpegSeek(State(module), numerator, denominator);
}

void GetFormat(InputModule* module, FormatRecord* format) { *format = State(module)->format; }

void GetInfo(InputModule* module, FileInfoBlock* block) {
  FileInfoClear(&block->info);
  ByteSource source{};
  if (!ByteSourceOpenFile(&source, block->path)) return;
  MpegReadFileInfo(&source, &block->info);
  ByteSourceClose(&source);
  // The first frame's reckoning of the length is the one shown; keep them equal.
  uint32_t length = block->info.lengthSeconds;
  if (length && length != State(module)->format.lengthSeconds) State(module)->format.lengthSeconds = length;
}

int Read(InputModule* module, void* buffer, uint32_t* count) { return MpegRead(State(module), buffer, count); }

uint32_t GetPosition(InputModule* module) { return MpegPosition(State(module)); }

}  // namespace

int MpegModuleSetUp(InputModule* module) {
  MpegStream* state = new (std::nothrow) MpegStream{};
  if (!state) return 0;
  InputModuleBind(module, state, L"*.MP3;*.MP1;*.MP2;*.MPP", INPUT_MODULE_ROUTINES(GetInfo));
  return 1;
}
