// Shared by the panel tests: the real main window hosted once per test
// program, its player panel, commands sent as the menus send them, and waits
// on the panel's state and on the capture.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/app_state.h"
#include "base/recording_time.h"
#include "commands/commands.h"
#include "engine_test_support.h"
#include "main_window_host.h"
#include "player/player_messages.h"
#include "player/player_panel.h"
#include "ui/status_bar.h"

class PanelFixture : public testing::Test {
 protected:
  // The window with its settings in a fresh folder, its message boxes answered
  // OK; each test starts with an empty capture.
  static void SetUpTestSuite() {
    HostMainWindow(MakeTestFolder((L"tpwr-panel-" + std::to_wstring(GetCurrentProcessId()) + L"-").c_str()),
                   [](HWND, const wchar_t*, const wchar_t*, UINT) { return IDOK; });
    PumpFor(200);
  }
  void SetUp() override {
    ASSERT_NE(Panel(), nullptr);
    DeleteCapture();
  }
  static void TearDownTestSuite() {
    CloseMainWindow();
    PumpFor(300);
  }
  static HWND PanelWindow() { return PlayerPanelWindow(); }
  static PlayerPanel* Panel() { return PlayerPanelOf(PlayerPanelWindow()); }
  static void Command(uint16_t id) {
    SendMessageW(gMainWindow, WM_COMMAND, id, 0);
    PumpFor(50);
  }
  static bool WaitState(int state) { return WaitUntil([&] { return Panel()->state == state; }, 10000); }
  // Opens a fixture through the panel and waits for the player's file
  // information with the file's length (the first open of a run reports no
  // state: the player has no owner yet).
  static bool Open(const char* name, uint32_t length) {
    if (!PlayerPanelOpenFile(PanelWindow(), FixturePath(name).c_str())) return false;
    return WaitUntil([&] { return Panel()->file.info.lengthSeconds == length; }, 10000);
  }
  static std::wstring TimePane() { return gStatusBar.panes[kStatusPaneTime].text; }
  static std::wstring Time(uint32_t seconds) {
    wchar_t text[kRecordingTimeChars];
    FormatRecordingTime(seconds, text, kRecordingTimeChars);
    return text;
  }
  // Play, then the end of the file: stopped, and the capture no longer
  // growing. A short file can play out between two looks at the state, so
  // "playing" need not be seen.
  static bool PlayToEnd() {
    Command(kCmdPlay);
    uint64_t last = 0;
    ULONGLONG grew = GetTickCount64();
    return WaitUntil(
        [&] {
          uint64_t size = CaptureSize();
          if (size != last) {
            last = size;
            grew = GetTickCount64();
          }
          return size > 0 && Panel()->state == kStateStopped && GetTickCount64() - grew >= 1000;
        },
        60000);
  }
};
