// The thread keyboard hook. It runs inside this thread's message retrieval,
// reads the table that the same thread writes, and only ever posts.
#include "shortcuts/keyboard_hook.h"

namespace {

ShortcutTable* gHookTable = nullptr;
HWND gTargetWindow = nullptr;
WindowRescueRoutine gRescueRoutine = nullptr;
uint32_t gHeldKey = 0;  // the virtual key that started HoldPlay, until it comes up

LRESULT PassOn(int code, WPARAM wParam, LPARAM lParam) {
  HHOOK hook = gHookTable ? static_cast<HHOOK>(gHookTable->hook) : nullptr;
  return CallNextHookEx(hook, code, wParam, lParam);
}

int KeyIsDown(int virtualKey) { return (GetAsyncKeyState(virtualKey) & 0x8000) != 0; }

// The key that started HoldPlay comes up, whatever the modifiers are by then.
int HeldKeyUp(WPARAM virtualKey) {
  if (!gHeldKey || (virtualKey & 0xFF) != gHeldKey) return 0;
  gHeldKey = 0;
  if (gTargetWindow) PostMessageW(gTargetWindow, WM_COMMAND, kCmdHoldPlayRelease, 0);
  return 1;
}

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
  if (keyFlags & KF_UP) return HeldKeyUp(wParam) ? 1 : PassOn(code, wParam, lParam);
  // Holding the key repeats it; HoldPlay must not start again with each repeat.
  if (gHeldKey && (wParam & 0xFF) == gHeldKey && (keyFlags & KF_REPEAT)) return 1;
  if ((wParam & 0xFF) == VK_LWIN && (keyFlags & KF_ALTDOWN)) {
    if (gRescueRoutine && gRescueRoutine()) return 1;
  }
  if (keyFlags & KF_DLGMODE) return PassOn(code, wParam, lParam);
  if (!gTargetWindow || GetActiveWindow() != gTargetWindow) return PassOn(code, wParam, lParam);
  uint16_t shortcut = ShortcutCodeForKey(wParam, keyFlags, KeyIsDown(VK_CONTROL), KeyIsDown(VK_SHIFT));
  uint16_t command = CommandForCode(gHookTable, shortcut);
  if (!command) return PassOn(code, wParam, lParam);
  if (command == kCmdHoldPlay) gHeldKey = static_cast<uint32_t>(wParam & 0xFF);
  PostMessageW(gTargetWindow, WM_COMMAND, command, 0);
  return 1;
}
