// The edit view: creation, subclass, font, colours, line and column.
#include "editor_view.h"

#include <commdlg.h>

#include <cstdio>
#include <cstdlib>

#include "settings/settings_values.h"
#include "ui/status_bar.h"
#include "ui/theme.h"

void (*gEditorStatesChanged)() = nullptr;
void (*gEditorFilesDropped)(HDROP drop) = nullptr;

namespace {

// The edit view's own state.
struct EditorView {
  HWND window;
  int wordWrap;
  uint32_t lastLine;  // what the status bar shows, 1-based; 0 before the first update
  uint32_t lastColumn;
};
EditorView gView;

WNDPROC gEditClassProc = nullptr;

void StatesChanged() {
  if (gEditorStatesChanged) gEditorStatesChanged();
}

LRESULT CALLBACK EditorSubclassProc(HWND editor, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_DROPFILES:
      if (gEditorFilesDropped) gEditorFilesDropped(reinterpret_cast<HDROP>(wParam));
      else DragFinish(reinterpret_cast<HDROP>(wParam));
      return 0;
    case WM_CONTEXTMENU:
      SendMessageW(GetParent(editor), message, wParam, lParam);
      return 1;
    case WM_KEYUP:
    case WM_LBUTTONUP:
    case WM_SETFOCUS:
      StatesChanged();
      break;
    default:
      break;
  }
  LRESULT result = CallWindowProcW(gEditClassProc, editor, message, wParam, lParam);
  // WM_CHAR too: a typed character or line break moves the caret after its key-down.
  if (message == WM_KEYDOWN || message == WM_CHAR || message == WM_MOUSEMOVE || message == WM_LBUTTONDOWN ||
      message == WM_LBUTTONUP)
    UpdateLineColumn(editor);
  return result;
}

HFONT ThemeDialogFont() {
  HMODULE uxtheme = LoadLibraryW(L"uxtheme.dll");
  if (!uxtheme) return nullptr;
  using OpenThemeDataProc = HANDLE(WINAPI*)(HWND, LPCWSTR);
  using GetThemeFontProc = HRESULT(WINAPI*)(HANDLE, HDC, int, int, int, LOGFONTW*);
  using CloseThemeDataProc = HRESULT(WINAPI*)(HANDLE);
  using IsThemeActiveProc = BOOL(WINAPI*)();
  auto isActive = reinterpret_cast<IsThemeActiveProc>(reinterpret_cast<void*>(GetProcAddress(uxtheme, "IsThemeActive")));
  auto open = reinterpret_cast<OpenThemeDataProc>(reinterpret_cast<void*>(GetProcAddress(uxtheme, "OpenThemeData")));
  auto getFont = reinterpret_cast<GetThemeFontProc>(reinterpret_cast<void*>(GetProcAddress(uxtheme, "GetThemeFont")));
  auto close = reinterpret_cast<CloseThemeDataProc>(reinterpret_cast<void*>(GetProcAddress(uxtheme, "CloseThemeData")));
  HFONT font = nullptr;
  if (isActive && open && getFont && close && isActive()) {
    HANDLE theme = open(nullptr, L"AEROWIZARD");
    LOGFONTW description{};
    constexpr int kContentArea = 3, kFontProperty = 210;
    if (theme) {
      if (SUCCEEDED(getFont(theme, nullptr, kContentArea, 0, kFontProperty, &description)) && description.lfFaceName[0])
        font = CreateFontIndirectW(&description);
      close(theme);
    }
  }
  FreeLibrary(uxtheme);
  return font;
}

DWORD EditorStyle() {
  DWORD style = WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_NOHIDESEL;
  if (!gView.wordWrap) style |= WS_HSCROLL;  // no wrapping with a horizontal bar
  return style;
}

HWND CreateEditControl(HWND mainWindow) {
  HWND editor = CreateWindowExW(WS_EX_CLIENTEDGE | WS_EX_ACCEPTFILES, L"EDIT", L"", EditorStyle(), 0, 0, 0, 0,
                                mainWindow, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEditorControlId)),
                                reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(mainWindow, GWLP_HINSTANCE)),
                                nullptr);
  if (!editor) return nullptr;
  // The control's default limit of 32767 characters is far below an hour of
  // speech; 0 lifts it to the control's real maximum.
  SendMessageW(editor, EM_SETLIMITTEXT, 0, 0);
  gEditClassProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(editor, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(EditorSubclassProc)));
  SendMessageW(editor, EM_SETMODIFY, FALSE, 0);
  return editor;
}

}  // namespace

HWND CreateEditor(HWND mainWindow, int wordWrap) {
  gView = EditorView{};
  gView.wordWrap = wordWrap != 0;
  gView.window = CreateEditControl(mainWindow);
  return gView.window;
}

HWND EditorWindow() { return gView.window; }
int EditorWordWrap() { return gView.wordWrap; }

HWND RecreateEditor(HWND mainWindow) {
  HWND old = gView.window;
  int length = GetWindowTextLengthW(old);
  wchar_t* text = static_cast<wchar_t*>(malloc((static_cast<size_t>(length) + 1) * sizeof(wchar_t)));
  if (!text) return old;  // keep the text where it is rather than lose it
  GetWindowTextW(old, text, length + 1);
  BOOL modified = static_cast<BOOL>(SendMessageW(old, EM_GETMODIFY, 0, 0));
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(old, WM_GETFONT, 0, 0));
  int hadFocus = GetFocus() == old;
  HWND editor = CreateEditControl(mainWindow);
  if (!editor) {
    free(text);
    return old;
  }
  DestroyWindow(old);
  gView.window = editor;
  SetWindowTextW(editor, text);
  free(text);
  SendMessageW(editor, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  // Carried over, or closing after a toggle would lose unsaved text without a prompt.
  SendMessageW(editor, EM_SETMODIFY, modified, 0);
  if (hadFocus) SetFocus(editor);
  return editor;
}

HFONT CreateEditorFont() {
  LOGFONTW description{};
  if (ReadFont(Settings(), kSettingFont.section, kSettingFont.name, &description)) {
    HFONT font = CreateFontIndirectW(&description);
    if (font) return font;
  }
  if (HFONT font = ThemeDialogFont()) return font;
  HDC screen = GetDC(nullptr);
  description = LOGFONTW{};
  description.lfHeight = -MulDiv(8, GetDeviceCaps(screen, LOGPIXELSY), 72);
  ReleaseDC(nullptr, screen);
  description.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(description.lfFaceName, L"Tahoma", LF_FACESIZE);
  return CreateFontIndirectW(&description);
}

void ApplyEditorColors() {
  COLORREF colors[2];
  uint32_t useSystem = 0;
  // "Use system colors" keeps the stored pair for the dialog but shows the system's.
  if (!ReadColors(Settings(), kSettingColor.section, kSettingColor.name, colors, &useSystem) || useSystem) {
    colors[0] = ThemeGetColor(kThemeWindowText);
    colors[1] = ThemeGetColor(kThemeWindowBack);
  }
  HWND editor = gView.window;
  if (editor) StatusBarSetFont(reinterpret_cast<HFONT>(SendMessageW(editor, WM_GETFONT, 0, 0)));
  ThemeSetEditorColors(colors[0], colors[1]);
  if (editor) InvalidateRect(editor, nullptr, TRUE);
}

void UpdateLineColumn(HWND editor) {
  DWORD start = 0, end = 0;
  SendMessageW(editor, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  uint32_t line = static_cast<uint32_t>(SendMessageW(editor, EM_LINEFROMCHAR, end, 0)) + 1;
  DWORD lineStart = static_cast<DWORD>(SendMessageW(editor, EM_LINEINDEX, static_cast<WPARAM>(-1), 0));
  uint32_t column = end >= lineStart ? end - lineStart + 1 : 1;
  if (line == gView.lastLine && column == gView.lastColumn) return;
  gView.lastLine = line;
  gView.lastColumn = column;
  wchar_t text[128];
  _snwprintf(text, 128, L"Ln %lu, Col %lu", static_cast<unsigned long>(line), static_cast<unsigned long>(column));
  text[127] = 0;
  StatusBarSetText(kStatusPaneLine, text);
}

void EditorSelectAll() { SendMessageW(gView.window, EM_SETSEL, 0, -1); }

void EditorSetWordWrap(HWND mainWindow, int wordWrap) {
  if ((wordWrap != 0) == gView.wordWrap) return;
  gView.wordWrap = wordWrap != 0;
  RecreateEditor(mainWindow);
  ApplyEditorColors();
  RECT client;
  GetClientRect(mainWindow, &client);
  SendMessageW(mainWindow, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
}

void EditorChooseFont(HWND mainWindow) {
  LOGFONTW description{};
  HFONT current = reinterpret_cast<HFONT>(SendMessageW(gView.window, WM_GETFONT, 0, 0));
  if (current) GetObjectW(current, sizeof description, &description);
  CHOOSEFONTW choose{};
  choose.lStructSize = sizeof choose;
  choose.hwndOwner = mainWindow;
  choose.lpLogFont = &description;
  choose.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT;
  if (!ChooseFontW(&choose)) return;
  HFONT font = CreateFontIndirectW(&description);
  if (!font) return;
  SendMessageW(gView.window, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  if (current) DeleteObject(current);
  WriteFont(Settings(), kSettingFont.section, kSettingFont.name, font);
  ApplyEditorColors();
}
