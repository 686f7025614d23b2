#include "settings/settings_location.h"

#include <shlobj.h>

#include <cwchar>

#include "base/paths.h"
#include "base/text_limits.h"
#include "settings/settings_file.h"

namespace {

wchar_t gRedirectedAppData[kMaxPathChars + 1];

}  // namespace

void SettingsRedirectFolders(const wchar_t* programFile, const wchar_t* appDataFolder) {
  RedirectProgramFile(programFile);
  CopyTextBounded(gRedirectedAppData, kMaxPathChars + 1, appDataFolder ? appDataFolder : L"");
}

int AppDataFolder(wchar_t* buffer, uint32_t size) {
  if (gRedirectedAppData[0]) return CopyTextBounded(buffer, size, gRedirectedAppData);
  wchar_t folder[MAX_PATH + 1] = {};
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder)) || !folder[0]) {
    UINT length = GetWindowsDirectoryW(folder, MAX_PATH + 1);
    if (length == 0 || length > MAX_PATH) folder[0] = 0;
  }
  return CopyTextBounded(buffer, size, folder);
}

int ProgramFolderSettingsPath(wchar_t* buffer, uint32_t size) {
  wchar_t path[kMaxPathChars + 8];
  ProgramFilePath(path, kMaxPathChars + 1);
  if (!path[0]) return CopyTextBounded(buffer, size, L"");
  // From the last dot of the whole path on, even when it belongs to a folder name.
  wchar_t* dot = wcsrchr(path, L'.');
  size_t base = dot ? static_cast<size_t>(dot - path) : wcslen(path);
  wmemcpy(path + base, L".INI", 5);
  return CopyTextBounded(buffer, size, path);
}

int JoinSettingsPath(wchar_t* buffer, uint32_t size, const wchar_t* first, const wchar_t* second) {
  wchar_t joined[2 * kMaxPathChars + 2];
  size_t length = wcsnlen(first, kMaxPathChars);
  wmemcpy(joined, first, length);
  while (*second == L'\\' || *second == L'/') second++;
  if (length && joined[length - 1] != L'\\' && joined[length - 1] != L'/' && *second) joined[length++] = L'\\';
  size_t rest = wcsnlen(second, kMaxPathChars);
  wmemcpy(joined + length, second, rest);
  joined[length + rest] = 0;
  for (wchar_t* c = joined; *c; c++)
    if (*c == L'/') *c = L'\\';
  return CopyTextBounded(buffer, size, joined);
}

int PerUserSettingsPath(wchar_t* buffer, uint32_t size) {
  wchar_t appData[kMaxPathChars + 1];
  wchar_t programPath[kMaxPathChars + 1];
  wchar_t folder[kMaxPathChars + 1];
  if (!AppDataFolder(appData, kMaxPathChars + 1) || !ProgramFolderSettingsPath(programPath, kMaxPathChars + 1))
    return CopyTextBounded(buffer, size, L"");
  const wchar_t* separator = LastPathSeparator(programPath);
  const wchar_t* name = separator ? separator + 1 : programPath;
  JoinSettingsPath(folder, kMaxPathChars + 1, appData, kMakerFolderName);
  return JoinSettingsPath(buffer, size, folder, name);
}

void LocateSettingsFile(SettingsStore* store) {
  wchar_t perUser[kMaxPathChars + 1];
  wchar_t beside[kMaxPathChars + 1];
  PerUserSettingsPath(perUser, kMaxPathChars + 1);
  ProgramFolderSettingsPath(beside, kMaxPathChars + 1);
  int perUserExists = perUser[0] && SettingsFileExists(perUser);
  int besideExists = beside[0] && SettingsFileExists(beside);
  if (perUserExists) SetPath(store, perUser, 1);
  if (besideExists) {
    wchar_t marker[kMaxPathChars + 1];
    ReadText(store, kSettingUseThis.section, kSettingUseThis.name, nullptr, marker, kMaxPathChars + 1);
    if (!marker[0] && SetPath(store, beside, 2) == 0) {
      // The file beside the program never carries the marker.
      Discard(store);
      DeleteSection(store, kSettingUseThis.section);
    }
  }
  if (!store->path[0] && beside[0]) SetPath(store, beside, 0);
}
