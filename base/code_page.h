// Conversion of 8-bit texts (built-in tables, language files) to UTF-16 units
// held in wchar_t. The converters for UTF-8 and Windows-1252 are portable; the
// system ANSI code page and any other code page need the platform.
#pragma once
#include <cstddef>
#include <cstdint>

constexpr uint32_t kCodePageSystemAnsi = 0;
constexpr uint32_t kCodePageWestern = 1252;
constexpr uint32_t kCodePageUtf8 = 65001;

// Each converter writes at most capacity - 1 units and a terminator (nothing
// when capacity is 0) and returns the number of units written before it.
size_t Utf8ToWide(const char* text, size_t length, wchar_t* out, size_t capacity);
size_t Cp1252ToWide(const char* text, size_t length, wchar_t* out, size_t capacity);

// Any code page; kCodePageSystemAnsi is the system's ANSI code page. On the
// host build every code page other than UTF-8 is read as Windows-1252.
size_t CodePageToWide(uint32_t codePage, const char* text, size_t length, wchar_t* out, size_t capacity);
// The number of the system's ANSI code page (1252 on the host build).
uint32_t SystemAnsiCodePage();
