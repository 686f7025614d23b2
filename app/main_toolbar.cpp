#include "app/main_toolbar.h"

#include "app/app_state.h"
#include "app/main_menus.h"
#include "app/main_window.h"
#include "commands/commands.h"
#include "language/language.h"
#include "resources/resource_ids.h"
#include "settings/settings_store.h"
#include "ui/theme.h"

const ToolbarButtonRecord kMainToolbarCatalogue[] = {
    {kToolbarSeparator, -1, kToolbarStyleSeparator},
    {kCmdExit, 0, 0},
    {kCmdHelpContents, 1, 0},
    {kCmdRew, 23, 0},
    {kCmdPlay, 24, 0},
    {kCmdPause, 25, 0},
    {kCmdStop, 26, 0},
    {kCmdFF, 27, 0},
    {kCmdAmpFileOpen, 28, 0},
    {kCmdFileNew, 9, 0},
    {kCmdFileOpen, 10, 0},
    {kCmdFileSave, 11, 0},
    {kCmdFileSaveAs, 12, 0},
    {kCmdFilePrint, 13, 0},
    {kCmdSendMail, 14, 0},
    {kCmdUndo, 15, 0},
    {kCmdCut, 16, 0},
    {kCmdCopy, 17, 0},
    {kCmdPaste, 18, 0},
    {kCmdClear, 19, 0},
    {kCmdFind, 20, 0},
    {kCmdFindNext, 2, 0},
    {kCmdReplace, 3, 0},
    {kCmdGoTo, 22, 0},
    {kCmdFont, 6, 0},
    {0, 0, 0},
};

const uint16_t kMainToolbarDefaultLayout[] = {
    kCmdFileNew, kCmdFileOpen, kCmdFileSave, kCmdAmpFileOpen, kCmdSendMail, kToolbarSeparator, kCmdUndo, kCmdCut,
    kCmdCopy, kCmdPaste, kCmdClear, kToolbarSeparator, kCmdFind, kCmdGoTo, 0};

ToolbarConfig gToolbar = {
    nullptr, nullptr, nullptr, kMainToolbarId, kMainToolbarCatalogue, kMainToolbarDefaultLayout, nullptr,
    &kSettingToolbar, 0, kToolbarSeparator, IDB_TOOLBAR_NORMAL, IDB_TOOLBAR_HOT, {}, nullptr, nullptr};

HWND CreateMainToolbar(HWND window) {
  gToolbar.store = Settings();
  return CreateToolbar(&gToolbar, window, gApp->instance, gApp->toolbarIconSize, nullptr);
}

namespace {

// The dark look paints the bar's ground itself; the buttons stay the control's.
LRESULT OnCustomDraw(NMCUSTOMDRAW* draw) {
  if (!ThemeIsDark()) return CDRF_DODEFAULT;
  if (draw->dwDrawStage == CDDS_PREERASE || draw->dwDrawStage == CDDS_PREPAINT) {
    RECT client;
    GetClientRect(draw->hdr.hwndFrom, &client);
    FillRect(draw->hdc, &client, ThemeGetBrush(kThemeFaceBack));
    return draw->dwDrawStage == CDDS_PREERASE ? CDRF_SKIPDEFAULT : CDRF_DODEFAULT;
  }
  return CDRF_DODEFAULT;
}

}  // namespace

LRESULT MainToolbarOnNotify(NMHDR* header, int* handled) {
  *handled = 0;
  if (header->code == TTN_GETDISPINFOW) {
    auto* info = reinterpret_cast<NMTTDISPINFOW*>(header);
    if (!FindToolbarButton(kMainToolbarCatalogue, static_cast<uint16_t>(header->idFrom))) return 0;
    GetTooltipText(static_cast<uint16_t>(header->idFrom), info->szText, sizeof info->szText / sizeof info->szText[0]);
    info->lpszText = info->szText;
    info->hinst = nullptr;
    *handled = 1;
    return 0;
  }
  if (header->code == NM_CUSTOMDRAW && header->hwndFrom == gToolbar.window) {
    *handled = 1;
    return OnCustomDraw(reinterpret_cast<NMCUSTOMDRAW*>(header));
  }
  return 0;
}

LRESULT ToolbarCommand(HWND window, uint16_t) {
  if (gToolbar.window && IsWindowVisible(gToolbar.window)) {
    gApp->options |= kOptToolbarHidden;
    ShowWindow(gToolbar.window, SW_HIDE);
  } else {
    gApp->options &= ~kOptToolbarHidden;
    if (gToolbar.window) ShowWindow(gToolbar.window, SW_SHOW);
  }
  LayoutMainWindow(window);
  InvalidateRect(window, nullptr, TRUE);
  return 0;
}

// After OK: the layout and a changed icon size are stored, and the toolbar is
// made anew with them.
LRESULT OptToolbarCommand(HWND window, uint16_t) {
  uint16_t size = RunToolbarDialog(window);
  if (!size) return 0;
  SaveToolbarLayout(&gToolbar);
  if (size != ReadSetting(Settings(), kSettingIconTB)) {
    WriteSetting(Settings(), kSettingIconTB, size);
    Flush(Settings());
  }
  gApp->toolbarIconSize = size;
  CreateToolbar(&gToolbar, window, gApp->instance, size, gToolbar.layout);
  ShowWindow(gToolbar.window, (gApp->options & kOptToolbarHidden) ? SW_HIDE : SW_SHOW);
  MainMenusUpdateStates(1);
  LayoutMainWindow(window);
  InvalidateRect(window, nullptr, TRUE);
  return 0;
}
