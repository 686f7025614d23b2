// Handing the transcript to the mail program through Simple MAPI.
#include "editor/send_mail.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <cwchar>

#include "base/text_builder.h"
#include "base/text_limits.h"
#include "language/language.h"
#include "ui/message_box.h"

namespace {

constexpr UINT kQuietErrorMode = SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX;
// Without best fit, a character the code page lacks becomes the default
// character rather than a look-alike letter.
constexpr DWORD kAnsiFlags = WC_NO_BEST_FIT_CHARS;

int OpenSystemMapi(MailEntryPoints* entries) {
  *entries = MailEntryPoints{};
  HMODULE library = LoadSystemMapiLibrary();
  if (!library) return 0;
  entries->library = library;
  entries->sendWide = reinterpret_cast<MapiSendMailWide>(reinterpret_cast<void*>(GetProcAddress(library, "MAPISendMailW")));
  entries->sendAnsi = reinterpret_cast<MapiSendMailAnsi>(reinterpret_cast<void*>(GetProcAddress(library, "MAPISendMail")));
  if (entries->sendWide || entries->sendAnsi) return 1;
  FreeLibrary(library);
  *entries = MailEntryPoints{};
  return 0;
}

// The subject in ANSI, whole characters only, at most kMailSubjectChars - 1 bytes.
void AnsiSubject(const wchar_t* subject, char* out) {
  size_t used = 0;
  for (size_t i = 0; subject[i];) {
    int units = (subject[i] >= 0xD800 && subject[i] <= 0xDBFF && subject[i + 1]) ? 2 : 1;
    char bytes[8];
    int size = WideCharToMultiByte(CP_ACP, kAnsiFlags, subject + i, units, bytes, sizeof bytes, nullptr, nullptr);
    if (size <= 0 || used + static_cast<size_t>(size) > kMailSubjectChars - 1) break;
    memcpy(out + used, bytes, static_cast<size_t>(size));
    used += static_cast<size_t>(size);
    i += static_cast<size_t>(units);
  }
  out[used] = 0;
}

// The body in ANSI (malloc'd, terminated), or null.
char* AnsiBody(const wchar_t* body, size_t length) {
  if (length > 0x3FFFFFFF) return nullptr;
  int count = static_cast<int>(length);
  int size = count ? WideCharToMultiByte(CP_ACP, kAnsiFlags, body, count, nullptr, 0, nullptr, nullptr) : 0;
  if (count && size <= 0) return nullptr;
  char* out = static_cast<char*>(malloc(static_cast<size_t>(size) + 1));
  if (!out) return nullptr;
  if (count) WideCharToMultiByte(CP_ACP, kAnsiFlags, body, count, out, size, nullptr, nullptr);
  out[size] = 0;
  return out;
}

ULONG SendWide(const MailEntryPoints* entries, HWND parent, const wchar_t* subject, const wchar_t* body) {
  wchar_t title[kMailSubjectChars];
  CopyTextBounded(title, kMailSubjectChars, subject);
  MapiMessageWide message{};
  message.subject = title;
  message.noteText = const_cast<wchar_t*>(body);
  return entries->sendWide(0, reinterpret_cast<ULONG_PTR>(parent), &message, MAPI_DIALOG, 0);
}

ULONG SendAnsi(const MailEntryPoints* entries, HWND parent, const wchar_t* subject, const wchar_t* body,
               size_t bodyLength) {
  char title[kMailSubjectChars];
  AnsiSubject(subject, title);
  char* note = AnsiBody(body, bodyLength);
  if (!note) return MAPI_E_INSUFFICIENT_MEMORY;
  MapiMessage message{};
  message.lpszSubject = title;
  message.lpszNoteText = note;
  ULONG result = entries->sendAnsi(0, reinterpret_cast<ULONG_PTR>(parent), &message, MAPI_DIALOG, 0);
  free(note);
  return result;
}

void Report(HWND owner, MailOutcome outcome, ULONG mapiResult) {
  wchar_t message[600];
  TextBuilder builder;
  TextBuilderStart(&builder, message, sizeof message / sizeof message[0]);
  wchar_t line[400];
  GetText(outcome == kMailNoProgram ? kTextNoMailProgram : kTextMailFailed, line, 400);
  TextAppend(&builder, line);
  if (outcome == kMailFailed) {
    TextAppend(&builder, L"\r\n\r\nMAPI ");
    TextAppendNumber(&builder, mapiResult, 1);
  }
  ShowMessage(owner, message, MB_ICONHAND | MB_OK);
}

}  // namespace

int (*gMailOpenRoutine)(MailEntryPoints* entries) = OpenSystemMapi;

HMODULE LoadSystemMapiLibrary() {
  UINT oldMode = SetErrorMode(kQuietErrorMode);
  HMODULE library = LoadLibraryExW(L"mapi32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  SetErrorMode(oldMode);
  return library;
}

MailOutcome SendTextByMail(HWND parent, const wchar_t* subject, const wchar_t* body, size_t bodyLength,
                           ULONG* mapiResult) {
  *mapiResult = MAPI_E_FAILURE;
  MailEntryPoints entries{};
  if (!gMailOpenRoutine(&entries)) return kMailNoProgram;
  ULONG result = MAPI_E_NOT_SUPPORTED;
  if (entries.sendWide) result = SendWide(&entries, parent, subject, body);
  // A mail program without the Unicode call may still take the ANSI one.
  if (result == MAPI_E_NOT_SUPPORTED && entries.sendAnsi) result = SendAnsi(&entries, parent, subject, body, bodyLength);
  if (entries.library) FreeLibrary(entries.library);
  *mapiResult = result;
  switch (result) {
    case SUCCESS_SUCCESS: return kMailHandedOver;
    case MAPI_USER_ABORT: return kMailCancelled;
    case MAPI_E_FAILURE:
    case MAPI_E_LOGIN_FAILURE: return kMailNoProgram;
    default: return kMailFailed;
  }
}

void SendDocumentByMail(HWND mainWindow, HWND editor) {
  wchar_t subject[kMailSubjectChars] = L"";
  GetWindowTextW(mainWindow, subject, static_cast<int>(kMailSubjectChars));
  int length = GetWindowTextLengthW(editor);
  wchar_t* body = static_cast<wchar_t*>(malloc((static_cast<size_t>(length < 0 ? 0 : length) + 1) * sizeof(wchar_t)));
  if (!body) return;
  int got = GetWindowTextW(editor, body, length + 1);
  body[got < 0 ? 0 : got] = 0;
  ULONG mapiResult = 0;
  MailOutcome outcome = SendTextByMail(mainWindow, subject, body, static_cast<size_t>(got < 0 ? 0 : got), &mapiResult);
  free(body);
  if (outcome == kMailNoProgram || outcome == kMailFailed) Report(mainWindow, outcome, mapiResult);
}
