// The toolkit's slider: a flat bar with a thumb, used for the player's seek and
// volume bars. It tells its parent about a release, or a move by a key while it
// has the focus, with WM_HSCROLL (SB_THUMBPOSITION, position in the high word,
// itself as lParam).
#pragma once
#include <windows.h>

#include <cstdint>

constexpr wchar_t kSliderClass[] = L"TpwrSlider";
constexpr UINT kSliderGetPosition = WM_USER;      // 1024: returns the position
constexpr UINT kSliderSetPosition = WM_USER + 5;  // 1029: lParam, clamped to the maximum
constexpr UINT kSliderSetRange = WM_USER + 6;     // 1030: lParam values, so maximum = lParam - 1
constexpr int kSliderThumbWidth = 5;
constexpr UINT kSliderHotTimer = 1;
constexpr UINT kSliderHotTimerMs = 567;

struct Slider {
  HWND parent;   // receives the notifications
  HWND tooltip;  // the owner's tooltip; mouse messages are relayed to it
  uint32_t maximum;
  uint32_t position;
  int dragging;
  int hot;        // the mouse is over the thumb
  int thumbLeft;  // pixels, from the last paint
  int thumbWidth;
};

HWND CreateSlider(HWND parent, HWND tooltip, int controlId, HINSTANCE instance);

// Where a release at x lands: x x maximum / width; left of the control is 0, a
// release beyond the right edge gives more than the maximum (the seek bar
// ignores such a release; the volume bar takes its maximum).
uint32_t SliderReleasePosition(int x, uint32_t maximum, int width);
// Left edge of the thumb inside [innerLeft, innerLeft + innerWidth - thumbWidth].
int SliderThumbLeft(int innerLeft, int innerWidth, int thumbWidth, uint32_t position, uint32_t maximum);
// The inner rectangle: the client narrowed by the thumb width at the sides and
// a quarter of the height at top and bottom.
RECT SliderInnerRect(const RECT& client, int thumbWidth);
