// The MPEG reader's own output for a whole file, and the comparison of it with
// what reached the capture sound device; shared by the playback tests.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct Decoded {
  std::vector<uint8_t> pcm;
  uint32_t sampleRate = 0;
  uint32_t channels = 0;
  uint32_t lengthSeconds = 0;  // what the reader's scan reports
};

// The reader core over the file, read to its end in the player's buffer size.
bool DecodeWhole(const std::wstring& path, Decoded* out);
// Without the all-zero sample frames of frameBytes: the device's own silence
// when it runs dry, and the decoder's exact zeros alike.
std::vector<uint8_t> WithoutZeroFrames(const std::vector<uint8_t>& bytes, size_t frameBytes);
// Where two sample streams first differ, for failure messages.
std::string FirstDifference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b);
// The time bytes of the decoded output last, to the nearest second.
uint32_t RoundedSeconds(uint64_t bytes, const Decoded& d);
