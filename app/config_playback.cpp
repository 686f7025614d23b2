// The Audio page's playback fields: how far a resume goes back, and the speed.
#include <windows.h>
#include <commctrl.h>

#include "app/config_dialog_run.h"
#include "player/player_panel.h"
#include "player/speed_stage.h"
#include "settings/settings_store.h"

namespace {

constexpr int kRewindMaximumMs = 10000;

void InitField(HWND dialog, int edit, int arrows, int minimum, int maximum, int step, uint32_t value) {
  SendDlgItemMessageW(dialog, edit, EM_LIMITTEXT, 5, 0);
  HWND updown = GetDlgItem(dialog, arrows);
  SendMessageW(updown, UDM_SETBUDDY, reinterpret_cast<WPARAM>(GetDlgItem(dialog, edit)), 0);
  SendMessageW(updown, UDM_SETRANGE32, minimum, maximum);
  UDACCEL accel{0, static_cast<UINT>(step)};
  SendMessageW(updown, UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
  SetDlgItemInt(dialog, edit, value, FALSE);
}

// Digits only, as the step lengths; anything else keeps value as it was.
void ReadField(HWND dialog, int edit, uint32_t* value) {
  wchar_t text[16] = L"";
  GetDlgItemTextW(dialog, edit, text, 16);
  int32_t typed = 0;
  if (ParseStepSeconds(text, &typed)) *value = static_cast<uint32_t>(typed);
}

}  // namespace

void InitPlaybackFields(HWND dialog) {
  InitField(dialog, kConfigRewind, kConfigRewindArrows, 0, kRewindMaximumMs, 100,
            ReadSetting(Settings(), kSettingRewind));
  InitField(dialog, kConfigSpeed, kConfigSpeedArrows, kSpeedMinimumPercent, kSpeedMaximumPercent,
            kSpeedStepPercent, PlayerPanelSpeed(PlayerPanelWindow()));
}

void ApplyPlaybackFields(HWND dialog) {
  uint32_t rewind = ReadSetting(Settings(), kSettingRewind);
  ReadField(dialog, kConfigRewind, &rewind);
  if (rewind > kRewindMaximumMs) rewind = kRewindMaximumMs;
  WriteSetting(Settings(), kSettingRewind, rewind);
  HWND panel = PlayerPanelWindow();
  PlayerPanelSetRewind(panel, rewind);
  uint32_t speed = PlayerPanelSpeed(panel);
  ReadField(dialog, kConfigSpeed, &speed);
  if (!panel)
    WriteSetting(Settings(), kSettingSpeed, SpeedStepped(speed, 0));
  else if (speed != PlayerPanelSpeed(panel))
    PlayerPanelSetSpeed(panel, speed);
}
