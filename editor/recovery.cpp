#include "editor/recovery.h"

#include <cstdio>
#include <cstdlib>
#include <cwchar>

#include "base/paths.h"
#include "base/text_builder.h"
#include "base/text_limits.h"
#include "editor/document.h"
#include "editor/editor_view.h"
#include "editor/mark_text.h"
#include "editor/text_file.h"
#include "language/language.h"
#include "ui/message_box.h"
#include "ui/status_bar.h"

namespace {

constexpr wchar_t kFolderName[] = L"Recovery";
constexpr wchar_t kCopyExtension[] = L".twr";
constexpr wchar_t kLockExtension[] = L".lck";
// A copy starts with this line, naming the transcript's own file (empty for an unnamed one).
constexpr wchar_t kHeaderStart[] = L"<Tapewright recovery: ";
constexpr wchar_t kHeaderEnd[] = L">\r\n";
constexpr UINT_PTR kNoticeTimer = 0x7E57;
constexpr UINT kNoticeMs = 10000;
constexpr size_t kNameChars = 64;

struct Recovery {
  wchar_t folder[kMaxPathChars + 1];
  wchar_t copy[kMaxPathChars + 1];
  wchar_t lock[kMaxPathChars + 1];
  HANDLE lockFile;       // open for the whole run; the system deletes it when the program ends
  HANDLE writer;         // the write in progress, or null
  volatile LONG changed; // since the last copy was taken
  int reported;          // a failure has been shown since the last success
};
Recovery gRecovery;

// What the writing thread gets: the whole file's text and where it goes.
struct WriteJob {
  HWND owner;
  wchar_t path[kMaxPathChars + 1];
  size_t length;
  wchar_t text[1];  // length characters follow
};

DWORD WINAPI WriteCopy(void* parameter) {
  auto* job = static_cast<WriteJob*>(parameter);
  TextSaveStage stage;
  DWORD error = TextFileSave(job->path, job->text, job->length, &stage);
  PostMessageW(job->owner, kRecoveryWrittenMessage, error, 0);
  free(job);
  return 0;
}

// The lock says this run owns its copy; made with the folder on first need.
int HoldLock() {
  if (gRecovery.lockFile) return 1;
  if (!gRecovery.folder[0]) return 0;
  CreateDirectoryW(gRecovery.folder, nullptr);
  HANDLE lock = CreateFileW(gRecovery.lock, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (lock == INVALID_HANDLE_VALUE) return 0;
  gRecovery.lockFile = lock;
  return 1;
}

void WaitForWriter() {
  if (!gRecovery.writer) return;
  WaitForSingleObject(gRecovery.writer, INFINITE);
  CloseHandle(gRecovery.writer);
  gRecovery.writer = nullptr;
}

// The header and the editor's text, taken on this thread.
WriteJob* TakeText(HWND owner) {
  HWND editor = EditorWindow();
  size_t textLength = static_cast<size_t>(GetWindowTextLengthW(editor));
  const wchar_t* original = DocumentPath();
  size_t headerLength = wcslen(kHeaderStart) + wcslen(original) + wcslen(kHeaderEnd);
  size_t bytes = sizeof(WriteJob) + (headerLength + textLength + 1) * sizeof(wchar_t);
  auto* job = static_cast<WriteJob*>(malloc(bytes));
  if (!job) return nullptr;
  job->owner = owner;
  CopyTextBounded(job->path, kMaxPathChars + 1, gRecovery.copy);
  swprintf(job->text, headerLength + 1, L"%ls%ls%ls", kHeaderStart, original, kHeaderEnd);
  int got = GetWindowTextW(editor, job->text + headerLength, static_cast<int>(textLength + 1));
  job->length = headerLength + static_cast<size_t>(got > 0 ? got : 0);
  return job;
}

// The copy's text after its header, and the original path the header names.
// Zero when the file is not a copy.
int ReadCopy(const wchar_t* path, TextBuffer* buffer, wchar_t* original, const wchar_t** text) {
  if (TextFileLoad(path, buffer) != 0) return 0;
  size_t start = wcslen(kHeaderStart);
  if (buffer->length < start || wcsncmp(buffer->text, kHeaderStart, start) != 0) return 0;
  const wchar_t* end = wcsstr(buffer->text + start, kHeaderEnd);
  if (!end || static_cast<size_t>(end - buffer->text) - start > kMaxPathChars) return 0;
  size_t length = static_cast<size_t>(end - buffer->text) - start;
  wmemcpy(original, buffer->text + start, length);
  original[length] = 0;
  *text = end + wcslen(kHeaderEnd);
  return 1;
}

// A copy whose lock is gone (or can be removed) belongs to no running program.
int IsLeftOver(const WIN32_FIND_DATAW* found) {
  wchar_t lock[kMaxPathChars + 1];
  size_t stem = wcslen(found->cFileName) - wcslen(kCopyExtension);
  if (swprintf(lock, kMaxPathChars + 1, L"%ls\\%.*ls%ls", gRecovery.folder, static_cast<int>(stem), found->cFileName,
               kLockExtension) < 0)
    return 0;
  if (!wcscmp(lock, gRecovery.lock)) return 0;
  return DeleteFileW(lock) || GetLastError() == ERROR_FILE_NOT_FOUND;
}

// The newest left-over copy; zero when there is none.
int FindLeftOver(wchar_t* path, FILETIME* written) {
  wchar_t pattern[kMaxPathChars + 1];
  swprintf(pattern, kMaxPathChars + 1, L"%ls\\*%ls", gRecovery.folder, kCopyExtension);
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(pattern, &found);
  if (search == INVALID_HANDLE_VALUE) return 0;
  int any = 0;
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY || !IsLeftOver(&found)) continue;
    if (any && CompareFileTime(&found.ftLastWriteTime, written) <= 0) continue;
    swprintf(path, kMaxPathChars + 1, L"%ls\\%ls", gRecovery.folder, found.cFileName);
    *written = found.ftLastWriteTime;
    any = 1;
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return any;
}

MarkDate LocalDate(FILETIME time) {
  SYSTEMTIME utc, local;
  if (!FileTimeToSystemTime(&time, &utc) || !SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local)) return {};
  return {local.wDay, local.wMonth, local.wYear, local.wHour, local.wMinute, local.wSecond};
}

int AskToRestore(HWND owner, const wchar_t* original, FILETIME written) {
  wchar_t question[400], untitled[kNameChars], date[kMarkDateChars], message[kMaxPathChars + 600];
  GetText(kTextRecoveryQuestion, question, 400);
  GetText(kTextUntitled, untitled, kNameChars);
  MarkDate local = LocalDate(written);
  FormatMarkDate(&local, date, kMarkDateChars);
  swprintf(message, sizeof message / sizeof message[0], L"%ls\r\n\r\n%ls\r\n%ls", question,
           original[0] ? FileNamePart(original) : untitled, date);
  return ShowMessage(owner, message, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

// "name yyyy-mm-dd hh.mm.ss.txt" beside the copies, with the text alone.
void KeepAside(HWND owner, const wchar_t* original, const wchar_t* text, FILETIME written) {
  wchar_t untitled[kNameChars], name[kMaxPathChars + 1], path[kMaxPathChars + 1];
  GetText(kTextUntitled, untitled, kNameChars);
  CopyTextBounded(name, kMaxPathChars + 1, original[0] ? FileNamePart(original) : untitled);
  if (wchar_t* dot = wcsrchr(name, L'.')) *dot = 0;
  MarkDate d = LocalDate(written);
  swprintf(path, kMaxPathChars + 1, L"%ls\\%.100ls %04u-%02u-%02u %02u.%02u.%02u.txt", gRecovery.folder, name, d.year,
           d.month, d.day, d.hour, d.minute, d.second);
  TextSaveStage stage;
  DWORD error = TextFileSave(path, text, wcslen(text), &stage);
  if (error) {
    ShowFileError(owner, error, path);
    return;  // the copy stays where it is, for the next start
  }
  DeleteFileW(gRecovery.copy);
}

void CALLBACK ClearNotice(HWND window, UINT, UINT_PTR timer, DWORD) {
  KillTimer(window, timer);
  StatusBarSetHelpText(L"");
}

}  // namespace

void RecoveryStart(const wchar_t* settingsFolder) {
  RecoveryStop();
  gRecovery = Recovery{};
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  wchar_t id[48];
  swprintf(id, 48, L"%lu-%08lX%08lX", GetCurrentProcessId(), now.dwHighDateTime, now.dwLowDateTime);
  size_t length = wcslen(settingsFolder);
  const wchar_t* separator = length && (settingsFolder[length - 1] == L'\\' || settingsFolder[length - 1] == L'/')
                                 ? L"" : L"\\";
  int fits = swprintf(gRecovery.folder, kMaxPathChars + 1, L"%ls%ls%ls", settingsFolder, separator, kFolderName) > 0 &&
             swprintf(gRecovery.copy, kMaxPathChars + 1, L"%ls\\%ls%ls", gRecovery.folder, id, kCopyExtension) > 0 &&
             swprintf(gRecovery.lock, kMaxPathChars + 1, L"%ls\\%ls%ls", gRecovery.folder, id, kLockExtension) > 0;
  if (!fits || !settingsFolder[0]) gRecovery.folder[0] = 0;
}

void RecoveryTextChanged() { InterlockedExchange(&gRecovery.changed, 1); }

void RecoveryWriteIfChanged(HWND owner) {
  HWND editor = EditorWindow();
  if (!editor || !gRecovery.folder[0] || !gRecovery.changed) return;
  if (!SendMessageW(editor, EM_GETMODIFY, 0, 0)) return;
  if (gRecovery.writer) {
    if (WaitForSingleObject(gRecovery.writer, 0) == WAIT_TIMEOUT) return;  // the next time, then
    WaitForWriter();
  }
  if (!HoldLock()) return RecoveryOnWritten(owner, GetLastError());
  WriteJob* job = TakeText(owner);
  if (!job) return RecoveryOnWritten(owner, ERROR_NOT_ENOUGH_MEMORY);
  InterlockedExchange(&gRecovery.changed, 0);
  gRecovery.writer = CreateThread(nullptr, 0, WriteCopy, job, 0, nullptr);
  if (gRecovery.writer) return;
  free(job);
  InterlockedExchange(&gRecovery.changed, 1);
  RecoveryOnWritten(owner, GetLastError());
}

void RecoveryDiscard() {
  WaitForWriter();
  InterlockedExchange(&gRecovery.changed, 0);
  if (gRecovery.copy[0]) DeleteFileW(gRecovery.copy);
}

void RecoveryStop() {
  RecoveryDiscard();
  if (gRecovery.lockFile) CloseHandle(gRecovery.lockFile);
  gRecovery.lockFile = nullptr;
}

void RecoveryOnWritten(HWND owner, DWORD error) {
  if (!error) {
    gRecovery.reported = 0;
    return;
  }
  InterlockedExchange(&gRecovery.changed, 1);  // try again at the next occasion
  if (gRecovery.reported) return;
  gRecovery.reported = 1;
  wchar_t text[300], system[200] = L"";
  GetText(kTextRecoveryFailed, text, 300);
  FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, system, 200, nullptr);
  for (wchar_t* end = system + wcslen(system); end > system && (end[-1] == L'\r' || end[-1] == L'\n');) *--end = 0;
  wchar_t notice[kStatusHelpChars + 1];
  swprintf(notice, kStatusHelpChars + 1, L"%ls %ls", text, system);
  StatusBarSetHelpText(notice);
  SetTimer(owner, kNoticeTimer, kNoticeMs, ClearNotice);
}

int RecoveryOfferLeftover(HWND owner) {
  wchar_t found[kMaxPathChars + 1];
  FILETIME written{};
  if (!gRecovery.folder[0] || !FindLeftOver(found, &written)) return 0;
  // Taken over first, so that a second program starting now cannot offer it too.
  if (!HoldLock() || !MoveFileExW(found, gRecovery.copy, 0)) return 0;
  TextBuffer buffer{};
  wchar_t original[kMaxPathChars + 1];
  const wchar_t* text = nullptr;
  int restored = 0;
  if (!ReadCopy(gRecovery.copy, &buffer, original, &text)) {
    MoveFileExW(gRecovery.copy, found, 0);  // not ours to judge: left where it was
  } else if (AskToRestore(owner, original, written)) {
    DocumentRestore(owner, original, text);
    restored = 1;
  } else {
    KeepAside(owner, original, text, written);
  }
  TextBufferFree(&buffer);
  return restored;
}

const wchar_t* RecoveryFolder() { return gRecovery.folder; }
const wchar_t* RecoveryCopyPath() { return gRecovery.copy; }
