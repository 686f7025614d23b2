// Bit reader over a bounded byte range: reads past the end return zero bits,
// so no read ever leaves the bytes it was given. position() keeps counting, so
// callers detect an overrun by comparing it with their limit.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace mpeg {

class BitReader {
 public:
  BitReader() = default;
  BitReader(const uint8_t* data, size_t bytes) { Reset(data, bytes); }
  void Reset(const uint8_t* data, size_t bytes) {
    data_ = data;
    size_ = bytes;
    next_ = 0;
    cache_ = 0;
    avail_ = 0;
    Refill();
  }
  // Bits consumed so far (may exceed the size when reading past the end).
  size_t Position() const { return next_ * 8 - static_cast<size_t>(avail_); }
  size_t SizeBits() const { return size_ * 8; }
  // Up to 32 bits, most significant first, without consuming them.
  uint32_t Peek(int n) {
    if (avail_ < n) Refill();
    return n == 0 ? 0 : static_cast<uint32_t>(cache_ >> (64 - n));
  }
  void Skip(int n) {
    if (avail_ < n) Refill();
    cache_ <<= n;
    avail_ -= n;
  }
  uint32_t Get(int n) {
    if (n == 0) return 0;
    if (avail_ < n) Refill();
    uint32_t v = static_cast<uint32_t>(cache_ >> (64 - n));
    cache_ <<= n;
    avail_ -= n;
    return v;
  }
  uint32_t Bit() { return Get(1); }
  // Moves to an absolute bit position within the data.
  void Seek(size_t bit) {
    next_ = bit >> 3;
    cache_ = 0;
    avail_ = 0;
    Refill();
    Skip(static_cast<int>(bit & 7));
  }

 private:
  // Tops the cache up to at least 57 bits. With eight bytes at hand they
  // come in one load; bits of a byte only partly taken are or-ed in again
  // unchanged by the next refill.
  void Refill() {
    if (next_ + 8 <= size_) {
      uint64_t word;
      std::memcpy(&word, data_ + next_, 8);
#if __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
      word = __builtin_bswap64(word);
#endif
      cache_ |= word >> avail_;
      int bytes = (64 - avail_) >> 3;
      next_ += static_cast<size_t>(bytes);
      avail_ += bytes * 8;
      return;
    }
    while (avail_ <= 56) {
      uint64_t byte = next_ < size_ ? data_[next_] : 0;
      ++next_;
      cache_ |= byte << (56 - avail_);
      avail_ += 8;
    }
  }
  const uint8_t* data_ = nullptr;
  size_t size_ = 0;
  size_t next_ = 0;  // index of the next byte to load (may pass size_)
  uint64_t cache_ = 0;
  int avail_ = 0;
};

}  // namespace mpeg
