// The command dispatcher of the main window: one table from command number to
// handler, so menus, toolbar and shortcuts all end in the same place.
#include "main_commands.h"

#include <cstdio>
#include <cwchar>

#include "app/app_state.h"
#include "app/command_ids.h"
#include "app/command_table.h"
#include "app/language.h"
#include "app/main_menus.h"
#include "app/status_bar.h"
#include "settings/settings_location.h"
#include "settings/settings_store.h"
#include "app/main_window.h"
#include "editor/document.h"
#include "editor/editor_view.h"
#include "app/language_dialog.h"
#include "app/window_commands.h"
#include "editor/marks.h"

namespace {

constexpr WORD kEditorOutOfMemory = 0x500;  // EN_ERRSPACE
constexpr WORD kEditorFull = 0x501;         // EN_MAXTEXT
constexpr uint16_t kCmdEscape = 25;

void SendToEditor(UINT message) {
  SendMessageW(gApp->editorWindow, message, 0, 0);
  RefreshCommandStates();
}

LRESULT Escape(HWND window) { return PostMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0), 0; }
LRESULT Exit(HWND window) { return PostMessageW(window, WM_CLOSE, 0, 0), 0; }
LRESULT FileNew(HWND window) { return DocumentNew(window), 0; }
LRESULT FileOpen(HWND window) { return DocumentOpen(window), 0; }
LRESULT FileSave(HWND window) { return DocumentSave(window); }
LRESULT FileSaveAs(HWND window) { return DocumentSaveAs(window); }
LRESULT Undo(HWND) { return SendToEditor(WM_UNDO), 0; }
LRESULT Cut(HWND) { return SendToEditor(WM_CUT), 0; }
LRESULT Copy(HWND) { return SendToEditor(WM_COPY), 0; }
LRESULT Paste(HWND) { return SendToEditor(WM_PASTE), 0; }
LRESULT Clear(HWND) { return SendToEditor(WM_CLEAR), 0; }
LRESULT SelectAll(HWND) { return EditorSelectAll(), 0; }
LRESULT WordWrap(HWND window) { return EditorToggleWordWrap(window), 0; }
LRESULT Font(HWND window) { return EditorChooseFont(window), 0; }

// Toolbar (bit 0) has no window yet; the status bar is bit 1.
LRESULT ToggleBar(HWND window, uint32_t bit, HWND bar) {
  if (bar && IsWindowVisible(bar)) {
    gApp->options |= bit;
    ShowWindow(bar, SW_HIDE);
  } else {
    gApp->options &= ~bit;
    if (bar) ShowWindow(bar, SW_SHOW);
  }
  LayoutMainWindow(window);
  InvalidateRect(window, nullptr, TRUE);
  return 0;
}
LRESULT Toolbar(HWND window) { return ToggleBar(window, kOptToolbarHidden, nullptr); }
LRESULT StatusBar(HWND window) { return ToggleBar(window, kOptStatusBarHidden, gStatusBar.window); }

LRESULT AfterCreate(HWND window) {
  MainMenusLoadCheckMarks();
  UpdateWindowTitle(window);
  return 0;
}

void AppendLine(wchar_t* text, size_t capacity, const wchar_t* name, const wchar_t* folder) {
  if (!folder[0]) return;
  size_t used = wcslen(text);
  if (used + 1 >= capacity) return;
  _snwprintf(text + used, capacity - used, L"\r\n%ls - %ls", name, folder);
  text[capacity - 1] = 0;
}

// One line for each folder the program uses; an empty folder is left out.
void AppendFolderLines(wchar_t* text, size_t capacity) {
  wchar_t folder[kMaxPathChars + 1] = L"";
  ProgramFolder(folder, kMaxPathChars + 1);
  AppendLine(text, capacity, L"%MY_PATH%", folder);
  folder[0] = 0;
  if (PerUserSettingsPath(folder, kMaxPathChars + 1))
    if (wchar_t* slash = wcsrchr(folder, L'\\')) *slash = 0;
  AppendLine(text, capacity, L"%APPDATA%", folder);
  DWORD length = GetTempPathW(kMaxPathChars, folder);
  if (length && length < kMaxPathChars && folder[length - 1] == L'\\') folder[length - 1] = 0;
  AppendLine(text, capacity, L"%TEMP%", length && length < kMaxPathChars ? folder : L"");
  AppendLine(text, capacity, L"INI", Settings()->path);
}

// Product information: name and version, then the folders the program uses.
LRESULT About(HWND window) {
  wchar_t caption[128], text[kMaxPathChars * 4 + 200];
  GetText(kCmdAbout, caption, 128);
  PlainLabel(caption);
  CutAtSemicolon(caption);
  _snwprintf(text, 200, L"%ls\r\nVersion %hs\r\n", gApp->productName, kVersionText);
  text[199] = 0;
  AppendFolderLines(text, sizeof text / sizeof text[0]);
  MessageBoxW(window, text, caption, MB_ICONINFORMATION | MB_OK);
  return 0;
}

struct CommandHandler {
  uint16_t command;
  LRESULT (*run)(HWND window);
};

const CommandHandler kHandlers[] = {
    {kCmdEscape, Escape},       {kCmdExit, Exit},           {kCmdFileNew, FileNew},
    {kCmdFileOpen, FileOpen},   {kCmdFileSave, FileSave},   {kCmdFileSaveAs, FileSaveAs},
    {kCmdUndo, Undo},           {kCmdCut, Cut},             {kCmdCopy, Copy},
    {kCmdPaste, Paste},         {kCmdClear, Clear},         {kCmdSelectAll, SelectAll},
    {kCmdToolbar, Toolbar},     {kCmdStatusbar, StatusBar}, {kCmdWordwrap, WordWrap},
    {kCmdFont, Font},           {kCmdAfterCreate, AfterCreate}, {kCmdAbout, About},
    {kCmdLanguage, LanguageCommand}, {kCmdGoOnline, GoOnlineCommand},
    {kCmdInsDateTime, InsertDateTimeMark},   {kCmdInsVersion, InsertVersionMark},
    {kCmdInsTxtPath, InsertTextPathMark},    {kCmdInsTxtVerb, InsertTextVerboseMark},
    {kCmdInsSndPath, InsertSoundPathMark},   {kCmdInsSndVerb, InsertSoundVerboseMark},
    {kCmdInsSndCue, InsertSoundCueMark},     {kCmdGoTo, GoToMark},
};

}  // namespace

LRESULT MainWindowOnCommand(HWND window, WPARAM wParam, LPARAM lParam) {
  WORD command = LOWORD(wParam);
  WORD notification = HIWORD(wParam);
  if (lParam && reinterpret_cast<HWND>(lParam) == gApp->editorWindow) {
    if (notification == kEditorOutOfMemory) return SendMessageW(window, WM_CLOSE, 0, 0), 0;
    if (notification == kEditorFull) return SendMessageW(gApp->editorWindow, WM_UNDO, 0, 0), 0;
    return DefWindowProcW(window, WM_COMMAND, wParam, lParam);
  }
  if (IsCommandDisabled(command)) return DefWindowProcW(window, WM_COMMAND, wParam, lParam);
  if ((command >= kCmdPlay && command <= kCmdFF) || command == kCmdAmpFileOpen) {
    if (gApp->playerWindow) PostMessageW(gApp->playerWindow, WM_COMMAND, wParam, lParam);
    return 0;
  }
  for (const CommandHandler& handler : kHandlers)
    if (handler.command == command) return handler.run(window);
  return DefWindowProcW(window, WM_COMMAND, wParam, lParam);
}
