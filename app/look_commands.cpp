#include "app/look_commands.h"

#include "app/app_state.h"
#include "app/main_menus.h"
#include "app/main_window.h"
#include "commands/commands.h"
#include "settings/settings_store.h"
#include "ui/theme.h"

namespace {

// "Disable" asks for the forced light look; only the start of a run asks for
// the system's default (0).
int ModeRequest(int32_t choice) { return choice == 0 ? 3 : choice; }

void StoreChoice(int32_t choice) {
  if (gApp->themeMode == choice) return;
  gApp->themeMode = choice;
  WriteSetting(Settings(), kSettingDarkMode, static_cast<uint32_t>(choice));
  Flush(Settings());
}

}  // namespace

LRESULT DarkModeCommand(HWND window, uint16_t command) {
  int32_t choice = command - kCmdDarkDisable;
  if (choice < 0 || choice > 2) return 0;
  int32_t before = gApp->themeMode;
  int wasDark = ThemeMode(4);
  StoreChoice(choice);
  if (ThemeMode(ModeRequest(choice)) != wasDark) {
    if (RequestRestart()) return 0;
    StoreChoice(before);
    ThemeMode(ModeRequest(before));
    ThemeClassBackground(window);
  }
  SelectLanguageAndBuildMenus(window);  // the popup offers the other two choices
  ThemeWindow(window);
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
  return 0;
}
