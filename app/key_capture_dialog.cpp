// The key-capture dialog of the shortcut editor: a key from a list and the
// modifiers as check boxes, with a note when the combination is reserved or
// held by another command.
#include "app/app_state.h"
#include "app/config_dialog_run.h"
#include "shortcuts/key_names.h"
#include "ui/dialog_template.h"
#include "ui/theme.h"

namespace {

constexpr size_t kTemplateBytes = 1024;
constexpr size_t kTextChars = 128;
constexpr uint16_t kKeyList = 5404;
constexpr uint16_t kNote = 5405;
constexpr uint16_t kAltBox = 9018;
constexpr uint16_t kCtrlBox = 9017;
constexpr uint16_t kShiftBox = 9016;
constexpr uint16_t kOkButton = 99;

// Keys after F1-F12, A-Z, 0-9 and the numeric pad's digits, in list order.
const uint8_t kOtherKeys[] = {13,  9,   32,  45,  46,  36,  35,  33,  34,  37,  38,  39,  40,  41,
                              42,  43,  44,  107, 109, 106, 111, 187, 188, 189, 190, 186, 191, 192,
                              219, 220, 221, 222, 223, 226, 8,   19,  20,  27,  144, 145, 12};

struct Modifier {
  uint16_t box;
  uint16_t bit;
};
const Modifier kModifiers[] = {{kAltBox, kShortcutAlt}, {kCtrlBox, kShortcutCtrl}, {kShiftBox, kShortcutShift}};

struct CaptureRun {
  const ShortcutRows* rows;
  size_t row;
  uint16_t code;
};

void AddKey(HWND list, uint16_t key, uint16_t selectedKey) {
  wchar_t text[kTextChars];
  if (!ShortcutText(key, text, kTextChars)) return;
  LRESULT at = SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
  if (at < 0) return;
  SendMessageW(list, CB_SETITEMDATA, static_cast<WPARAM>(at), key);
  if (key == selectedKey) SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(at), 0);
}

void FillKeys(HWND list, uint16_t selectedKey) {
  for (uint16_t key = 112; key <= 123; ++key) AddKey(list, key, selectedKey);
  for (uint16_t key = 'A'; key <= 'Z'; ++key) AddKey(list, key, selectedKey);
  for (uint16_t key = '0'; key <= '9'; ++key) AddKey(list, key, selectedKey);
  for (uint16_t key = 96; key <= 105; ++key) AddKey(list, key, selectedKey);
  for (uint8_t key : kOtherKeys) AddKey(list, key, selectedKey);
  if (SendMessageW(list, CB_GETCURSEL, 0, 0) < 0) SendMessageW(list, CB_SETCURSEL, 0, 0);
}

uint16_t ChosenCode(HWND dialog) {
  HWND list = GetDlgItem(dialog, kKeyList);
  LRESULT at = SendMessageW(list, CB_GETCURSEL, 0, 0);
  if (at < 0) return 0;
  auto code = static_cast<uint16_t>(SendMessageW(list, CB_GETITEMDATA, static_cast<WPARAM>(at), 0) & 0xFF);
  for (const Modifier& modifier : kModifiers)
    if (IsDlgButtonChecked(dialog, modifier.box) == BST_CHECKED) code |= modifier.bit;
  return code;
}

void UpdateNote(HWND dialog, const CaptureRun* run) {
  uint16_t code = ChosenCode(dialog);
  wchar_t note[kTextChars] = L"";
  if (IsReservedCode(code)) {
    GetText(kTextReservedShortcut, note, kTextChars);
  } else {
    int other = ConflictingShortcutRow(run->rows, run->row, code);
    if (other >= 0)
      ShortcutCommandRowName(CurrentLanguageTable(), &gShortcuts, run->rows->row[other].command, note, kTextChars);
  }
  SetDlgItemTextW(dialog, kNote, note);
}

BOOL OnInit(HWND dialog, CaptureRun* run) {
  SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(run));
  uint16_t code = run->rows->row[run->row].code;
  FillKeys(GetDlgItem(dialog, kKeyList), code & 0xFF);
  for (const Modifier& modifier : kModifiers)
    CheckDlgButton(dialog, modifier.box, (code & modifier.bit) ? BST_CHECKED : BST_UNCHECKED);
  ThemeWindow(dialog);
  ThemeControl(GetDlgItem(dialog, kOkButton));
  ThemeControl(GetDlgItem(dialog, IDCANCEL));
  UpdateNote(dialog, run);
  return TRUE;
}

BOOL OnCommand(HWND dialog, CaptureRun* run, WORD id, WORD notification) {
  switch (id) {
    case kOkButton:
    case IDOK:
      run->code = ChosenCode(dialog);
      // A reserved combination ends the dialog as Cancel does.
      EndDialog(dialog, IsReservedCode(run->code) ? 0 : 1);
      return TRUE;
    case IDCANCEL: EndDialog(dialog, 0); return TRUE;
    case kKeyList:
      if (notification == CBN_SELCHANGE) UpdateNote(dialog, run);
      return TRUE;
    case kAltBox:
    case kCtrlBox:
    case kShiftBox: UpdateNote(dialog, run); return TRUE;
    default: return FALSE;
  }
}

INT_PTR CALLBACK KeyCaptureProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* run = reinterpret_cast<CaptureRun*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (message == WM_INITDIALOG) return OnInit(dialog, reinterpret_cast<CaptureRun*>(lParam));
  if (!run) return FALSE;
  switch (message) {
    case WM_COMMAND: return OnCommand(dialog, run, LOWORD(wParam), HIWORD(wParam));
    case WM_DRAWITEM: return ThemeDrawButton(reinterpret_cast<DRAWITEMSTRUCT*>(lParam)) ? TRUE : FALSE;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORDLG:
      return reinterpret_cast<INT_PTR>(ThemeControlColors(message, reinterpret_cast<HDC>(wParam)));
    default: return FALSE;
  }
}

size_t BuildTemplate(uint8_t* buffer, size_t capacity) {
  wchar_t caption[kTextChars] = L"", ok[kTextChars] = L"", cancel[kTextChars] = L"";
  GetText(kTextShortcut, caption, kTextChars);
  GetText(kTextOk, ok, kTextChars);
  GetText(kTextCancel, cancel, kTextChars);
  DialogTemplate dialog;
  DialogTemplateBegin(&dialog, buffer, capacity, DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU, 153,
                      109, caption);
  DialogTemplateItem(&dialog, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 15, 15, 60, 230, kKeyList, kDialogComboBox,
                     L"");
  struct {
    uint16_t id;
    short y;
  } boxes[] = {{kAltBox, 8}, {kCtrlBox, 23}, {kShiftBox, 38}};
  for (const auto& box : boxes) {
    wchar_t name[kTextChars] = L"";
    GetText(box.id, name, kTextChars);
    DialogTemplateItem(&dialog, BS_AUTOCHECKBOX | WS_TABSTOP, 86, box.y, 50, 10, box.id, kDialogButton, name);
  }
  DialogTemplateItem(&dialog, SS_LEFT, 5, 55, 143, 30, kNote, kDialogStatic, L"");
  DialogTemplateItem(&dialog, BS_DEFPUSHBUTTON | WS_TABSTOP, 29, 90, 58, 14, kOkButton, kDialogButton, ok);
  DialogTemplateItem(&dialog, BS_PUSHBUTTON | WS_TABSTOP, 90, 90, 58, 14, IDCANCEL, kDialogButton, cancel);
  return DialogTemplateEnd(&dialog);
}

}  // namespace

int RunKeyCaptureDialog(HWND owner, const ShortcutRows* rows, size_t row, uint16_t* code) {
  if (row >= rows->count) return 0;
  alignas(4) uint8_t dialogTemplate[kTemplateBytes];
  if (!BuildTemplate(dialogTemplate, sizeof dialogTemplate)) return 0;
  CaptureRun run{rows, row, 0};
  INT_PTR result = DialogBoxIndirectParamW(gApp->instance, reinterpret_cast<DLGTEMPLATE*>(dialogTemplate), owner,
                                           KeyCaptureProc, reinterpret_cast<LPARAM>(&run));
  if (result != 1) return 0;
  *code = run.code;
  return 1;
}
