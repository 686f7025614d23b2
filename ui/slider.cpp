// The slider control: painting, hot tracking, dragging and the release.
#include "ui/slider.h"

#include <commctrl.h>

#include <cstdlib>

#include "ui/theme.h"

namespace {

Slider* SliderOf(HWND window) { return reinterpret_cast<Slider*>(GetWindowLongPtrW(window, GWLP_USERDATA)); }

void Repaint(HWND window) { InvalidateRect(window, nullptr, FALSE); }

int OverThumb(const Slider* slider, int x) { return x >= slider->thumbLeft && x < slider->thumbLeft + slider->thumbWidth; }

void Paint(HWND window, Slider* slider) {
  PAINTSTRUCT paint;
  HDC target = BeginPaint(window, &paint);
  RECT client;
  GetClientRect(window, &client);
  HDC dc = CreateCompatibleDC(target);
  HBITMAP bitmap = CreateCompatibleBitmap(target, client.right > 0 ? client.right : 1, client.bottom > 0 ? client.bottom : 1);
  HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
  FillRect(dc, &client, ThemeGetBrush(kThemeFaceBack));
  RECT inner = SliderInnerRect(client, slider->thumbWidth);
  HBRUSH line = ThemeGetBrush(kThemeLine);
  RECT base = {inner.left, inner.bottom - 1, inner.right, inner.bottom};
  FillRect(dc, &base, line);
  slider->thumbLeft = SliderThumbLeft(inner.left, inner.right - inner.left, slider->thumbWidth, slider->position,
                                      slider->maximum);
  RECT thumb = {slider->thumbLeft, inner.top, slider->thumbLeft + slider->thumbWidth, inner.bottom};
  int highlight = slider->hot && IsWindowEnabled(window);
  FillRect(dc, &thumb, highlight ? ThemeGetBrush(kThemeHighlight) : line);
  if (GetFocus() == window) DrawFocusRect(dc, &client);
  BitBlt(target, 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
  SelectObject(dc, oldBitmap);
  DeleteObject(bitmap);
  DeleteDC(dc);
  EndPaint(window, &paint);
}

void RelayToTooltip(HWND window, const Slider* slider, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!slider->tooltip) return;
  MSG relayed = {window, message, wParam, lParam, static_cast<DWORD>(GetMessageTime()), {}};
  GetCursorPos(&relayed.pt);
  SendMessageW(slider->tooltip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
}

void SetHot(HWND window, Slider* slider, int hot) {
  if (slider->hot == hot) return;
  slider->hot = hot;
  Repaint(window);
  SetTimer(window, kSliderHotTimer, kSliderHotTimerMs, nullptr);
}

void OnMouseMove(HWND window, Slider* slider, LPARAM lParam) {
  int x = static_cast<short>(LOWORD(lParam));
  if (slider->dragging) {
    RECT client;
    GetClientRect(window, &client);
    uint32_t position = SliderReleasePosition(x, slider->maximum, client.right);
    if (position > slider->maximum) position = slider->maximum;
    if (position != slider->position) {
      slider->position = position;
      Repaint(window);
    }
    return;
  }
  SetHot(window, slider, OverThumb(slider, x));
}

void Notify(HWND window, const Slider* slider) {
  SendMessageW(slider->parent, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, slider->position & 0xFFFF),
               reinterpret_cast<LPARAM>(window));
}

void OnButtonUp(HWND window, Slider* slider, LPARAM lParam) {
  ReleaseCapture();
  RECT client;
  GetClientRect(window, &client);
  // The x of a release left of the control is negative: a signed 16-bit value.
  slider->position = SliderReleasePosition(static_cast<short>(LOWORD(lParam)), slider->maximum, client.right);
  slider->dragging = 0;
  Repaint(window);
  Notify(window, slider);
}

// With the focus, the arrow keys move by a hundredth of the range, Page Up and
// Page Down by a tenth, Home and End to the ends; each move tells the parent
// as a release would.
void OnKeyDown(HWND window, Slider* slider, WPARAM key) {
  uint32_t step = slider->maximum / 100 ? slider->maximum / 100 : 1;
  uint32_t page = slider->maximum / 10 ? slider->maximum / 10 : 1;
  uint32_t position = slider->position;
  switch (key) {
    case VK_LEFT:
    case VK_DOWN: position = position > step ? position - step : 0; break;
    case VK_RIGHT:
    case VK_UP: position += step; break;
    case VK_PRIOR: position += page; break;
    case VK_NEXT: position = position > page ? position - page : 0; break;
    case VK_HOME: position = 0; break;
    case VK_END: position = slider->maximum; break;
    default: return;
  }
  if (position > slider->maximum) position = slider->maximum;
  if (!IsWindowEnabled(window)) return;
  slider->position = position;
  Repaint(window);
  Notify(window, slider);
}

void OnTimer(HWND window, Slider* slider) {
  if (!slider->hot) {
    KillTimer(window, kSliderHotTimer);
    return;
  }
  POINT cursor;
  GetCursorPos(&cursor);
  if (WindowFromPoint(cursor) != window) {
    slider->hot = 0;
    KillTimer(window, kSliderHotTimer);
    Repaint(window);
  }
}

LRESULT SetPosition(HWND window, Slider* slider, LPARAM value) {
  uint32_t position = static_cast<uint32_t>(value);
  if (position > slider->maximum) position = slider->maximum;
  if (position != slider->position) {
    slider->position = position;
    Repaint(window);
  }
  return 0;
}

LRESULT SetRange(HWND window, Slider* slider, LPARAM range) {
  uint32_t maximum = range ? static_cast<uint32_t>(range) - 1 : 0;
  if (maximum != slider->maximum) {
    slider->maximum = maximum;
    if (slider->position > maximum) slider->position = maximum;
    Repaint(window);
  }
  return 0;
}

LRESULT OnMouse(HWND window, Slider* slider, UINT message, WPARAM wParam, LPARAM lParam) {
  RelayToTooltip(window, slider, message, wParam, lParam);
  if (!IsWindowEnabled(window)) return 0;
  switch (message) {
    case WM_LBUTTONDOWN:
      if (OverThumb(slider, static_cast<short>(LOWORD(lParam)))) {
        SetCapture(window);
        slider->dragging = 1;
      }
      break;
    case WM_MOUSEMOVE: OnMouseMove(window, slider, lParam); break;
    case WM_LBUTTONUP: OnButtonUp(window, slider, lParam); break;
    default: break;
  }
  return 0;
}

LRESULT CALLBACK SliderProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Slider* slider = SliderOf(window);
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    return DefWindowProcW(window, message, wParam, lParam);
  }
  if (!slider) return DefWindowProcW(window, message, wParam, lParam);
  switch (message) {
    case WM_NCDESTROY:
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      free(slider);
      return 0;
    case WM_PAINT: Paint(window, slider); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_ENABLE:
    case WM_SETFOCUS:
    case WM_KILLFOCUS: Repaint(window); return 0;
    case WM_GETDLGCODE: return DLGC_WANTARROWS;
    case WM_KEYDOWN: OnKeyDown(window, slider, wParam); return 0;
    case WM_LBUTTONDOWN:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP: return OnMouse(window, slider, message, wParam, lParam);
    case WM_TIMER:
      if (wParam == kSliderHotTimer) OnTimer(window, slider);
      return 0;
    case kSliderGetPosition: return static_cast<LRESULT>(slider->position);
    case kSliderSetPosition: return SetPosition(window, slider, lParam);
    case kSliderSetRange: return SetRange(window, slider, lParam);
    default: return DefWindowProcW(window, message, wParam, lParam);
  }
}

void RegisterSliderClass(HINSTANCE instance) {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExW(instance, kSliderClass, &existing)) return;
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = SliderProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.lpszClassName = kSliderClass;
  RegisterClassExW(&windowClass);
}

}  // namespace

uint32_t SliderReleasePosition(int x, uint32_t maximum, int width) {
  if (width <= 0) width = 1;
  if (x <= 0) return 0;
  return static_cast<uint32_t>(uint64_t(x) * maximum / static_cast<uint32_t>(width));
}

int SliderThumbLeft(int innerLeft, int innerWidth, int thumbWidth, uint32_t position, uint32_t maximum) {
  int64_t offset = maximum ? int64_t{innerWidth} * position / maximum : 0;
  int64_t left = innerLeft + offset;
  int64_t last = int64_t{innerLeft} + innerWidth - thumbWidth;
  if (left > last) left = last;
  if (left < innerLeft) left = innerLeft;
  return static_cast<int>(left);
}

RECT SliderInnerRect(const RECT& client, int thumbWidth) {
  int quarter = (client.bottom - client.top) / 4;
  RECT inner = {client.left + thumbWidth, client.top + quarter, client.right - thumbWidth, client.bottom - quarter};
  if (inner.right < inner.left) inner.right = inner.left;
  return inner;
}

HWND CreateSlider(HWND parent, HWND tooltip, int controlId, HINSTANCE instance) {
  RegisterSliderClass(instance);
  auto* slider = static_cast<Slider*>(calloc(1, sizeof(Slider)));
  if (!slider) return nullptr;
  slider->parent = parent;
  slider->tooltip = tooltip;
  slider->thumbWidth = kSliderThumbWidth;
  HWND window = CreateWindowExW(0, kSliderClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 0, 0, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)), instance, slider);
  if (!window) free(slider);
  return window;
}
