#include "app/settings_commands.h"

#include <commdlg.h>

#include <cwchar>
#include <initializer_list>

#include "app/main_window.h"
#include "base/paths.h"
#include "base/text_limits.h"
#include "commands/commands.h"
#include "language/language.h"
#include "settings/settings_file.h"
#include "ui/message_box.h"

namespace {

constexpr DWORD kBusyRetryMs = 1000;

int CommonFileDialog(HWND owner, int save, wchar_t* path, size_t capacity) {
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFile = path;
  dialog.nMaxFile = static_cast<DWORD>(capacity);
  dialog.Flags = OFN_HIDEREADONLY | (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
  return save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
}

// The dialog starts with the settings file's name.
int ChooseFile(HWND owner, int save, const SettingsStore* store, wchar_t* chosen) {
  CopyTextBounded(chosen, kMaxPathChars + 1, FileNamePart(store->path));
  return gSettingsFileDialog(owner, save, chosen, kMaxPathChars + 1);
}

int IsSettingsFile(const wchar_t* path, const SettingsStore* store) {
  wchar_t a[kMaxPathChars + 1], b[kMaxPathChars + 1];
  CopyTextBounded(a, kMaxPathChars + 1, path);
  CopyTextBounded(b, kMaxPathChars + 1, store->path);
  for (wchar_t* p : {a, b})
    for (; *p; ++p)
      if (*p == L'/') *p = L'\\';
  return CompareStringOrdinal(a, -1, b, -1, TRUE) == CSTR_EQUAL;
}

// The file's folder is made when it is missing, a read-only file is made
// writable, a busy one is tried once more after a second.
HANDLE CreateEmptyFile(const wchar_t* path) {
  DWORD attributes = GetFileAttributesW(path);
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
    SetFileAttributesW(path, attributes & ~FILE_ATTRIBUTE_READONLY);
  for (int attempt = 0; attempt < 2; attempt++) {
    HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) return file;
    DWORD error = GetLastError();
    if (error == ERROR_PATH_NOT_FOUND) {
      wchar_t folder[kMaxPathChars + 1];
      CopyTextBounded(folder, kMaxPathChars + 1, path);
      if (wchar_t* separator = const_cast<wchar_t*>(LastPathSeparator(folder))) *separator = 0;
      SettingsCreateFolderChain(folder);
    } else if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION) {
      Sleep(kBusyRetryMs);
    } else {
      return INVALID_HANDLE_VALUE;
    }
  }
  return INVALID_HANDLE_VALUE;
}

// Drops what the store holds of the old file and restarts the window, with
// writes suppressed until the new run, so the closing window cannot write
// its old values over the new file.
void ReloadAndRestart(SettingsStore* store) {
  wchar_t path[kMaxPathChars + 1];
  CopyTextBounded(path, kMaxPathChars + 1, store->path);
  SetPath(store, L"", 0);
  Discard(store);
  SetPath(store, path, 0);
  Discard(store);
  RestartMainWindow();
}

// "Reset Settings?": the text after the second ";" when there is one, else the
// label; without "&".
void ResetQuestion(wchar_t* question, size_t capacity) {
  wchar_t text[300];
  GetText(kCmdResetSettings, text, 300);
  const wchar_t* first = wcschr(text, L';');
  const wchar_t* second = first ? wcschr(first + 1, L';') : nullptr;
  const wchar_t* from = second ? second + 1 : text;
  if (!second) CutAtSemicolon(text);
  size_t length = 0;
  for (; *from && length + 2 < capacity; ++from)
    if (*from != L'&') question[length++] = *from;
  question[length++] = L'?';
  question[length] = 0;
}

}  // namespace

int (*gSettingsFileDialog)(HWND, int, wchar_t*, size_t) = CommonFileDialog;

int BackupSettings(HWND owner, SettingsStore* store) {
  wchar_t chosen[kMaxPathChars + 1];
  if (!ChooseFile(owner, 1, store, chosen)) return 0;
  Flush(store);  // the copy holds what the program has not written yet
  if (IsSettingsFile(chosen, store)) return 0;
  if (!CopyFileW(store->path, chosen, FALSE)) {
    ShowFileError(owner, GetLastError(), chosen);
    return 0;
  }
  return 1;
}

int RestoreSettings(HWND owner, SettingsStore* store) {
  wchar_t chosen[kMaxPathChars + 1];
  if (!ChooseFile(owner, 0, store, chosen) || IsSettingsFile(chosen, store)) return 0;
  if (!PrepareRestart()) return 0;  // Cancel in the save prompt: nothing changes
  if (!CopyFileW(chosen, store->path, FALSE)) {
    ShowFileError(owner, GetLastError(), store->path);
    return 0;
  }
  ReloadAndRestart(store);
  return 1;
}

int ResetSettings(HWND owner, SettingsStore* store) {
  wchar_t question[300];
  ResetQuestion(question, 300);
  if (ShowMessage(owner, question, MB_YESNO | MB_ICONQUESTION) != IDYES) return 0;
  if (!PrepareRestart()) return 0;
  HANDLE file = CreateEmptyFile(store->path);
  if (file == INVALID_HANDLE_VALUE) {
    ShowFileError(owner, GetLastError(), store->path);
    return 0;
  }
  CloseHandle(file);
  ReloadAndRestart(store);
  return 1;
}
