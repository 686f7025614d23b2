#include "settings/settings_paths.h"

#include <cwchar>

#include "base/text_limits.h"
#include "settings/settings_location.h"

namespace {

constexpr int kPathBuffer = kMaxPathChars + 1;

struct FolderMacro {
  const wchar_t* name;
  int (*folder)(wchar_t* buffer, uint32_t size);
};

// Macros expanded by this program itself; any other goes to the system.
const FolderMacro kFolderMacros[] = {
    {L"%MY_PATH%", ProgramFolder},
    {L"%COMMANDER_PATH%", ProgramFolder},
    {L"%APPDATA%", AppDataFolder},
};

// first followed by second, cut at size-1 units.
int Concatenate(wchar_t* out, uint32_t size, const wchar_t* first, const wchar_t* second) {
  wchar_t joined[2 * kPathBuffer];
  size_t firstLength = wcsnlen(first, kMaxPathChars);
  size_t secondLength = wcsnlen(second, kMaxPathChars);
  wmemcpy(joined, first, firstLength);
  wmemcpy(joined + firstLength, second, secondLength);
  joined[firstLength + secondLength] = 0;
  return CopyTextBounded(out, size, joined);
}

int IsSeparator(wchar_t c) { return c == L'\\' || c == L'/' || c == L':'; }

// When path lies inside folder (case-insensitive prefix ending at a separator or
// at the end of the path), returns the offset of the rest of the path, else -1.
int64_t InsideFolder(const wchar_t* folder, const wchar_t* path) {
  wchar_t upperFolder[kPathBuffer];
  wchar_t upperPath[kPathBuffer];
  CopyTextBounded(upperFolder, kPathBuffer, folder);
  CopyTextBounded(upperPath, kPathBuffer, path);
  size_t folderLength = wcslen(upperFolder);
  while (folderLength && (upperFolder[folderLength - 1] == L'\\' || upperFolder[folderLength - 1] == L'/'))
    folderLength--;
  if (!folderLength) return -1;
  size_t pathLength = wcslen(upperPath);
  if (pathLength < folderLength) return -1;
  CharUpperBuffW(upperFolder, static_cast<DWORD>(folderLength));
  CharUpperBuffW(upperPath, static_cast<DWORD>(pathLength));
  if (wmemcmp(upperFolder, upperPath, folderLength) != 0) return -1;
  if (upperPath[folderLength] && !IsSeparator(upperPath[folderLength])) return -1;
  return static_cast<int64_t>(folderLength);
}

// "%NAME%" + the rest of the path, when the folder holds it.
int CompactWith(const wchar_t* macro, const wchar_t* folder, const wchar_t* in, wchar_t* out, uint32_t size) {
  if (!folder[0]) return 0;
  int64_t rest = InsideFolder(folder, in);
  if (rest < 0) return 0;
  Concatenate(out, size, macro, in + rest);
  return 1;
}

// A variable's value qualifies when it looks like a drive-letter folder and is not a list.
int IsDriveFolder(const wchar_t* value) {
  if (wcslen(value) < 4 || wcschr(value, L';')) return 0;
  wchar_t first = value[0];
  return ((first >= L'A' && first <= L'Z') || (first >= L'a' && first <= L'z')) && value[1] == L':';
}

int CompactWithEnvironment(const wchar_t* in, wchar_t* out, uint32_t size) {
  wchar_t* block = GetEnvironmentStringsW();
  if (!block) return 0;
  int done = 0;
  for (const wchar_t* entry = block; *entry && !done; entry += wcslen(entry) + 1) {
    if (entry[0] == L'=') continue;
    const wchar_t* equals = wcschr(entry, L'=');
    if (!equals || !IsDriveFolder(equals + 1)) continue;
    size_t nameLength = static_cast<size_t>(equals - entry);
    if (nameLength + 3 > kPathBuffer) continue;
    wchar_t macro[kPathBuffer];
    macro[0] = L'%';
    wmemcpy(macro + 1, entry, nameLength);
    macro[nameLength + 1] = L'%';
    macro[nameLength + 2] = 0;
    wchar_t value[kPathBuffer];
    CopyTextBounded(value, kPathBuffer, equals + 1);
    done = CompactWith(macro, value, in, out, size);
  }
  FreeEnvironmentStringsW(block);
  return done;
}

}  // namespace

int ExpandPath(const wchar_t* in, wchar_t* out, uint32_t size) {
  wchar_t folder[kPathBuffer];
  if (in[0] == L'.' && in[1] == L'.') {
    ProgramFolder(folder, kPathBuffer);
    return JoinSettingsPath(out, size, folder, in);
  }
  if (in[0] != L'%') return CopyTextBounded(out, size, in);
  const wchar_t* close = wcschr(in + 1, L'%');
  size_t tokenLength = close ? static_cast<size_t>(close - in) + 1 : 0;
  for (const FolderMacro& macro : kFolderMacros) {
    if (tokenLength != wcslen(macro.name) || _wcsnicmp(in, macro.name, tokenLength) != 0) continue;
    macro.folder(folder, kPathBuffer);
    return Concatenate(out, size, folder, in + tokenLength);
  }
  wchar_t expanded[kPathBuffer];
  DWORD length = ExpandEnvironmentStringsW(in, expanded, kPathBuffer);
  if (length == 0 || length > kPathBuffer) return CopyTextBounded(out, size, in);
  return CopyTextBounded(out, size, expanded);
}

int CompactPath(const wchar_t* in, wchar_t* out, uint32_t size) {
  if (in[0] == L'%') return CopyTextBounded(out, size, in);
  wchar_t folder[kPathBuffer];
  ProgramFolder(folder, kPathBuffer);
  if (CompactWith(L"%MY_PATH%", folder, in, out, size)) return 1;
  AppDataFolder(folder, kPathBuffer);
  if (CompactWith(L"%APPDATA%", folder, in, out, size)) return 1;
  DWORD length = ExpandEnvironmentStringsW(L"%TEMP%", folder, kPathBuffer);
  if (length == 0 || length > kPathBuffer || folder[0] == L'%') folder[0] = 0;
  if (CompactWith(L"%TEMP%", folder, in, out, size)) return 1;
  if (CompactWithEnvironment(in, out, size)) return 1;
  return CopyTextBounded(out, size, in);
}

void SetPathField(HWND dialog, int control, const wchar_t* storedPath) {
  wchar_t expanded[kPathBuffer];
  ExpandPath(storedPath, expanded, kPathBuffer);
  SetDlgItemTextW(dialog, control, expanded);
}

int GetPathField(HWND dialog, int control, wchar_t* buffer, uint32_t size) {
  wchar_t typed[kPathBuffer];
  if (!GetDlgItemTextW(dialog, control, typed, kPathBuffer)) typed[0] = 0;
  return CompactPath(typed, buffer, size);
}
