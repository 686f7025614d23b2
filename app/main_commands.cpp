// The command dispatcher of the main window: the handlers that the command
// list names, so menus, toolbar and shortcuts all end in the same place.
#include "app/main_commands.h"

#include <cstdio>
#include <cwchar>

#include "app/app_state.h"
#include "app/config_dialog.h"
#include "app/language_dialog.h"
#include "app/look_commands.h"
#include "app/main_menus.h"
#include "app/main_toolbar.h"
#include "app/main_window.h"
#include "app/help_online.h"
#include "app/settings_commands.h"
#include "app/update_check.h"
#include "app/window_commands.h"
#include "base/paths.h"
#include "base/product.h"
#include "commands/commands.h"
#include "editor/cue_file.h"
#include "editor/document.h"
#include "editor/editor_view.h"
#include "editor/find_replace.h"
#include "editor/marks.h"
#include "editor/print_document.h"
#include "editor/recovery.h"
#include "editor/send_mail.h"
#include "player/player_panel.h"
#include "settings/settings_location.h"
#include "settings/settings_store.h"
#include "settings/settings_values.h"
#include "shortcuts/shortcut_export.h"
#include "ui/message_box.h"
#include "ui/status_bar.h"

namespace {

constexpr WORD kEditorOutOfMemory = 0x500;  // EN_ERRSPACE
constexpr WORD kEditorFull = 0x501;         // EN_MAXTEXT

LRESULT EscapeCommand(HWND window, uint16_t) { return PostMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0), 0; }
LRESULT ExitCommand(HWND window, uint16_t) { return PostMessageW(window, WM_CLOSE, 0, 0), 0; }
LRESULT FileNewCommand(HWND window, uint16_t) { return DocumentNew(window), 0; }
LRESULT FileOpenCommand(HWND window, uint16_t) { return DocumentOpen(window), 0; }
LRESULT FileSaveCommand(HWND window, uint16_t) { return DocumentSave(window); }
LRESULT FileSaveAsCommand(HWND window, uint16_t) { return DocumentSaveAs(window); }
LRESULT ExportCuesCommand(HWND window, uint16_t) { return DocumentExportCues(window); }
LRESULT SelectAllCommand(HWND, uint16_t) { return EditorSelectAll(), 0; }
LRESULT FontCommand(HWND window, uint16_t) { return EditorChooseFont(window), 0; }
LRESULT GoToCommand(HWND window, uint16_t) { return GoToMark(window); }
LRESULT LanguageCommand(HWND window, uint16_t) { return RunLanguageCommand(window); }
LRESULT GoOnlineCommand(HWND window, uint16_t) { return OpenProductPage(window), 0; }
LRESULT HelpCommand(HWND window, uint16_t) { return OpenHelp(window, gApp->languageCode, gApp->options), 0; }
LRESULT CheckForUpdatesCommand(HWND window, uint16_t) { return CheckForUpdates(window), 0; }
LRESULT BackupSettingsCommand(HWND window, uint16_t) { return BackupSettings(window, Settings()), 0; }
LRESULT RestoreSettingsCommand(HWND window, uint16_t) { return RestoreSettings(window, Settings()), 0; }
LRESULT ResetSettingsCommand(HWND window, uint16_t) { return ResetSettings(window, Settings()), 0; }
LRESULT ConfigCommand(HWND window, uint16_t) { return RunConfigurationDialog(window), 0; }

// The shortcut list as a page of its own, opened in the system's viewer.
LRESULT HelpKeysCommand(HWND window, uint16_t) {
  wchar_t path[kMaxPathChars + 1];
  if (ExportShortcutsHtml(path, kMaxPathChars + 1)) gShellOpen(window, path);
  return 0;
}

LRESULT FilePrintCommand(HWND window, uint16_t) { return PrintDocument(window, EditorWindow()), 0; }
LRESULT SendMailCommand(HWND window, uint16_t) { return SendDocumentByMail(window, EditorWindow()), 0; }

// Find and Replace: their commands are greyed while a dialog is open.
LRESULT FindCommand(HWND window, uint16_t command) {
  FindOpenDialog(window, EditorWindow(), command == kCmdReplace);
  RefreshCommandStates();
  return 0;
}
LRESULT FindNextCommand(HWND window, uint16_t) {
  FindNext(window, EditorWindow());
  RefreshCommandStates();
  return 0;
}

// Tab types a tab into the text; from the player panel's controls it brings
// the focus back to the text.
LRESULT TabKeyCommand(HWND, uint16_t) {
  HWND editor = EditorWindow();
  if (GetFocus() == editor)
    SendMessageW(editor, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"\t"));
  else
    SetFocus(editor);
  return 0;
}

// Shift+Tab walks from the text through the player panel's controls and back.
LRESULT ShiftTabKeyCommand(HWND, uint16_t) {
  HWND next = PlayerPanelNextFocus(PlayerPanelWindow(), GetFocus());
  SetFocus(next ? next : EditorWindow());
  return 0;
}

// Undo, Cut, Copy, Paste and Clear: the edit control's own messages.
LRESULT EditorCommand(HWND, uint16_t command) {
  static constexpr struct {
    uint16_t command;
    UINT message;
  } kMessages[] = {{kCmdUndo, WM_UNDO}, {kCmdCut, WM_CUT}, {kCmdCopy, WM_COPY}, {kCmdPaste, WM_PASTE}, {kCmdClear, WM_CLEAR}};
  for (const auto& entry : kMessages)
    if (entry.command == command) SendMessageW(EditorWindow(), entry.message, 0, 0);
  RefreshCommandStates();
  return 0;
}

LRESULT InsertMarkCommand(HWND window, uint16_t command) {
  switch (command) {
    case kCmdInsDateTime: return InsertDateTimeMark(window);
    case kCmdInsVersion: return InsertVersionMark(window);
    case kCmdInsTxtPath: return InsertTextPathMark(window);
    case kCmdInsTxtVerb: return InsertTextVerboseMark(window);
    case kCmdInsSndPath: return InsertSoundPathMark(window);
    case kCmdInsSndVerb: return InsertSoundVerboseMark(window);
    case kCmdInsSndCue: return InsertSoundCueMark(window);
    default: return 0;
  }
}

// The panel runs them in its own time, after the command's source is done.
LRESULT PlayerPanelCommand(HWND, uint16_t command) {
  if (PlayerPanelWindow()) PostMessageW(PlayerPanelWindow(), WM_COMMAND, command, 0);
  return 0;
}

// The status bar (options bit 1); the toolbar has its own in main_toolbar.
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
LRESULT StatusBarCommand(HWND window, uint16_t) { return ToggleBar(window, kOptStatusBarHidden, gStatusBar.window); }

LRESULT WordWrapCommand(HWND window, uint16_t) {
  gApp->options ^= kOptWordWrap;
  EditorSetWordWrap(window, (gApp->options & kOptWordWrap) != 0);
  WriteOptions(Settings(), kSettingOpt.section, gApp->options);
  return 0;
}

LRESULT AfterCreateCommand(HWND window, uint16_t) {
  MainMenusLoadCheckMarks();
  UpdateWindowTitle(window);
  ReopenDocumentAfterRestart(window);
  if (!DocumentPath()[0] && !GetWindowTextLengthW(EditorWindow())) RecoveryOfferLeftover(window);
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
LRESULT AboutCommand(HWND window, uint16_t) {
  wchar_t caption[128], text[kMaxPathChars * 4 + 200];
  GetText(kCmdAbout, caption, 128);
  PlainLabel(caption);
  CutAtSemicolon(caption);
  _snwprintf(text, 200, L"%ls\r\nVersion %hs\r\n", kProductName, kProductVersion);
  text[199] = 0;
  AppendFolderLines(text, sizeof text / sizeof text[0]);
  gMessageBoxRoutine(window, text, caption, MB_ICONINFORMATION | MB_OK);
  return 0;
}

struct CommandRoute {
  uint16_t command;
  CommandHandler run;
};

const CommandRoute kRoutes[] = {
#define TPWR_COMMAND(id, Name, key, places, rule, keys, handler, english, german) {id, handler},
#define TPWR_MENU_COMMAND(id, Name, key, places, handler, english, german) {id, handler},
#define TPWR_INTERNAL(id, Name, handler) {id, handler},
#include "commands/command_list.h"
};

}  // namespace

CommandHandler HandlerForCommand(uint16_t command) {
  for (const CommandRoute& route : kRoutes)
    if (route.command == command) return route.run;
  return nullptr;
}

LRESULT MainWindowOnCommand(HWND window, WPARAM wParam, LPARAM lParam) {
  WORD command = LOWORD(wParam);
  WORD notification = HIWORD(wParam);
  if (lParam && reinterpret_cast<HWND>(lParam) == EditorWindow()) {
    if (notification == kEditorOutOfMemory) return SendMessageW(window, WM_CLOSE, 0, 0), 0;
    if (notification == kEditorFull) return SendMessageW(EditorWindow(), WM_UNDO, 0, 0), 0;
    if (notification == EN_CHANGE) RecoveryTextChanged();
    return DefWindowProcW(window, WM_COMMAND, wParam, lParam);
  }
  if (IsCommandDisabled(command)) return DefWindowProcW(window, WM_COMMAND, wParam, lParam);
  CommandHandler handler = HandlerForCommand(command);
  if (handler) return handler(window, command);
  return DefWindowProcW(window, WM_COMMAND, wParam, lParam);
}
