// The dark look of the real main window, reached through a table of fake
// dark-mode entry points (Wine's UxTheme has none): Force dark mode restarts
// the window into the dark look, Disable back into the light one. A
// screenshot of the dark window is kept beside the GUI tests' screenshots.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/main_toolbar.h"
#include "commands/commands.h"
#include "editor/editor_view.h"
#include "main_window_host.h"
#include "settings/settings_store.h"
#include "ui/theme.h"

namespace {

constexpr COLORREF kItemsText = RGB(0xE4, 0xE6, 0xEB);
constexpr COLORREF kItemsFill = RGB(0x20, 0x22, 0x27);

BOOL gTitleDark = -1;

HANDLE WINAPI FakeOpen(HWND, LPCWSTR) { return reinterpret_cast<HANDLE>(1); }
HRESULT WINAPI FakeClose(HANDLE) { return S_OK; }
HRESULT WINAPI FakeColor(HANDLE, int, int, int property, COLORREF* color) {
  *color = property == 3803 ? kItemsText : kItemsFill;
  return S_OK;
}
void WINAPI FakeRefresh() {}
BOOL WINAPI FakeAppsDark() { return TRUE; }
BOOL WINAPI FakeAllow(HWND, BOOL) { return TRUE; }
int WINAPI FakePreferred(int) { return 0; }
BOOL WINAPI FakeAllowed(HWND) { return TRUE; }
BOOL WINAPI FakeComposition(HWND window, void* data) {
  struct Data { DWORD attribute; void* value; SIZE_T size; };
  if (window == gMainWindow) gTitleDark = *static_cast<BOOL*>(static_cast<Data*>(data)->value);
  return TRUE;
}
int FakeHighContrast() { return 0; }

const ThemeEntryPoints kFakeDarkMode = {FakeOpen,    FakeClose,    FakeColor, nullptr,       nullptr,
                                        FakeRefresh, FakeAppsDark, FakeAllow, FakePreferred, FakeAllowed,
                                        FakeComposition, FakeHighContrast};

// The window as it shows on the screen, as a 24-bit BMP file.
void SaveScreenshot(HWND window, const char* name) {
  const char* folder = getenv("TPWR_SCREENSHOTS");
  if (!folder) return;
  RECT box;
  GetWindowRect(window, &box);
  int width = box.right - box.left, height = box.bottom - box.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, box.left, box.top, SRCCOPY);
  GdiFlush();
  DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
  DWORD size = stride * static_cast<DWORD>(height);
  BITMAPFILEHEADER head = {0x4D42, static_cast<DWORD>(sizeof head + sizeof info.bmiHeader + size), 0, 0,
                           static_cast<DWORD>(sizeof head + sizeof info.bmiHeader)};
  std::string path = std::string("Z:") + folder + "/" + name;
  if (FILE* file = fopen(path.c_str(), "wb")) {
    fwrite(&head, sizeof head, 1, file);
    fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, file);
    fwrite(bits, size, 1, file);
    fclose(file);
  }
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
}

TEST(DarkLook, ForcedAndDisabledThroughTheEntryPoints) {
  ThemeUseEntryPoints(&kFakeDarkMode);
  HostMainWindow(MakeTestFolder(L"tpwr-look-"), nullptr);
  ASSERT_NE(gMainWindow, nullptr);
  EXPECT_EQ(ThemeIsDark(), 0) << "DM 0 at the start: the default, light";
  EXPECT_NE(GetMenuState(GetMenu(gMainWindow), kCmdDarkForce, MF_BYCOMMAND), static_cast<UINT>(-1))
      << "the Dark Mode popup is offered";
  HWND old = gMainWindow;
  SendMessageW(gMainWindow, WM_COMMAND, kCmdDarkForce, 0);
  EXPECT_FALSE(IsWindow(old)) << "a change of look restarts the window";
  EXPECT_EQ(gApp->restartCount, 1u);
  EXPECT_EQ(ReadSetting(Settings(), kSettingDarkMode), 2u);
  RunRestartedWindow();
  ASSERT_NE(gMainWindow, nullptr);
  EXPECT_EQ(ThemeIsDark(), 1);
  EXPECT_EQ(gTitleDark, TRUE);
  EXPECT_EQ(ThemeEditorBackColor(), kItemsFill);
  EXPECT_EQ(ThemeEditorTextColor(), kItemsText);
  EXPECT_EQ(reinterpret_cast<HBRUSH>(GetClassLongPtrW(gMainWindow, GCLP_HBRBACKGROUND)), ThemeGetBrush(kThemeFaceBack));
  EXPECT_EQ(GetMenuState(GetMenu(gMainWindow), kCmdDarkForce, MF_BYCOMMAND), static_cast<UINT>(-1))
      << "the current choice is not offered";
  SendMessageW(EditorWindow(), WM_SETTEXT, 0,
               reinterpret_cast<LPARAM>(L"Sound Cue: 00:12\r\nInterviewer: And the storm came at night?"));
  SetWindowPos(gMainWindow, HWND_TOPMOST, 0, 0, 600, 420, SWP_SHOWWINDOW);
  RedrawWindow(gMainWindow, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
  DispatchPending();
  Sleep(300);
  DispatchPending();
  SaveScreenshot(gMainWindow, "dark-look.bmp");
  SendMessageW(gMainWindow, WM_COMMAND, kCmdDarkDisable, 0);
  EXPECT_EQ(gApp->restartCount, 1u);
  RunRestartedWindow();
  EXPECT_EQ(ThemeIsDark(), 0);
  EXPECT_EQ(ReadSetting(Settings(), kSettingDarkMode), 0u);
  EXPECT_EQ(ThemeEditorBackColor(), GetSysColor(COLOR_WINDOW));
  CloseMainWindow();
  ThemeUseEntryPoints(nullptr);
}

}  // namespace
