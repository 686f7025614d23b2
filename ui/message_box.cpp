#include "ui/message_box.h"

#include <cwchar>

#include "base/product.h"
#include "base/text_limits.h"

namespace {

int SystemMessageBox(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type) {
  return MessageBoxW(owner, text, caption, type);
}

}  // namespace

int (*gMessageBoxRoutine)(HWND, const wchar_t*, const wchar_t*, UINT) = SystemMessageBox;

int ShowMessage(HWND owner, const wchar_t* text, UINT type) { return gMessageBoxRoutine(owner, text, kProductName, type); }

void ShowError(HWND owner, const wchar_t* text, const wchar_t* detail) {
  wchar_t message[kMaxPathChars + 600];
  if (detail && *detail)
    swprintf(message, sizeof message / sizeof message[0], L"%.500ls\n\n%.1024ls", text, detail);
  else
    swprintf(message, sizeof message / sizeof message[0], L"%.500ls", text);
  ShowMessage(owner, message, MB_OK | MB_ICONERROR);
}
