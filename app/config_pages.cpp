// The General Options, Audio and Colors pages of the Configuration dialog.
#include <windows.h>
#include <commdlg.h>

#include <cwchar>

#include "app/app_state.h"
#include "app/config_dialog_run.h"
#include "editor/editor_view.h"
#include "player/player_panel.h"
#include "settings/settings_store.h"
#include "settings/settings_values.h"

namespace {

constexpr uint16_t kIconSizes[] = {16, 24, 32, 48, 64};
constexpr int kStepMaximum = 1000;
constexpr int kStepDigits = 4;
constexpr int kPreviewRows = 5;
constexpr size_t kTextChars = 64;

void CheckBox(HWND dialog, int id, int checked) { CheckDlgButton(dialog, id, checked ? BST_CHECKED : BST_UNCHECKED); }
int IsChecked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

void InitGeneralPage(ConfigRun* run) {
  CheckBox(run->dialog, kConfigAlwaysOnTop, run->options & kOptAlwaysOnTop);
  CheckBox(run->dialog, kConfigMenuIcons, !(run->options & kOptNoMenuIcons));
  HWND sizes = GetDlgItem(run->dialog, kConfigIconSize);
  int selected = 0;
  for (int i = 0; i < static_cast<int>(sizeof kIconSizes / sizeof kIconSizes[0]); ++i) {
    wchar_t text[16];
    swprintf(text, 16, L"%ux%u", kIconSizes[i], kIconSizes[i]);
    SendMessageW(sizes, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    if (kIconSizes[i] == run->iconSize) selected = i;
  }
  SendMessageW(sizes, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
}

void InitStepField(HWND dialog, int edit, int arrows, int32_t seconds) {
  SendDlgItemMessageW(dialog, edit, EM_LIMITTEXT, kStepDigits, 0);
  HWND updown = GetDlgItem(dialog, arrows);
  SendMessageW(updown, UDM_SETBUDDY, reinterpret_cast<WPARAM>(GetDlgItem(dialog, edit)), 0);
  SendMessageW(updown, UDM_SETRANGE32, 0, kStepMaximum);
  SetDlgItemInt(dialog, edit, static_cast<UINT>(seconds), FALSE);
}

void InitAudioPage(ConfigRun* run) {
  run->stepBack = static_cast<int32_t>(ReadSetting(Settings(), kSettingStepBack));
  run->stepForward = static_cast<int32_t>(ReadSetting(Settings(), kSettingStepForward));
  InitStepField(run->dialog, kConfigStepBack, kConfigStepBackArrows, run->stepBack);
  InitStepField(run->dialog, kConfigStepForward, kConfigStepForwardArrows, run->stepForward);
  run->cueOffset = static_cast<int32_t>(ReadSetting(Settings(), kSettingOffset));
  SendDlgItemMessageW(run->dialog, kConfigOffset, EM_LIMITTEXT, kStepDigits + 3, 0);
  SetDlgItemInt(run->dialog, kConfigOffset, static_cast<UINT>(run->cueOffset), TRUE);
  InitPlaybackFields(run->dialog);
}

// The preview shows the chosen colours; rows 0 and 1 carry them as item data.
void PaintPreview(ConfigRun* run) {
  HWND preview = GetDlgItem(run->dialog, kConfigColorPreview);
  for (int row = 0; row < 2; ++row) {
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    item.lParam = static_cast<LPARAM>(run->colors[row]);
    SendMessageW(preview, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  }
  SendMessageW(preview, LVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(run->colors[0]));
  SendMessageW(preview, LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(run->colors[1]));
  SendMessageW(preview, LVM_SETBKCOLOR, 0, static_cast<LPARAM>(run->colors[1]));
  InvalidateRect(preview, nullptr, TRUE);
}

void InitColorsPage(ConfigRun* run) {
  uint32_t useSystem = 0;
  ReadColors(Settings(), kSettingColor.section, kSettingColor.name, run->colors, &useSystem);
  CheckBox(run->dialog, kConfigSystemColors, useSystem != 0);
  HWND preview = GetDlgItem(run->dialog, kConfigColorPreview);
  if (HWND editor = EditorWindow()) SendMessageW(preview, WM_SETFONT, SendMessageW(editor, WM_GETFONT, 0, 0), FALSE);
  RECT client;
  GetClientRect(preview, &client);
  LVCOLUMNW column{};
  column.mask = LVCF_WIDTH;
  column.cx = client.right;
  SendMessageW(preview, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
  wchar_t text[kTextChars] = L"";
  GetText(kTextText, text, kTextChars);
  for (int row = 0; row < kPreviewRows; ++row) {
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.pszText = text;
    SendMessageW(preview, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  }
  PaintPreview(run);
}

void ReadStepField(HWND dialog, int edit, int32_t* seconds) {
  wchar_t text[16] = L"";
  GetDlgItemTextW(dialog, edit, text, 16);
  ParseStepSeconds(text, seconds);
}

}  // namespace

void InitOptionPages(ConfigRun* run) {
  run->options = gApp->options;
  run->iconSize = gApp->menuIconSize < kIconSizes[0] ? kIconSizes[0] : gApp->menuIconSize;
  InitGeneralPage(run);
  InitAudioPage(run);
  InitColorsPage(run);
}

void ApplyOptionPages(ConfigRun* run) {
  HWND dialog = run->dialog;
  uint32_t options = run->options & ~(kOptAlwaysOnTop | kOptNoMenuIcons);
  if (IsChecked(dialog, kConfigAlwaysOnTop)) options |= kOptAlwaysOnTop;
  if (!IsChecked(dialog, kConfigMenuIcons)) options |= kOptNoMenuIcons;
  run->newOptions = options;
  LRESULT size = SendDlgItemMessageW(dialog, kConfigIconSize, CB_GETCURSEL, 0, 0);
  constexpr LRESULT kSizeCount = sizeof kIconSizes / sizeof kIconSizes[0];
  run->newIconSize = size >= 0 && size < kSizeCount ? kIconSizes[size] : run->iconSize;

  SettingsStore* store = Settings();
  ReadStepField(dialog, kConfigStepBack, &run->stepBack);
  ReadStepField(dialog, kConfigStepForward, &run->stepForward);
  WriteSetting(store, kSettingStepBack, static_cast<uint32_t>(run->stepBack));
  WriteSetting(store, kSettingStepForward, static_cast<uint32_t>(run->stepForward));
  wchar_t offset[16] = L"";
  GetDlgItemTextW(dialog, kConfigOffset, offset, 16);
  ParseOffsetSeconds(offset, &run->cueOffset);
  uint32_t stored = static_cast<uint32_t>(run->cueOffset);
  WriteListValue(store, kSettingOffset.section, kSettingOffset.name, &stored, 1, 0, 1);
  if (HWND panel = PlayerPanelWindow()) PlayerPanelSetStepLengths(panel, run->stepBack, run->stepForward);
  ApplyPlaybackFields(dialog);

  uint32_t useSystem = 1;
  WriteColors(store, kSettingColor.section, kSettingColor.name, run->colors,
              IsChecked(dialog, kConfigSystemColors) ? &useSystem : nullptr);
  ApplyEditorColors();
}

void ChooseConfigColor(ConfigRun* run, int background) {
  SettingsStore* store = Settings();
  static COLORREF custom[kCustomColorCount];
  ReadCustomColors(store, kSettingCustomColors.section, custom);
  CHOOSECOLORW choice{};
  choice.lStructSize = sizeof choice;
  choice.hwndOwner = run->dialog;
  choice.rgbResult = run->colors[background ? 1 : 0];
  choice.lpCustColors = custom;
  choice.Flags = CC_RGBINIT | CC_FULLOPEN;
  int chosen = ChooseColorW(&choice);
  // The custom colours are kept whatever the answer, as the chooser showed them.
  WriteCustomColors(store, kSettingCustomColors.section, custom);
  Flush(store);
  if (!chosen) return;
  run->colors[background ? 1 : 0] = choice.rgbResult;
  PaintPreview(run);
}
