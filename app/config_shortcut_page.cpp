// The Keyboard Shortcuts page: the list of commands and their keys, the
// button bar (Edit, Duplicate, Remove) and sorting by a column. The list view
// mirrors the page's rows (shortcuts/shortcut_editor.h) in the same order.
#include <cwchar>

#include "app/app_state.h"
#include "app/config_dialog_run.h"
#include "shortcuts/key_names.h"

namespace {

constexpr int kIconSide = 16;
constexpr size_t kCellChars = 128;
constexpr int kShortcutColumnWidth = 110;
constexpr uint16_t kImageSlots = 2048;  // command numbers stay below this

struct BarButton {
  uint16_t command;
  uint16_t text;
};
const BarButton kBarButtons[] = {
    {kConfigEditShortcut, kTextEdit}, {kConfigDuplicateShortcut, kTextDuplicate}, {kConfigRemoveShortcut, kTextRemove}};

// The image of each command in the list's image list, -1 for none.
int16_t gCommandImage[kImageSlots];

HWND List(const ConfigRun* run) { return GetDlgItem(run->dialog, kConfigShortcutList); }

void RowTexts(const ShortcutBinding& row, wchar_t* name, wchar_t* keys) {
  ShortcutCommandRowName(CurrentLanguageTable(), &gShortcuts, row.command, name, kCellChars);
  keys[0] = 0;
  if (row.code) ShortcutText(row.code, keys, kCellChars);
}

int SelectedRow(const ConfigRun* run) {
  LRESULT at = SendMessageW(List(run), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED);
  return at >= 0 && static_cast<size_t>(at) < run->rows.count ? static_cast<int>(at) : -1;
}

void SetButtonStates(ConfigRun* run) {
  int selected = SelectedRow(run) >= 0;
  for (const BarButton& button : kBarButtons)
    SendMessageW(run->buttonBar, TB_ENABLEBUTTON, button.command, MAKELPARAM(selected, 0));
}

// The list view shows the rows afresh, with index selected (-1: none).
void ShowRows(ConfigRun* run, int select) {
  HWND list = List(run);
  SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
  for (size_t i = 0; i < run->rows.count; ++i) {
    const ShortcutBinding& row = run->rows.row[i];
    wchar_t name[kCellChars], keys[kCellChars];
    RowTexts(row, name, keys);
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_PARAM | LVIF_IMAGE;
    item.iItem = static_cast<int>(i);
    item.pszText = name;
    item.iImage = row.command < kImageSlots ? gCommandImage[row.command] : -1;
    item.lParam = MAKELPARAM(row.code, row.command);
    LRESULT at = SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    item.mask = LVIF_TEXT;
    item.iSubItem = 1;
    item.pszText = keys;
    SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(&item));
  }
  if (select >= 0) {
    LVITEMW state{};
    state.stateMask = state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(select), reinterpret_cast<LPARAM>(&state));
    SendMessageW(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(select), FALSE);
  }
  SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
  SetButtonStates(run);
}

// The 16-pixel menu icons of the listed commands.
HIMAGELIST MakeImages() {
  HIMAGELIST images = ImageList_Create(kIconSide, kIconSide, ILC_COLOR32 | ILC_MASK, 32, 8);
  for (int16_t& image : gCommandImage) image = -1;
  for (const CommandName* entry = kCommandNames; images && entry->command; ++entry) {
    if (entry->command >= kImageSlots) continue;
    auto icon = static_cast<HICON>(
        LoadImageW(gApp->instance, MAKEINTRESOURCEW(entry->command), IMAGE_ICON, kIconSide, kIconSide, 0));
    if (!icon) continue;
    gCommandImage[entry->command] = static_cast<int16_t>(ImageList_AddIcon(images, icon));
    DestroyIcon(icon);
  }
  return images;
}

void AddColumn(HWND list, int index, uint16_t textId, int width) {
  wchar_t text[kCellChars] = L"";
  GetText(textId, text, kCellChars);
  LVCOLUMNW column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH;
  column.pszText = text;
  column.cx = width;
  SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column));
}

// Text buttons where the template keeps a place for them; they send their
// commands to the dialog.
HWND MakeButtonBar(ConfigRun* run) {
  HWND place = GetDlgItem(run->dialog, kConfigButtonBarPlace);
  RECT box;
  GetWindowRect(place, &box);
  MapWindowPoints(HWND_DESKTOP, run->dialog, reinterpret_cast<POINT*>(&box), 2);
  HWND bar = CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr,
                             WS_CHILD | TBSTYLE_FLAT | TBSTYLE_LIST | TBSTYLE_TOOLTIPS | CCS_NORESIZE | CCS_NODIVIDER |
                                 CCS_NOPARENTALIGN,
                             box.left, box.top, box.right - box.left, box.bottom - box.top, run->dialog, nullptr,
                             gApp->instance, nullptr);
  if (!bar) return nullptr;
  SendMessageW(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  SendMessageW(bar, TB_SETBITMAPSIZE, 0, MAKELPARAM(0, 0));
  SendMessageW(bar, WM_SETFONT, SendMessageW(run->dialog, WM_GETFONT, 0, 0), FALSE);
  for (const BarButton& entry : kBarButtons) {
    wchar_t text[kCellChars] = L"";
    GetText(entry.text, text, kCellChars);
    TBBUTTON button{};
    button.iBitmap = I_IMAGENONE;
    button.idCommand = entry.command;
    button.fsState = TBSTATE_ENABLED;
    button.fsStyle = BTNS_BUTTON | BTNS_AUTOSIZE | BTNS_SHOWTEXT;
    button.iString = reinterpret_cast<INT_PTR>(text);
    SendMessageW(bar, TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&button));
  }
  return bar;
}

void EditSelected(ConfigRun* run) {
  int index = SelectedRow(run);
  uint16_t code = 0;
  if (index < 0 || !RunKeyCaptureDialog(run->dialog, &run->rows, static_cast<size_t>(index), &code)) return;
  int cleared = -1;
  if (EditShortcutRow(&run->rows, static_cast<size_t>(index), code, &cleared)) ShowRows(run, index);
}

void DuplicateSelected(ConfigRun* run) {
  int index = SelectedRow(run);
  if (index < 0) return;
  int added = DuplicateShortcutRow(&run->rows, static_cast<size_t>(index));
  if (added >= 0) ShowRows(run, added);
}

void RemoveSelected(ConfigRun* run) {
  int index = SelectedRow(run);
  if (index < 0) return;
  int deleted = RemoveShortcutRow(&run->rows, static_cast<size_t>(index));
  if (deleted < 0) return;
  int select = index < static_cast<int>(run->rows.count) ? index : static_cast<int>(run->rows.count) - 1;
  ShowRows(run, deleted ? select : index);
}

// Stable sort of the rows by one column's text; the header shows the direction.
void SortByColumn(ConfigRun* run, int column) {
  run->sortDescending = run->sortColumn == column ? !run->sortDescending : 0;
  run->sortColumn = column;
  int selected = SelectedRow(run);
  ShortcutBinding keep = selected >= 0 ? run->rows.row[selected] : ShortcutBinding{};
  static wchar_t texts[kMaxShortcutRows][kCellChars];
  wchar_t other[kCellChars];
  for (size_t i = 0; i < run->rows.count; ++i)
    column ? RowTexts(run->rows.row[i], other, texts[i]) : RowTexts(run->rows.row[i], texts[i], other);
  for (size_t i = 1; i < run->rows.count; ++i) {
    ShortcutBinding row = run->rows.row[i];
    wcscpy(other, texts[i]);
    size_t j = i;
    for (; j > 0; --j) {
      int order = lstrcmpiW(texts[j - 1], other);
      if (run->sortDescending ? order >= 0 : order <= 0) break;
      run->rows.row[j] = run->rows.row[j - 1];
      wcscpy(texts[j], texts[j - 1]);
    }
    run->rows.row[j] = row;
    wcscpy(texts[j], other);
  }
  HWND header = reinterpret_cast<HWND>(SendMessageW(List(run), LVM_GETHEADER, 0, 0));
  for (int i = 0; i < 2; ++i) {
    HDITEMW item{};
    item.mask = HDI_FORMAT;
    SendMessageW(header, HDM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    item.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
    if (i == column) item.fmt |= run->sortDescending ? HDF_SORTDOWN : HDF_SORTUP;
    SendMessageW(header, HDM_SETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
  }
  int select = -1;
  for (size_t i = 0; selected >= 0 && i < run->rows.count && select < 0; ++i)
    if (run->rows.row[i].code == keep.code && run->rows.row[i].command == keep.command) select = static_cast<int>(i);
  ShowRows(run, select);
}

void OnListKey(ConfigRun* run, WORD key) {
  switch (key) {
    case VK_F2: EditSelected(run); break;
    case VK_INSERT: DuplicateSelected(run); break;
    case VK_DELETE: RemoveSelected(run); break;
    default: break;
  }
}

}  // namespace

void InitShortcutPage(ConfigRun* run) {
  HWND list = List(run);
  run->sortColumn = -1;
  SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  SendMessageW(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(MakeImages()));
  RECT client;
  GetClientRect(list, &client);
  int keysWidth = MulDiv(kShortcutColumnWidth, client.right, 360);
  AddColumn(list, 0, kTextName, client.right - keysWidth - GetSystemMetrics(SM_CXVSCROLL));
  AddColumn(list, 1, kTextShortcut, keysWidth);
  run->buttonBar = MakeButtonBar(run);
  FillShortcutRows(&gShortcuts, &run->rows);
  ShowRows(run, -1);
}

void ShowShortcutPage(ConfigRun* run, int shown) {
  if (run->buttonBar) ShowWindow(run->buttonBar, shown ? SW_SHOW : SW_HIDE);
}

void OnShortcutCommand(ConfigRun* run, uint16_t command) {
  switch (command) {
    case kConfigEditShortcut: EditSelected(run); break;
    case kConfigDuplicateShortcut: DuplicateSelected(run); break;
    case kConfigRemoveShortcut: RemoveSelected(run); break;
    default: break;
  }
}

LRESULT OnShortcutNotify(ConfigRun* run, NMHDR* header) {
  if (header->code == TTN_GETDISPINFOW) {
    auto* info = reinterpret_cast<NMTTDISPINFOW*>(header);
    for (const BarButton& button : kBarButtons)
      if (header->idFrom == button.command) GetText(button.text, info->szText, sizeof info->szText / sizeof(wchar_t));
    return 0;
  }
  if (header->idFrom != kConfigShortcutList) return 0;
  switch (header->code) {
    case LVN_ITEMCHANGED: SetButtonStates(run); break;
    case NM_DBLCLK: EditSelected(run); break;
    case LVN_COLUMNCLICK: SortByColumn(run, reinterpret_cast<NMLISTVIEW*>(header)->iSubItem); break;
    case LVN_KEYDOWN: OnListKey(run, reinterpret_cast<NMLVKEYDOWN*>(header)->wVKey); break;
    default: break;
  }
  return 0;
}
