// The WAV reader on fuzzed files: open, read with small and odd buffers, seek
// and read again; the sanitizers report any read or write out of bounds.
//
// An input whose first byte is even is the file itself. An odd first byte
// asks for a file built from the bytes behind it: a valid RIFF layout whose
// header fields take hostile values (channels, block align, bits, rate, the
// sizes of the chunks), so that the fuzzer spends its time past the chunk
// walk. Either file is seen through a source that shows only part of it at
// first and the rest after the first reads: a recording that grows.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "formats/wav/wav_reader.h"

namespace {

// The bytes of the input, consumed from the front.
struct Input {
  const uint8_t* data;
  size_t size;
  uint32_t Take(int bytes) {
    uint32_t value = 0;
    for (int i = 0; i < bytes; ++i) {
      value |= uint32_t(size ? *data : 0) << (8 * i);
      if (size) ++data, --size;
    }
    return value;
  }
};

void Put16(std::vector<uint8_t>* out, uint32_t value) {
  out->push_back(uint8_t(value));
  out->push_back(uint8_t(value >> 8));
}
void Put32(std::vector<uint8_t>* out, uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}
void PutId(std::vector<uint8_t>* out, const char* id) { out->insert(out->end(), id, id + 4); }

// Values that lie on the edges the reader must handle.
uint32_t Hostile(Input* in, const uint32_t* edges, uint32_t edgeCount, int rawBytes) {
  uint32_t pick = in->Take(1);
  if (pick < 0x80) return edges[pick % edgeCount];
  return in->Take(rawBytes);
}

std::vector<uint8_t> BuildFile(Input in) {
  static const uint32_t kTags[] = {1, 3, 0xFFFE, 2, 0};
  static const uint32_t kChannels[] = {1, 2, 3, 6, 255, 256, 257, 21846, 32768, 65535, 0};
  static const uint32_t kBits[] = {8, 16, 24, 32, 64, 12, 20, 0, 1, 65535};
  static const uint32_t kRates[] = {8000, 44100, 1, 768000, 768001, 0, 0xFFFFFFFF};
  static const uint32_t kSizes[] = {0, 0xFFFFFFFF, 1, 2, 3, 4, 6, 0x7FFFFFFF, 0xFFFFFFFE};
  std::vector<uint8_t> file;
  PutId(&file, "RIFF");
  Put32(&file, in.Take(4));
  PutId(&file, "WAVE");
  uint32_t shape = in.Take(1);
  if (shape & 1) {  // a chunk before the format
    uint32_t junk = in.Take(1);
    PutId(&file, "LIST");
    Put32(&file, junk);
    for (uint32_t i = 0; i < junk + (junk & 1); ++i) file.push_back(uint8_t(in.Take(1)));
  }
  uint32_t tag = Hostile(&in, kTags, 5, 2);
  uint32_t channels = Hostile(&in, kChannels, 11, 2);
  uint32_t bits = Hostile(&in, kBits, 10, 2);
  uint32_t rate = Hostile(&in, kRates, 7, 4);
  // Mostly the block align that follows from channels and bits, as it wraps in 16 bits.
  uint32_t blockAlign = shape & 2 ? in.Take(2) : channels * ((bits + 7) / 8);
  uint32_t fmtSize = tag == 0xFFFE ? 40 : (shape & 4 ? 18 : 16);
  if (shape & 8) fmtSize = in.Take(1);
  PutId(&file, "fmt ");
  Put32(&file, fmtSize);
  std::vector<uint8_t> fmt;
  Put16(&fmt, tag);
  Put16(&fmt, channels);
  Put32(&fmt, rate);
  Put32(&fmt, rate * blockAlign);
  Put16(&fmt, blockAlign);
  Put16(&fmt, bits);
  Put16(&fmt, 22);
  Put16(&fmt, bits);
  Put32(&fmt, in.Take(4));  // channel mask
  Put16(&fmt, shape & 16 ? 3 : 1);  // the sub-format's tag, then the GUID's fixed tail
  static const uint8_t kGuidTail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                        0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
  fmt.insert(fmt.end(), kGuidTail, kGuidTail + sizeof kGuidTail);
  fmt.resize(fmtSize + (fmtSize & 1), 0);
  file.insert(file.end(), fmt.begin(), fmt.end());
  uint32_t declared = shape & 32 ? Hostile(&in, kSizes, 9, 4) : 0;
  PutId(&file, "data");
  Put32(&file, shape & 32 ? declared : uint32_t(in.size));
  file.insert(file.end(), in.data, in.data + in.size);
  return file;
}

// A file of which only `visible` bytes are there yet.
struct Growing {
  const uint8_t* data;
  uint64_t size;
  uint64_t visible;
  uint64_t offset;
};

uint32_t GrowingRead(void* context, void* buffer, uint32_t size) {
  auto* g = static_cast<Growing*>(context);
  if (g->offset >= g->visible) return 0;
  uint64_t left = g->visible - g->offset;
  uint32_t count = left < size ? uint32_t(left) : size;
  memcpy(buffer, g->data + g->offset, count);
  g->offset += count;
  return count;
}
int GrowingSeek(void* context, uint64_t offset) {
  static_cast<Growing*>(context)->offset = offset;
  return 1;
}
uint64_t GrowingTell(void* context) { return static_cast<Growing*>(context)->offset; }
uint64_t GrowingSize(void* context) { return static_cast<Growing*>(context)->visible; }
void GrowingClose(void*) {}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  std::vector<uint8_t> file = data[0] & 1 ? BuildFile(Input{data + 1, size - 1}) : std::vector<uint8_t>(data, data + size);
  // The last bytes steer the buffer size, a seek and how much is there at first.
  uint32_t bufferSize = 1 + data[size - 1] * 37u;
  uint32_t seekTo = size > 1 ? data[size - 2] : 0;
  uint32_t firstPart = size > 2 ? data[size - 3] : 255;
  Growing growing{file.data(), file.size(), file.size() * (firstPart + 1) / 256, 0};
  ByteSource source{&growing, GrowingRead, GrowingSeek, GrowingTell, GrowingSize, GrowingClose};
  WavStream stream{};
  if (!WavOpen(&stream, &source)) return 0;
  std::vector<uint8_t> buffer(bufferSize);
  uint64_t delivered = 0;
  for (int pass = 0; pass < 3; ++pass) {
    uint32_t count = bufferSize;
    while (WavRead(&stream, buffer.data(), &count)) {
      if (count == 0 || count > bufferSize || count % stream.outFrame) __builtin_trap();
      delivered += count;
      count = bufferSize;
    }
    // At most 2 bytes out per byte in, and never more than the file.
    if (stream.dataSize > growing.size || delivered > 2 * (growing.size + 1) * 3) __builtin_trap();
    growing.visible = growing.size;  // the recording went on
    WavSeek(&stream, seekTo, 255);
  }
  WavClose(&stream);
  return 0;
}
