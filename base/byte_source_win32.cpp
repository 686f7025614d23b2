// File byte sources on Windows: one shared-read handle per open file.
#include <windows.h>

#include <cstdlib>

#include "base/byte_source.h"

namespace {

uint32_t FileRead(void* context, void* buffer, uint32_t size) {
  DWORD got = 0;
  if (!ReadFile(static_cast<HANDLE>(context), buffer, size, &got, nullptr)) return 0;
  return got;
}

int FileSeek(void* context, uint64_t offset) {
  LARGE_INTEGER to;
  to.QuadPart = static_cast<LONGLONG>(offset);
  return SetFilePointerEx(static_cast<HANDLE>(context), to, nullptr, FILE_BEGIN) != 0;
}

uint64_t FileTell(void* context) {
  LARGE_INTEGER zero{}, at{};
  if (!SetFilePointerEx(static_cast<HANDLE>(context), zero, &at, FILE_CURRENT)) return 0;
  return static_cast<uint64_t>(at.QuadPart);
}

uint64_t FileSize(void* context) {
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(static_cast<HANDLE>(context), &size)) return 0;
  return static_cast<uint64_t>(size.QuadPart);
}

void FileClose(void* context) { CloseHandle(static_cast<HANDLE>(context)); }

}  // namespace

int ByteSourceOpenFile(ByteSource* source, const wchar_t* path) {
  source->context = nullptr;
  HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 0;
  source->context = file;
  source->read = FileRead;
  source->seek = FileSeek;
  source->tell = FileTell;
  source->size = FileSize;
  source->close = FileClose;
  return 1;
}
