// Numbers in settings values: unsigned integers, number lists ("#" marks the
// hexadecimal form) and the numeric part of a font description. Portable.
#pragma once
#include <cstdint>

// Bytes of the buffer into which integers are read (at most 63 characters).
constexpr int kIntegerTextBytes = 64;
// A list text of up to 32 values fits: "#", 32 values of at most 11 characters and commas.
constexpr int kListTextBytes = 400;
constexpr int kFontNumbers = 13;

// The unsigned decimal value of text (leading spaces skipped, a leading "-"
// negates as the C conversion does, too large saturates at 0xFFFFFFFF). Non-zero
// in *found when at least one digit was read.
uint32_t ParseUnsignedText(const char* text, int* found);

// Reads up to count values: hexadecimal when the text starts with "#", else
// decimal (signed where a value starts with "-"). Stops at CR, LF or the end, or at
// a value without digits; the rest of values is zero-filled. Returns how many were found.
int ReadList(const char* text, uint32_t* values, int count);

// Writes count values as "#" plus lower-case hexadecimal ("%lx"), or as signed or
// unsigned decimals, separated by ",". Returns the length, or 0 when the buffer is
// too small (then out holds an empty text).
uint64_t FormatList(char* out, uint64_t size, const uint32_t* values, int count, int hex, int isSigned);

// Splits a font description "n1,...,n13,face": fills numbers (zeroed first) and
// returns the offset of the face name (the text after the 13th comma), or the
// length of the text when it holds fewer commas.
uint64_t SplitFontText(const char* text, int32_t numbers[kFontNumbers]);
