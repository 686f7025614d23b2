// The status bar window: its class, pane updates through timers, and painting.
#include "ui/status_bar.h"

#include <cwchar>

#include "ui/theme.h"

StatusBar gStatusBar;

namespace {

constexpr UINT kRepaintDelayMs = 100;

int FontHeight(HWND window, HFONT font) {
  HDC dc = GetDC(window);
  HGDIOBJ old = SelectObject(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  SelectObject(dc, old);
  ReleaseDC(window, dc);
  return metrics.tmHeight;
}

void PaneRect(int pane, RECT* rect) {
  GetClientRect(gStatusBar.window, rect);
  rect->left = pane == 0 ? 0 : gStatusBar.panes[pane - 1].rightEdge;
  rect->right = gStatusBar.panes[pane].rightEdge;
}

void UpdateEdges() {
  RECT client;
  GetClientRect(gStatusBar.window, &client);
  int edges[kStatusPanes];
  StatusBarPaneEdges(client.right, client.bottom, edges);
  for (int i = 0; i < kStatusPanes; ++i) gStatusBar.panes[i].rightEdge = edges[i];
}

void PaintPane(HDC dc, int pane) {
  RECT rect;
  PaneRect(pane, &rect);
  if (pane > 0) {  // a thin separator, as native status bars draw it
    RECT line = {rect.left, rect.top + 2, rect.left + 1, rect.bottom - 2};
    FillRect(dc, &line, ThemeGetBrush(kThemeLine));
  }
  const StatusPane& data = gStatusBar.panes[pane];
  if (data.icon) {
    int size = 16;
    DrawIconEx(dc, rect.left + (rect.right - rect.left - size) / 2, (rect.bottom - size) / 2, data.icon, size, size,
               0, nullptr, DI_NORMAL);
  }
  rect.left += 6;
  DrawTextW(dc, data.text, -1, &rect, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
}

void OnPaint(HWND window) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  RECT client;
  GetClientRect(window, &client);
  FillRect(dc, &client, ThemeGetBrush(kThemeFaceBack));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ThemeGetColor(kThemeFaceText));
  HGDIOBJ oldFont = SelectObject(dc, gStatusBar.font ? static_cast<HGDIOBJ>(gStatusBar.font)
                                                     : GetStockObject(DEFAULT_GUI_FONT));
  if (gStatusBar.helpText[0]) {
    client.left += 6;
    DrawTextW(dc, gStatusBar.helpText, -1, &client, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  } else {
    for (int pane = 0; pane < kStatusPanes; ++pane) PaintPane(dc, pane);
  }
  SelectObject(dc, oldFont);
  EndPaint(window, &paint);
}

void OnTimer(HWND window, WPARAM pane) {
  KillTimer(window, pane);
  if (pane >= kStatusPanes || gStatusBar.helpText[0]) return;
  RECT rect;
  PaneRect(static_cast<int>(pane), &rect);
  InvalidateRect(window, &rect, TRUE);
}

LRESULT CALLBACK StatusBarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: OnPaint(window); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_SIZE: UpdateEdges(); InvalidateRect(window, nullptr, TRUE); return 0;
    case WM_TIMER: OnTimer(window, wParam); return 0;
    default: return DefWindowProcW(window, message, wParam, lParam);
  }
}

void ScheduleRepaint(int pane) {
  if (gStatusBar.window) SetTimer(gStatusBar.window, static_cast<UINT_PTR>(pane), kRepaintDelayMs, nullptr);
}

}  // namespace

HWND StatusBarCreate(HWND parent, HINSTANCE instance) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_DBLCLKS;
  windowClass.lpfnWndProc = StatusBarProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = ThemeGetBrush(kThemeFaceBack);
  windowClass.lpszClassName = kStatusBarClass;
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  if (!GetClassInfoExW(instance, kStatusBarClass, &existing)) RegisterClassExW(&windowClass);
  gStatusBar = StatusBar{};
  gStatusBar.window = CreateWindowExW(0, kStatusBarClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, 0,
                                      StatusBarHeight(), parent, nullptr, instance, nullptr);
  ThemeClassBackground(gStatusBar.window);
  return gStatusBar.window;
}

void StatusBarSetText(int pane, const wchar_t* text) {
  if (pane < 0 || pane >= kStatusPanes) return;
  wcsncpy(gStatusBar.panes[pane].text, text, kStatusPaneChars);
  gStatusBar.panes[pane].text[kStatusPaneChars] = 0;
  ScheduleRepaint(pane);
}

void StatusBarSetIcon(int pane, HICON icon) {
  if (pane < 0 || pane >= kStatusPanes || gStatusBar.panes[pane].icon == icon) return;
  gStatusBar.panes[pane].icon = icon;
  ScheduleRepaint(pane);
}

void StatusBarSetHelpText(const wchar_t* text) {
  wcsncpy(gStatusBar.helpText, text ? text : L"", kStatusHelpChars);
  gStatusBar.helpText[kStatusHelpChars] = 0;
  if (gStatusBar.window) InvalidateRect(gStatusBar.window, nullptr, TRUE);
}

int StatusBarShowsHelp() { return gStatusBar.helpText[0] != 0; }

void StatusBarSetFont(HFONT font) {
  gStatusBar.font = font;
  if (gStatusBar.window) InvalidateRect(gStatusBar.window, nullptr, TRUE);
}

int StatusBarIsVisible() { return gStatusBar.window && IsWindowVisible(gStatusBar.window); }

int StatusBarHeight() {
  int text = gStatusBar.window ? FontHeight(gStatusBar.window, gStatusBar.font) : 0;
  return (text + 4 > 20 ? text + 4 : 20) + 5;
}

void StatusBarPaneEdges(int width, int height, int edges[kStatusPanes]) {
  int iconPane = height + 19;
  int rest = width - iconPane;
  edges[2] = width;
  edges[1] = rest;
  edges[0] = rest - rest / 2;
  for (int i = 0; i < kStatusPanes; ++i)
    if (edges[i] < 0) edges[i] = 0;
}
