#include "app/window_commands.h"

#include <shellapi.h>

#include "app/app_state.h"
#include "base/product.h"
#include "language/language.h"
#include "ui/message_box.h"

namespace {

constexpr wchar_t kPageEnglish[] = L"https://www.corvane.de/en/tapewright/";
constexpr wchar_t kPageGerman[] = L"https://www.corvane.de/de/tapewright/";

int IsGermanSystem() {
  char code[kLanguageCodeChars + 1] = "";
  ChooseLanguageCode("", GetSystemDefaultLangID(), code, sizeof code);
  return lstrcmpA(code, "DE") == 0;
}

LONG CentreSpan(LONG length, LONG areaStart, LONG areaEnd) {
  LONG start = areaStart + (areaEnd - areaStart - length) / 2;
  return start < areaStart ? areaStart : start;
}

}  // namespace

const wchar_t* ProductPageAddress(int germanSystem) { return germanSystem ? kPageGerman : kPageEnglish; }

LRESULT OpenProductPage(HWND window) {
  SHELLEXECUTEINFOW run{};
  run.cbSize = sizeof run;
  run.hwnd = window;
  run.lpVerb = L"open";
  run.lpFile = ProductPageAddress(IsGermanSystem());
  run.nShow = SW_SHOWNORMAL;
  ShellExecuteExW(&run);
  return 0;
}

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
