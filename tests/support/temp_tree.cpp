#include "temp_tree.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "test_support.h"

namespace {

void RemoveTree(const std::wstring& folder) {
  for (const std::wstring& name : FolderNames(folder)) {
    std::wstring path = folder + L"\\" + name;
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!DeleteFileW(path.c_str())) RemoveTree(path);
  }
  RemoveDirectoryW(folder.c_str());
}

// 2001-02-03 00:00 UTC.
constexpr FILETIME kOldTime{0x403F8000u, 0x01C08D74u};

}  // namespace

TempTree::TempTree() {
  static LONG counter;
  wchar_t base[MAX_PATH + 1];
  GetTempPathW(MAX_PATH + 1, base);
  root = std::wstring(base) + L"tpwr-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
         std::to_wstring(InterlockedIncrement(&counter));
  RemoveTree(root);
  CreateDirectoryW(root.c_str(), nullptr);
}

TempTree::~TempTree() { RemoveTree(root); }

std::wstring TempTree::File(const wchar_t* relative, const std::string& text) const {
  EXPECT_TRUE(WriteFileText(Path(relative), text));
  return Path(relative);
}

std::string ReadFileText(const std::wstring& path) {
  std::vector<uint8_t> bytes = ReadWholeFile(path);
  return std::string(bytes.begin(), bytes.end());
}

bool WriteFileText(const std::wstring& path, const std::string& bytes) {
  return WriteWholeFile(path, std::vector<uint8_t>(bytes.begin(), bytes.end()));
}

bool FileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::vector<std::wstring> FolderNames(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    std::wstring name = found.cFileName;
    if (name != L"." && name != L"..") names.push_back(name);
  } while (FindNextFileW(search, &found));
  FindClose(search);
  std::sort(names.begin(), names.end());
  return names;
}

bool AgeFile(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  bool ok = file != INVALID_HANDLE_VALUE && SetFileTime(file, nullptr, nullptr, &kOldTime);
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  return ok;
}

bool FileWasAged(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  return GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) &&
         CompareFileTime(&data.ftLastWriteTime, &kOldTime) == 0;
}
