// Byte sources: the only way decoders and parsers read data, so that tests and
// fuzzers feed memory through the same code that plays files.
#pragma once
#include <cstddef>
#include <cstdint>

struct ByteSource {
  void* context;  // null while closed
  // Reads up to size bytes at the current offset; returns how many were read
  // (0 at the end or on an error).
  uint32_t (*read)(void* context, void* buffer, uint32_t size);
  // Moves to an absolute offset; non-zero on success.
  int (*seek)(void* context, uint64_t offset);
  uint64_t (*tell)(void* context);
  uint64_t (*size)(void* context);
  void (*close)(void* context);
};

// Opens a file for reading, shared for reading and writing so that a recorder
// may still be writing it. Paths are at most kMaxPathChars characters.
int ByteSourceOpenFile(ByteSource* source, const wchar_t* path);
#ifndef _WIN32
// The host's file-system name of a path (UTF-8); non-zero when it fits.
int HostPathBytes(const wchar_t* path, char* out, size_t capacity);
#endif

// A view of memory that the caller keeps alive while the source is open.
struct MemorySource {
  const uint8_t* data;
  uint64_t size;
  uint64_t offset;
};
void ByteSourceOpenMemory(ByteSource* source, MemorySource* memory, const void* data, size_t size);

inline int ByteSourceIsOpen(const ByteSource* source) { return source->context != nullptr; }
inline uint32_t ByteSourceRead(ByteSource* source, void* buffer, uint32_t size) {
  return source->context ? source->read(source->context, buffer, size) : 0;
}
// Non-zero only when all size bytes were read.
inline int ByteSourceReadExact(ByteSource* source, void* buffer, uint32_t size) {
  return ByteSourceRead(source, buffer, size) == size;
}
inline int ByteSourceSeek(ByteSource* source, uint64_t offset) {
  return source->context ? source->seek(source->context, offset) : 0;
}
inline uint64_t ByteSourceTell(ByteSource* source) {
  return source->context ? source->tell(source->context) : 0;
}
inline uint64_t ByteSourceSize(ByteSource* source) {
  return source->context ? source->size(source->context) : 0;
}
void ByteSourceClose(ByteSource* source);
