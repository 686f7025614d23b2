// Reading and writing transcript files.
#include "text_file.h"

#include <cstdlib>
#include <cstring>
#include <cwchar>

int (*gTextFileWriteHook)(size_t pieceIndex) = nullptr;

#include "base/paths.h"

namespace {

constexpr DWORD kWritePiece = 16u * 1024 * 1024;
constexpr size_t kMaxPath = 1024;


// Names the file system would silently alter (a trailing dot or blank) or
// refuse are turned down before anything is written.
int IsAlteredName(const wchar_t* path) {
  const wchar_t* name = FileNamePart(path);
  size_t length = wcslen(name);
  if (length == 0 || name[length - 1] == L'.' || name[length - 1] == L' ') return 1;
  return wcspbrk(name, L"<>:\"|?*") != nullptr;
}

void FolderOf(const wchar_t* path, wchar_t* folder, size_t capacity) {
  size_t length = static_cast<size_t>(FileNamePart(path) - path);
  if (length >= capacity) length = capacity - 1;
  wmemcpy(folder, path, length);
  folder[length] = 0;
}

// Creates every missing folder of path's folder part.
int CreateFolders(const wchar_t* path) {
  wchar_t folder[kMaxPath + 1];
  FolderOf(path, folder, kMaxPath + 1);
  size_t length = wcslen(folder);
  for (size_t i = 0; i < length; ++i) {
    if (folder[i] != L'\\' && folder[i] != L'/') continue;
    if (i == 0 || folder[i - 1] == L':') continue;  // drive root or UNC start
    wchar_t saved = folder[i];
    folder[i] = 0;
    if (!CreateDirectoryW(folder, nullptr) && GetLastError() != ERROR_ALREADY_EXISTS &&
        GetFileAttributesW(folder) == INVALID_FILE_ATTRIBUTES)
      return 0;
    folder[i] = saved;
  }
  return 1;
}

// The temporary file lives beside the target so the final rename stays on one volume.
int TemporaryPathFor(const wchar_t* path, wchar_t* temporary, size_t capacity) {
  wchar_t folder[kMaxPath + 1];
  FolderOf(path, folder, kMaxPath + 1);
  int written = _snwprintf(temporary, capacity, L"%ls~%ls.%lu.tmp", folder, FileNamePart(path),
                           static_cast<unsigned long>(GetCurrentProcessId()));
  return written > 0 && static_cast<size_t>(written) < capacity;
}

HANDLE CreateOnce(const wchar_t* path, DWORD attributes) {
  return CreateFileW(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS, attributes,
                     nullptr);
}

// Two attempts, the second after a pause when the file is absent at that
// moment (a virus scanner or sync client may still hold a removed file);
// missing folders are created once.
HANDLE CreateWithRetry(const wchar_t* path, DWORD attributes) {
  int createdFolders = 0;
  for (;;) {
    HANDLE file = CreateOnce(path, attributes);
    if (file != INVALID_HANDLE_VALUE) return file;
    if (GetFileAttributesW(path) == INVALID_FILE_ATTRIBUTES) Sleep(1000);
    file = CreateOnce(path, attributes);
    if (file != INVALID_HANDLE_VALUE) return file;
    DWORD error = GetLastError();
    if (error != ERROR_PATH_NOT_FOUND || createdFolders) return INVALID_HANDLE_VALUE;
    createdFolders = 1;
    if (!CreateFolders(path)) {
      SetLastError(ERROR_PATH_NOT_FOUND);
      return INVALID_HANDLE_VALUE;
    }
  }
}

int WriteAll(HANDLE file, const unsigned char* bytes, size_t size, size_t* pieceIndex) {
  while (size > 0) {
    DWORD piece = size > kWritePiece ? kWritePiece : static_cast<DWORD>(size);
    if (gTextFileWriteHook && !gTextFileWriteHook((*pieceIndex)++)) {
      SetLastError(ERROR_DISK_FULL);
      return 0;
    }
    DWORD written = 0;
    if (!WriteFile(file, bytes, piece, &written, nullptr)) return 0;
    if (written != piece) {
      SetLastError(ERROR_DISK_FULL);
      return 0;
    }
    bytes += piece;
    size -= piece;
  }
  return 1;
}

// Moves the complete temporary file over the target, keeping the target's
// hidden and system attributes.
DWORD ReplaceTarget(const wchar_t* temporary, const wchar_t* path, DWORD keptAttributes, DWORD oldAttributes) {
  if (keptAttributes) SetFileAttributesW(path, FILE_ATTRIBUTE_NORMAL);
  if (!MoveFileExW(temporary, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DWORD error = GetLastError();
    if (keptAttributes) SetFileAttributesW(path, oldAttributes);
    return error ? error : ERROR_ACCESS_DENIED;
  }
  if (keptAttributes) SetFileAttributesW(path, keptAttributes);
  return 0;
}

}  // namespace

DWORD TextFileUserError(DWORD code) {
  // Codes whose system texts would confuse a typist get a plainer neighbour.
  switch (code) {
    case 1223: return 1235;  // cancelled by the user -> request aborted
    case 225: return 30;     // blocked by a virus scanner -> cannot read from the device
    case 0:
    case 1401: return ERROR_ACCESS_DENIED;
    default: return code;
  }
}

DWORD TextFileLoad(const wchar_t* path, TextBuffer* out) {
  out->text = nullptr;
  out->length = 0;
  HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return TextFileUserError(GetLastError());
  LARGE_INTEGER size{};
  DWORD error = 0;
  unsigned char* bytes = nullptr;
  if (!GetFileSizeEx(file, &size)) {
    error = GetLastError();
  } else if (size.QuadPart > 0x7FFFFFF0) {
    error = ERROR_NOT_ENOUGH_MEMORY;  // beyond what the edit control can hold
  } else {
    DWORD length = static_cast<DWORD>(size.QuadPart);
    // Two zero bytes more than the file, so either reading is terminated.
    bytes = static_cast<unsigned char*>(calloc(length + 2, 1));
    DWORD got = 0;
    if (!bytes) error = ERROR_NOT_ENOUGH_MEMORY;
    else if (!ReadFile(file, bytes, length, &got, nullptr)) error = GetLastError();
    else if (got != length) error = ERROR_HANDLE_EOF;
    else if (!TextFileDecode(bytes, length, out)) error = ERROR_NOT_ENOUGH_MEMORY;
  }
  free(bytes);
  CloseHandle(file);
  return error ? TextFileUserError(error) : 0;
}

DWORD SaveFilePieces(const wchar_t* path, const SavePiece* pieces, int count, TextSaveStage* stage) {
  *stage = kSaveCreate;
  if (IsAlteredName(path)) return ERROR_INVALID_NAME;
  wchar_t temporary[kMaxPath + 64];
  if (!TemporaryPathFor(path, temporary, sizeof temporary / sizeof temporary[0])) return ERROR_FILENAME_EXCED_RANGE;
  DWORD oldAttributes = GetFileAttributesW(path);
  if (oldAttributes != INVALID_FILE_ATTRIBUTES && (oldAttributes & FILE_ATTRIBUTE_READONLY))
    return ERROR_ACCESS_DENIED;  // a read-only transcript is not replaced
  if (oldAttributes != INVALID_FILE_ATTRIBUTES && (oldAttributes & FILE_ATTRIBUTE_DIRECTORY))
    return ERROR_ACCESS_DENIED;
  DWORD kept = oldAttributes == INVALID_FILE_ATTRIBUTES ? 0
                                                        : oldAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  HANDLE file = CreateWithRetry(temporary, FILE_ATTRIBUTE_NORMAL);
  if (file == INVALID_HANDLE_VALUE) return TextFileUserError(GetLastError());
  *stage = kSaveWrite;
  size_t pieceIndex = 0;
  int ok = 1;
  for (int i = 0; ok && i < count; ++i)
    ok = WriteAll(file, static_cast<const unsigned char*>(pieces[i].bytes), pieces[i].size, &pieceIndex);
  ok = ok && FlushFileBuffers(file);
  DWORD error = ok ? 0 : GetLastError();
  if (!CloseHandle(file) && ok) {
    ok = 0;
    error = GetLastError();
  }
  if (!ok) {
    DeleteFileW(temporary);
    return TextFileUserError(error);
  }
  *stage = kSaveReplace;
  error = ReplaceTarget(temporary, path, kept, oldAttributes);
  if (error) DeleteFileW(temporary);
  return error;
}

DWORD TextFileSave(const wchar_t* path, const wchar_t* text, size_t length, TextSaveStage* stage) {
  static const unsigned char kByteOrderMark[2] = {0xFF, 0xFE};
  const SavePiece pieces[] = {{kByteOrderMark, sizeof kByteOrderMark}, {text, length * sizeof(wchar_t)}};
  return SaveFilePieces(path, pieces, 2, stage);
}
