#include "settings/settings_file.h"

#include <cstdlib>
#include <cstring>
#include <cwchar>

#include "base/byte_source.h"
#include "base/paths.h"
#include "base/text_limits.h"

namespace {

constexpr DWORD kBusyRetryMs = 1000;
constexpr uint64_t kLargestSettingsFile = 64ull << 20;  // far beyond any real settings file
constexpr int kTemporaryPathChars = kMaxPathChars + 32;  // room for ".<process>-<count>.new~"
constexpr int kTemporaryNameTries = 16;

DWORD LastErrorOr(DWORD fallback) {
  DWORD error = GetLastError();
  return error ? error : fallback;
}

int IsBusy(DWORD error) { return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION; }

// The name is in use: most likely a file left by a save cut short in an earlier
// process of the same id.
int IsTaken(DWORD error) { return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS || IsBusy(error); }

// A temporary name beside the file (so that the replace stays on one volume) that
// no other save uses: this process's id and a count, so that two copies of the
// program saving at once never write into the same file.
int NameTemporary(const wchar_t* path, wchar_t* temporary, int size) {
  static volatile LONG count;
  unsigned long number = static_cast<unsigned long>(InterlockedIncrement(&count));
  unsigned long process = GetCurrentProcessId();
  int written = swprintf(temporary, static_cast<size_t>(size), L"%ls.%lu-%lu.new~", path, process, number);
  return written > 0 && written < size;
}

// Creates the folders above path; non-zero when its folder exists afterwards.
int CreateFolderOf(const wchar_t* path) {
  const wchar_t* separator = LastPathSeparator(path);
  if (!separator || separator == path) return 0;
  uint64_t length = static_cast<uint64_t>(separator - path);
  if (length > kMaxPathChars) return 0;
  wchar_t folder[kMaxPathChars + 1];
  wmemcpy(folder, path, static_cast<size_t>(length));
  folder[length] = 0;
  return SettingsCreateFolderChain(folder);
}

// Creates a new temporary file for this save alone: never an existing file, and
// opened without sharing. Creates the folder chain once; a taken name gives way
// to the next.
HANDLE CreateTemporary(const wchar_t* path, wchar_t* temporary, int size, DWORD attributes, DWORD* error) {
  int folderMade = 0;
  *error = ERROR_FILE_EXISTS;
  for (int tries = 0; tries < kTemporaryNameTries; tries++) {
    if (!NameTemporary(path, temporary, size)) {
      *error = ERROR_INVALID_NAME;
      return INVALID_HANDLE_VALUE;
    }
    HANDLE file = CreateFileW(temporary, GENERIC_WRITE, 0, nullptr, CREATE_NEW, attributes, nullptr);
    if (file != INVALID_HANDLE_VALUE) return file;
    *error = LastErrorOr(ERROR_ACCESS_DENIED);
    if (*error == ERROR_PATH_NOT_FOUND && !folderMade) {
      folderMade = 1;
      if (!CreateFolderOf(path)) return INVALID_HANDLE_VALUE;
    } else if (!IsTaken(*error)) {
      return INVALID_HANDLE_VALUE;
    }
  }
  return INVALID_HANDLE_VALUE;
}

// Writes and flushes the temporary file, then closes it: 0 or the error code.
DWORD WriteTemporary(HANDLE file, const char* bytes, uint64_t size) {
  SetLastError(0);
  int written = gSettingsFileWriter(file, bytes, size) && FlushFileBuffers(file);
  DWORD error = written ? 0 : LastErrorOr(ERROR_WRITE_FAULT);
  CloseHandle(file);
  return error;
}

// The hidden and system attributes of the old file, which the new one keeps.
DWORD KeptAttributes(DWORD oldAttributes) {
  DWORD kept = 0;
  if (oldAttributes != INVALID_FILE_ATTRIBUTES) kept = oldAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  return kept ? kept : FILE_ATTRIBUTE_NORMAL;
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
  DWORD oldAttributes = GetFileAttributesW(path);
  wchar_t temporary[kTemporaryPathChars];
  DWORD error = 0;
  HANDLE file = CreateTemporary(path, temporary, kTemporaryPathChars, KeptAttributes(oldAttributes), &error);
  if (file == INVALID_HANDLE_VALUE) return error;
  error = WriteTemporary(file, bytes, size);
  if (!error) error = ReplaceWithTemporary(path, temporary, oldAttributes);
  if (error) DeleteFileW(temporary);  // created without the read-only attribute
  return error;
}
