// Memory byte sources and the parts of the interface shared by every platform.
#include "base/byte_source.h"

#include <cstring>

namespace {

uint32_t MemoryRead(void* context, void* buffer, uint32_t size) {
  auto* memory = static_cast<MemorySource*>(context);
  if (memory->offset >= memory->size) return 0;
  uint64_t left = memory->size - memory->offset;
  uint32_t count = left < size ? static_cast<uint32_t>(left) : size;
  memcpy(buffer, memory->data + memory->offset, count);
  memory->offset += count;
  return count;
}

int MemorySeek(void* context, uint64_t offset) {
  auto* memory = static_cast<MemorySource*>(context);
  // Seeking past the end is allowed, as with files; reads there return 0.
  memory->offset = offset;
  return 1;
}

uint64_t MemoryTell(void* context) { return static_cast<MemorySource*>(context)->offset; }
uint64_t MemorySize(void* context) { return static_cast<MemorySource*>(context)->size; }
void MemoryClose(void*) {}

}  // namespace

void ByteSourceOpenMemory(ByteSource* source, MemorySource* memory, const void* data, size_t size) {
  memory->data = static_cast<const uint8_t*>(data);
  memory->size = size;
  memory->offset = 0;
  source->context = memory;
  source->read = MemoryRead;
  source->seek = MemorySeek;
  source->tell = MemoryTell;
  source->size = MemorySize;
  source->close = MemoryClose;
}

void ByteSourceClose(ByteSource* source) {
  if (source->context) source->close(source->context);
  source->context = nullptr;
}
