// The player panel's actions, its handlers of the player's notifications and
// of the sliders, and what it shows in the status bar.
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>

#include <cwchar>

#include "base/recording_time.h"
#include "base/text_builder.h"
#include "base/text_limits.h"
#include "commands/commands.h"
#include "player/player_commands.h"
#include "player/player_messages.h"
#include "player/player_panel.h"
#include "player/player_thread.h"
#include "settings/settings_store.h"
#include "ui/slider.h"
#include "ui/status_bar.h"

void (*gPlayerPanelPaused)() = nullptr;

namespace {

constexpr wchar_t kAudioFilter[] =
    L"Audio files\0*.wav;*.mp3;*.mp2;*.mp1;*.mpp;*.ogg;*.ogm;*.flac;*.wma;"
    L"*.m4a;*.m4b;*.mp4;*.m4v;*.mov;*.3gp;*.aac;*.opus;*.webm;*.mka;*.amr\0*.*\0*.*\0";

void ReleasePauseButton(const PlayerPanel* record) {
  if (record->toolbar) SendMessageW(record->toolbar, TB_CHECKBUTTON, kCmdPause, FALSE);
}

uint32_t Length(const PlayerPanel* record) { return record->file.info.lengthSeconds; }

// The player finds the time through the file's exact length.
void PostSeekTime(const PlayerPanel* record, uint32_t seconds) {
  if (Length(record)) PlayerPostCommand(PC_SEEKTIME, seconds, 0);
}

// After a pause the player goes back from what had been heard by the rewind;
// otherwise Play is followed by a seek to the shown position, as a resumed
// device would sound from the decoder's position, ahead of what was heard.
void PlayFromShownPosition(const PlayerPanel* record) {
  if (record->state == kStatePaused && !record->positionMoved) {
    PlayerPostCommand(PC_RESUME, record->rewindMs, record->position);
    return;
  }
  PlayerPostCommand(PC_PLAY, 0, 0);
  if (record->position) PostSeekTime(record, record->position);
}

void StartUnlessPlaying(const PlayerPanel* record) {
  if (record->state == kStatePlaying) return;
  if (record->state == kStatePaused) ReleasePauseButton(record);
  PlayerPostCommand(PC_PLAY, 0, 0);
}

void SetSeekBar(PlayerPanel* record, uint32_t value) {
  if (value == record->seekBarPosition) return;
  record->seekBarPosition = value;
  SendMessageW(record->seekBar, kSliderSetPosition, 0, static_cast<LPARAM>(value));
}

void OnState(HWND panel, PlayerPanel* record, int state) {
  if (state == record->state) return;
  record->state = state;
  if (state == kStatePaused) record->positionMoved = 0;
  PlayerPanelShowStateIcon(panel, state);
  if (state == kStatePaused && gPlayerPanelPaused) gPlayerPanelPaused();
  if (state != kStateStopped) return;
  record->position = 0;
  PlayerPanelRefreshTime(panel);
  SetSeekBar(record, 0);
}

void OnInfo(HWND panel, PlayerPanel* record, WPARAM seekable, const FileInfoBlock* block) {
  if (!block) return;  // plug-ins post it bare at the end of a file
  record->file = *block;
  record->file.path[kMaxPathChars] = 0;
  EnableWindow(record->seekBar, seekable != 0);
  if (record->pendingCueSeconds) {
    PlayerPanelSeekToTime(panel, record->pendingCueSeconds);
    record->pendingCueSeconds = 0;
  }
  PlayerPanelRefreshTime(panel);
}

// The chosen place becomes the shown position, which is where playback goes
// on: at once while playing, with the resume while paused, and at the next
// Play when stopped.
void SeekBarMoved(HWND panel, PlayerPanel* record, uint32_t value) {
  record->seekBarPosition = value;
  record->position = static_cast<uint32_t>(uint64_t{value} * Length(record) / kSeekBarRange);
  record->positionMoved = 1;
  PlayerPanelRefreshTime(panel);
  if (record->state == kStatePlaying) PlayerPostCommand(PC_SEEK, value, kSeekBarRange);
  else if (record->state == kStatePaused) PostMessageW(panel, WM_COMMAND, kCmdPlay, 0);
}

// The panel shows a file from its start, or no file at all after a failed open.
void ShowFile(HWND panel, PlayerPanel* record, const wchar_t* path) {
  FileInfoClear(&record->file.info);
  CopyTextBounded(record->file.path, kMaxPathChars + 1, path);
  record->position = 0;
  SetSeekBar(record, 0);
  PlayerPanelRefreshTime(panel);
}

}  // namespace

size_t FormatPlayerTime(uint32_t position, uint32_t length, wchar_t* out, size_t capacity) {
  TextBuilder builder;
  TextBuilderStart(&builder, out, capacity);
  if (!length) return 0;
  wchar_t time[kRecordingTimeChars];
  TextAppend(&builder, L"  ");
  FormatRecordingTime(position, time, kRecordingTimeChars);
  TextAppend(&builder, time);
  TextAppend(&builder, L" (");
  FormatRecordingTime(length, time, kRecordingTimeChars);
  TextAppend(&builder, time);
  TextAppendChar(&builder, L')');
  return builder.length;
}

size_t FormatPlayerStatus(uint32_t position, uint32_t length, uint32_t speedPercent, wchar_t* out, size_t capacity) {
  size_t used = FormatPlayerTime(position, length, out, capacity);
  if (speedPercent == kSpeedNormalPercent || !capacity) return used;
  TextBuilder builder;
  TextBuilderStart(&builder, out + used, capacity - used);
  wchar_t number[16];
  swprintf(number, 16, L"  %u %%", speedPercent);
  TextAppend(&builder, number);
  return used + builder.length;
}

void PlayerPanelRefreshTime(HWND panel) {
  PlayerPanel* record = PlayerPanelOf(panel);
  if (!record) return;
  wchar_t text[kStatusPaneChars + 1];
  FormatPlayerStatus(record->position, Length(record), record->speedPercent, text, kStatusPaneChars + 1);
  StatusBarSetText(kStatusPaneTime, text);
}

void PlayerPanelShowStateIcon(HWND panel, int state) {
  PlayerPanel* record = PlayerPanelOf(panel);
  if (!record) return;
  HICON icon = state == kStatePlaying ? record->playIcon : state == kStatePaused ? record->pauseIcon : nullptr;
  StatusBarSetIcon(kStatusPaneState, icon);
}

void PlayerPanelPlay(HWND panel) {
  PlayerPanel* record = PlayerPanelOf(panel);
  if (!record) return;
  if (record->state == kStatePaused) ReleasePauseButton(record);
  if (record->state != kStatePlaying) PlayFromShownPosition(record);
}

void PlayerPanelStop(HWND panel) {
  PlayerPostCommand(PC_STOP, 0, 0);
  if (PlayerPanel* record = PlayerPanelOf(panel)) ReleasePauseButton(record);
}

void PlayerPanelPauseToggle(HWND panel) {
  PlayerPanel* record = PlayerPanelOf(panel);
  if (!record) return;
  if (record->state == kStatePaused) PlayFromShownPosition(record);
  else PlayerPostCommand(PC_PAUSE, 0, 0);
}

void PlayerPanelStepBack(HWND panel) {
  PlayerPanel* record = PlayerPanelOf(panel);
  if (!record) return;
  if (record->stepBackSeconds > 0) {
    uint32_t step = static_cast<uint32_t>(record->stepBackSeconds);
    uint32_t target = record->position > step ? record->position - step : 0;
    PostSeekTime(record, target);
  }
  StartUnlessPlaying(record);
}

void PlayerPanelStepForward(HWND panel) {
  PlayerPanel* record = PlayerPanelOf(panel);
  if (!record) return;
  if (record->stepForwardSeconds > 0) {
    uint64_t target = uint64_t{record->position} + static_cast<uint32_t>(record->stepForwardSeconds);
    if (target < Length(record)) PostSeekTime(record, static_cast<uint32_t>(target));
  }
  StartUnlessPlaying(record);
}

void PlayerPanelHoldPress(HWND panel) {
  PlayerPanel* record = PlayerPanelOf(panel);
  if (!record) return;
  record->holding = 1;
  if (record->state == kStatePaused) {
    ReleasePauseButton(record);
    PlayFromShownPosition(record);
  } else if (record->state != kStatePlaying) {
    PlayerPanelPlay(panel);
  }
}

void PlayerPanelHoldRelease(HWND panel) {
  PlayerPanel* record = PlayerPanelOf(panel);
  if (!record || !record->holding) return;
  record->holding = 0;
  PlayerPostCommand(PC_PAUSE, 0, 0);
  // Paused from now on: a press that comes before the player's answer must
  // resume, not take the old "playing" for granted.
  OnState(panel, record, kStatePaused);
}

void PlayerPanelSetSpeed(HWND panel, uint32_t percent) {
  PlayerPanel* record = PlayerPanelOf(panel);
  if (!record) return;
  record->speedPercent = SpeedStepped(percent, 0);
  WriteSetting(Settings(), kSettingSpeed, record->speedPercent);
  PlayerPostCommand(PC_SETSPEED, record->speedPercent, 0);
  PlayerPanelRefreshTime(panel);
}

uint32_t PlayerPanelSpeed(HWND panel) {
  PlayerPanel* record = PlayerPanelOf(panel);
  return record ? record->speedPercent : kSpeedNormalPercent;
}

void PlayerPanelOpenDialog(HWND panel) {
  wchar_t file[kMaxPathChars + 1] = L"";
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = GetParent(panel);
  dialog.lpstrFilter = kAudioFilter;
  dialog.lpstrFile = file;
  dialog.nMaxFile = kMaxPathChars + 1;
  dialog.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
  if (!GetOpenFileNameW(&dialog)) return;
  wchar_t full[kMaxPathChars + 1];
  const wchar_t* path = file;
  if (!wcschr(file, L':')) {
    DWORD length = GetFullPathNameW(file, kMaxPathChars + 1, full, nullptr);
    if (length && length <= kMaxPathChars) path = full;
  }
  PlayerPanelOpenFile(panel, path);
}

int PlayerPanelOpenFile(HWND panel, const wchar_t* path) {
  wchar_t kept[kMaxPathChars + 1];
  CopyTextBounded(kept, kMaxPathChars + 1, path);
  int opened = PlayerOpenAudioFile(panel, kept);
  // The player thread may be new: it learns the speed with each file.
  if (PlayerPanel* record = PlayerPanelOf(panel)) PlayerPostCommand(PC_SETSPEED, record->speedPercent, 0);
  // Until the player's information arrives the length is unknown, so a seek
  // made right after the open waits in pendingCueSeconds for it.
  if (PlayerPanel* record = PlayerPanelOf(panel)) ShowFile(panel, record, opened ? kept : L"");
  return opened;
}

void PlayerPanelSeekToTime(HWND panel, uint32_t seconds) {
  PlayerPanel* record = PlayerPanelOf(panel);
  if (!record) return;
  record->pendingCueSeconds = seconds;
  uint32_t length = Length(record);
  if (!length || seconds >= length) return;
  record->position = seconds;
  record->positionMoved = 1;
  // A seek while paused would let the device run on; Play seeks to the position instead.
  if (record->state != kStatePaused) PostSeekTime(record, seconds);
  PlayerPanelRefreshTime(panel);
  SetSeekBar(record, static_cast<uint32_t>(double(seconds) / double(length) * kSeekBarRange));
}

size_t PlayerPanelSoundPath(HWND panel, wchar_t* out, size_t capacity) {
  if (!capacity) return 0;
  out[0] = 0;
  PlayerPanel* record = PlayerPanelOf(panel);
  if (!record) return 0;
  lstrcpynW(out, record->file.path, static_cast<int>(capacity));
  return wcslen(out);
}

uint32_t PlayerPanelLength(HWND panel) {
  PlayerPanel* record = PlayerPanelOf(panel);
  return record ? Length(record) : 0;
}

uint32_t PlayerPanelPosition(HWND panel) {
  PlayerPanel* record = PlayerPanelOf(panel);
  return record ? record->position : 0;
}

void PlayerPanelOnNotification(HWND panel, UINT message, WPARAM wParam, LPARAM lParam) {
  PlayerPanel* record = PlayerPanelOf(panel);
  if (!record) return;
  switch (message) {
    case PN_STATE: OnState(panel, record, static_cast<int>(lParam)); break;
    case PN_INFO: OnInfo(panel, record, wParam, reinterpret_cast<const FileInfoBlock*>(lParam)); break;
    case PN_POSITION:
      record->position = static_cast<uint32_t>(lParam);
      PlayerPanelRefreshTime(panel);
      break;
    case PN_PROGRESS: SetSeekBar(record, static_cast<uint32_t>(lParam)); break;
    case PN_VOLUME: SendMessageW(record->volumeBar, kSliderSetPosition, 0, lParam); break;
    default: break;
  }
}

void PlayerPanelOnSlider(HWND panel, WPARAM wParam, LPARAM lParam) {
  PlayerPanel* record = PlayerPanelOf(panel);
  if (!record || LOWORD(wParam) == SB_THUMBTRACK) return;
  HWND slider = reinterpret_cast<HWND>(lParam);
  uint32_t value = static_cast<uint32_t>(SendMessageW(slider, kSliderGetPosition, 0, 0));
  if (slider == record->seekBar) {
    if (value >= kSeekBarRange) return;  // a release beyond the bar's end
    SeekBarMoved(panel, record, value);
  } else if (slider == record->volumeBar) {
    PlayerPostCommand(PC_SETVOLUME, 0, value > 255 ? 255 : value);
  }
}

void PlayerPanelOnCommand(HWND panel, WORD command) {
  switch (command) {
    case kCmdPlay: PlayerPanelPlay(panel); break;
    case kCmdStop: PlayerPanelStop(panel); break;
    case kCmdPause: PlayerPanelPauseToggle(panel); break;
    case kCmdRew: PlayerPanelStepBack(panel); break;
    case kCmdFF: PlayerPanelStepForward(panel); break;
    case kCmdAmpFileOpen: PlayerPanelOpenDialog(panel); break;
    case kCmdHoldPlay: PlayerPanelHoldPress(panel); break;
    case kCmdHoldPlayRelease: PlayerPanelHoldRelease(panel); break;
    case kCmdSlower: PlayerPanelSetSpeed(panel, SpeedStepped(PlayerPanelSpeed(panel), -1)); break;
    case kCmdFaster: PlayerPanelSetSpeed(panel, SpeedStepped(PlayerPanelSpeed(panel), 1)); break;
    case kCmdNormalSpeed: PlayerPanelSetSpeed(panel, kSpeedNormalPercent); break;
    default: break;
  }
}
