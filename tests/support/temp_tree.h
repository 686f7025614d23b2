// A fresh folder under the system's temporary folder for one test, removed with
// everything in it when the test ends, and small file helpers.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

struct TempTree {
  std::wstring root;
  TempTree();
  ~TempTree();
  std::wstring Path(const wchar_t* relative) const { return root + L"\\" + relative; }
  // Path(relative), written with text.
  std::wstring File(const wchar_t* relative, const std::string& text) const;
};

std::string ReadFileText(const std::wstring& path);
bool WriteFileText(const std::wstring& path, const std::string& bytes);
bool FileExists(const std::wstring& path);
// The names in a folder, sorted, without "." and "..".
std::vector<std::wstring> FolderNames(const std::wstring& folder);
// Sets the last-write time to a fixed old time so that a rewrite shows.
bool AgeFile(const std::wstring& path);
bool FileWasAged(const std::wstring& path);
