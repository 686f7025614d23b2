#include "app/window_commands.h"

#include "app/app_state.h"
#include "base/product.h"
#include "language/language.h"
#include "ui/message_box.h"

namespace {

LONG CentreSpan(LONG length, LONG areaStart, LONG areaEnd) {
  LONG start = areaStart + (areaEnd - areaStart - length) / 2;
  return start < areaStart ? areaStart : start;
}

}  // namespace

void CentreRectInArea(const RECT* area, RECT* rect) {
  LONG width = rect->right - rect->left;
  LONG height = rect->bottom - rect->top;
  LONG left = CentreSpan(width, area->left, area->right);
  LONG top = CentreSpan(height, area->top, area->bottom);
  SetRect(rect, left, top, left + width, top + height);
}

int ResetWindowPosition() {
  if (!gMainWindow) return 0;
  wchar_t question[256];
  GetText(kTextResetWindows, question, 256);
  if (gMessageBoxRoutine(GetDesktopWindow(), question, kProductName, MB_YESNO | MB_ICONQUESTION) != IDYES) return 0;
  RECT area{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  RECT window{};
  GetWindowRect(gMainWindow, &window);
  CentreRectInArea(&area, &window);
  SetWindowPos(gMainWindow, nullptr, window.left, window.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  return 1;
}
