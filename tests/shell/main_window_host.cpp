#include "main_window_host.h"

#include <cstdlib>

#include "app/app_state.h"
#include "app/main_window.h"
#include "player/player_texts.h"
#include "settings/settings_location.h"

std::wstring MakeTestFolder(const wchar_t* prefix) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  std::wstring folder = std::wstring(temp) + prefix + std::to_wstring(GetTickCount64());
  CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

namespace {

void DispatchPending() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

}  // namespace

void HostMainWindow(const std::wstring& folder, int (*messageBox)(HWND, const wchar_t*, const wchar_t*, UINT)) {
  SettingsRedirectFolders((folder + L"\\Tapewright.exe").c_str(), (folder + L"\\appdata").c_str());
  if (messageBox) {
    gPlayerMessageBox = messageBox;
    gPlayerLanguage = kPlayerEnglish;
  }
  gApp = static_cast<AppState*>(calloc(1, sizeof(AppState)));
  gMainWindow = CreateMainWindow(GetModuleHandleW(nullptr), SW_SHOWNOACTIVATE);
  DispatchPending();
}

void CloseMainWindow() {
  if (gMainWindow) {
    SendMessageW(gApp->editorWindow, EM_SETMODIFY, FALSE, 0);
    DestroyWindow(gMainWindow);
  }
  DispatchPending();
}

std::wstring EditorText() {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(gApp->editorWindow)), L'\0');
  GetWindowTextW(gApp->editorWindow, text.data(), static_cast<int>(text.size() + 1));
  return text;
}
