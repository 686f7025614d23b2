// Options > Customize Toolbar: the available buttons, the toolbar's buttons
// and the icon size. The two lists are kept as arrays (ToolbarLists) and the
// list views are filled from them after every change.
#include <cstdio>
#include <cwchar>
#include <initializer_list>

#include "app/app_state.h"
#include "app/main_toolbar.h"
#include "language/language.h"
#include "ui/dialog_template.h"
#include "ui/theme.h"

namespace {

enum : uint16_t {
  kAvailableLabel = 7501,
  kChosenLabel = 7502,
  kAvailableList = 7503,
  kChosenList = 7504,
  kAddButton = 6990,
  kRemoveButton = 6997,
  kUpButton = 6991,
  kDownButton = 6992,
  kSizeLabel = 5203,
  kSizeList = 5204,
  kOkButton = 99,
  kCancelButton = 2,
};

constexpr size_t kTemplateBytes = 3072;
constexpr size_t kLabelChars = 96;
constexpr uint16_t kListImageSize = 16;

struct ToolbarRun {
  HWND dialog;
  ToolbarLists lists;
  HIMAGELIST images;
  uint16_t iconSize;
};

struct TemplateItem {
  uint16_t id;
  uint16_t classAtom;
  DWORD style;
  short x, y, width, height;
  uint16_t textId;
  const wchar_t* text;  // when there is no language text
};

constexpr DWORD kListStyle = LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SINGLESEL | LVS_SHOWSELALWAYS |
                             LVS_SHAREIMAGELISTS | WS_BORDER | WS_TABSTOP;

const TemplateItem kItems[] = {
    {kAvailableLabel, kDialogStatic, SS_LEFT, 7, 7, 130, 10, kTextAvailableButtons, nullptr},
    {kAvailableList, 0, kListStyle, 7, 18, 130, 100, 0, nullptr},
    {kAddButton, kDialogButton, BS_PUSHBUTTON | WS_TABSTOP, 143, 30, 48, 14, 0, L">>"},
    {kRemoveButton, kDialogButton, BS_PUSHBUTTON | WS_TABSTOP, 143, 48, 48, 14, 0, L"<<"},
    {kUpButton, kDialogButton, BS_PUSHBUTTON | WS_TABSTOP, 143, 76, 48, 14, kTextMoveUp, nullptr},
    {kDownButton, kDialogButton, BS_PUSHBUTTON | WS_TABSTOP, 143, 94, 48, 14, kTextMoveDown, nullptr},
    {kChosenLabel, kDialogStatic, SS_LEFT, 197, 7, 130, 10, kTextToolbarButtons, nullptr},
    {kChosenList, 0, kListStyle, 197, 18, 130, 100, 0, nullptr},
    {kSizeLabel, kDialogStatic, SS_LEFT, 7, 129, 60, 10, kTextIconSize, nullptr},
    {kSizeList, kDialogComboBox, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 70, 127, 60, 100, 0, nullptr},
    {kOkButton, kDialogButton, BS_DEFPUSHBUTTON | WS_TABSTOP, 215, 127, 54, 14, kTextOk, nullptr},
    {kCancelButton, kDialogButton, BS_PUSHBUTTON | WS_TABSTOP, 273, 127, 54, 14, kTextCancel, nullptr},
};

size_t BuildTemplate(uint8_t* buffer, size_t capacity) {
  wchar_t caption[kLabelChars] = L"";
  GetText(kTextToolbarOptions, caption, kLabelChars);
  DialogTemplate dialog;
  DialogTemplateBegin(&dialog, buffer, capacity, DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU, 334, 148,
                      caption);
  for (const TemplateItem& item : kItems) {
    wchar_t text[kLabelChars] = L"";
    if (item.textId) GetText(item.textId, text, kLabelChars);
    if (item.text) wcsncpy(text, item.text, kLabelChars - 1);
    if (item.classAtom)
      DialogTemplateItem(&dialog, item.style, item.x, item.y, item.width, item.height, item.id, item.classAtom, text);
    else
      DialogTemplateNamedItem(&dialog, item.style, item.x, item.y, item.width, item.height, item.id, WC_LISTVIEWW,
                              text);
  }
  return DialogTemplateEnd(&dialog);
}

// The command's menu label without its mnemonic mark.
void ButtonLabel(uint16_t command, wchar_t* label, size_t capacity) {
  GetText(command, label, capacity);
  CutAtSemicolon(label);
  CutAtTab(label);
  wchar_t* to = label;
  for (const wchar_t* from = label; *from; ++from)
    if (*from != L'&') *to++ = *from;
  *to = 0;
}

void FillList(HWND list, const uint16_t* commands, size_t count, int selection) {
  SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
  for (size_t i = 0; i < count; ++i) {
    wchar_t label[kLabelChars] = L"";
    ButtonLabel(commands[i], label, kLabelChars);
    const ToolbarButtonRecord* entry = FindToolbarButton(kMainToolbarCatalogue, commands[i]);
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    item.iItem = static_cast<int>(i);
    item.pszText = label;
    item.iImage = entry && entry->image >= 0 ? entry->image : I_IMAGENONE;
    item.lParam = commands[i];
    SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  }
  if (selection >= 0) {
    LVITEMW state{};
    state.stateMask = state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(selection), reinterpret_cast<LPARAM>(&state));
    SendMessageW(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(selection), FALSE);
  }
  SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
}

void ShowLists(ToolbarRun* run) {
  FillList(GetDlgItem(run->dialog, kAvailableList), run->lists.available, run->lists.availableCount,
           run->lists.availableSelection);
  FillList(GetDlgItem(run->dialog, kChosenList), run->lists.chosen, run->lists.chosenCount,
           run->lists.chosenSelection);
}

int SelectedRow(HWND list) {
  return static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void ReadSelections(ToolbarRun* run) {
  run->lists.availableSelection = SelectedRow(GetDlgItem(run->dialog, kAvailableList));
  run->lists.chosenSelection = SelectedRow(GetDlgItem(run->dialog, kChosenList));
}

void PrepareList(HWND list, HIMAGELIST images) {
  SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  SendMessageW(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images));
  RECT client;
  GetClientRect(list, &client);
  LVCOLUMNW column{};
  column.mask = LVCF_WIDTH;
  column.cx = client.right - GetSystemMetrics(SM_CXVSCROLL);
  SendMessageW(list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
  ThemeListView(list);
}

void FillSizes(ToolbarRun* run) {
  HWND sizes = GetDlgItem(run->dialog, kSizeList);
  for (uint16_t size : kToolbarIconSizes) {
    wchar_t text[16];
    swprintf(text, 16, L"%ux%u", size, size);
    SendMessageW(sizes, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
  }
  SendMessageW(sizes, CB_SETCURSEL, static_cast<WPARAM>(ToolbarIconSizeIndex(run->iconSize)), 0);
}

void CentreOnOwner(HWND dialog) {
  HWND owner = GetWindow(dialog, GW_OWNER);
  RECT area, box;
  if (!owner || !GetWindowRect(owner, &area) || !GetWindowRect(dialog, &box)) return;
  int width = box.right - box.left, height = box.bottom - box.top;
  SetWindowPos(dialog, nullptr, (area.left + area.right - width) / 2, (area.top + area.bottom - height) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL OnInitDialog(HWND dialog, ToolbarRun* run) {
  SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(run));
  run->dialog = dialog;
  ThemeWindow(dialog);
  for (uint16_t id : {kAddButton, kRemoveButton, kUpButton, kDownButton, kOkButton, kCancelButton})
    ThemeControl(GetDlgItem(dialog, id));
  PrepareList(GetDlgItem(dialog, kAvailableList), run->images);
  PrepareList(GetDlgItem(dialog, kChosenList), run->images);
  FillSizes(run);
  ShowLists(run);
  CentreOnOwner(dialog);
  return TRUE;
}

void OnOk(ToolbarRun* run) {
  if (!run->lists.chosenCount) {  // no buttons: as if cancelled
    EndDialog(run->dialog, 0);
    return;
  }
  LRESULT row = SendDlgItemMessageW(run->dialog, kSizeList, CB_GETCURSEL, 0, 0);
  uint16_t size = row >= 0 && row < kToolbarSizeCount ? kToolbarIconSizes[row] : ToolbarStripSize(run->iconSize);
  for (size_t i = 0; i < run->lists.chosenCount; ++i) gToolbar.layout[i] = run->lists.chosen[i];
  gToolbar.layout[run->lists.chosenCount] = 0;
  EndDialog(run->dialog, size);
}

void Change(ToolbarRun* run, int (*change)(ToolbarLists*)) {
  ReadSelections(run);
  if (change(&run->lists)) ShowLists(run);
}

int MoveUp(ToolbarLists* lists) { return ToolbarListsMove(lists, -1); }
int MoveDown(ToolbarLists* lists) { return ToolbarListsMove(lists, 1); }

BOOL OnCommand(ToolbarRun* run, WORD id) {
  switch (id) {
    case kAddButton: Change(run, ToolbarListsAdd); return TRUE;
    case kRemoveButton: Change(run, ToolbarListsRemove); return TRUE;
    case kUpButton: Change(run, MoveUp); return TRUE;
    case kDownButton: Change(run, MoveDown); return TRUE;
    case kOkButton:
    case IDOK: OnOk(run); return TRUE;
    case IDCANCEL: EndDialog(run->dialog, 0); return TRUE;
    default: return FALSE;
  }
}

// A double-click in a list moves its row to the other list.
BOOL OnNotify(ToolbarRun* run, const NMHDR* header) {
  if (header->code != NM_DBLCLK) return FALSE;
  if (header->idFrom == kAvailableList) Change(run, ToolbarListsAdd);
  if (header->idFrom == kChosenList) Change(run, ToolbarListsRemove);
  return TRUE;
}

INT_PTR CALLBACK ToolbarDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* run = reinterpret_cast<ToolbarRun*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (message == WM_INITDIALOG) return OnInitDialog(dialog, reinterpret_cast<ToolbarRun*>(lParam));
  if (!run) return FALSE;
  switch (message) {
    case WM_COMMAND: return OnCommand(run, LOWORD(wParam));
    case WM_NOTIFY: return OnNotify(run, reinterpret_cast<NMHDR*>(lParam));
    case WM_DRAWITEM: return ThemeDrawButton(reinterpret_cast<DRAWITEMSTRUCT*>(lParam)) ? TRUE : FALSE;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORDLG:
      return reinterpret_cast<INT_PTR>(ThemeControlColors(message, reinterpret_cast<HDC>(wParam)));
    default: return FALSE;
  }
}

}  // namespace

uint16_t RunToolbarDialog(HWND owner) {
  alignas(4) static uint8_t dialogTemplate[kTemplateBytes];
  if (!BuildTemplate(dialogTemplate, sizeof dialogTemplate)) return 0;
  static ToolbarRun run;
  run = ToolbarRun{};
  run.iconSize = gToolbar.iconSize;
  InitToolbarLists(&run.lists, kMainToolbarCatalogue, gToolbar.layout, kToolbarSeparator);
  run.images = CreateToolbarImageList(&gToolbar, kListImageSize, 0);
  INT_PTR result = DialogBoxIndirectParamW(gApp->instance, reinterpret_cast<DLGTEMPLATE*>(dialogTemplate), owner,
                                           ToolbarDialogProc, reinterpret_cast<LPARAM>(&run));
  if (run.images) ImageList_Destroy(run.images);
  return result > 0 ? static_cast<uint16_t>(result) : 0;
}
