// Main window procedure: one named handler per message.
#include "main_window.h"

#include <commctrl.h>
#include <initializer_list>
#include <ole2.h>

#include "app/app_state.h"
#include "app/main_commands.h"
#include "app/main_menus.h"
#include "app/main_toolbar.h"
#include "app/window_commands.h"
#include "base/paths.h"
#include "base/product.h"
#include "commands/commands.h"
#include "editor/document.h"
#include "editor/editor_view.h"
#include "editor/find_replace.h"
#include "editor/recovery.h"
#include "player/player_commands.h"
#include "player/player_messages.h"
#include "player/player_panel.h"
#include "player/player_thread.h"
#include "settings/settings_values.h"
#include "shortcuts/keyboard_hook.h"
#include "shortcuts/shortcut_settings.h"
#include "ui/status_bar.h"
#include "ui/theme.h"

AppState* gApp = nullptr;
HWND gMainWindow = nullptr;

namespace {

// What a restart carries from the old window to the new one; it outlives the
// application record, which is zeroed between the runs.
struct ReopenRecord {
  wchar_t path[kMaxPathChars + 1];
  uint32_t caretLine;  // 0-based
};
ReopenRecord gReopen;

constexpr UINT_PTR kAutosaveTimer = 1;
constexpr int kMinTrackWidth = 350;
constexpr int kMinEditorHeight = 100;

void SaveWindowSettings(HWND window, int withFindOptions) {
  SettingsStore* store = Settings();
  WriteWindowPos(store, kSettingPos.section, window);
  WriteOptions(store, kSettingOpt.section, gApp->options);
  if (withFindOptions) FindReplaceSaveOptions();
}

void ReadIconSizes() {
  SettingsStore* store = Settings();
  gApp->toolbarIconSize = static_cast<uint16_t>(ReadSetting(store, kSettingIconTB));
  gApp->menuIconSize = static_cast<uint16_t>(ReadSetting(store, kSettingIconMn));
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  if (gApp->menuIconSize < 16) gApp->menuIconSize = work.right - work.left >= 2000 ? 32 : 16;
  if (gApp->toolbarIconSize < 16) gApp->toolbarIconSize = 32;
}

void ShowBars() {
  if (gToolbar.window) ShowWindow(gToolbar.window, (gApp->options & kOptToolbarHidden) ? SW_HIDE : SW_SHOW);
  if (gStatusBar.window) ShowWindow(gStatusBar.window, (gApp->options & kOptStatusBarHidden) ? SW_HIDE : SW_SHOW);
}

void WriteRecoveryCopy() { RecoveryWriteIfChanged(gMainWindow); }

// The recovery copies live beside the settings file (so beside the program in portable use).
void StartRecovery(HWND window) {
  wchar_t folder[kMaxPathChars + 1];
  CopyTextBounded(folder, kMaxPathChars + 1, Settings()->path);
  if (wchar_t* separator = const_cast<wchar_t*>(LastPathSeparator(folder))) *separator = 0;
  else folder[0] = 0;
  RecoveryStart(folder);
  // Autosave 0 turns the copies off, those at a pause too.
  uint32_t seconds = ReadSetting(Settings(), kSettingAutosave);
  if (!seconds) return;
  gPlayerPanelPaused = WriteRecoveryCopy;
  SetTimer(window, kAutosaveTimer, seconds > 86400 ? 86400000u : seconds * 1000u, nullptr);
}

void ApplyAlwaysOnTop(HWND window) {
  SetWindowPos(window, (gApp->options & kOptAlwaysOnTop) ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE);
}

LRESULT OnCreate(HWND window) {
  SettingsStore* store = Settings();
  ReadIconSizes();
  gApp->options = ReadOptions(store, kSettingOpt.section, 0);
  FindReplaceStart();
  ThemeReleaseEditorColors();
  gMainWindow = window;
  ThemeWindow(window);
  CreateMainToolbar(window);
  StatusBarCreate(window, gApp->instance);
  OleInitialize(nullptr);
  HFONT font = CreateEditorFont();
  // The editor reports drops and state changes through these; without them a
  // dropped file would be ignored and the Edit commands never re-greyed.
  gEditorFilesDropped = DocumentOpenDropped;
  gEditorStatesChanged = RefreshCommandStates;
  HWND editor = CreateEditor(window, (gApp->options & kOptWordWrap) != 0);
  DocumentStart();
  HWND panel = CreatePlayerPanel(window, gApp->instance);
  if (!editor || !panel) {
    if (font) DeleteObject(font);
    PostQuitMessage(0);
    return 0;
  }
  SendMessageW(editor, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  ApplyEditorColors();
  ShowBars();
  SetShortcutTargetWindow(window);
  SetWindowRescueRoutine(ResetWindowPosition);
  LoadShortcuts();  // before the menus, which show the shortcuts
  SelectLanguageAndBuildMenus(window);
  ApplyAlwaysOnTop(window);
  StartRecovery(window);
  PostMessageW(window, WM_COMMAND, kCmdAfterCreate, 2);
  MainMenusBuildIcons();
  return 0;
}

LRESULT OnClose(HWND window) {
  if (!QueryCloseDocument(window)) return 0;
  SaveWindowSettings(window, 1);
  return DefWindowProcW(window, WM_CLOSE, 0, 0);
}

// Windows asks before a logoff or shutdown: Cancel in the save prompt, or a
// save that failed, must keep the session (and the text) alive.
LRESULT OnQueryEndSession(HWND window) {
  SaveWindowSettings(window, 0);
  Flush(Settings());
  return QueryCloseDocument(window) ? TRUE : FALSE;
}

LRESULT OnDestroy(HWND window) {
  if (gPlayerThread) PlayerPostCommand(PC_QUIT, 0, 0);  // it ends on its own; nobody waits
  SaveWindowSettings(window, 1);
  KillTimer(window, kAutosaveTimer);
  gPlayerPanelPaused = nullptr;
  RecoveryStop();
  OleUninitialize();
  if (HWND editor = EditorWindow()) {
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(editor, WM_GETFONT, 0, 0));
    if (font) DeleteObject(font);
  }
  ThemeReleaseEditorColors();
  DestroyToolbar(&gToolbar);
  FreeMainMenus();
  PostQuitMessage(0);
  return 0;
}

LRESULT OnGetMinMaxInfo(HWND window, LPARAM lParam) {
  if (!gApp->minTrackWidth) return DefWindowProcW(window, WM_GETMINMAXINFO, 0, lParam);
  auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
  info->ptMinTrackSize.x = gApp->minTrackWidth;
  info->ptMinTrackSize.y = gApp->minTrackHeight;
  return 1;
}

LRESULT OnCtlColorEdit(WPARAM wParam) {
  HDC dc = reinterpret_cast<HDC>(wParam);
  SetTextColor(dc, ThemeEditorTextColor());
  SetBkColor(dc, ThemeEditorBackColor());
  return reinterpret_cast<LRESULT>(ThemeEditorBrush());
}

void OnTimer(HWND window, UINT_PTR timer) {
  if (timer == kAutosaveTimer) RecoveryWriteIfChanged(window);
}

void OnSetFocus() {
  if (HWND editor = EditorWindow()) SetFocus(editor);
  RefreshCommandStates();
}

void OnSysColorChange(HWND window) {
  ThemeRefresh();
  for (HWND themed : {window, gStatusBar.window, PlayerPanelWindow()}) ThemeClassBackground(themed);
  MainMenusLoadCheckMarks();  // also takes the menu font afresh
  ApplyEditorColors();
}

void MoveIfChanged(HWND child, const RECT& to) {
  RECT now;
  GetWindowRect(child, &now);
  MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&now), 2);
  if (EqualRect(&now, &to)) return;
  MoveWindow(child, to.left, to.top, to.right - to.left, to.bottom - to.top, TRUE);
}

// What the Find or Replace dialog asks for; a closed dialog ungreys the commands.
LRESULT OnFindReplace(LPARAM lParam) {
  FindOnDialogMessage(EditorWindow(), reinterpret_cast<const FINDREPLACEW*>(lParam));
  RefreshCommandStates();
  return 0;
}

LRESULT OnNotify(HWND window, LPARAM lParam) {
  int handled = 0;
  LRESULT result = MainToolbarOnNotify(reinterpret_cast<NMHDR*>(lParam), &handled);
  return handled ? result : DefWindowProcW(window, WM_NOTIFY, 0, lParam);
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // A registered message has no fixed number to switch on.
  if (gFind.message && message == gFind.message) return OnFindReplace(lParam);
  switch (message) {
    case WM_CREATE: return OnCreate(window);
    case WM_CLOSE: return OnClose(window);
    case WM_QUERYENDSESSION: return OnQueryEndSession(window);
    case WM_DESTROY: return OnDestroy(window);
    case WM_SIZE:
      if (wParam != SIZE_MINIMIZED) LayoutMainWindow(window);
      break;
    case WM_NOTIFY: return OnNotify(window, lParam);
    case WM_SETFOCUS: OnSetFocus(); break;
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE: OnSysColorChange(window); break;
    case WM_GETMINMAXINFO: return OnGetMinMaxInfo(window, lParam);
    case WM_CTLCOLOREDIT: return OnCtlColorEdit(wParam);
    case WM_INITMENUPOPUP: MainMenusOnInitPopup(reinterpret_cast<HMENU>(wParam), HIWORD(lParam)); break;
    case WM_MENUSELECT: MainMenusOnSelect(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HMENU>(lParam)); break;
    case WM_EXITMENULOOP: MainMenusOnExitLoop(); break;
    case WM_CONTEXTMENU: MainMenusOnContextMenu(window, wParam, lParam); break;
    case WM_MEASUREITEM:
      if (wParam == 0 && MainMenusOnMeasureItem(reinterpret_cast<MEASUREITEMSTRUCT*>(lParam))) return TRUE;
      break;
    case WM_DRAWITEM:
      if (wParam == 0 && MainMenusOnDrawItem(reinterpret_cast<DRAWITEMSTRUCT*>(lParam))) return TRUE;
      break;
    case WM_MENUCHAR: return MainMenusOnMenuChar(static_cast<wchar_t>(LOWORD(wParam)), reinterpret_cast<HMENU>(lParam));
    case WM_COMMAND: return MainWindowOnCommand(window, wParam, lParam);
    case WM_TIMER: OnTimer(window, wParam); return 0;
    case kRecoveryWrittenMessage: RecoveryOnWritten(window, static_cast<DWORD>(wParam)); return 0;
    case WM_USER + 7: return 0;
    default: break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

void RegisterMainWindowClass(HINSTANCE instance, HICON largeIcon, HICON smallIcon) {
  HBRUSH background = ThemeGetBrush(kThemeFaceBack);
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExW(instance, kMainWindowClass, &existing)) {
    if (existing.hbrBackground == background) return;
    UnregisterClassW(kMainWindowClass, instance);  // a restart after a change of look
  }
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_DBLCLKS;
  windowClass.lpfnWndProc = MainWindowProc;
  windowClass.cbWndExtra = 4;
  windowClass.hInstance = instance;
  windowClass.hIcon = largeIcon;
  windowClass.hIconSm = smallIcon;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = background;
  windowClass.lpszClassName = kMainWindowClass;
  RegisterClassExW(&windowClass);
}

}  // namespace

void ComputeMainLayout(int width, int height, int toolbarHeight, int statusBarHeight, int panelHeight,
                       MainLayout* layout) {
  int remaining = height - toolbarHeight - statusBarHeight;
  SetRect(&layout->statusBar, 0, height - statusBarHeight, width, height);
  SetRect(&layout->playerPanel, 0, toolbarHeight + remaining - panelHeight, width, toolbarHeight + remaining);
  SetRect(&layout->editor, 0, toolbarHeight, width, toolbarHeight + remaining - panelHeight);
  if (layout->editor.bottom < layout->editor.top) layout->editor.bottom = layout->editor.top;
  layout->minTrackWidth = kMinTrackWidth;
  layout->minTrackHeight = toolbarHeight + statusBarHeight + kMinEditorHeight + panelHeight;
}

void LayoutMainWindow(HWND window) {
  RECT client;
  GetClientRect(window, &client);
  int statusHeight = StatusBarIsVisible() ? StatusBarHeight() : 0;
  if (gToolbar.window) SendMessageW(gToolbar.window, TB_AUTOSIZE, 0, 0);
  int toolbarHeight = ToolbarVisibleHeight(&gToolbar);
  MainLayout layout;
  ComputeMainLayout(client.right, client.bottom, toolbarHeight, statusHeight, kPlayerPanelHeight, &layout);
  if (statusHeight) MoveIfChanged(gStatusBar.window, layout.statusBar);
  if (HWND panel = PlayerPanelWindow()) MoveIfChanged(panel, layout.playerPanel);
  if (HWND editor = EditorWindow()) MoveIfChanged(editor, layout.editor);
  gApp->minTrackWidth = layout.minTrackWidth;
  gApp->minTrackHeight = layout.minTrackHeight;
}

HWND CreateMainWindow(HINSTANCE instance, int showCommand) {
  InitCommonControls();
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_DATE_CLASSES};
  InitCommonControlsEx(&controls);
  gApp->themeMode = static_cast<int32_t>(ReadSetting(Settings(), kSettingDarkMode));
  ThemeMode(gApp->themeMode);  // before any window, whose class takes the look's brush
  gApp->instance = instance;
  gApp->largeIcon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON, 32, 32, 0));
  HICON smallIcon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON, 16, 16, 0));
  SettingsPlacement placement{};
  ReadWindowPos(Settings(), kSettingPos.section, &placement, 600, 500);
  RegisterMainWindowClass(instance, gApp->largeIcon, smallIcon);
  HWND window = CreateWindowExW(0, kMainWindowClass, kProductName, WS_OVERLAPPEDWINDOW, placement.left,
                                placement.top, placement.width, placement.height, nullptr, nullptr, instance, nullptr);
  if (!window) return nullptr;
  ShowWindow(window, placement.state == 3 ? SW_MAXIMIZE : showCommand);
  return window;
}

void RefreshCommandStates() { MainMenusUpdateStates(); }

int RequestRestart() {
  if (!PrepareRestart()) return 0;
  RestartMainWindow();
  return 1;
}

int PrepareRestart() {
  if (!QueryCloseDocument(gMainWindow)) return 0;
  gReopen = ReopenRecord{};
  CopyTextBounded(gReopen.path, kMaxPathChars + 1, DocumentPath());
  if (HWND editor = EditorWindow()) {
    DWORD start = 0, end = 0;
    SendMessageW(editor, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    gReopen.caretLine = static_cast<uint32_t>(SendMessageW(editor, EM_LINEFROMCHAR, end, 0));
  }
  return 1;
}

void RestartMainWindow() {
  ++gApp->restartCount;
  SuppressWrites(Settings());
  DestroyWindow(gMainWindow);
}

void ReopenDocumentAfterRestart(HWND window) {
  if (!gReopen.path[0]) return;
  ReopenRecord reopen = gReopen;
  gReopen = ReopenRecord{};
  if (!DocumentOpenFile(window, reopen.path)) return;
  HWND editor = EditorWindow();
  LRESULT at = SendMessageW(editor, EM_LINEINDEX, reopen.caretLine, 0);
  if (at < 0) return;  // the file has fewer lines now
  SendMessageW(editor, EM_SETSEL, static_cast<WPARAM>(at), at);
  SendMessageW(editor, EM_SCROLLCARET, 0, 0);
  UpdateLineColumn(editor);
}
