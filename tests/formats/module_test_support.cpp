#include "module_test_support.h"

void ExpectDecodes(Module& module, const PlayCase& c) {
  std::vector<uint8_t> want = ReadWholeFile(Fixture(std::string(c.file) + ".pcm"));
  ASSERT_FALSE(want.empty());
  for (uint32_t bufferSize : {kBuffer, 4099u}) {
    ASSERT_TRUE(module->Open(module.get(), nullptr, Fixture(c.file).c_str()));
    FormatRecord format{};
    module->GetFormat(module.get(), &format);
    EXPECT_EQ(format.sampleRate, c.rate);
    EXPECT_EQ(format.stereo, c.stereo);
    EXPECT_EQ(format.bits16, c.bits16);
    EXPECT_EQ(format.lengthSeconds, c.length);
    std::vector<uint8_t> got = ReadToEnd(module.get(), bufferSize);
    module->Close(module.get());
    ASSERT_EQ(got.size(), want.size()) << bufferSize;
    if (c.bits16) {
      EXPECT_EQ(FirstDifference(got, want, c.tolerance, got.size() / 2), -1) << bufferSize;
    } else {
      EXPECT_TRUE(got == want);
    }
  }
}

void ExpectPlaysUnderAWideName(const char* file, int (*setUp)(InputModule*)) {
  SCOPED_TRACE(file);
  std::string extension = std::string(file).substr(std::string(file).rfind('.'));
  std::wstring path = Fixture("x" + extension);
  path.replace(path.size() - extension.size() - 1, 1, L"\x0437\x0430\x043F\x0438\x0441\x044C \x9332\x97F3");
  ASSERT_TRUE(WriteWholeFile(path, ReadWholeFile(Fixture(file))));
  Module module(setUp);
  EXPECT_TRUE(module->Test(module.get(), nullptr, path.c_str()));
  ASSERT_TRUE(module->Open(module.get(), nullptr, path.c_str()));
  EXPECT_EQ(ReadToEnd(module.get()).size(), ReadWholeFile(Fixture(std::string(file) + ".pcm")).size());
  module->Close(module.get());
  FileInfoBlock block{};
  CopyTextBounded(block.path, kMaxPathChars + 1, path.c_str());
  module->GetInfo(module.get(), &block);
  EXPECT_EQ(block.info.lengthSeconds, 3u);
}

void ExpectDamagePlaysUpToItAndEnds(const char* file, int (*setUp)(InputModule*)) {
  std::vector<uint8_t> whole = ReadWholeFile(Fixture(file));
  std::vector<uint8_t> want = ReadWholeFile(Fixture(std::string(file) + ".pcm"));
  std::vector<uint8_t> cut(whole.begin(), whole.begin() + long(whole.size() * 6 / 10));
  std::vector<uint8_t> holed = whole;
  for (size_t i = whole.size() * 4 / 10; i < whole.size() * 5 / 10; ++i) holed[i] = 0;
  for (const auto& damaged : {cut, holed}) {
    SCOPED_TRACE(std::string(file) + (damaged.size() < whole.size() ? " cut" : " holed"));
    std::string name = "damaged" + std::string(file).substr(std::string(file).rfind('.'));
    ASSERT_TRUE(WriteWholeFile(Fixture(name), damaged));
    Module module(setUp);
    ASSERT_TRUE(module->Open(module.get(), nullptr, Fixture(name).c_str()));
    std::vector<uint8_t> got = ReadToEnd(module.get());
    module->Close(module.get());
    ASSERT_GT(got.size(), want.size() / 3);
    EXPECT_LE(got.size(), want.size() + kBuffer);
    // (Ogg loses the whole page the damage begins in.)
    EXPECT_EQ(FirstDifference(got, want, 1, want.size() / 2 / 4), -1);
  }
}

void ExpectSeeksLandWhereSent(const char* file, int (*setUp)(InputModule*)) {
  SCOPED_TRACE(file);
  std::vector<uint8_t> want = ReadWholeFile(Fixture(std::string(file) + ".pcm"));
  Module module(setUp);
  ASSERT_TRUE(module->Open(module.get(), nullptr, Fixture(file).c_str()));
  FormatRecord format{};
  module->GetFormat(module.get(), &format);
  ASSERT_EQ(format.lengthSeconds, 20u);
  const long rate = long(format.sampleRate);
  std::vector<uint8_t> buffer(kBuffer);
  uint32_t count = kBuffer;
  ASSERT_TRUE(module->Read(module.get(), buffer.data(), &count));
  for (uint32_t numerator : {50u, 5u, 0u, 73u}) {
    SCOPED_TRACE(numerator);
    ASSERT_TRUE(module->Seek(module.get(), numerator, 100));
    uint32_t reached = module->GetPosition(module.get());
    EXPECT_LE(reached, 20 * numerator / 100);
    EXPECT_GE(reached + 1, 20 * numerator / 100);
    // Small reads until the reported second turns over: there the sound is
    // at a whole second, to within one read and the millisecond of the
    // packets' time stamps.
    std::vector<uint8_t> played;
    long frames = 0;
    while (module->GetPosition(module.get()) == reached) {
      count = 256;
      ASSERT_TRUE(module->Read(module.get(), buffer.data(), &count));
      played.insert(played.end(), buffer.begin(), buffer.begin() + count);
      frames += long(count / 4);
    }
    long startFrame = long(reached + 1) * rate - frames;
    count = kBuffer;
    ASSERT_TRUE(module->Read(module.get(), buffer.data(), &count));
    played.insert(played.end(), buffer.begin(), buffer.begin() + count);
    long best = -1;
    for (long frame = startFrame < 128 ? 0 : startFrame - 128; frame <= startFrame + 128; ++frame) {
      std::vector<uint8_t> reference(want.begin() + frame * 4, want.begin() + frame * 4 + long(played.size()));
      if (FirstDifference(played, reference, 1, played.size() / 2) == -1) best = frame;
    }
    EXPECT_NE(best, -1) << "the sound after the seek is not the sound at " << startFrame;
    EXPECT_LE(std::abs(best - rate * 20 * long(numerator) / 100), rate / 10);
  }
  module->Close(module.get());
}
