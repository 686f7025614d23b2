#include "settings/settings_file.h"

#include <cstdlib>
#include <cstring>
#include <cwchar>

#include "base/byte_source.h"
#include "base/text_limits.h"

namespace {

constexpr DWORD kBusyRetryMs = 1000;
constexpr wchar_t kTemporarySuffix[] = L".new~";
constexpr uint64_t kLargestSettingsFile = 64ull << 20;  // far beyond any real settings file
constexpr int kTemporaryPathChars = kMaxPathChars + 8;

DWORD LastErrorOr(DWORD fallback) {
  DWORD error = GetLastError();
  return error ? error : fallback;
}

int IsBusy(DWORD error) { return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION; }

// The folder part of path (without the last separator); empty when there is none.
void FolderOf(const wchar_t* path, wchar_t* folder, size_t size) {
  folder[0] = 0;
  const wchar_t* last = wcsrchr(path, L'\\');
  const wchar_t* slash = wcsrchr(path, L'/');
  if (slash && (!last || slash > last)) last = slash;
  if (!last) return;
  size_t length = static_cast<size_t>(last - path);
  if (length >= size) length = size - 1;
  wmemcpy(folder, path, length);
  folder[length] = 0;
}

void RemoveFile(const wchar_t* path) {
  DWORD attributes = GetFileAttributesW(path);
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  if (attributes & FILE_ATTRIBUTE_READONLY) SetFileAttributesW(path, attributes & ~FILE_ATTRIBUTE_READONLY);
  DeleteFileW(path);
}

// Creates the temporary file, creating the folder chain once and waiting once for
// a busy file.
HANDLE CreateTemporary(const wchar_t* path, const wchar_t* temporary, DWORD attributes, DWORD* error) {
  int folderMade = 0;
  int waited = 0;
  for (;;) {
    HANDLE file = CreateFileW(temporary, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS,
                              attributes, nullptr);
    if (file != INVALID_HANDLE_VALUE) return file;
    *error = LastErrorOr(ERROR_ACCESS_DENIED);
    if (*error == ERROR_PATH_NOT_FOUND && !folderMade) {
      folderMade = 1;
      wchar_t folder[kMaxPathChars + 1];
      FolderOf(path, folder, kMaxPathChars + 1);
      if (folder[0] && SettingsCreateFolderChain(folder)) continue;
      return INVALID_HANDLE_VALUE;
    }
    if (IsBusy(*error) && !waited) {
      waited = 1;
      Sleep(kBusyRetryMs);
      continue;
    }
    return INVALID_HANDLE_VALUE;
  }
}

// Moves the complete temporary file over the old one, lifting the read-only
// attribute of the old file first; waits once for a busy file.
DWORD ReplaceWithTemporary(const wchar_t* path, const wchar_t* temporary, DWORD oldAttributes) {
  int lifted = 0;
  if (oldAttributes != INVALID_FILE_ATTRIBUTES && (oldAttributes & FILE_ATTRIBUTE_READONLY))
    lifted = SetFileAttributesW(path, oldAttributes & ~FILE_ATTRIBUTE_READONLY);
  for (int attempt = 0; attempt < 2; attempt++) {
    if (MoveFileExW(temporary, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return 0;
    DWORD error = LastErrorOr(ERROR_ACCESS_DENIED);
    if (attempt == 0 && IsBusy(error)) {
      Sleep(kBusyRetryMs);
      continue;
    }
    if (lifted) SetFileAttributesW(path, oldAttributes);
    return error;
  }
  if (lifted) SetFileAttributesW(path, oldAttributes);
  return ERROR_SHARING_VIOLATION;
}

// The whole content of an open source in a new buffer (free it), or null when it
// is too large or cannot be read.
char* ReadWholeSource(ByteSource* source, uint64_t* size) {
  *size = ByteSourceSize(source);
  if (*size > kLargestSettingsFile) return nullptr;
  char* bytes = static_cast<char*>(malloc(static_cast<size_t>(*size + 1)));
  if (bytes && *size && !ByteSourceReadExact(source, bytes, static_cast<uint32_t>(*size))) {
    free(bytes);
    bytes = nullptr;
  }
  return bytes;
}

}  // namespace

int SettingsWriteAll(HANDLE file, const char* bytes, uint64_t size) {
  while (size) {
    DWORD chunk = size > 0x10000000u ? 0x10000000u : static_cast<DWORD>(size);
    DWORD written = 0;
    if (!WriteFile(file, bytes, chunk, &written, nullptr) || written == 0) return 0;
    bytes += written;
    size -= written;
  }
  return 1;
}

SettingsFileWriter gSettingsFileWriter = SettingsWriteAll;

int SettingsReadFile(const wchar_t* path, SettingsText* text) {
  ByteSource source{};
  if (!path[0] || !ByteSourceOpenFile(&source, path)) return 0;
  uint64_t size = 0;
  char* bytes = ReadWholeSource(&source, &size);
  ByteSourceClose(&source);
  int ok = bytes && SettingsTextAssign(text, bytes, size);
  free(bytes);
  return ok;
}

// Compares the raw bytes: a file with NUL bytes never matches the text read from it.
int SettingsFileMatches(const wchar_t* path, const char* bytes, uint64_t size) {
  ByteSource source{};
  if (!ByteSourceOpenFile(&source, path)) return 0;
  char* disk = nullptr;
  uint64_t diskSize = 0;
  if (ByteSourceSize(&source) == size) disk = ReadWholeSource(&source, &diskSize);
  ByteSourceClose(&source);
  int same = disk && diskSize == size && memcmp(disk, bytes, static_cast<size_t>(size)) == 0;
  free(disk);
  return same;
}

DWORD SettingsProbeFile(const wchar_t* path) {
  HANDLE file = CreateFileW(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return LastErrorOr(ERROR_ACCESS_DENIED);
  CloseHandle(file);
  return 0;
}

int SettingsFileExists(const wchar_t* path) {
  DWORD attributes = GetFileAttributesW(path);
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

int SettingsCreateFolderChain(const wchar_t* folder) {
  wchar_t partial[kMaxPathChars + 1];
  size_t length = wcslen(folder);
  if (length == 0 || length > kMaxPathChars) return 0;
  for (size_t i = 1; i <= length; i++) {
    if (i < length && folder[i] != L'\\' && folder[i] != L'/') continue;
    wmemcpy(partial, folder, i);
    partial[i] = 0;
    if (i == 2 && partial[1] == L':') continue;  // the drive itself
    DWORD attributes = GetFileAttributesW(partial);
    if (attributes != INVALID_FILE_ATTRIBUTES) {
      if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) return 0;
      continue;
    }
    if (!CreateDirectoryW(partial, nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) return 0;
  }
  DWORD attributes = GetFileAttributesW(folder);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

DWORD SettingsWriteFile(const wchar_t* path, const char* bytes, uint64_t size) {
  size_t pathLength = wcslen(path);
  if (pathLength == 0 || pathLength > kMaxPathChars) return ERROR_INVALID_NAME;
  wchar_t temporary[kTemporaryPathChars];
  wmemcpy(temporary, path, pathLength);
  wmemcpy(temporary + pathLength, kTemporarySuffix, wcslen(kTemporarySuffix) + 1);

  // The new file keeps the hidden and system attributes of the old one.
  DWORD oldAttributes = GetFileAttributesW(path);
  DWORD kept = FILE_ATTRIBUTE_NORMAL;
  if (oldAttributes != INVALID_FILE_ATTRIBUTES) {
    kept = oldAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    if (!kept) kept = FILE_ATTRIBUTE_NORMAL;
  }
  RemoveFile(temporary);  // a leftover of an interrupted save

  DWORD error = 0;
  HANDLE file = CreateTemporary(path, temporary, kept, &error);
  if (file == INVALID_HANDLE_VALUE) return error;
  SetLastError(0);
  int written = gSettingsFileWriter(file, bytes, size);
  if (written) written = FlushFileBuffers(file);
  error = written ? 0 : LastErrorOr(ERROR_WRITE_FAULT);
  CloseHandle(file);
  if (!written) {
    RemoveFile(temporary);
    return error;
  }
  error = ReplaceWithTemporary(path, temporary, oldAttributes);
  if (error) RemoveFile(temporary);
  return error;
}
