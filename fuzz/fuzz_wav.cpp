// Feeds arbitrary bytes to the WAV reader as a file: open, seek and read with
// small and odd buffers; the sanitizers report any read or write out of bounds.
#include <cstdint>
#include <cstddef>
#include <vector>

#include "formats/wav/wav_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  MemorySource memory{};
  ByteSource source{};
  ByteSourceOpenMemory(&source, &memory, data, size);
  WavStream stream{};
  if (!WavOpen(&stream, &source)) return 0;
  // The last bytes steer the buffer size and a seek, so both vary per input.
  uint32_t bufferSize = size ? 1 + data[size - 1] * 37u : 4096;
  uint32_t seekTo = size > 1 ? data[size - 2] : 0;
  std::vector<uint8_t> buffer(bufferSize);
  uint32_t count = bufferSize;
  for (int pass = 0; pass < 2; ++pass) {
    uint64_t delivered = 0;
    while (WavRead(&stream, buffer.data(), &count)) {
      if (count == 0 || count > bufferSize) __builtin_trap();
      delivered += count;
      count = bufferSize;
    }
    if (delivered > uint64_t(stream.dataSize) * 4) __builtin_trap();  // at most 2 bytes out per byte in
    WavSeek(&stream, seekTo, 255);
    count = bufferSize;
  }
  WavClose(&stream);
  return 0;
}
