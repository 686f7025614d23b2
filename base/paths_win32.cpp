// The running program's file and folder.
#include <windows.h>

#include "base/paths.h"
#include "base/text_limits.h"

namespace {

wchar_t gRedirectedProgramFile[kMaxPathChars + 1];

}  // namespace

void RedirectProgramFile(const wchar_t* path) {
  CopyTextBounded(gRedirectedProgramFile, kMaxPathChars + 1, path ? path : L"");
}

int ProgramFilePath(wchar_t* buffer, uint32_t size) {
  wchar_t path[kMaxPathChars + 1];
  if (gRedirectedProgramFile[0]) {
    CopyTextBounded(path, kMaxPathChars + 1, gRedirectedProgramFile);
  } else {
    DWORD length = GetModuleFileNameW(nullptr, path, kMaxPathChars + 1);
    if (length > kMaxPathChars) length = kMaxPathChars;
    path[length] = 0;
  }
  return CopyTextBounded(buffer, size, path[0] == L'"' ? path + 1 : path);
}

int ProgramFolder(wchar_t* buffer, uint32_t size) {
  wchar_t path[kMaxPathChars + 1];
  ProgramFilePath(path, kMaxPathChars + 1);
  const wchar_t* separator = LastPathSeparator(path);
  path[separator ? separator - path : 0] = 0;
  return CopyTextBounded(buffer, size, path);
}
