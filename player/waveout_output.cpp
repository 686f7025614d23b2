// The output module over the Windows waveform-audio functions.
#include "waveout_output.h"

#include <cstring>
#include <new>

struct OutputDevice {
  HWAVEOUT handle;  // null when the device could not be opened
  WAVEHDR headers[kOutputBuffers];
  uint8_t* block;   // the buffers back to back, one committed block
};

namespace {

constexpr size_t kBlockBytes = size_t(kOutputBuffers) * kOutputBufferBytes;

HWAVEOUT Device(const OutputModule* output) { return output->device ? output->device->handle : nullptr; }

int Open(OutputModule* output, const FormatRecord* format) {
  OutputDevice* device = new (std::nothrow) OutputDevice{};
  if (!device) return 0;
  output->device = device;
  output->deviceEvent = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  WAVEFORMATEX wave;
  WaveFormatFromRecord(format, &wave);
  if (!output->deviceEvent ||
      waveOutOpen(&device->handle, WAVE_MAPPER, &wave, reinterpret_cast<DWORD_PTR>(output->deviceEvent), 0,
                  CALLBACK_EVENT) != MMSYSERR_NOERROR) {
    device->handle = nullptr;
    if (output->deviceEvent) CloseHandle(output->deviceEvent);
    output->deviceEvent = nullptr;
  }
  device->block = static_cast<uint8_t*>(VirtualAlloc(nullptr, kBlockBytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
  if (!device->block && device->handle) {
    // Without buffers the device is of no use: treat it as not opened.
    waveOutClose(device->handle);
    device->handle = nullptr;
  }
  for (int i = 0; i < kOutputBuffers && device->handle; ++i) {
    WAVEHDR* header = &device->headers[i];
    header->lpData = reinterpret_cast<LPSTR>(device->block + size_t(i) * kOutputBufferBytes);
    header->dwBufferLength = kOutputBufferBytes;
    header->dwFlags = 0;
    waveOutPrepareHeader(device->handle, header, sizeof *header);
  }
  // Refills must not be starved while the device plays.
  SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL);
  return device->handle != nullptr;
}

void Close(OutputModule* output) {
  SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_NORMAL);
  OutputDevice* device = output->device;
  if (device && device->handle) {
    // Reset first, as in Flush, so that nothing thrown away sounds.
    waveOutReset(device->handle);  // every queued buffer returns
    waveOutRestart(device->handle);
    for (WAVEHDR& header : device->headers) waveOutUnprepareHeader(device->handle, &header, sizeof header);
    waveOutClose(device->handle);
  }
  if (device && device->block) VirtualFree(device->block, 0, MEM_RELEASE);
  if (output->deviceEvent) CloseHandle(output->deviceEvent);
  output->deviceEvent = nullptr;
  delete device;
  output->device = nullptr;
}

void Write(OutputModule* output) {
  HWAVEOUT handle = Device(output);
  PcmSource source = output->source;
  if (!handle || !PcmSourceIsSet(source)) return;
  for (WAVEHDR& header : output->device->headers) {
    if (header.dwFlags & WHDR_INQUEUE) continue;
    uint32_t delivered = kOutputBufferBytes;
    int more = source.Read(source.context, header.lpData, &delivered);
    if (delivered > kOutputBufferBytes) delivered = kOutputBufferBytes;  // a source must not claim more
    header.dwBufferLength = delivered;
    if (delivered > 0) waveOutWrite(handle, &header, sizeof header);
    if (!more) {
      output->source = PcmSource{};
      return;
    }
  }
}

void Pause(OutputModule* output, int pause) {
  HWAVEOUT handle = Device(output);
  if (!handle) return;
  if (pause)
    waveOutPause(handle);
  else
    waveOutRestart(handle);
}

int IsDone(OutputModule* output) {
  if (!Device(output)) return 1;
  for (const WAVEHDR& header : output->device->headers)
    if (header.dwFlags & WHDR_INQUEUE) return 0;
  return 1;
}

void Flush(OutputModule* output) {
  HWAVEOUT handle = Device(output);
  if (!handle) return;
  // Reset before the restart: restarting a paused device first would let it
  // sound a moment of the audio being thrown away. Afterwards it runs, even
  // when it was paused.
  waveOutReset(handle);
  waveOutRestart(handle);
}

void SetVolume(OutputModule* output, uint32_t volume) {
  HWAVEOUT handle = Device(output);
  if (handle) waveOutSetVolume(handle, (volume & 0xFF) * 0x01010101u);
}

uint32_t GetVolume(OutputModule* output) {
  HWAVEOUT handle = Device(output);
  DWORD volume = 0;
  if (!handle || waveOutGetVolume(handle, &volume) != MMSYSERR_NOERROR) return 0;
  return volume;
}

}  // namespace

void WaveOutputInstall(OutputModule* output) {
  memset(output, 0, sizeof *output);
  output->Open = Open;
  output->Close = Close;
  output->Write = Write;
  output->Pause = Pause;
  output->IsDone = IsDone;
  output->Flush = Flush;
  output->SetVolume = SetVolume;
  output->GetVolume = GetVolume;
}

void WaveFormatFromRecord(const FormatRecord* format, WAVEFORMATEX* wave) {
  memset(wave, 0, sizeof *wave);
  wave->wFormatTag = WAVE_FORMAT_PCM;
  wave->nChannels = format->stereo ? 2 : 1;
  wave->nSamplesPerSec = format->sampleRate;
  wave->wBitsPerSample = format->bits16 ? 16 : 8;
  wave->nBlockAlign = static_cast<WORD>(wave->nChannels * wave->wBitsPerSample / 8);
  wave->nAvgBytesPerSec = wave->nBlockAlign * format->sampleRate;
  wave->cbSize = 0;
}
