// Windows: the shortcut page in the temporary folder.
#include <windows.h>

#include <cwchar>

#include "base/paths.h"
#include "shortcuts/shortcut_export.h"

namespace {

constexpr size_t kFolderChars = 1024;

int FileExists(const wchar_t* path) { return GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES; }

int WriteToFile(void* context, const char* bytes, size_t count) {
  DWORD written = 0;
  return WriteFile(static_cast<HANDLE>(context), bytes, static_cast<DWORD>(count), &written, nullptr) &&
         written == count;
}

// The temporary folder with its separator, else the program's folder.
int PageFolder(wchar_t* folder, size_t capacity) {
  DWORD length = GetTempPathW(static_cast<DWORD>(capacity), folder);
  if (length && length < capacity) return 1;
  if (!ProgramFolder(folder, static_cast<uint32_t>(capacity - 1))) return 0;
  size_t used = wcslen(folder);
  folder[used] = L'\\';
  folder[used + 1] = 0;
  return 1;
}

}  // namespace

int ExportShortcutsHtml(wchar_t* path, size_t capacity) {
  wchar_t folder[kFolderChars + 1];
  if (!PageFolder(folder, kFolderChars + 1) || !ChooseShortcutsPagePath(folder, FileExists, path, capacity)) return 0;
  HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 0;
  ByteWriter out{WriteToFile, file};
  int written = WriteShortcutsHtml(CurrentLanguageTable(), &gShortcuts, &out);
  CloseHandle(file);
  if (!written) DeleteFileW(path);
  return written;
}
