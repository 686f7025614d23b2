#include "app/help_online.h"

#include <shellapi.h>

#include <cstdio>
#include <cwchar>
#include <initializer_list>

#include "base/paths.h"
#include "base/product.h"
#include "base/text_limits.h"
#include "language/language.h"

namespace {

// HTML Help lives in hhctrl.ocx, found through its registered class; the
// entry is taken by ordinal and kept for the run.
using HtmlHelpRoutine = HWND(WINAPI*)(HWND caller, const wchar_t* file, UINT command, DWORD_PTR data);
constexpr UINT kHelpDisplayTopic = 0;  // HH_DISPLAY_TOPIC
constexpr wchar_t kHtmlHelpClass[] = L"CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32";

struct HtmlHelpLoader {
  HtmlHelpRoutine routine;
  int failed;
};
HtmlHelpLoader gHtmlHelp;

int ShellExecuteOpen(HWND owner, const wchar_t* target) {
  SHELLEXECUTEINFOW run{};
  run.cbSize = sizeof run;
  run.hwnd = owner;
  run.lpFile = target;
  run.nShow = SW_SHOWNORMAL;
  return ShellExecuteExW(&run) != FALSE;
}

HMODULE LoadRegisteredHtmlHelp() {
  wchar_t value[kMaxPathChars + 1] = L"", expanded[kMaxPathChars + 1] = L"";
  DWORD type = 0, bytes = sizeof value - sizeof(wchar_t);
  if (RegGetValueW(HKEY_CLASSES_ROOT, kHtmlHelpClass, nullptr, RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND,
                   &type, value, &bytes) != ERROR_SUCCESS)
    return nullptr;
  const wchar_t* library = value;
  if (type == REG_EXPAND_SZ && ExpandEnvironmentStringsW(value, expanded, kMaxPathChars + 1)) library = expanded;
  return LoadLibraryW(library);
}

HtmlHelpRoutine HtmlHelp() {
  if (gHtmlHelp.routine || gHtmlHelp.failed) return gHtmlHelp.routine;
  HMODULE library = LoadRegisteredHtmlHelp();
  if (!library) library = LoadLibraryW(L"hhctrl.ocx");
  if (library)
    gHtmlHelp.routine =
        reinterpret_cast<HtmlHelpRoutine>(reinterpret_cast<void*>(GetProcAddress(library, MAKEINTRESOURCEA(15))));
  gHtmlHelp.failed = gHtmlHelp.routine == nullptr;
  return gHtmlHelp.routine;
}

void OpenChm(HWND owner, const wchar_t* path, uint32_t options) {
  HtmlHelpRoutine routine = HtmlHelp();
  if (!routine) return;
  int owned = (options & 8) != 0;  // always on top: the help window must stay with the main window
  HWND help = routine(owned ? owner : GetDesktopWindow(), path, kHelpDisplayTopic, 0);
  if (!help || owned) return;
  const UINT keep = SWP_NOMOVE | SWP_NOSIZE;
  SetWindowPos(help, HWND_TOPMOST, 0, 0, 0, 0, keep);
  SetWindowPos(help, HWND_NOTOPMOST, 0, 0, 0, 0, keep);
  SetWindowPos(help, HWND_TOP, 0, 0, 0, 0, keep);
}

// Windows no longer opens WinHelp files itself: the command is started, the
// path quoted so that a folder with blanks stays one argument.
void OpenHlp(const wchar_t* path) {
  wchar_t command[kMaxPathChars + 16];
  swprintf(command, sizeof command / sizeof command[0], L"WinHelp \"%ls\"", path);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) return;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
}

int IsGermanSystem() {
  char code[kLanguageCodeChars + 1] = "";
  ChooseLanguageCode("", GetSystemDefaultLangID(), code, sizeof code);
  return lstrcmpA(code, "DE") == 0;
}

}  // namespace

int (*gShellOpen)(HWND owner, const wchar_t* target) = ShellExecuteOpen;

HelpKind FindHelpFile(const wchar_t* programFile, const char* languageCode, wchar_t* path, size_t capacity) {
  static constexpr struct {
    HelpKind kind;
    const wchar_t* extension;
  } kKinds[] = {{kHelpChm, L"CHM"}, {kHelpHlp, L"HLP"}, {kHelpHtm, L"HTM"}};
  const wchar_t* name = FileNamePart(programFile);
  int folderLength = static_cast<int>(name - programFile);
  int stemLength = 0;
  while (stemLength < 5 && name[stemLength] && name[stemLength] != L'.') stemLength++;
  for (const auto& kind : kKinds) {
    for (const char* code : {languageCode, "US"}) {
      if (!code || !code[0]) continue;
      swprintf(path, capacity, L"%.*ls%.*ls_%hs.%ls", folderLength, programFile, stemLength, name, code, kind.extension);
      if (GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES) return kind.kind;
    }
  }
  if (capacity) path[0] = 0;
  return kHelpNone;
}

void OpenHelp(HWND owner, const char* languageCode, uint32_t options) {
  wchar_t program[kMaxPathChars + 1], path[kMaxPathChars + 32];
  if (!ProgramFilePath(program, kMaxPathChars + 1)) return;
  switch (FindHelpFile(program, languageCode, path, sizeof path / sizeof path[0])) {
    case kHelpChm: OpenChm(owner, path, options); break;
    case kHelpHlp: OpenHlp(path); break;
    case kHelpHtm: gShellOpen(owner, path); break;
    case kHelpNone: break;  // no help beside the program: nothing to show
  }
}

void ProductPageAddress(int germanSystem, wchar_t* address, size_t capacity) {
  swprintf(address, capacity, L"%ls/%hs/%lc.htm", kMakerSite, kProductCode, germanSystem ? L'd' : L'e');
  for (wchar_t* c = address; *c; ++c)
    if (*c == L'\\') *c = L'/';
}

void OpenProductPage(HWND owner) {
  wchar_t address[256];
  ProductPageAddress(IsGermanSystem(), address, 256);
  gShellOpen(owner, address);
}
