// The thread keyboard hook. It runs inside this thread's message retrieval,
// reads the table that the same thread writes, and only ever posts.
#include "shortcuts/keyboard_hook.h"

namespace {

ShortcutTable* gHookTable = nullptr;
HWND gTargetWindow = nullptr;
WindowRescueRoutine gRescueRoutine = nullptr;

LRESULT PassOn(int code, WPARAM wParam, LPARAM lParam) {
  HHOOK hook = gHookTable ? static_cast<HHOOK>(gHookTable->hook) : nullptr;
  return CallNextHookEx(hook, code, wParam, lParam);
}

int KeyIsDown(int virtualKey) { return (GetAsyncKeyState(virtualKey) & 0x8000) != 0; }

}  // namespace

int InstallKeyboardHook(ShortcutTable* table) {
  if (table->hook) return 1;
  HHOOK hook = SetWindowsHookExW(WH_KEYBOARD, ShortcutHookProc, GetModuleHandleW(nullptr), GetCurrentThreadId());
  table->hook = hook;
  if (hook) gHookTable = table;
  return hook != nullptr;
}

void RemoveKeyboardHook(ShortcutTable* table) {
  if (!table->hook) return;
  UnhookWindowsHookEx(static_cast<HHOOK>(table->hook));
  table->hook = nullptr;
  if (gHookTable == table) gHookTable = nullptr;
}

void SetShortcutTargetWindow(HWND window) { gTargetWindow = window; }

void SetWindowRescueRoutine(WindowRescueRoutine routine) { gRescueRoutine = routine; }

uint16_t ShortcutCodeForKey(WPARAM virtualKey, uint32_t keyFlags, int ctrlDown, int shiftDown) {
  uint16_t code = static_cast<uint16_t>(virtualKey & 0xFF);
  if (keyFlags & KF_ALTDOWN) code |= kShortcutAlt;
  if (ctrlDown) code |= kShortcutCtrl;
  if (shiftDown) code |= kShortcutShift;
  return code;
}

LRESULT CALLBACK ShortcutHookProc(int code, WPARAM wParam, LPARAM lParam) {
  // Only events being taken off the queue count: a peek without removal would
  // otherwise post the command a second time.
  if (code != HC_ACTION || !gHookTable) return PassOn(code, wParam, lParam);
  uint32_t keyFlags = HIWORD(lParam);
  if (keyFlags & KF_UP) return PassOn(code, wParam, lParam);
  if ((wParam & 0xFF) == VK_LWIN && (keyFlags & KF_ALTDOWN)) {
    if (gRescueRoutine && gRescueRoutine()) return 1;
  }
  if (keyFlags & KF_DLGMODE) return PassOn(code, wParam, lParam);
  if (!gTargetWindow || GetActiveWindow() != gTargetWindow) return PassOn(code, wParam, lParam);
  uint16_t shortcut = ShortcutCodeForKey(wParam, keyFlags, KeyIsDown(VK_CONTROL), KeyIsDown(VK_SHIFT));
  uint16_t command = CommandForCode(gHookTable, shortcut);
  if (!command) return PassOn(code, wParam, lParam);
  PostMessageW(gTargetWindow, WM_COMMAND, command, 0);
  return 1;
}
