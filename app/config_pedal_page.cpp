// The Foot Pedal page: the pedal found, what each pedal does, and whether it
// works while another program is active.
#include <windows.h>

#include <cwchar>

#include "app/config_dialog_run.h"
#include "commands/commands.h"
#include "language/language.h"
#include "player/pedal_input.h"
#include "player/player_panel.h"
#include "settings/settings_store.h"

namespace {

constexpr size_t kTextChars = 160;
const int kCombos[kPedalCount] = {kConfigLeftPedal, kConfigMiddlePedal, kConfigRightPedal};
const SettingsKey* const kActionKeys[kPedalCount] = {&kSettingPedalLeft, &kSettingPedalMiddle, &kSettingPedalRight};
// The combo boxes' rows, in PedalAction order.
const uint16_t kActionTexts[kPedalActionCount] = {kTextPedalNothing, kCmdRew, kCmdHoldPlay, kCmdFF};

// A command's menu label without its ampersand and status-bar help.
void ActionLabel(uint16_t id, wchar_t* out, size_t capacity) {
  wchar_t text[kTextChars] = L"";
  GetText(id, text, kTextChars);
  size_t used = 0;
  for (const wchar_t* p = text; *p && *p != L';' && used + 1 < capacity; ++p)
    if (*p != L'&') out[used++] = *p;
  out[used] = 0;
}

void ShowFound(HWND dialog) {
  wchar_t text[kTextChars + 160] = L"";
  PedalDevice found{};
  if (!PedalInputFound(&found)) {
    GetText(kTextNoPedal, text, kTextChars);
  } else {
    wchar_t label[kTextChars] = L"";
    GetText(kTextPedalFound, label, kTextChars);
    swprintf(text, sizeof text / sizeof text[0], L"%ls %04X/%04X\n%.120ls", label, found.vendor, found.product,
             found.name);
  }
  SetDlgItemTextW(dialog, kConfigPedalFound, text);
}

}  // namespace

void InitPedalPage(HWND dialog) {
  ShowFound(dialog);
  for (int pedal = 0; pedal < kPedalCount; ++pedal) {
    HWND combo = GetDlgItem(dialog, kCombos[pedal]);
    for (uint16_t id : kActionTexts) {
      wchar_t label[kTextChars];
      ActionLabel(id, label, kTextChars);
      SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(label));
    }
    uint32_t action = ReadSetting(Settings(), *kActionKeys[pedal]);
    SendMessageW(combo, CB_SETCURSEL, action < kPedalActionCount ? action : 0, 0);
  }
  CheckDlgButton(dialog, kConfigPedalBackground,
                 ReadSetting(Settings(), kSettingPedalBackground) ? BST_CHECKED : BST_UNCHECKED);
}

void ApplyPedalPage(HWND dialog) {
  for (int pedal = 0; pedal < kPedalCount; ++pedal) {
    LRESULT action = SendDlgItemMessageW(dialog, kCombos[pedal], CB_GETCURSEL, 0, 0);
    if (action >= 0 && action < kPedalActionCount) WriteSetting(Settings(), *kActionKeys[pedal], uint32_t(action));
  }
  WriteSetting(Settings(), kSettingPedalBackground, IsDlgButtonChecked(dialog, kConfigPedalBackground) == BST_CHECKED);
  // The panel takes the new assignment and registers again for the background choice.
  if (HWND panel = PlayerPanelWindow()) {
    PedalInputStop(panel);
    PedalInputStart(panel);
  }
}
