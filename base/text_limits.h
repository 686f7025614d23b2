// Sizes shared by every subsystem.
#pragma once
#include <cstddef>

constexpr int kMaxPathChars = 1024;  // UTF-16 characters, without the terminating NUL

// Copies text (null counts as empty) into out, cut at capacity - 1
// characters and always terminated (nothing when capacity is 0). Returns
// non-zero when the copy is not empty.
inline int CopyTextBounded(wchar_t* out, size_t capacity, const wchar_t* text) {
  if (capacity == 0) return 0;
  size_t i = 0;
  for (; text && text[i] && i < capacity - 1; ++i) out[i] = text[i];
  out[i] = 0;
  return i != 0;
}
