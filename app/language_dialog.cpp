// The Language dialog, its template made in memory (the program has no dialog
// resources: every text comes from the language tables).
#include "app/language_dialog.h"

#include <cstring>

#include "app/app_state.h"
#include "app/main_menus.h"
#include "settings/settings_store.h"
#include "ui/dialog_template.h"
#include "ui/theme.h"

namespace {

constexpr size_t kTemplateBytes = 512;
constexpr wchar_t kCaption[] = L" Language";

struct DialogRun {
  LanguageChoice choices[kMaxLanguageChoices];
  int count;
  char chosen[kLanguageCodeChars + 1];
};

void FillList(HWND dialog, DialogRun* run) {
  wchar_t folder[kMaxPathChars + 1] = L"";
  LanguageFolder(folder, kMaxPathChars + 1);
  run->count = ListLanguages(folder, run->choices, kMaxLanguageChoices);
  HWND list = GetDlgItem(dialog, kLanguageListId);
  int wanted = FindLanguageChoice(run->choices, run->count, gApp->languageCode);
  for (int i = 0; i < run->count; i++) {
    LRESULT at = SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(run->choices[i].name));
    if (at < 0) continue;
    SendMessageW(list, LB_SETITEMDATA, static_cast<WPARAM>(at), i);
    if (i == wanted) SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(at), 0);
  }
}

// OK or a double click: the selected entry's code, or nothing.
void EndWithSelection(HWND dialog, DialogRun* run) {
  HWND list = GetDlgItem(dialog, kLanguageListId);
  LRESULT at = SendMessageW(list, LB_GETCURSEL, 0, 0);
  LRESULT index = at >= 0 ? SendMessageW(list, LB_GETITEMDATA, static_cast<WPARAM>(at), 0) : -1;
  if (index < 0 || index >= run->count) {
    EndDialog(dialog, 0);
    return;
  }
  lstrcpynA(run->chosen, run->choices[index].code, static_cast<int>(sizeof run->chosen));
  EndDialog(dialog, 1);
}

INT_PTR CALLBACK LanguageDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  DialogRun* run = reinterpret_cast<DialogRun*>(GetWindowLongPtrW(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      ThemeWindow(dialog);
      ThemeControl(GetDlgItem(dialog, IDOK));
      FillList(dialog, reinterpret_cast<DialogRun*>(lParam));
      return TRUE;
    case WM_DRAWITEM: return ThemeDrawButton(reinterpret_cast<DRAWITEMSTRUCT*>(lParam)) ? TRUE : FALSE;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORDLG:
      return reinterpret_cast<INT_PTR>(ThemeControlColors(message, reinterpret_cast<HDC>(wParam)));
    case WM_COMMAND:
      if (!run) return FALSE;
      if (LOWORD(wParam) == IDOK || (LOWORD(wParam) == kLanguageListId && HIWORD(wParam) == LBN_DBLCLK)) {
        EndWithSelection(dialog, run);
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, 0);
        return TRUE;
      }
      return FALSE;
    default: return FALSE;
  }
}

}  // namespace

size_t BuildLanguageDialogTemplate(uint8_t* buffer, size_t capacity, const wchar_t* okText) {
  DialogTemplate dialog;
  DialogTemplateBegin(&dialog, buffer, capacity, DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU, 154,
                      143, kCaption);
  DialogTemplateItem(&dialog, LBS_SORT | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_BORDER | WS_TABSTOP, 7, 7,
                     140, 108, kLanguageListId, kDialogListBox, L"");
  DialogTemplateItem(&dialog, BS_DEFPUSHBUTTON | WS_TABSTOP, 52, 122, 50, 14, IDOK, kDialogButton, okText);
  return DialogTemplateEnd(&dialog);
}

int FindLanguageChoice(const LanguageChoice* choices, int count, const char* code) {
  if (!code || !code[0]) return -1;
  for (int i = 0; i < count; i++)
    if (lstrcmpiA(choices[i].code, code) == 0) return i;
  return -1;
}

int RunLanguageDialog(HWND owner, char* code, size_t capacity) {
  alignas(4) uint8_t dialogTemplate[kTemplateBytes];
  wchar_t okText[32];
  GetText(kTextOk, okText, 32);
  if (!okText[0]) lstrcpynW(okText, L"OK", 32);
  if (!BuildLanguageDialogTemplate(dialogTemplate, sizeof dialogTemplate, okText)) return 0;
  static DialogRun run;  // large; one dialog at a time
  run = DialogRun{};
  INT_PTR result = DialogBoxIndirectParamW(gApp->instance, reinterpret_cast<DLGTEMPLATE*>(dialogTemplate), owner,
                                           LanguageDialogProc, reinterpret_cast<LPARAM>(&run));
  if (result != 1 || !run.chosen[0]) return 0;
  lstrcpynA(code, run.chosen, static_cast<int>(capacity));
  return 1;
}

LRESULT RunLanguageCommand(HWND window) {
  char code[kLanguageCodeChars + 1] = "";
  if (!RunLanguageDialog(window, code, sizeof code)) {
    // Nothing chosen and nothing known yet: the system's language as at start-up.
    if (!gApp->languageCode[0]) SelectLanguageAndBuildMenus(window);
    return 0;
  }
  lstrcpynA(gApp->languageCode, code, static_cast<int>(sizeof gApp->languageCode));
  SettingsStore* store = Settings();
  WriteString(store, kSettingLanguage.section, kSettingLanguage.name, gApp->languageCode);
  Flush(store);
  SelectLanguageAndBuildMenus(window);
  return 0;
}
