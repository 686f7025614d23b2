// Decodes an MP3/MP2 file N times with the frame decoder and prints the CPU
// time. Usage: bench_mpeg_decode FILE [N]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

#include "formats/mpeg/mpeg_frame_decoder.h"

namespace {

std::vector<uint8_t> ReadFile(const char* path) {
  std::vector<uint8_t> data;
  FILE* f = std::fopen(path, "rb");
  if (!f) return data;
  uint8_t buf[65536];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof(buf), f)) > 0) data.insert(data.end(), buf, buf + n);
  std::fclose(f);
  return data;
}

// One pass over the file; returns the number of PCM values and a checksum.
size_t DecodeOnce(MpegDecoder* d, const std::vector<uint8_t>& bits, std::vector<int16_t>& out, uint64_t* sum) {
  size_t pos = 0, values = 0;
  bool ready = false;
  while (pos + 4 <= bits.size()) {
    MpegHeader h;
    int32_t rate = 0;
    size_t skipped = 0;
    int size = MpegFindHeader(bits.data() + pos, bits.size() - pos, &h, &rate, &skipped);
    if (size == 0) {
      if (skipped == 0 && bits[pos] != 0xFF) break;
      pos += skipped + 1;
      continue;
    }
    pos += skipped;
    if (!ready) {
      if (!MpegDecoderSetUp(d, &h, size, 0, 0, 0, 24000)) {
        ++pos;
        continue;
      }
      ready = true;
    }
    size_t consumed = 0, produced = 0;
    MpegDecodeFrame(d, bits.data() + pos, bits.size() - pos, out.data(), &consumed, &produced);
    if (consumed == 0) {
      ready = false;
      ++pos;
      continue;
    }
    for (size_t i = 0; i < produced / 2; i += 97) *sum += static_cast<uint16_t>(out[i]);
    values += produced / 2;
    pos += consumed;
  }
  return values;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s FILE [N]\n", argv[0]);
    return 2;
  }
  int n = argc > 2 ? std::atoi(argv[2]) : 1;
  std::vector<uint8_t> bits = ReadFile(argv[1]);
  if (bits.empty()) {
    std::fprintf(stderr, "cannot read %s\n", argv[1]);
    return 1;
  }
  MpegDecoder* d = MpegDecoderCreate();
  if (!d) return 1;
  MpegDecoderSetSubbandCap(d, 32);  // the full band, as the reader decodes it
  std::vector<int16_t> out(kMpegMaxFrameValues);
  uint64_t sum = 0;
  size_t values = 0;
  std::clock_t c0 = std::clock();
  auto t0 = std::chrono::steady_clock::now();
  for (int i = 0; i < n; ++i) values = DecodeOnce(d, bits, out, &sum);
  double cpu = static_cast<double>(std::clock() - c0) / CLOCKS_PER_SEC;
  double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  MpegDecoderDestroy(d);
  std::printf("%s: %d passes, %zu values per pass, cpu %.3f s, wall %.3f s, checksum %llu\n", argv[1], n, values, cpu,
              wall, static_cast<unsigned long long>(sum));
  return values ? 0 : 1;
}
