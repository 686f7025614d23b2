// The MPEG reader's own output, for the playback tests to compare against.
#include "mpeg_decode_support.h"

#include <memory>

#include "base/byte_source.h"
#include "formats/mpeg/mpeg_reader.h"

bool DecodeWhole(const std::wstring& path, Decoded* out) {
  ByteSource source;
  if (!ByteSourceOpenFile(&source, path.c_str())) return false;
  auto stream = std::make_unique<MpegStream>();  // value-initialised: no decoder yet
  if (!MpegOpen(stream.get(), &source)) return false;
  out->sampleRate = stream->format.sampleRate;
  out->channels = stream->format.stereo ? 2 : 1;
  out->lengthSeconds = stream->format.lengthSeconds;
  std::vector<uint8_t> buffer(32768);
  for (;;) {
    uint32_t count = static_cast<uint32_t>(buffer.size());
    if (!MpegRead(stream.get(), buffer.data(), &count) || count == 0) break;
    out->pcm.insert(out->pcm.end(), buffer.begin(), buffer.begin() + count);
  }
  MpegRelease(stream.get());
  return !out->pcm.empty();
}

std::vector<uint8_t> WithoutZeroFrames(const std::vector<uint8_t>& bytes, size_t frameBytes) {
  std::vector<uint8_t> kept;
  kept.reserve(bytes.size());
  for (size_t at = 0; at + frameBytes <= bytes.size(); at += frameBytes) {
    bool zero = true;
    for (size_t k = 0; k < frameBytes; ++k) zero = zero && bytes[at + k] == 0;
    if (!zero) kept.insert(kept.end(), bytes.begin() + at, bytes.begin() + at + frameBytes);
  }
  return kept;
}

std::string FirstDifference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
  size_t n = a.size() < b.size() ? a.size() : b.size();
  size_t at = 0;
  while (at < n && a[at] == b[at]) ++at;
  return "sizes " + std::to_string(a.size()) + "/" + std::to_string(b.size()) + ", first difference at byte " +
         std::to_string(at);
}

uint32_t RoundedSeconds(uint64_t bytes, const Decoded& d) {
  uint64_t frames = bytes / (2 * d.channels);
  return static_cast<uint32_t>((frames + d.sampleRate / 2) / d.sampleRate);
}
