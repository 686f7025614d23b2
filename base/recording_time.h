// The time-of-recording text that marks, the status bar and Go to share:
// "mm:ss" below one hour, else "h:mm:ss".
#pragma once
#include <cstddef>
#include <cstdint>

constexpr size_t kRecordingTimeChars = 16;

// "%02lu:%02lu" below one hour, else "%lu:%02lu:%02lu". Returns the length.
size_t FormatRecordingTime(uint32_t seconds, wchar_t* out, size_t capacity);
// Colon-separated groups of digits, each colon shifting the value read so far
// by one place of 60; leading blanks are skipped; anything else ends it.
uint32_t ParseRecordingTime(const wchar_t* text);
