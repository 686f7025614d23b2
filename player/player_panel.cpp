// The player panel window: creation of its toolbar, tooltip and sliders,
// layout, tooltips, drops and the message dispatch. Actions and notification
// handlers are in panel_actions.cpp.
#include "player_panel.h"

#include <commctrl.h>
#include <shellapi.h>

#include <cstdlib>

#include "commands/commands.h"
#include "player/pedal_input.h"
#include "player/player_commands.h"
#include "player/player_messages.h"
#include "player/player_thread.h"
#include "settings/settings_store.h"
#include "ui/slider.h"
#include "ui/status_bar.h"
#include "ui/theme.h"

namespace {

constexpr int kToolbarWidth = 117;
constexpr int kToolbarHeight = 25;
constexpr int kSliderLeftWithToolbar = 123;
constexpr int kSliderLeftAlone = 6;
constexpr int kSliderTopFromBottom = 22;
constexpr int kSliderHeight = 19;
constexpr int kIconSize = 16;
constexpr uint16_t kButtonOrder[] = {kCmdRew, kCmdPlay, kCmdPause, kCmdStop, kCmdFF};

HWND gPlayerPanel = nullptr;

HICON LoadSmallIcon(HINSTANCE instance, uint16_t resource) {
  return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(resource), IMAGE_ICON, kIconSize, kIconSize, 0));
}

HWND CreateTransportToolbar(HWND panel, PlayerPanel* record) {
  HWND toolbar = CreateWindowExW(0, TOOLBARCLASSNAMEW, L"",
                                 WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NODIVIDER |
                                     CCS_NORESIZE | CCS_NOPARENTALIGN,
                                 0, 0, kToolbarWidth, kToolbarHeight, panel, nullptr, record->instance, nullptr);
  if (!toolbar) return nullptr;
  SendMessageW(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  record->toolbarImages = ImageList_Create(kIconSize, kIconSize, ILC_COLOR32 | ILC_MASK, 5, 0);
  TBBUTTON buttons[5]{};
  for (int i = 0; i < 5; ++i) {
    HICON icon = LoadSmallIcon(record->instance, kButtonOrder[i]);
    buttons[i].iBitmap = icon && record->toolbarImages ? ImageList_AddIcon(record->toolbarImages, icon) : I_IMAGENONE;
    if (icon) DestroyIcon(icon);
    buttons[i].idCommand = kButtonOrder[i];
    buttons[i].fsState = TBSTATE_ENABLED;
    buttons[i].fsStyle = TBSTYLE_BUTTON;
  }
  SendMessageW(toolbar, TB_SETBITMAPSIZE, 0, MAKELPARAM(kIconSize, kIconSize));
  SendMessageW(toolbar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(record->toolbarImages));
  SendMessageW(toolbar, TB_ADDBUTTONSW, 5, reinterpret_cast<LPARAM>(buttons));
  return toolbar;
}

void AddSliderTool(HWND panel, HWND tooltip, HWND slider, uint16_t textId) {
  wchar_t text[kTooltipChars + 1];
  if (!tooltip || !slider || !GetText(textId, text, kTooltipChars + 1)) return;
  TOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_IDISHWND;
  tool.hwnd = panel;
  tool.uId = reinterpret_cast<UINT_PTR>(slider);
  tool.lpszText = text;
  SendMessageW(tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

LRESULT OnCreate(HWND panel, LPARAM lParam) {
  auto* record = static_cast<PlayerPanel*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
  if (!record) return -1;
  SetWindowLongPtrW(panel, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(record));
  record->stepBackSeconds = static_cast<int32_t>(ReadSetting(Settings(), kSettingStepBack));
  record->stepForwardSeconds = static_cast<int32_t>(ReadSetting(Settings(), kSettingStepForward));
  record->speedPercent = SpeedStepped(ReadSetting(Settings(), kSettingSpeed), 0);
  record->rewindMs = ReadSetting(Settings(), kSettingRewind);
  record->playIcon = LoadSmallIcon(record->instance, kCmdPlay);
  record->pauseIcon = LoadSmallIcon(record->instance, kCmdPause);
  if (gPlayerThread) PlayerPostCommand(PC_SETOWNER, 0, reinterpret_cast<LPARAM>(panel));
  record->toolbar = CreateTransportToolbar(panel, record);
  record->tooltip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                    CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, panel, nullptr, record->instance,
                                    nullptr);
  record->seekBar = CreateSlider(panel, record->tooltip, kSeekBarId, record->instance);
  record->volumeBar = CreateSlider(panel, record->tooltip, kVolumeBarId, record->instance);
  AddSliderTool(panel, record->tooltip, record->seekBar, kTextSeekBar);
  AddSliderTool(panel, record->tooltip, record->volumeBar, kTextVolumeBar);
  if (gPlayerThread) PlayerPostCommand(PC_SETSCALE, 0, kSeekBarRange);
  SendMessageW(record->seekBar, kSliderSetRange, 0, kSeekBarRange);
  SendMessageW(record->seekBar, kSliderSetPosition, 0, 0);
  SendMessageW(record->volumeBar, kSliderSetRange, 0, kVolumeBarRange);
  if (gPlayerThread) PlayerPostCommand(PC_GETINFO, 0, 0);
  PedalInputStart(panel);
  return 0;
}

void OnDestroy(HWND panel) {
  PlayerPanel* record = PlayerPanelOf(panel);
  PedalInputStop(panel);
  SetWindowLongPtrW(panel, GWLP_USERDATA, 0);
  if (gPlayerThread) {
    PlayerPostCommand(PC_SETOWNER, 0, 0);
    PlayerPostCommand(PC_STOP, 0, 0);
  }
  if (!record) return;
  if (record->tooltip && IsWindow(record->tooltip)) DestroyWindow(record->tooltip);  // owned: may be gone already
  if (record->toolbar) DestroyWindow(record->toolbar);  // before its image list goes
  if (record->toolbarImages) ImageList_Destroy(record->toolbarImages);
  StatusBarSetIcon(kStatusPaneState, nullptr);  // the icons go with the record
  if (record->playIcon) DestroyIcon(record->playIcon);
  if (record->pauseIcon) DestroyIcon(record->pauseIcon);
  if (gPlayerPanel == panel) gPlayerPanel = nullptr;
  free(record);
}

void MoveChild(HWND child, const RECT& to) {
  if (child) MoveWindow(child, to.left, to.top, to.right - to.left, to.bottom - to.top, TRUE);
}

void Layout(HWND panel) {
  PlayerPanel* record = PlayerPanelOf(panel);
  if (!record) return;
  RECT client;
  GetClientRect(panel, &client);
  PanelLayout layout;
  ComputePanelLayout(client.right, client.bottom, record->toolbar != nullptr, &layout);
  MoveChild(record->toolbar, layout.toolbar);
  MoveChild(record->volumeBar, layout.volumeBar);
  MoveChild(record->seekBar, layout.seekBar);
  if (record->toolbar) InvalidateRect(record->toolbar, nullptr, TRUE);
  InvalidateRect(panel, nullptr, TRUE);
}

LRESULT OnNotify(HWND panel, LPARAM lParam) {
  auto* header = reinterpret_cast<NMHDR*>(lParam);
  PlayerPanel* record = PlayerPanelOf(panel);
  if (!record || header->code != TTN_GETDISPINFOW) return 0;
  auto* info = reinterpret_cast<NMTTDISPINFOW*>(lParam);
  record->tooltipText[0] = 0;
  GetTooltipText(static_cast<uint16_t>(header->idFrom), record->tooltipText, kTooltipChars + 1);
  info->lpszText = record->tooltipText;
  return 0;
}

// The first dropped item that is not a folder is opened; the rest is ignored.
void OnDropFiles(HWND panel, HDROP drop) {
  wchar_t path[kMaxPathChars + 1];
  UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    UINT length = DragQueryFileW(drop, i, nullptr, 0);
    if (length == 0 || length > kMaxPathChars) continue;
    if (!DragQueryFileW(drop, i, path, kMaxPathChars + 1)) continue;
    DWORD attributes = GetFileAttributesW(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
    DragFinish(drop);
    PlayerPanelOpenFile(panel, path);
    return;
  }
  DragFinish(drop);
}

LRESULT OnCtlColorStatic(WPARAM wParam) {
  HDC dc = reinterpret_cast<HDC>(wParam);
  SetBkColor(dc, ThemeGetColor(kThemeFaceBack));
  SetTextColor(dc, ThemeGetColor(kThemeFaceText));
  return reinterpret_cast<LRESULT>(ThemeGetBrush(kThemeFaceBack));
}

LRESULT CALLBACK PlayerPanelProc(HWND panel, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: return OnCreate(panel, lParam);
    case WM_DESTROY: OnDestroy(panel); return 0;
    case WM_SIZE:
      if (wParam != SIZE_MINIMIZED) Layout(panel);
      return 0;
    case WM_NOTIFY: return OnNotify(panel, lParam);
    case WM_COMMAND: PlayerPanelOnCommand(panel, LOWORD(wParam)); return 0;
    case WM_HSCROLL: PlayerPanelOnSlider(panel, wParam, lParam); return 0;
    case WM_CTLCOLORSTATIC: return OnCtlColorStatic(wParam);
    case WM_DROPFILES: OnDropFiles(panel, reinterpret_cast<HDROP>(wParam)); return 0;
    case PN_STATE:
    case PN_INFO:
    case PN_POSITION:
    case PN_PROGRESS:
    case PN_VOLUME: PlayerPanelOnNotification(panel, message, wParam, lParam); return 0;
    case kPanelAnswersOne: return 1;
    case WM_INPUT:
      PedalInputOnInput(panel, lParam);
      return DefWindowProcW(panel, message, wParam, lParam);  // the system frees the input
    case WM_INPUT_DEVICE_CHANGE: PedalInputOnDeviceChange(panel, wParam, lParam); return 0;
    case WM_TIMER:
      if (wParam == kPedalRepeatTimer) PedalInputOnTimer(panel);
      return 0;
    default: return DefWindowProcW(panel, message, wParam, lParam);
  }
}

void RegisterPanelClass(HINSTANCE instance) {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExW(instance, kPlayerPanelClass, &existing)) return;
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = PlayerPanelProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = ThemeGetBrush(kThemeFaceBack);
  windowClass.lpszClassName = kPlayerPanelClass;
  RegisterClassExW(&windowClass);
}

}  // namespace

void ComputePanelLayout(int width, int height, int hasToolbar, PanelLayout* layout) {
  int left = hasToolbar ? kSliderLeftWithToolbar : kSliderLeftAlone;
  int volumeWidth = (width - left) / 4;
  int top = height - kSliderTopFromBottom;
  if (hasToolbar) SetRect(&layout->toolbar, 0, height - kToolbarHeight, kToolbarWidth, height);
  else SetRectEmpty(&layout->toolbar);
  SetRect(&layout->volumeBar, width - volumeWidth, top, width, top + kSliderHeight);
  SetRect(&layout->seekBar, left, top, width - volumeWidth, top + kSliderHeight);
}

PlayerPanel* PlayerPanelOf(HWND panel) {
  if (!panel || !IsWindow(panel)) return nullptr;
  wchar_t className[8];
  if (!GetClassNameW(panel, className, 8) || lstrcmpW(className, kPlayerPanelClass) != 0) return nullptr;
  return reinterpret_cast<PlayerPanel*>(GetWindowLongPtrW(panel, GWLP_USERDATA));
}

HWND CreatePlayerPanel(HWND parent, HINSTANCE instance) {
  RegisterPanelClass(instance);
  auto* record = static_cast<PlayerPanel*>(calloc(1, sizeof(PlayerPanel)));
  if (!record) return nullptr;
  record->instance = instance;
  HWND panel = CreateWindowExW(0, kPlayerPanelClass, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, kPlayerPanelHeight, parent,
                               nullptr, instance, record);
  if (!panel) {
    free(record);
    return nullptr;
  }
  DragAcceptFiles(panel, TRUE);
  ThemeClassBackground(panel);
  gPlayerPanel = panel;
  return panel;
}

HWND PlayerPanelWindow() { return gPlayerPanel; }

void PlayerPanelSetRewind(HWND panel, uint32_t milliseconds) {
  if (PlayerPanel* record = PlayerPanelOf(panel)) record->rewindMs = milliseconds;
}

void PlayerPanelSetStepLengths(HWND panel, int32_t backSeconds, int32_t forwardSeconds) {
  PlayerPanel* record = PlayerPanelOf(panel);
  if (!record) return;
  record->stepBackSeconds = backSeconds;
  record->stepForwardSeconds = forwardSeconds;
}

HWND PlayerPanelNextFocus(HWND panel, HWND current) {
  PlayerPanel* record = PlayerPanelOf(panel);
  if (!record) return nullptr;
  HWND order[] = {record->seekBar, record->volumeBar};
  size_t next = 0;
  for (size_t i = 0; i < 2; i++)
    if (order[i] == current) next = i + 1;
  for (; next < 2; next++)
    if (order[next] && IsWindowEnabled(order[next])) return order[next];
  return nullptr;
}
