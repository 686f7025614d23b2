// The main window hosted in the test process: its menus handed to the
// owner-drawn menu (marked, measured, drawn, mnemonics), the icons-off option,
// and a file dropped on the editor.
#include <gtest/gtest.h>

#include <windows.h>

#include <shellapi.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/command_ids.h"
#include "app/main_menus.h"
#include "app/main_window.h"
#include "main_window_host.h"
#include "test_support.h"
#include "ui/owner_menu_metrics.h"

namespace {

class HostedWindow : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    gFolder = MakeTestFolder(L"tpwr-menus-");
    HostMainWindow(gFolder, nullptr);
    SendMessageW(gMainWindow, WM_COMMAND, kCmdAfterCreate, 2);  // the check-mark bitmaps
  }
  static void TearDownTestSuite() { CloseMainWindow(); }
  static std::wstring gFolder;

  static HMENU Popup(int position) { return GetSubMenu(GetMenu(gMainWindow), position); }
  static MENUITEMINFOW Item(HMENU menu, UINT position) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_ID;
    GetMenuItemInfoW(menu, position, TRUE, &info);
    return info;
  }
  static void OpenPopup(HMENU popup, int position) {
    SendMessageW(gMainWindow, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), MAKELPARAM(position, FALSE));
  }
  static MEASUREITEMSTRUCT Measure(HMENU menu, UINT position) {
    MENUITEMINFOW info = Item(menu, position);
    MEASUREITEMSTRUCT measure{};
    measure.CtlType = ODT_MENU;
    measure.itemID = info.wID;
    measure.itemData = info.dwItemData;
    SendMessageW(gMainWindow, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure));
    return measure;
  }
  static int MenuTextHeight() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    HFONT font = CreateFontIndirectW(&metrics.lfMenuFont);
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICW text{};
    GetTextMetricsW(dc, &text);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    DeleteObject(font);
    return text.tmHeight;
  }
};
std::wstring HostedWindow::gFolder;

TEST_F(HostedWindow, MenuBarAndOpenedPopupsAreOwnerDrawn) {
  ASSERT_NE(gMainWindow, nullptr);
  HMENU bar = GetMenu(gMainWindow);
  ASSERT_NE(bar, nullptr);
  for (int i = 0; i < GetMenuItemCount(bar); i++) EXPECT_TRUE(Item(bar, i).fType & MFT_OWNERDRAW) << i;
  HMENU file = Popup(0);
  OpenPopup(file, 0);
  for (int i = 0; i < GetMenuItemCount(file); i++) EXPECT_TRUE(Item(file, i).fType & MFT_OWNERDRAW) << i;
  // The window menu is the system's own.
  HMENU system = GetSystemMenu(gMainWindow, FALSE);
  SendMessageW(gMainWindow, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(system), MAKELPARAM(0, TRUE));
  EXPECT_FALSE(Item(system, 0).fType & MFT_OWNERDRAW);
}

TEST_F(HostedWindow, MeasuresItemsSeparatorsAndOneWidthPerPopup) {
  HMENU file = Popup(0);
  OpenPopup(file, 0);
  int textHeight = MenuTextHeight();
  int commandWidth = 0;
  for (int i = 0; i < GetMenuItemCount(file); i++) {
    MEASUREITEMSTRUCT measure = Measure(file, i);
    if (Item(file, i).fType & MFT_SEPARATOR) {
      EXPECT_EQ(static_cast<int>(measure.itemHeight), MenuSeparatorHeight(textHeight)) << i;
      continue;
    }
    EXPECT_EQ(static_cast<int>(measure.itemHeight), MenuItemHeight(textHeight, gApp->menuIconSize)) << i;
    if (!commandWidth) commandWidth = static_cast<int>(measure.itemWidth);
    EXPECT_EQ(static_cast<int>(measure.itemWidth), commandWidth) << "item " << i << " as wide as the others";
  }
  EXPECT_GT(commandWidth, MenuGutterWidth(gApp->menuIconSize) + 40);
  // Bar items are as wide as their own labels: "&Edit" is narrower than "Audio &Player".
  HMENU bar = GetMenu(gMainWindow);
  EXPECT_LT(Measure(bar, 1).itemWidth, Measure(bar, 5).itemWidth);
}

TEST_F(HostedWindow, MnemonicsOfOwnerDrawnItems) {
  HMENU file = Popup(0);
  OpenPopup(file, 0);
  struct { wchar_t typed; WORD action; WORD position; } cases[] = {
      {L'a', 2, 5}, {L'S', 2, 4}, {L'x', 2, 10}, {L'q', 0, 0}};
  for (const auto& c : cases) {
    LRESULT result = SendMessageW(gMainWindow, WM_MENUCHAR, MAKEWPARAM(c.typed, MF_POPUP), reinterpret_cast<LPARAM>(file));
    EXPECT_EQ(HIWORD(result), c.action) << static_cast<char>(c.typed);
    if (c.action) {
      EXPECT_EQ(LOWORD(result), c.position) << static_cast<char>(c.typed);
    }
  }
  LRESULT result = SendMessageW(gMainWindow, WM_MENUCHAR, MAKEWPARAM(L'v', 0),
                                reinterpret_cast<LPARAM>(GetMenu(gMainWindow)));
  EXPECT_EQ(HIWORD(result), 2);
  EXPECT_EQ(LOWORD(result), 2) << "V opens the View menu";
}

// Draws one item into a bitmap and returns its pixels (0x00RRGGBB, top-down).
std::vector<uint32_t> DrawItem(HMENU menu, UINT position, UINT state, int width, int height) {
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_DATA | MIIM_ID;
  GetMenuItemInfoW(menu, position, TRUE, &info);
  BITMAPINFO bitmapInfo{};
  bitmapInfo.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateDIBSection(dc, &bitmapInfo, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(dc, bitmap);
  DRAWITEMSTRUCT draw{};
  draw.CtlType = ODT_MENU;
  draw.itemID = info.wID;
  draw.itemAction = ODA_DRAWENTIRE;
  draw.itemState = state;
  draw.hwndItem = reinterpret_cast<HWND>(menu);
  draw.hDC = dc;
  draw.rcItem = {0, 0, width, height};
  draw.itemData = info.dwItemData;
  SendMessageW(gMainWindow, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw));
  GdiFlush();
  std::vector<uint32_t> pixels(static_cast<const uint32_t*>(bits), static_cast<const uint32_t*>(bits) + width * height);
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  for (uint32_t& pixel : pixels) pixel &= 0xFFFFFF;
  return pixels;
}

uint32_t AsPixel(COLORREF color) { return (GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color); }

int CountColour(const std::vector<uint32_t>& pixels, uint32_t colour) {
  int count = 0;
  for (uint32_t pixel : pixels) count += pixel == colour;
  return count;
}

// Pixels whose colour channels differ clearly: parts of a coloured icon.
int CountColourful(const std::vector<uint32_t>& pixels, int width, int fromX, int toX) {
  int count = 0;
  for (size_t i = 0; i < pixels.size(); i++) {
    int x = static_cast<int>(i % static_cast<size_t>(width));
    if (x < fromX || x >= toX) continue;
    int r = (pixels[i] >> 16) & 0xFF, g = (pixels[i] >> 8) & 0xFF, b = pixels[i] & 0xFF;
    int high = r > g ? (r > b ? r : b) : (g > b ? g : b);
    int low = r < g ? (r < b ? r : b) : (g < b ? g : b);
    count += high - low > 60;
  }
  return count;
}

TEST_F(HostedWindow, DrawsIconsTextSelectionAndGreyedLook) {
  HMENU file = Popup(0);
  OpenPopup(file, 0);
  const int width = 200, height = 24, gutter = MenuGutterWidth(gApp->menuIconSize);
  uint32_t back = AsPixel(GetSysColor(COLOR_MENU));
  uint32_t text = AsPixel(GetSysColor(COLOR_MENUTEXT));
  std::vector<uint32_t> plain = DrawItem(file, 4, 0, width, height);  // "&Save" with its icon
  EXPECT_GT(CountColour(plain, back), width * height / 2) << "menu background";
  EXPECT_GT(CountColour(plain, text), 10) << "label in the menu text colour";
  EXPECT_GT(CountColourful(plain, width, 0, gutter), 10) << "a coloured icon in the gutter";
  std::vector<uint32_t> selected = DrawItem(file, 4, ODS_SELECTED, width, height);
  EXPECT_LT(CountColour(selected, back), width * height / 10) << "the selection box covers the row";
  std::vector<uint32_t> greyed = DrawItem(file, 4, ODS_GRAYED, width, height);
  EXPECT_EQ(CountColour(greyed, text), 0) << "no text in the normal colour";
  EXPECT_GT(CountColour(greyed, AsPixel(GetSysColor(COLOR_GRAYTEXT))), 5);
  EXPECT_EQ(CountColourful(greyed, width, 0, gutter), 0) << "the icon turns grey";
}

TEST_F(HostedWindow, CheckedItemWithoutIconShowsTheCheckMark) {
  HMENU view = Popup(2);
  OpenPopup(view, 2);
  const int width = 200, height = 24, gutter = MenuGutterWidth(gApp->menuIconSize);
  uint32_t text = AsPixel(GetSysColor(COLOR_MENUTEXT));
  auto inGutter = [&](const std::vector<uint32_t>& pixels) {
    int count = 0;
    for (size_t i = 0; i < pixels.size(); i++) count += static_cast<int>(i % width) < gutter && pixels[i] == text;
    return count;
  };
  std::vector<uint32_t> unchecked = DrawItem(view, 1, 0, width, height);  // Status bar
  std::vector<uint32_t> checked = DrawItem(view, 1, ODS_CHECKED, width, height);
  EXPECT_EQ(inGutter(unchecked), 0);
  EXPECT_GE(inGutter(checked), 15) << "the 11-pixel check-mark bitmap in the text colour";
}

TEST_F(HostedWindow, IconsOffLeavesTheMenusToTheSystem) {
  gApp->options |= kOptNoMenuIcons;
  SelectLanguageAndBuildMenus(gMainWindow);
  HMENU bar = GetMenu(gMainWindow);
  ASSERT_NE(bar, nullptr);
  EXPECT_FALSE(Item(bar, 0).fType & MFT_OWNERDRAW);
  HMENU file = GetSubMenu(bar, 0);
  OpenPopup(file, 0);
  EXPECT_FALSE(Item(file, 0).fType & MFT_OWNERDRAW);
  gApp->options &= ~kOptNoMenuIcons;
  SelectLanguageAndBuildMenus(gMainWindow);
  EXPECT_TRUE(Item(GetMenu(gMainWindow), 0).fType & MFT_OWNERDRAW);
}

// A drop handle as the shell makes it: DROPFILES, then the wide paths, double-terminated.
HDROP MakeDrop(const std::vector<std::wstring>& paths) {
  size_t characters = 1;
  for (const auto& path : paths) characters += path.size() + 1;
  HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + characters * sizeof(wchar_t));
  auto* head = static_cast<DROPFILES*>(GlobalLock(memory));
  head->pFiles = sizeof(DROPFILES);
  head->fWide = TRUE;
  auto* list = reinterpret_cast<wchar_t*>(head + 1);
  for (const auto& path : paths) {
    wmemcpy(list, path.c_str(), path.size() + 1);
    list += path.size() + 1;
  }
  *list = 0;
  GlobalUnlock(memory);
  return static_cast<HDROP>(memory);
}

TEST_F(HostedWindow, DroppedFileOpensTheFirstThatIsNotAFolder) {
  std::wstring folder = gFolder + L"\\a folder";
  CreateDirectoryW(folder.c_str(), nullptr);
  std::wstring first = gFolder + L"\\dropped.txt";
  std::wstring second = gFolder + L"\\other.txt";
  std::string ansi = "Dropped \xE4 text\r\n";
  ASSERT_TRUE(WriteWholeFile(first, std::vector<uint8_t>(ansi.begin(), ansi.end())));
  ASSERT_TRUE(WriteWholeFile(second, std::vector<uint8_t>{'n', 'o'}));
  SendMessageW(gApp->editorWindow, EM_SETMODIFY, FALSE, 0);
  SendMessageW(gApp->editorWindow, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({folder, first, second})), 0);
  wchar_t text[64] = L"";
  GetWindowTextW(gApp->editorWindow, text, 64);
  EXPECT_STREQ(text, L"Dropped \x00E4 text\r\n");
  EXPECT_STREQ(gApp->textFilePath, first.c_str());
  wchar_t title[128];
  GetWindowTextW(gMainWindow, title, 128);
  EXPECT_STREQ(title, L"Tapewright - dropped.txt");
  EXPECT_FALSE(SendMessageW(gApp->editorWindow, EM_GETMODIFY, 0, 0));
  // Only folders: nothing happens.
  SendMessageW(gApp->editorWindow, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({folder})), 0);
  EXPECT_STREQ(gApp->textFilePath, first.c_str());
}

}  // namespace
