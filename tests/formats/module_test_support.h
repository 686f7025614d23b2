// What the tests of the input modules that play through the third-party
// libraries share: a module record that releases itself, the fixtures of
// tests/formats/make-playback-fixtures.sh, reading a module to its end, and
// the checks each format runs (decode against the format's own tool, a wide
// file name, damage, a seek).
#pragma once
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "base/text_limits.h"
#include "formats/input_module.h"
#include "test_support.h"

constexpr uint32_t kBuffer = 32768;  // what the output module asks for

struct Module {
  InputModule record{};
  explicit Module(int (*setUp)(InputModule*)) { EXPECT_TRUE(setUp(&record)); }
  ~Module() { record.Release(&record); }
  InputModule* operator->() { return &record; }
  InputModule* get() { return &record; }
};

inline std::wstring Fixture(const std::string& name) {
  return TestPath(TestPath(TestFolder("TPWR_FIXTURES"), "playback"), name);
}

// Reads until the module says the stream has ended; fails the test if it
// never does.
inline std::vector<uint8_t> ReadToEnd(InputModule* module, uint32_t bufferSize = kBuffer) {
  std::vector<uint8_t> out, buffer(bufferSize);
  for (int calls = 0; calls < 200000; ++calls) {
    uint32_t count = bufferSize;
    int more = module->Read(module, buffer.data(), &count);
    EXPECT_LE(count, bufferSize);
    out.insert(out.end(), buffer.begin(), buffer.begin() + count);
    if (!more) return out;
  }
  ADD_FAILURE() << "the stream never ended";
  return out;
}

inline int16_t Sample(const std::vector<uint8_t>& pcm, size_t index) {
  return static_cast<int16_t>(pcm[2 * index] | (pcm[2 * index + 1] << 8));
}

// The first 16-bit sample (from `from`) that differs from the reference by more than tolerance, or -1.
inline long FirstDifference(const std::vector<uint8_t>& got, const std::vector<uint8_t>& want, int tolerance,
                            size_t samples, size_t from = 0) {
  for (size_t i = from; i < samples; ++i)
    if (std::abs(Sample(got, i) - Sample(want, i)) > tolerance) return static_cast<long>(i);
  return -1;
}

struct PlayCase {
  const char* file;
  int tolerance;  // LSB: libvorbis and FFmpeg are built apart from the tools that made the reference
  uint32_t rate, stereo, bits16, length;
};

// Plays the file twice (whole output buffers, and an odd size that splits
// frames) and compares with what the format's own tool decoded.
void ExpectDecodes(Module& module, const PlayCase& c);
// The file copied under a Cyrillic and Japanese name plays whole and shows its 3 s.
void ExpectPlaysUnderAWideName(const char* file, int (*setUp)(InputModule*));
// The file cut short, and with a stretch of zeros, plays what is intact
// before the damage and ends.
void ExpectDamagePlaysUpToItAndEnds(const char* file, int (*setUp)(InputModule*));
// Seeks of the 20-second file to 50, 5, 0 and 73 % sound within a tenth of a
// second of the point sought, settled as if played through, and the reported
// second turns over where the sound says it should.
void ExpectSeeksLandWhereSent(const char* file, int (*setUp)(InputModule*));
