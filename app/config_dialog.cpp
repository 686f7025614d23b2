// The Configuration dialog's frame: its template, the page list, OK and
// Cancel, and what the main window does after OK. The pages live in
// config_pages.cpp and config_shortcut_page.cpp.
#include "app/config_dialog.h"

#include <cstdlib>

#include "app/app_state.h"
#include "app/config_dialog_run.h"
#include "app/main_menus.h"
#include "language/language.h"
#include "settings/settings_store.h"
#include "settings/settings_values.h"
#include "shortcuts/shortcut_settings.h"
#include "ui/dialog_template.h"
#include "ui/theme.h"

namespace {

constexpr size_t kTemplateBytes = 12288;
constexpr size_t kLabelChars = 64;
constexpr uint16_t kNoId = 0xFFFF;

// The page remembered for the rest of the program's run.
int gLastPage = kPageGeneral;

const uint16_t kPageTitles[kConfigPageCount] = {kTextGeneralOptions, kTextAudio, kTextColors,
                                                kTextKeyboardShortcuts, kTextFootPedal};
// The controls of each page, ending with 0.
const uint16_t kPageControls[kConfigPageCount][20] = {
    {kConfigIconSizeLabel, kConfigIconSize, kConfigAlwaysOnTop, kConfigMenuIcons, 0},
    {kConfigStepBackLabel, kConfigStepBack, kConfigStepBackArrows, kConfigStepBackUnit, kConfigStepForwardLabel,
     kConfigStepForward, kConfigStepForwardArrows, kConfigStepForwardUnit, kConfigOffsetLabel, kConfigOffset,
     kConfigOffsetUnit, kConfigRewindLabel, kConfigRewind, kConfigRewindArrows, kConfigRewindUnit, kConfigSpeedLabel,
     kConfigSpeed, kConfigSpeedArrows, kConfigSpeedUnit, 0},
    {kConfigTextColor, kConfigBackColor, kConfigSystemColors, kConfigColorPreview, 0},
    {kConfigShortcutList, 0},
    {kConfigPedalFound, kConfigLeftPedalLabel, kConfigLeftPedal, kConfigMiddlePedalLabel, kConfigMiddlePedal,
     kConfigRightPedalLabel, kConfigRightPedal, kConfigPedalBackground, 0},
};

struct TemplateItem {
  uint16_t id;
  uint16_t classAtom;        // 0: className
  const wchar_t* className;  // a common control
  DWORD style;
  short x, y, width, height;
  uint16_t textId;  // 0: no text
};

// In tab order: the page list first, so that the arrow keys change pages.
const TemplateItem kItems[] = {
    {kConfigPageList, kDialogListBox, nullptr, LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_BORDER | WS_TABSTOP | WS_VSCROLL,
     4, 4, 80, 160, 0},
    {kConfigPageTitle, kDialogStatic, nullptr, SS_OWNERDRAW, 87, 4, 215, 12, 0},
    {kConfigAlwaysOnTop, kDialogButton, nullptr, BS_AUTOCHECKBOX | WS_TABSTOP, 97, 51, 200, 10, kTextAlwaysOnTop},
    {kConfigMenuIcons, kDialogButton, nullptr, BS_AUTOCHECKBOX | WS_TABSTOP, 97, 71, 200, 10, kTextIconsInMenu},
    {kConfigIconSizeLabel, kDialogStatic, nullptr, SS_LEFT, 87, 88, 100, 10, kTextIconSize},
    {kConfigIconSize, kDialogComboBox, nullptr, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 202, 86, 60, 200, 0},
    {kConfigStepBackLabel, kDialogStatic, nullptr, SS_LEFT, 87, 41, 100, 12, kTextStepBack},
    {kConfigStepBack, kDialogEdit, nullptr, ES_NUMBER | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 191, 41, 25, 13, 0},
    {kConfigStepBackArrows, 0, UPDOWN_CLASSW, UDS_SETBUDDYINT | UDS_ARROWKEYS | UDS_NOTHOUSANDS, 217, 41, 9, 13, 0},
    {kConfigStepBackUnit, kDialogStatic, nullptr, SS_LEFT, 229, 42, 50, 12, kTextSeconds},
    {kConfigStepForwardLabel, kDialogStatic, nullptr, SS_LEFT, 87, 61, 100, 12, kTextStepForward},
    {kConfigStepForward, kDialogEdit, nullptr, ES_NUMBER | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 191, 61, 25, 13,
     0},
    {kConfigStepForwardArrows, 0, UPDOWN_CLASSW, UDS_SETBUDDYINT | UDS_ARROWKEYS | UDS_NOTHOUSANDS, 217, 61, 9, 13, 0},
    {kConfigStepForwardUnit, kDialogStatic, nullptr, SS_LEFT, 229, 62, 50, 12, kTextSeconds},
    {kConfigOffsetLabel, kDialogStatic, nullptr, SS_LEFT, 87, 81, 100, 12, kTextCueOffset},
    {kConfigOffset, kDialogEdit, nullptr, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 191, 81, 35, 13, 0},
    {kConfigOffsetUnit, kDialogStatic, nullptr, SS_LEFT, 229, 82, 50, 12, kTextSeconds},
    {kConfigRewindLabel, kDialogStatic, nullptr, SS_LEFT, 87, 121, 100, 12, kTextRewind},
    {kConfigRewind, kDialogEdit, nullptr, ES_NUMBER | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 191, 121, 25, 13, 0},
    {kConfigRewindArrows, 0, UPDOWN_CLASSW, UDS_SETBUDDYINT | UDS_ARROWKEYS | UDS_NOTHOUSANDS, 217, 121, 9, 13, 0},
    {kConfigRewindUnit, kDialogStatic, nullptr, SS_LEFT, 229, 122, 60, 12, kTextMilliseconds},
    {kConfigSpeedLabel, kDialogStatic, nullptr, SS_LEFT, 87, 141, 100, 12, kTextSpeed},
    {kConfigSpeed, kDialogEdit, nullptr, ES_NUMBER | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 191, 141, 25, 13, 0},
    {kConfigSpeedArrows, 0, UPDOWN_CLASSW, UDS_SETBUDDYINT | UDS_ARROWKEYS | UDS_NOTHOUSANDS, 217, 141, 9, 13, 0},
    {kConfigSpeedUnit, kDialogStatic, nullptr, SS_LEFT, 229, 142, 50, 12, kTextPercent},
    {kConfigTextColor, kDialogButton, nullptr, BS_PUSHBUTTON | WS_TABSTOP, 107, 26, 110, 14, kTextTextColor},
    {kConfigBackColor, kDialogButton, nullptr, BS_PUSHBUTTON | WS_TABSTOP, 107, 46, 110, 14, kTextBackColor},
    {kConfigSystemColors, kDialogButton, nullptr, BS_AUTOCHECKBOX | WS_TABSTOP, 97, 71, 200, 10, kTextSystemColors},
    {kConfigColorPreview, 0, WC_LISTVIEWW, LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SINGLESEL | WS_BORDER, 87, 91, 214,
     60, 0},
    {kConfigButtonBarPlace, kDialogStatic, nullptr, SS_LEFT, 101, 21, 200, 16, 0},
    {kConfigShortcutList, 0, WC_LISTVIEWW, LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP,
     87, 38, 214, 127, 0},
    {kConfigPedalFound, kDialogStatic, nullptr, SS_LEFT | SS_NOPREFIX, 87, 21, 214, 28, 0},
    {kConfigLeftPedalLabel, kDialogStatic, nullptr, SS_LEFT, 87, 57, 100, 12, kTextLeftPedal},
    {kConfigLeftPedal, kDialogComboBox, nullptr, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 191, 55, 110, 100, 0},
    {kConfigMiddlePedalLabel, kDialogStatic, nullptr, SS_LEFT, 87, 77, 100, 12, kTextMiddlePedal},
    {kConfigMiddlePedal, kDialogComboBox, nullptr, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 191, 75, 110, 100, 0},
    {kConfigRightPedalLabel, kDialogStatic, nullptr, SS_LEFT, 87, 97, 100, 12, kTextRightPedal},
    {kConfigRightPedal, kDialogComboBox, nullptr, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 191, 95, 110, 100, 0},
    {kConfigPedalBackground, kDialogButton, nullptr, BS_AUTOCHECKBOX | WS_TABSTOP, 97, 121, 204, 10,
     kTextPedalBackground},
    {kNoId, kDialogStatic, nullptr, SS_ETCHEDHORZ, 4, 167, 297, 1, 0},
    {kConfigOk, kDialogButton, nullptr, BS_DEFPUSHBUTTON | WS_TABSTOP, 181, 172, 58, 14, kTextOk},
    {kConfigCancel, kDialogButton, nullptr, BS_PUSHBUTTON | WS_TABSTOP, 242, 172, 58, 14, kTextCancel},
};

size_t BuildTemplate(uint8_t* buffer, size_t capacity) {
  wchar_t caption[kLabelChars] = L"";
  GetText(kTextConfiguration, caption, kLabelChars);
  DialogTemplate dialog;
  DialogTemplateBegin(&dialog, buffer, capacity, DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU,
                      305, 190, caption);
  for (const TemplateItem& item : kItems) {
    wchar_t text[kLabelChars] = L"";
    if (item.textId) GetText(item.textId, text, kLabelChars);
    if (item.classAtom)
      DialogTemplateItem(&dialog, item.style, item.x, item.y, item.width, item.height, item.id, item.classAtom, text);
    else
      DialogTemplateNamedItem(&dialog, item.style, item.x, item.y, item.width, item.height, item.id, item.className,
                              text);
  }
  return DialogTemplateEnd(&dialog);
}

void ShowPage(ConfigRun* run, int page) {
  if (page < 0 || page >= kConfigPageCount) page = kPageGeneral;
  run->page = page;
  for (int other = 0; other < kConfigPageCount; ++other)
    for (const uint16_t* id = kPageControls[other]; *id; ++id)
      ShowWindow(GetDlgItem(run->dialog, *id), other == page ? SW_SHOW : SW_HIDE);
  ShowWindow(GetDlgItem(run->dialog, kConfigButtonBarPlace), SW_HIDE);
  ShowShortcutPage(run, page == kPageShortcuts);
  SendDlgItemMessageW(run->dialog, kConfigPageList, LB_SETCURSEL, static_cast<WPARAM>(page), 0);
  InvalidateRect(GetDlgItem(run->dialog, kConfigPageTitle), nullptr, TRUE);
}

void FillPageList(ConfigRun* run) {
  HWND list = GetDlgItem(run->dialog, kConfigPageList);
  for (uint16_t title : kPageTitles) {
    wchar_t text[kLabelChars] = L"";
    GetText(title, text, kLabelChars);
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
  }
  LRESULT height = SendMessageW(list, LB_GETITEMHEIGHT, 0, 0);
  if (height > 0) SendMessageW(list, LB_SETITEMHEIGHT, 0, MAKELPARAM(height * 12 / 10, 0));
}

BOOL OnInitDialog(HWND dialog, ConfigRun* run) {
  SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(run));
  run->dialog = dialog;
  const uint16_t buttons[] = {kConfigOk, kConfigCancel, kConfigTextColor, kConfigBackColor};
  for (uint16_t id : buttons) ThemeControl(GetDlgItem(dialog, id));
  ThemeWindow(dialog);
  ThemeListView(GetDlgItem(dialog, kConfigShortcutList));
  FillPageList(run);
  InitOptionPages(run);
  InitShortcutPage(run);
  InitPedalPage(dialog);
  ShowPage(run, gLastPage);
  return TRUE;
}

void OnOk(ConfigRun* run) {
  ApplyOptionPages(run);
  ApplyPedalPage(run->dialog);
  SaveShortcuts(run->rows.row, run->rows.count);
  WriteOptions(Settings(), kSettingOpt.section, run->newOptions);
  Flush(Settings());
  gLastPage = run->page;
  EndDialog(run->dialog, 1);
}

BOOL OnCommand(ConfigRun* run, WORD id, WORD notification) {
  switch (id) {
    case kConfigOk:
    case IDOK: OnOk(run); return TRUE;
    case kConfigCancel:
      gLastPage = run->page;
      EndDialog(run->dialog, 0);
      return TRUE;
    case kConfigPageList:
      if (notification == LBN_SELCHANGE)
        ShowPage(run, static_cast<int>(SendDlgItemMessageW(run->dialog, kConfigPageList, LB_GETCURSEL, 0, 0)));
      return TRUE;
    case kConfigTextColor:
    case kConfigBackColor: ChooseConfigColor(run, id == kConfigBackColor); return TRUE;
    case kConfigEditShortcut:
    case kConfigDuplicateShortcut:
    case kConfigRemoveShortcut: OnShortcutCommand(run, id); return TRUE;
    default: return FALSE;
  }
}

// The current page's title, in bold over an etched line.
void DrawPageTitle(ConfigRun* run, const DRAWITEMSTRUCT* item) {
  RECT box = item->rcItem;
  FillRect(item->hDC, &box, ThemeGetBrush(kThemeFaceBack));
  wchar_t text[kLabelChars] = L"";
  GetText(kPageTitles[run->page], text, kLabelChars);
  LOGFONTW description{};
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(run->dialog, WM_GETFONT, 0, 0));
  GetObjectW(font, sizeof description, &description);
  description.lfWeight = FW_BOLD;
  HFONT bold = CreateFontIndirectW(&description);
  HGDIOBJ old = SelectObject(item->hDC, bold ? bold : font);
  SetBkMode(item->hDC, TRANSPARENT);
  SetTextColor(item->hDC, ThemeGetColor(kThemeFaceText));
  DrawTextW(item->hDC, text, -1, &box, DT_LEFT | DT_TOP | DT_SINGLELINE);
  SelectObject(item->hDC, old);
  if (bold) DeleteObject(bold);
  box.top = box.bottom - 2;
  DrawEdge(item->hDC, &box, EDGE_ETCHED, BF_TOP);
}

BOOL OnDrawItem(ConfigRun* run, DRAWITEMSTRUCT* item) {
  if (item->CtlID == kConfigPageTitle) {
    DrawPageTitle(run, item);
    return TRUE;
  }
  return ThemeDrawButton(item) ? TRUE : FALSE;
}

INT_PTR CALLBACK ConfigDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* run = reinterpret_cast<ConfigRun*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (message == WM_INITDIALOG) return OnInitDialog(dialog, reinterpret_cast<ConfigRun*>(lParam));
  if (!run) return FALSE;
  switch (message) {
    case WM_COMMAND: return OnCommand(run, LOWORD(wParam), HIWORD(wParam));
    case WM_NOTIFY:
      SetWindowLongPtrW(dialog, DWLP_MSGRESULT, OnShortcutNotify(run, reinterpret_cast<NMHDR*>(lParam)));
      return TRUE;
    case WM_DRAWITEM: return OnDrawItem(run, reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORDLG:
      return reinterpret_cast<INT_PTR>(ThemeControlColors(message, reinterpret_cast<HDC>(wParam)));
    default: return FALSE;
  }
}

// After OK: menus (the icons and the shortcuts they show), the window's place
// in the Z order, the menu icons' size.
void TakeUpChanges(HWND owner, const ConfigRun* run) {
  gApp->options = run->newOptions;
  if (run->newIconSize != gApp->menuIconSize) {
    gApp->menuIconSize = run->newIconSize;
    WriteSetting(Settings(), kSettingIconMn, run->newIconSize);
    MainMenusBuildIcons();
  }
  SelectLanguageAndBuildMenus(owner);
  SetWindowPos(owner, (gApp->options & kOptAlwaysOnTop) ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE);
  Flush(Settings());
  InvalidateRect(owner, nullptr, TRUE);
}

}  // namespace

int ParseStepSeconds(const wchar_t* text, int32_t* seconds) {
  if (!text || !*text) return 0;
  int32_t value = 0;
  for (const wchar_t* p = text; *p; ++p) {
    if (*p < L'0' || *p > L'9') return 0;
    if (value > 100000) return 0;  // far past the arrows' 1000: a slip, not a length
    value = value * 10 + (*p - L'0');
  }
  *seconds = value;
  return 1;
}

int ParseOffsetSeconds(const wchar_t* text, int32_t* seconds) {
  if (!text) return 0;
  int negative = *text == L'-';
  int32_t value = 0;
  if (!ParseStepSeconds(text + negative, &value)) return 0;
  *seconds = negative ? -value : value;
  return 1;
}

int RunConfigurationDialog(HWND owner) {
  alignas(4) static uint8_t dialogTemplate[kTemplateBytes];
  if (!BuildTemplate(dialogTemplate, sizeof dialogTemplate)) return 0;
  // The shortcut rows make the record large; one dialog at a time.
  auto* run = static_cast<ConfigRun*>(calloc(1, sizeof(ConfigRun)));
  if (!run) return 0;
  INT_PTR result = DialogBoxIndirectParamW(gApp->instance, reinterpret_cast<DLGTEMPLATE*>(dialogTemplate), owner,
                                           ConfigDialogProc, reinterpret_cast<LPARAM>(run));
  if (result == 1) TakeUpChanges(owner, run);
  free(run);
  return result == 1;
}
