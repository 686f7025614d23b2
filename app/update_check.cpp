#include "app/update_check.h"

#include <urlmon.h>
#include <wininet.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>

#include "base/product.h"
#include "base/text_limits.h"
#include "language/language.h"
#include "ui/message_box.h"

namespace {

constexpr size_t kLineBytes = 64;
constexpr size_t kListBytes = 1u << 20;  // far beyond a real list
constexpr DWORD kNetworkError = 59;      // "An unexpected network error occurred."

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// One part of a version: its number and the letters behind it.
void ComparePart(const char* a, const char* b, int* order) {
  unsigned long na = 0, nb = 0;
  while (*a >= '0' && *a <= '9') na = na * 10 + static_cast<unsigned long>(*a++ - '0');
  while (*b >= '0' && *b <= '9') nb = nb * 10 + static_cast<unsigned long>(*b++ - '0');
  *order = na < nb ? -1 : na > nb ? 1 : 0;
  while (!*order && *a && *a != '.' && *b && *b != '.') {
    *order = Lower(*a) < Lower(*b) ? -1 : Lower(*a) > Lower(*b) ? 1 : 0;
    ++a, ++b;
  }
  if (!*order) *order = (*a && *a != '.') - (*b && *b != '.');
}

const char* NextPart(const char* text) {
  while (*text && *text != '.') ++text;
  return *text ? text + 1 : text;
}

// The smallest number from 1 up that names no file in the temporary folder,
// created there at once so that a second check never takes the same name.
int ReserveTemporaryFile(wchar_t* path, size_t capacity) {
  wchar_t folder[kMaxPathChars + 1];
  DWORD length = GetTempPathW(kMaxPathChars + 1, folder);
  if (!length || length > kMaxPathChars) return 0;
  CreateDirectoryW(folder, nullptr);
  for (unsigned number = 1; number < 100000; ++number) {
    swprintf(path, capacity, L"%ls%u", folder, number);
    HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_TEMPORARY, nullptr);
    if (file != INVALID_HANDLE_VALUE) return CloseHandle(file), 1;
    if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) return 0;
  }
  return 0;
}

// Reads at most kListBytes of the downloaded list into a new block (NUL-terminated).
char* ReadList(const wchar_t* path, size_t* size) {
  HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return nullptr;
  char* list = static_cast<char*>(malloc(kListBytes + 1));
  DWORD got = 0;
  if (list && !ReadFile(file, list, kListBytes, &got, nullptr)) got = 0;
  CloseHandle(file);
  if (list) list[got] = 0;
  *size = got;
  return list;
}

void Show(HWND owner, const wchar_t* text, const wchar_t* caption, UINT icon) {
  gMessageBoxRoutine(owner, text, caption, icon | MB_OK);
}

UpdateResult Answer(HWND owner, const char* list, size_t size, const char* code, const char* running) {
  char version[kLineBytes + 1];
  wchar_t title[kLineBytes], text[300];
  if (!FindProductLine(list, size, code, version, sizeof version, title, kLineBytes)) {
    GetText(kTextUpdateUnknown, text, 300);
    Show(owner, text, kProductName, MB_ICONWARNING);
    return kUpdateUnknown;
  }
  wchar_t message[200];
  if (CompareVersions(version, running) > 0) {
    GetText(kTextUpdateAvailable, message, 200);
    swprintf(text, 300, L"%ls %hs", message, version);
    Show(owner, text, title, MB_ICONINFORMATION);
    return kUpdateAvailable;
  }
  GetText(kTextUpToDate, message, 200);
  swprintf(text, 300, L"%ls %ls", title, message);
  Show(owner, text, title, MB_ICONINFORMATION);
  return kUpToDate;
}

struct CheckRequest {
  HWND owner;
};

DWORD WINAPI CheckThread(void* parameter) {
  CheckRequest* request = static_cast<CheckRequest*>(parameter);
  RunUpdateCheck(request->owner, kMakerSite, kProductCode, kProductVersion);
  free(request);
  return 0;
}

}  // namespace

int CompareVersions(const char* a, const char* b) {
  while (*a || *b) {
    int order = 0;
    ComparePart(a, b, &order);
    if (order) return order;
    a = NextPart(a);
    b = NextPart(b);
  }
  return 0;
}

int FindProductLine(const char* list, size_t size, const char* code, char* version, size_t versionCapacity,
                    wchar_t* title, size_t titleCapacity) {
  size_t codeLength = strlen(code);
  for (size_t at = 0; at < size;) {
    size_t end = at;
    while (end < size && list[end] != '\r' && list[end] != '\n') ++end;
    char line[kLineBytes + 1];
    size_t length = end - at < kLineBytes ? end - at : kLineBytes;
    memcpy(line, list + at, length);
    line[length] = 0;
    at = end;
    while (at < size && (list[at] == '\r' || list[at] == '\n')) ++at;
    if (length < codeLength || memcmp(line, code, codeLength) != 0) continue;
    const char* blank = strchr(line + codeLength, ' ');
    size_t versionLength = blank ? static_cast<size_t>(blank - line) - codeLength : 0;
    if (!versionLength || versionLength >= versionCapacity || !blank[1]) return 0;
    memcpy(version, line + codeLength, versionLength);
    version[versionLength] = 0;
    int wrote = MultiByteToWideChar(CP_ACP, 0, blank + 1, -1, title, static_cast<int>(titleCapacity));
    if (!wrote) title[0] = 0;
    title[titleCapacity - 1] = 0;
    return 1;
  }
  return 0;
}

UpdateResult RunUpdateCheck(HWND owner, const wchar_t* site, const char* code, const char* runningVersion) {
  wchar_t file[kMaxPathChars + 16], address[kMaxPathChars + 32];
  swprintf(address, sizeof address / sizeof address[0], L"%ls/products.txt", site);
  if (!ReserveTemporaryFile(file, sizeof file / sizeof file[0])) {
    ShowFileError(owner, kNetworkError, nullptr);
    return kDownloadFailed;
  }
  DeleteUrlCacheEntryW(address);  // a list kept from an earlier check would hide a new release
  if (FAILED(URLDownloadToFileW(nullptr, address, file, 0, nullptr))) {
    DeleteFileW(file);
    ShowFileError(owner, kNetworkError, nullptr);
    return kDownloadFailed;
  }
  size_t size = 0;
  char* list = ReadList(file, &size);
  DeleteFileW(file);
  UpdateResult result = list ? Answer(owner, list, size, code, runningVersion) : kDownloadFailed;
  if (!list) ShowFileError(owner, kNetworkError, nullptr);
  free(list);
  return result;
}

void CheckForUpdates(HWND owner) {
  auto* request = static_cast<CheckRequest*>(malloc(sizeof(CheckRequest)));
  if (!request) return;
  request->owner = owner;
  HANDLE thread = CreateThread(nullptr, 0, CheckThread, request, 0, nullptr);
  if (thread)
    CloseHandle(thread);
  else
    free(request);
}
