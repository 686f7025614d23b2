// Arbitrary bytes as a phone or web recording through the FFmpeg input
// module, as the player drives it: Test, Open, reading, a seek to the
// middle and on, Close, and the file information. The module takes a path,
// so each input is written to one temporary file first.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "formats/ffmpeg/media_module.h"

namespace {

constexpr uint64_t kMostBytesRead = 1 << 22;  // a tiny file can claim hours

struct Harness {
  InputModule module{};
  std::wstring path;
  std::string name;
  Harness() {
    char pattern[] = "/tmp/tpwr-fuzz-media-XXXXXX";
    int fd = mkstemp(pattern);
    if (fd < 0) abort();
    close(fd);
    name = pattern;
    path.assign(name.begin(), name.end());
    if (!MediaModuleSetUp(&module)) abort();
  }
};

void ReadSome(InputModule* module, uint64_t most) {
  std::vector<uint8_t> buffer(32768);
  for (uint64_t total = 0; total < most;) {
    uint32_t count = static_cast<uint32_t>(buffer.size());
    int more = module->Read(module, buffer.data(), &count);
    total += count;
    if (!more) return;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Harness harness;
  FILE* file = fopen(harness.name.c_str(), "wb");
  if (!file) abort();
  fwrite(data, 1, size, file);
  fclose(file);
  InputModule* module = &harness.module;
  const wchar_t* path = harness.path.c_str();
  module->Test(module, nullptr, path);
  if (module->Open(module, nullptr, path)) {
    ReadSome(module, kMostBytesRead / 2);
    module->Seek(module, 1, 2);
    module->GetPosition(module);
    ReadSome(module, kMostBytesRead / 2);
    module->Close(module);
  }
  FileInfoBlock block{};
  CopyTextBounded(block.path, kMaxPathChars + 1, path);
  module->GetInfo(module, &block);
  return 0;
}
