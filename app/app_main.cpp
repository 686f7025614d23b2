// Process entry: the application-state record, one run of the main window and
// its message loop, and the in-process restart.
#include <windows.h>

#include <cstdlib>

#include "app/app_state.h"
#include "app/main_menus.h"
#include "app/main_window.h"
#include "editor/find_replace.h"
#include "settings/settings_store.h"
#include "shortcuts/keyboard_hook.h"

namespace {

int RunApplication(HINSTANCE instance, int showCommand) {
  UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS);
  SetErrorMode(oldMode);
  gMainWindow = CreateMainWindow(instance, showCommand);
  InstallKeyboardHook(&gShortcuts);  // normally done in WM_CREATE already; also when creation failed
  MSG message{};
  if (gMainWindow) {
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
      if (gFind.dialog && IsDialogMessageW(gFind.dialog, &message)) continue;
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  RemoveKeyboardHook(&gShortcuts);
  ReleaseLanguage();
  gMainWindow = nullptr;
  return static_cast<int>(message.wParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  gApp = static_cast<AppState*>(calloc(1, sizeof(AppState)));
  if (!gApp) return 0;
  int exitCode = RunApplication(instance, showCommand);
  while (gApp->restartCount) {
    ResetSuppression(Settings());
    *gApp = AppState{};
    exitCode = RunApplication(instance, showCommand);
  }
  Flush(Settings());
  free(gApp);
  gApp = nullptr;
  return exitCode;
}
