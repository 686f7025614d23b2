#include "player_panel.h"

namespace {

LRESULT CALLBACK PlayerPanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

HWND CreatePlayerPanel(HWND parent, HINSTANCE instance) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = PlayerPanelProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  windowClass.lpszClassName = kPlayerPanelClass;
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  if (!GetClassInfoExW(instance, kPlayerPanelClass, &existing)) RegisterClassExW(&windowClass);
  return CreateWindowExW(0, kPlayerPanelClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, 0,
                         kPlayerPanelHeight, parent, nullptr, instance, nullptr);
}
