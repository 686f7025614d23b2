#include "base/paths.h"

#include <cwchar>

const wchar_t* LastPathSeparator(const wchar_t* path) {
  const wchar_t* backslash = wcsrchr(path, L'\\');
  const wchar_t* slash = wcsrchr(path, L'/');
  return slash && (!backslash || slash > backslash) ? slash : backslash;
}

const wchar_t* FileNamePart(const wchar_t* path) {
  const wchar_t* separator = LastPathSeparator(path);
  return separator ? separator + 1 : path;
}
