#include "test_support.h"

#include <cstdio>
#include <cstdlib>

#include "base/byte_source.h"
#include "base/text_limits.h"

namespace {

#ifdef _WIN32
constexpr wchar_t kSeparator = L'\\';
#else
constexpr wchar_t kSeparator = L'/';
#endif

std::wstring Widen(const std::string& text) { return std::wstring(text.begin(), text.end()); }

}  // namespace

std::wstring TestFolder(const char* variable) {
  const char* value = getenv(variable);
  if (!value || !*value) return L"";
  std::wstring folder = Widen(value);
#ifdef _WIN32
  if (folder[0] == L'/') {
    for (wchar_t& c : folder)
      if (c == L'/') c = L'\\';
    folder = L"Z:" + folder;
  }
#endif
  return folder;
}

std::wstring TestPath(const std::wstring& folder, const std::string& name) {
  return folder + kSeparator + Widen(name);
}

std::vector<uint8_t> ReadWholeFile(const std::wstring& path) {
  std::vector<uint8_t> bytes;
  ByteSource source{};
  if (!ByteSourceOpenFile(&source, path.c_str())) return bytes;
  bytes.resize(static_cast<size_t>(ByteSourceSize(&source)));
  if (!bytes.empty() && !ByteSourceReadExact(&source, bytes.data(), static_cast<uint32_t>(bytes.size())))
    bytes.clear();
  ByteSourceClose(&source);
  return bytes;
}

bool WriteWholeFile(const std::wstring& path, const std::vector<uint8_t>& bytes) {
#ifdef _WIN32
  FILE* file = _wfopen(path.c_str(), L"wb");
#else
  char name[kMaxPathChars * 4 + 1];
  FILE* file = HostPathBytes(path.c_str(), name, sizeof name) ? fopen(name, "wb") : nullptr;
#endif
  if (!file) return false;
  bool ok = fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return fclose(file) == 0 && ok;
}
