// Plays a phone or web recording N times through the FFmpeg input module, as
// the player pulls it (output-sized reads until the end), and prints how
// many 16-bit values each pass gave. Usage: bench_media_decode FILE [N]
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "formats/ffmpeg/media_module.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: bench_media_decode FILE [N]\n");
    return 2;
  }
  std::wstring path;
  for (const char* c = argv[1]; *c; ++c) path += static_cast<wchar_t>(static_cast<unsigned char>(*c));
  int passes = argc > 2 ? std::atoi(argv[2]) : 1;
  InputModule module{};
  if (!MediaModuleSetUp(&module)) return 1;
  std::vector<uint8_t> buffer(32768);
  uint64_t values = 0;
  for (int pass = 0; pass < passes; ++pass) {
    if (!module.Open(&module, nullptr, path.c_str())) {
      std::fprintf(stderr, "cannot open %s\n", argv[1]);
      module.Release(&module);
      return 1;
    }
    values = 0;
    for (;;) {
      uint32_t count = static_cast<uint32_t>(buffer.size());
      int more = module.Read(&module, buffer.data(), &count);
      values += count / 2;
      if (!more) break;
    }
    module.Close(&module);
  }
  module.Release(&module);
  std::printf("%s: %llu values per pass\n", argv[1], static_cast<unsigned long long>(values));
  return 0;
}
