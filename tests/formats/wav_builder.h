// Builds RIFF/WAVE files in memory so tests can shape every chunk.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct WavBuilder {
  std::vector<uint8_t> bytes;

  static void Put16(std::vector<uint8_t>& v, uint32_t x) { v.push_back(uint8_t(x)); v.push_back(uint8_t(x >> 8)); }
  static void Put32(std::vector<uint8_t>& v, uint32_t x) { Put16(v, x & 0xFFFF); Put16(v, x >> 16); }

  WavBuilder& Riff() {
    bytes.insert(bytes.end(), {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'});
    return *this;
  }
  // A chunk whose payload is given; declared overrides the stored size field.
  WavBuilder& Chunk(const char* id, const std::vector<uint8_t>& payload, int64_t declared = -1) {
    bytes.insert(bytes.end(), id, id + 4);
    Put32(bytes, declared < 0 ? uint32_t(payload.size()) : uint32_t(declared));
    bytes.insert(bytes.end(), payload.begin(), payload.end());
    if (payload.size() & 1) bytes.push_back(0);  // pad byte
    return *this;
  }
  static std::vector<uint8_t> Fmt(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits, size_t size = 16) {
    std::vector<uint8_t> p;
    Put16(p, tag);
    Put16(p, channels);
    Put32(p, rate);
    Put32(p, rate * channels * ((bits + 7) / 8));
    Put16(p, uint16_t(channels * ((bits + 7) / 8)));
    Put16(p, bits);
    p.resize(size, 0);
    return p;
  }
  // 16-bit samples that count up from start, so any offset can be read off.
  static std::vector<uint8_t> Counting16(uint32_t samples, uint16_t start = 0) {
    std::vector<uint8_t> p;
    for (uint32_t i = 0; i < samples; ++i) Put16(p, uint16_t(start + i));
    return p;
  }
};
