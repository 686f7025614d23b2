// Builds ID3 tags and MPEG frame streams in memory for the reader's tests.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "base/byte_source.h"

using Bytes = std::vector<uint8_t>;

inline Bytes Ascii(const std::string& text) { return Bytes(text.begin(), text.end()); }
inline Bytes Join(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}
inline void PutBe32(Bytes* bytes, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) bytes->push_back(static_cast<uint8_t>(value >> shift));
}
inline void PutSyncsafe(Bytes* bytes, uint32_t value) {
  for (int shift = 21; shift >= 0; shift -= 7) bytes->push_back(static_cast<uint8_t>((value >> shift) & 0x7F));
}

// A text frame body: the encoding byte and the encoded text.
inline Bytes TextBody(uint8_t encoding, const Bytes& text) { return Join(Bytes{encoding}, text); }
inline Bytes Utf16Le(const std::u16string& text, bool bom = true) {
  Bytes out;
  if (bom) out = {0xFF, 0xFE};
  for (char16_t c : text) {
    out.push_back(static_cast<uint8_t>(c & 0xFF));
    out.push_back(static_cast<uint8_t>(c >> 8));
  }
  return out;
}
inline Bytes Utf16Be(const std::u16string& text, bool bom = true) {
  Bytes out;
  if (bom) out = {0xFE, 0xFF};
  for (char16_t c : text) {
    out.push_back(static_cast<uint8_t>(c >> 8));
    out.push_back(static_cast<uint8_t>(c & 0xFF));
  }
  return out;
}

struct TagFrame {
  std::string id;  // three letters for 2.2, four otherwise
  Bytes body;
  uint8_t formatFlags = 0;  // second flag byte (2.3/2.4)
};

struct TagOptions {
  uint32_t padding = 0;       // zeros inside the tag behind the frames
  uint8_t flags = 0;
  bool plainSizes = false;    // 2.4 frame sizes written as plain numbers
  Bytes extendedHeader;       // written as given behind the header
  int64_t sizeOverride = -1;  // the size the header claims
};

inline Bytes Id3v2(int major, const std::vector<TagFrame>& frames, const TagOptions& options = {}) {
  Bytes body = options.extendedHeader;
  for (const TagFrame& frame : frames) {
    body.insert(body.end(), frame.id.begin(), frame.id.end());
    uint32_t size = static_cast<uint32_t>(frame.body.size());
    if (major == 2) {
      for (int shift = 16; shift >= 0; shift -= 8) body.push_back(static_cast<uint8_t>(size >> shift));
    } else {
      if (major == 4 && !options.plainSizes) PutSyncsafe(&body, size);
      else PutBe32(&body, size);
      body.push_back(0);
      body.push_back(frame.formatFlags);
    }
    body.insert(body.end(), frame.body.begin(), frame.body.end());
  }
  body.resize(body.size() + options.padding, 0);
  Bytes tag = {'I', 'D', '3', static_cast<uint8_t>(major), 0, options.flags};
  uint32_t claimed = options.sizeOverride >= 0 ? static_cast<uint32_t>(options.sizeOverride)
                                               : static_cast<uint32_t>(body.size());
  PutSyncsafe(&tag, claimed);
  return Join(tag, body);
}

inline Bytes Id3v1(const std::string& title, const std::string& artist, const std::string& album,
                   const std::string& year, const std::string& comment, int track, uint8_t genre) {
  Bytes tag(128, 0);
  auto put = [&](size_t at, const std::string& text, size_t room) {
    for (size_t i = 0; i < text.size() && i < room; ++i) tag[at + i] = static_cast<uint8_t>(text[i]);
  };
  put(0, "TAG", 3);
  put(3, title, 30);
  put(33, artist, 30);
  put(63, album, 30);
  put(93, year, 4);
  put(97, comment, track >= 0 ? 28 : 30);
  if (track >= 0) {
    tag[125] = 0;
    tag[126] = static_cast<uint8_t>(track);
  }
  tag[127] = genre;
  return tag;
}

// Frame headers used by the stream tests; all sizes are whole, no padding.
struct FrameKind {
  uint8_t b1, b2, b3;
  uint32_t size;
};
constexpr FrameKind kMpeg1L3Stereo = {0xFB, 0x94, 0x00, 384};  // 128 kbit/s, 48 kHz
constexpr FrameKind kMpeg1L3Mono = {0xFB, 0x94, 0xC0, 384};
constexpr FrameKind kMpeg1L1 = {0xFF, 0x44, 0x00, 128};        // 128 kbit/s, 48 kHz
constexpr FrameKind kMpeg2L3Mono = {0xF3, 0x84, 0xC0, 192};    // 64 kbit/s, 24 kHz

inline Bytes Frame(const FrameKind& kind) {
  Bytes frame(kind.size, 0);
  frame[0] = 0xFF;
  frame[1] = kind.b1;
  frame[2] = kind.b2;
  frame[3] = kind.b3;
  return frame;
}
inline Bytes Frames(const FrameKind& kind, int count) {
  Bytes out;
  for (int i = 0; i < count; ++i) out = Join(out, Frame(kind));
  return out;
}
// A first frame carrying a Xing header with frame count, byte count and a table.
inline Bytes XingFrame(const FrameKind& kind, uint32_t offset, uint32_t frames, uint32_t bytes,
                       uint32_t flags = 0x7) {
  Bytes frame = Frame(kind);
  Bytes xing = Ascii("Xing");
  PutBe32(&xing, flags);
  if (flags & 1) PutBe32(&xing, frames);
  if (flags & 2) PutBe32(&xing, bytes);
  if (flags & 4)
    for (int i = 0; i < 100; ++i) xing.push_back(static_cast<uint8_t>(i * 256 / 100));
  for (size_t i = 0; i < xing.size() && offset + i < frame.size(); ++i) frame[offset + i] = xing[i];
  return frame;
}

// LAME's extension written into an information frame at offset `at` (behind
// the Xing fields): encoder name, delay and padding, and the CRC-16 of the
// frame before it, right or wrong.
inline void PutLameExtension(Bytes* frame, uint32_t at, const std::string& name, uint32_t delay, uint32_t padding,
                             bool rightCrc = true) {
  if (at + 36 > frame->size()) return;
  Bytes& f = *frame;
  for (size_t i = 0; i < 9; ++i) f[at + i] = i < name.size() ? static_cast<uint8_t>(name[i]) : 0;
  f[at + 21] = static_cast<uint8_t>(delay >> 4);
  f[at + 22] = static_cast<uint8_t>(((delay & 0xF) << 4) | (padding >> 8));
  f[at + 23] = static_cast<uint8_t>(padding & 0xFF);
  uint32_t crc = 0;
  for (uint32_t i = 0; i < at + 34; ++i) {
    crc ^= f[i];
    for (int bit = 0; bit < 8; ++bit) crc = crc & 1 ? (crc >> 1) ^ 0xA001 : crc >> 1;
  }
  if (!rightCrc) crc ^= 0x5555;
  f[at + 34] = static_cast<uint8_t>(crc >> 8);
  f[at + 35] = static_cast<uint8_t>(crc & 0xFF);
}

// A memory source that lives as long as the object.
struct MemoryFile {
  Bytes bytes;
  MemorySource memory{};
  ByteSource source{};
  explicit MemoryFile(Bytes data) : bytes(std::move(data)) {
    ByteSourceOpenMemory(&source, &memory, bytes.data(), bytes.size());
  }
};
