// The hook procedure fed with key events directly: what it leaves to the focused
// control, and the window rescue. That bound keys become commands ahead of the
// editor, also while repeating, and not while a modal dialog is active, is
// tested with real keys (run-key-tests.sh).
#include <gtest/gtest.h>

#include <windows.h>

#include "commands/commands.h"
#include "shortcuts/keyboard_hook.h"

namespace {

TEST(ShortcutCode, FromKeyAndModifiers) {
  struct { WPARAM key; uint32_t flags; int ctrl, shift; uint16_t code; } cases[] = {
      {'A', KF_ALTDOWN, 1, 1, 0x741},
      {0x1234, 0, 0, 0, 0x34},  // only the low byte is the key
      {VK_TAB, KF_EXTENDED | KF_REPEAT, 0, 1, 1033},
  };
  for (const auto& c : cases) EXPECT_EQ(ShortcutCodeForKey(c.key, c.flags, c.ctrl, c.shift), c.code) << c.key;
}

int gRescueCalls = 0;
int gRescueAnswer = 0;
int FakeRescue() {
  ++gRescueCalls;
  return gRescueAnswer;
}

class HookTest : public testing::Test {
 protected:
  void SetUp() override {
    window_ = CreateWindowExW(0, L"STATIC", L"hook", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                              nullptr, nullptr, nullptr);
    ASSERT_NE(window_, nullptr);
    SetForegroundWindow(window_);
    SetActiveWindow(window_);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    ResetShortcutTable(&table_);
    table_.keyMap[0x100 | 'P'] = kCmdPlay;
    ASSERT_TRUE(InstallKeyboardHook(&table_));
    SetShortcutTargetWindow(window_);
    SetWindowRescueRoutine(FakeRescue);
    gRescueCalls = 0;
  }
  void TearDown() override {
    RemoveKeyboardHook(&table_);
    EXPECT_EQ(table_.hook, nullptr);
    SetWindowRescueRoutine(nullptr);
    SetShortcutTargetWindow(nullptr);
    DestroyWindow(window_);
  }
  // The command posted to the window since the last call, 0 when none.
  WPARAM PostedCommand() {
    MSG message;
    WPARAM command = 0;
    while (PeekMessageW(&message, window_, WM_COMMAND, WM_COMMAND, PM_REMOVE)) command = message.wParam;
    return command;
  }
  static LPARAM Flags(uint32_t keyFlags) { return static_cast<LPARAM>(keyFlags) << 16 | 1; }

  ShortcutTable table_{kDefaultShortcuts, {}, nullptr, kSettingKeys.section, kCommandNames, {}};
  HWND window_ = nullptr;
};

TEST_F(HookTest, PassesOnWhatIsNotItsBusiness) {
  // A release, a dialog's modal loop, only peeked at, not an action. (An
  // unbound key reaching the editor is the real-key tests'.)
  struct { int code; WPARAM key; uint32_t flags; } cases[] = {
      {HC_ACTION, VK_F3, KF_UP}, {HC_ACTION, VK_F3, KF_DLGMODE}, {HC_NOREMOVE, VK_F3, 0}, {-1, VK_F3, 0},
  };
  for (const auto& c : cases) {
    EXPECT_NE(ShortcutHookProc(c.code, c.key, Flags(c.flags)), 1) << c.key << " " << c.flags;
    EXPECT_EQ(PostedCommand(), 0u) << c.key << " " << c.flags;
  }
}

TEST_F(HookTest, AltWithLeftWindowsKeyOffersTheRescue) {
  SetShortcutTargetWindow(nullptr);  // asked even when the main window is not active
  gRescueAnswer = 1;
  EXPECT_EQ(ShortcutHookProc(HC_ACTION, VK_LWIN, Flags(KF_ALTDOWN)), 1);
  EXPECT_EQ(gRescueCalls, 1);
  // "No": the key goes on through the normal steps.
  SetShortcutTargetWindow(window_);
  gRescueAnswer = 0;
  table_.keyMap[0x100 | VK_LWIN] = kCmdAbout;
  EXPECT_EQ(ShortcutHookProc(HC_ACTION, VK_LWIN, Flags(KF_ALTDOWN)), 1);
  EXPECT_EQ(gRescueCalls, 2);
  EXPECT_EQ(PostedCommand(), kCmdAbout);
  // Without Alt, or the right Windows key: no question.
  EXPECT_NE(ShortcutHookProc(HC_ACTION, VK_LWIN, Flags(0)), 1);
  EXPECT_NE(ShortcutHookProc(HC_ACTION, VK_RWIN, Flags(KF_ALTDOWN)), 1);
  EXPECT_EQ(gRescueCalls, 2);
  // Without a routine the combination is an ordinary key.
  SetWindowRescueRoutine(nullptr);
  EXPECT_EQ(ShortcutHookProc(HC_ACTION, VK_LWIN, Flags(KF_ALTDOWN)), 1);
  EXPECT_EQ(PostedCommand(), kCmdAbout);
  EXPECT_EQ(gRescueCalls, 2);
}

}  // namespace
