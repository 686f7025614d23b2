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

void ShowFileError(HWND owner, DWORD error, const wchar_t* path) {
  wchar_t message[kMaxPathChars + 600];
  DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
                                message, 512, nullptr);
  if (length == 0) length = static_cast<DWORD>(swprintf(message, 512, L"Error %lu", error));
  message[length < 512 ? length : 511] = 0;
  size_t used = wcslen(message);
  if (used < 2 || wcscmp(message + used - 2, L"\r\n") != 0) wcscat(message, L"\r\n");
  if (path) {
    wcscat(message, L"\r\n");
    used = wcslen(message);
    CopyTextBounded(message + used, sizeof message / sizeof message[0] - used, path);
  }
  ShowMessage(owner, message, MB_ICONHAND | MB_OK);
}
