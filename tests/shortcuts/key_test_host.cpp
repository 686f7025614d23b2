// Runs the main window with the keyboard hook exactly as the program does, for
// run-key-tests.sh to type into. It logs, one line each, what reaches the
// editor (keys, characters, WM_COPY), which commands reach the player panel,
// which window is active and whether the editor has the focus, into <folder>\log.txt; it ends when <folder>\stop
// appears (or after a time limit). The settings file is <folder>\Tapewright.INI
// and the transcript <folder>\talk.txt. When <folder>\open appears, the panel
// opens <folder>\sound.wav.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>

#include "app/app_state.h"
#include "app/main_window.h"
#include "editor/document.h"
#include "editor/editor_view.h"
#include "player/player_panel.h"
#include "settings/settings_location.h"
#include "shortcuts/keyboard_hook.h"

namespace {

constexpr UINT kTickMs = 100;
constexpr ULONGLONG kTimeLimitMs = 240000;

wchar_t gFolder[MAX_PATH];
HANDLE gLog = INVALID_HANDLE_VALUE;
WNDPROC gEditorProc = nullptr;
WNDPROC gPanelProc = nullptr;
HWND gLastActive = reinterpret_cast<HWND>(-1);
HWND gLastFocus = reinterpret_cast<HWND>(-1);
ULONGLONG gStarted = 0;

void Log(const char* format, unsigned value) {
  char line[96];
  int length = snprintf(line, sizeof line, format, value);
  if (length <= 0 || gLog == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(gLog, line, static_cast<DWORD>(length), &written, nullptr);
}

void FolderPath(const wchar_t* name, wchar_t* path) { _snwprintf(path, MAX_PATH, L"%ls\\%ls", gFolder, name); path[MAX_PATH - 1] = 0; }

LRESULT CALLBACK EditorSpy(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_KEYDOWN) Log("EDIT KEYDOWN %u\n", static_cast<unsigned>(wParam));
  if (message == WM_CHAR) Log("EDIT CHAR %u\n", static_cast<unsigned>(wParam));
  if (message == WM_COPY) Log("EDIT COPY %u\n", 0);
  return CallWindowProcW(gEditorProc, window, message, wParam, lParam);
}

LRESULT CALLBACK PanelSpy(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND) Log("PANEL COMMAND %u\n", LOWORD(wParam));
  return CallWindowProcW(gPanelProc, window, message, wParam, lParam);
}

void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
  HWND active = GetActiveWindow();
  if (active != gLastActive) {
    gLastActive = active;
    Log(active == gMainWindow ? "ACTIVE MAIN %u\n" : "ACTIVE OTHER %u\n", 0);
  }
  HWND focus = GetFocus();
  if (focus != gLastFocus) {
    gLastFocus = focus;
    Log(focus == EditorWindow() ? "FOCUS EDITOR %u\n" : "FOCUS OTHER %u\n", 0);
  }
  wchar_t path[MAX_PATH];
  FolderPath(L"open", path);
  if (DeleteFileW(path)) {
    FolderPath(L"sound.wav", path);
    Log("AUDIO OPEN %u\n", PlayerPanelOpenFile(PlayerPanelWindow(), path) ? 1u : 0u);
  }
  FolderPath(L"stop", path);
  if (GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES || GetTickCount64() - gStarted > kTimeLimitMs) {
    SendMessageW(EditorWindow(), EM_SETMODIFY, FALSE, 0);
    if (IsWindow(gMainWindow)) DestroyWindow(gMainWindow);
  }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  lstrcpynW(gFolder, argv[1], MAX_PATH);
  wchar_t path[MAX_PATH];
  FolderPath(L"log.txt", path);
  gLog = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS, 0, nullptr);
  FolderPath(L"Tapewright.exe", path);
  wchar_t appData[MAX_PATH];
  FolderPath(L"appdata", appData);
  SettingsRedirectFolders(path, appData);

  gApp = static_cast<AppState*>(calloc(1, sizeof(AppState)));
  gMainWindow = CreateMainWindow(GetModuleHandleW(nullptr), SW_SHOW);
  InstallKeyboardHook(&gShortcuts);
  if (!gMainWindow) return 3;
  FolderPath(L"talk.txt", path);
  DocumentOpenFile(gMainWindow, path);
  gEditorProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(EditorWindow(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(EditorSpy)));
  gPanelProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(PlayerPanelWindow(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(PanelSpy)));
  SetForegroundWindow(gMainWindow);
  SetFocus(EditorWindow());
  gStarted = GetTickCount64();
  SetTimer(nullptr, 0, kTickMs, Tick);
  Log("READY %u\n", 1);
  MSG message{};
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  RemoveKeyboardHook(&gShortcuts);
  CloseHandle(gLog);
  return 0;
}
