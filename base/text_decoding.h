// Decoding of 8-bit texts by code point, shared by the tag readers and the
// language files: Windows-1252 (the ANSI code page wherever a file names no
// other) and UTF-8.
#pragma once
#include <cstddef>
#include <cstdint>

constexpr uint32_t kReplacementCodePoint = 0xFFFD;

// The Unicode code point of a Windows-1252 byte. Windows-1252 differs from
// Latin-1 only in 0x80-0x9F; its five unassigned bytes map to themselves, as
// the system's converter does.
uint16_t Cp1252CodePoint(uint8_t byte);

// Decodes the code point at text[*index] (*index < length) and moves *index
// past it. An invalid, overlong, surrogate or cut sequence gives U+FFFD and
// moves one byte on, so that decoding resynchronises.
uint32_t Utf8CodePoint(const uint8_t* text, size_t length, size_t* index);
